#include "orderlanguage.h"

#include "../base/gamefiles.h"
#include "../base/textfile.h"
#include "ordertemplate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace tolvimar {

namespace {

struct KindName
{
    const char16_t *name;
    ArgumentKind kind;
};

const KindName kKindNames[] = {
    {u"einheit", ArgumentKind::Unit},
    {u"schiff", ArgumentKind::Ship},
    {u"burg", ArgumentKind::Castle},
    {u"partei", ArgumentKind::Faction},
    {u"talent", ArgumentKind::Skill},
    {u"gegenstand", ArgumentKind::Item},
    {u"luxus", ArgumentKind::Luxury},
    {u"richtung", ArgumentKind::Direction},
    {u"zahl", ArgumentKind::Number},
    {u"text", ArgumentKind::Text},
};

std::optional<ArgumentKind> kindOfName(QStringView name)
{
    for (const KindName &k : kKindNames) {
        if (name == QStringView(k.name))
            return k.kind;
    }
    return std::nullopt;
}

// Kinds whose values a word file may name; the ids come from the game's rows.
bool takesValues(ArgumentKind kind)
{
    return kind == ArgumentKind::Skill || kind == ArgumentKind::Item || kind == ArgumentKind::Luxury
        || kind == ArgumentKind::Direction;
}

bool isLowerWord(QStringView text)
{
    return !text.isEmpty()
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isLower(); });
}

// The blank-separated words of a line (blanks and tabs).
QList<QStringView> splitWords(QStringView line)
{
    QList<QStringView> words;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i].isSpace())
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !line[i].isSpace())
            ++i;
        if (i > start)
            words.append(line.mid(start, i - start));
    }
    return words;
}

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

OrderLanguage OrderLanguage::builtIn()
{
    // Read once; every game starts from a copy.
    static const OrderLanguage language = [] {
        OrderLanguage l;
        QFile file(QStringLiteral(":/orders/befehlsworte.txt"));
        if (file.open(QIODevice::ReadOnly))
            l.addText(
                QString::fromUtf8(file.readAll()), QStringLiteral("befehlsworte.txt"), nullptr);
        return l;
    }();
    return language;
}

OrderLanguage OrderLanguage::forGame(const QString &programPath, QStringList *problems)
{
    OrderLanguage language = builtIn();
    if (programPath.isEmpty())
        return language;
    language.addFile(orderWordsFile(programPath), problems);
    language.addFile(learntOrderWordsFile(programPath), problems);
    return language;
}

void OrderLanguage::addFile(const QString &path, QStringList *problems)
{
    if (!QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (problems)
            problems->append(QStringLiteral("Die Befehlsworte %1 können nicht gelesen werden: %2")
                                 .arg(shownPath(path), file.errorString()));
        return;
    }
    addText(decodeText(file.readAll()), shownPath(path), problems);
}

void OrderLanguage::addText(const QString &text, const QString &fileName, QStringList *problems)
{
    const QStringList lines = splitLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        QString problem;
        if (!addLine(lines[i], &problem) && problems)
            problems->append(
                QStringLiteral("%1, Zeile %2: %3").arg(fileName).arg(i + 1).arg(problem));
    }
}

bool OrderLanguage::addLine(QStringView line, QString *problem)
{
    const qsizetype hash = line.indexOf(u'#');
    if (hash >= 0)
        line = line.left(hash);
    const QList<QStringView> tokens = splitWords(line);
    if (tokens.isEmpty())
        return true;

    QStringView first = tokens.first();
    if (first.endsWith(u':')) {
        const std::optional<ArgumentKind> kind = kindOfName(first.chopped(1));
        if (!kind || !takesValues(*kind)) {
            *problem = QStringLiteral("\"%1\" ist keine Art mit Werten (richtung, luxus, talent, "
                                      "gegenstand).")
                           .arg(first.chopped(1));
            return false;
        }
        QStringList &values = m_values[int(*kind)];
        for (qsizetype i = 1; i < tokens.size(); ++i) {
            if (!values.contains(tokens[i]))
                values.append(tokens[i].toString());
        }
        return true;
    }

    if (!isWordShape(first)) {
        *problem = QStringLiteral("\"%1\" ist kein Befehlswort (nur Buchstaben).").arg(first);
        return false;
    }
    OrderForm form;
    for (qsizetype i = 1; i < tokens.size(); ++i) {
        QStringView token = tokens[i];
        if (form.lastRepeats) {
            *problem = QStringLiteral("\"...\" darf nur hinter der letzten Art stehen.");
            return false;
        }
        if (token.endsWith(QStringLiteral("..."))) {
            form.lastRepeats = true;
            token.chop(3);
        }
        ArgumentSlot slot;
        for (QStringView choice : token.split(u'|')) {
            if (choice.isEmpty()) {
                *problem = QStringLiteral("\"%1\" enthält eine leere Wahl.").arg(tokens[i]);
                return false;
            }
            if (isLowerWord(choice)) {
                const std::optional<ArgumentKind> kind = kindOfName(choice);
                if (!kind) {
                    *problem = QStringLiteral("unbekannte Art \"%1\".").arg(choice);
                    return false;
                }
                slot.choices.append({*kind, QString()});
            } else {
                slot.choices.append({ArgumentKind::Literal, choice.toString()});
            }
        }
        form.arguments.append(slot);
    }
    const QString key = first.toString().toUpper();
    OrderWord &word = m_words[key];
    word.word = key;
    word.forms.append(form);
    return true;
}

void OrderLanguage::addWord(const QString &word)
{
    const QString key = word.toUpper();
    if (!isWordShape(key) || m_words.contains(key))
        return;
    OrderWord &entry = m_words[key];
    entry.word = key;
    entry.forms.append(OrderForm());
}

bool OrderLanguage::knows(QStringView word) const
{
    return this->word(word) != nullptr;
}

const OrderWord *OrderLanguage::word(QStringView word) const
{
    const auto it = m_words.constFind(word.toString().toUpper());
    return it == m_words.constEnd() ? nullptr : &*it;
}

QStringList OrderLanguage::words() const
{
    QStringList list = m_words.keys();
    list.sort();
    return list;
}

QStringList OrderLanguage::values(ArgumentKind kind) const
{
    return m_values.value(int(kind));
}

bool OrderLanguage::isWordShape(QStringView text)
{
    return !text.isEmpty()
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

QString OrderLanguage::kindName(ArgumentKind kind)
{
    for (const KindName &k : kKindNames) {
        if (k.kind == kind)
            return QString::fromUtf16(k.name);
    }
    return QString();
}

QStringList unknownOrderWords(const QStringList &templateLines, const OrderLanguage &language)
{
    QStringList found;
    QSet<QString> seen;
    bool inBlock = false;
    for (const QString &line : templateLines) {
        if (isUnitHeaderLine(line)) {
            inBlock = true;
            continue;
        }
        if (endsUnitBlock(line)) {
            inBlock = false;
            continue;
        }
        if (!inBlock)
            continue;
        const QStringView order = QStringView(line).trimmed();
        qsizetype end = 0;
        while (end < order.size() && order[end].isLetter())
            ++end;
        // A word followed by a blank or nothing; "3mx", ";" or "@X" is no order word.
        if (end == 0 || (end < order.size() && !order[end].isSpace()))
            continue;
        const QStringView first = order.left(end);
        if (language.knows(first))
            continue;
        const QString upper = first.toString().toUpper();
        if (!seen.contains(upper)) {
            seen.insert(upper);
            found.append(upper);
        }
    }
    return found;
}

QByteArray learntWordsFileBytes(const QByteArray &previous, const QStringList &words)
{
    QByteArray bytes = previous;
    if (bytes.isEmpty())
        bytes = "# Befehlsworte, die beim Einlesen in den Befehlen der Einheiten standen.\n";
    else if (!bytes.endsWith('\n'))
        bytes += '\n';
    for (const QString &word : words)
        bytes += word.toUtf8() + '\n';
    return bytes;
}

} // namespace tolvimar
