#include "summaries.h"

#include "../base/errors.h"
#include "../base/textsearch.h"

#include <initializer_list>

namespace tolvimar {

namespace {

bool containsAny(const QString &s, std::initializer_list<QStringView> words)
{
    for (QStringView w : words) {
        if (containsText(s, w))
            return true;
    }
    return false;
}

// The number text from start up to end (exclusive); empty when end lies before start.
QString between(const QString &s, qsizetype start, qsizetype end)
{
    if (start < 0 || end < start)
        return QString();
    return s.mid(start, end - start);
}

// Position right after the first occurrence of word (-1 when missing).
qsizetype after(const QString &s, const QString &word)
{
    const qsizetype i = s.indexOf(word);
    return i < 0 ? -1 : i + word.size();
}

// Position of the blank before the first occurrence of word (-1 when missing).
qsizetype blankBefore(const QString &s, const QString &word)
{
    const qsizetype i = s.indexOf(word);
    return i < 0 ? -1 : i - 1;
}

qint64 number(const QString &text, bool *ok)
{
    int value = 0;
    *ok = parseStrictInt(text, &value);
    return value;
}

// Game slot 1 keeps its income total with the list: the status save appends "zzzz" and
// the total, which sorts last. Newer Kalmora reports (format version 43 on) have income
// lines these rules do not read, and the import does not sum them; so from this date
// code on the total of slot 1 is the saved one, shown as it was saved.
constexpr qint64 kFirstTurnWithSavedIncomeTotal = 1604;

bool incomeTotalIsSaved(int game, qint64 newestTurn)
{
    return game == 1 && newestTurn >= kFirstTurnWithSavedIncomeTotal;
}

} // namespace

QString incomeTotal(const QStringList &income, int game, qint64 newestTurn, CurrentLine &buffer)
{
    if (incomeTotalIsSaved(game, newestTurn) && !income.isEmpty()) {
        QString total = income.last();
        total.remove(QStringLiteral("zzzz"));
        return total;
    }
    qint64 sum = 0;
    auto add = [&](const QString &text) {
        bool ok = false;
        const qint64 n = number(text, &ok);
        if (!ok)
            throw SummaryError {buffer.text(), QString::number(sum), {}};
        sum += n;
    };
    // The text after the first ")", where the C, E and F forms find their number.
    auto afterBracket = [&](const QString &item, const QString &endWord, bool blankBeforeEnd) {
        buffer.set(item.mid(item.indexOf(u')') + 1));
        const QString &t = buffer.text();
        const qsizetype bracket = t.indexOf(u')');
        const qsizetype start = bracket < 0 ? -1 : bracket + 2;
        const qsizetype end = blankBeforeEnd ? blankBefore(t, endWord) : t.indexOf(endWord);
        add(between(t, start, end));
    };
    for (const QString &item : income) {
        buffer.set(item);
        const bool silber = containsText(item, u"Silber");
        if (containsText(item, u"verdient") && silber
            && !containsAny(item, {u"statt", u"kein", u" Verkauf ", u"verdient in"}))
            add(between(item, after(item, QStringLiteral("verdient ")),
                blankBefore(item, QStringLiteral("Silber"))));
        if (containsText(item, u"treibt") && silber && !containsText(item, u"treibt in "))
            add(between(item, after(item, QStringLiteral("treibt ")),
                blankBefore(item, QStringLiteral("Silber"))));
        if (containsText(item, u"treibt") && !silber)
            afterBracket(item, QStringLiteral("Steuern"), true);
        if (containsText(item, u"statt") && silber && !containsText(item, u"klaute"))
            add(between(item, after(item, QStringLiteral("verdient ")),
                blankBefore(item, QStringLiteral("statt"))));
        if (containsText(item, u"treibt in ") && silber)
            afterBracket(item, QStringLiteral("Silber an"), true);
        if (containsText(item, u"verdient in ") && silber)
            afterBracket(item, QStringLiteral(" Silber "), false);
    }
    return QString::number(sum) + QStringLiteral(" Silber");
}

const QStringList &productionLabels()
{
    static const QStringList labels = {
        QStringLiteral("Holz       : "),
        QStringLiteral("Steine     : "),
        QStringLiteral("Eisen      : "),
        QStringLiteral("Pferde     : "),
        QStringLiteral("Laen       : "),
        QStringLiteral("Mallorn    : "),
        QStringLiteral("Speere     : "),
        QStringLiteral("Boegen     : "),
        QStringLiteral("Schwerter  : "),
        QStringLiteral("Elfenbögen : "),
        QStringLiteral("Armbrüste  : "),
    };
    return labels;
}

namespace {

// How one good is recognised in a production line and where its number ends.
struct Good
{
    std::initializer_list<QStringView> mustContain;
    std::initializer_list<QStringView> skipIf;
    // Ends the number in the plain case, tried in order (the first one present wins).
    std::initializer_list<const char16_t *> endWords;
    bool vonForm; // " von " ends the number unless " statt " does
    bool stattForm; // " statt " ends the number
    const char16_t *ausEnd; // with " aus ", the number ends before this
};

const Good kGoods[11] = {
    {{u" Holz.", u" Holz "},
        {u"mindestens", u"braucht man Holz.", u"konnte keine", u" bewacht ", u"Armbrüste",
            u" Kriegsäxte "},
        {u" Holz."}, true, true, nullptr},
    {{u" Steine.", u" Steine "}, {u"mindestens", u"Straßen und Brücken", u"Zum Straßenbau"},
        {u"Steine."}, true, true, nullptr},
    {{u" Eisen ", u" Eisen."}, {u"mindestens", u" aus ", u" Kriegsäxte "}, {u"Eisen."}, true, true,
        nullptr},
    {{u" Pferde ", u" Pferde."}, {u"mindestens", u"konnte keine", u"züchtet"}, {u"Pferde."}, true,
        true, nullptr},
    {{u" Laen"}, {u"mindestens"}, {u"Laen.", u"Laen statt"}, false, false, nullptr},
    {{u" Mallorn"}, {u"mindestens", u"Elfenbögen"}, {u"Mallorn.", u"Mallorn statt"}, false, false,
        nullptr},
    {{u" Speere"}, {u"mindestens"}, {u"Speere."}, false, true, nullptr},
    {{u" Bögen", u" Boegen"}, {u"mindestens"}, {u"Bögen.", u"Boegen."}, true, true, nullptr},
    {{u" Schwerter"}, {u"mindestens"}, {u"Schwerter."}, false, true, u"Schwerter aus"},
    {{u" Elfenbögen"}, {u"mindestens"}, {u"Elfenbögen"}, true, true, nullptr},
    {{u" Armbrüste"}, {u"mindestens"}, {u"Armbrüste"}, true, true, nullptr},
};

} // namespace

QStringList productionTotals(const QStringList &production, CurrentLine &buffer)
{
    qint64 totals[11] = {};
    auto partial = [&] {
        QStringList list;
        for (qint64 t : totals)
            list.append(QString::number(t));
        return list;
    };
    auto add = [&](int index, const QString &text) {
        bool ok = false;
        const qint64 n = number(text, &ok);
        if (!ok)
            throw SummaryError {buffer.text(), QString(), partial()};
        totals[index] += n;
    };
    for (const QString &item : production) {
        buffer.set(item);
        for (int g = 0; g < 11; ++g) {
            const Good &good = kGoods[g];
            if (!containsAny(item, good.mustContain) || containsAny(item, good.skipIf)
                || !containsText(item, u" produziert"))
                continue;
            const qsizetype start = after(item, QStringLiteral("produziert "));
            qsizetype end = -1;
            const bool statt = containsText(item, u" statt ");
            if (good.stattForm && statt) {
                end = item.indexOf(u" statt");
            } else if (good.vonForm && containsText(item, u" von ")) {
                end = item.indexOf(u" von");
            } else if (good.ausEnd && containsText(item, u" aus ")) {
                end = item.indexOf(QStringView(good.ausEnd));
            } else {
                for (const char16_t *word : good.endWords) {
                    end = item.indexOf(QStringView(word));
                    if (end >= 0)
                        break;
                }
            }
            add(g, between(item, start, end));
        }
        const struct
        {
            const char16_t *text;
            int index;
        } ones[] = {{u"produziert 1 Holz", 0}, {u"produziert 1 Stein", 1},
            {u"produziert 1 Eisen", 2}, {u"produziert 1 Pferd", 3}};
        for (const auto &one : ones) {
            if (containsText(item, QStringView(one.text)))
                totals[one.index] += 1;
        }
        if (containsText(item, u"züchtet"))
            add(3,
                between(item, after(item, QStringLiteral("züchtet ")),
                    blankBefore(item, QStringLiteral("Pferde."))));
    }
    QStringList lines;
    for (int g = 0; g < 11; ++g)
        lines.append(productionLabels()[g] + QString::number(totals[g]));
    return lines;
}

QString orcGrowthTotal(const QStringList &events)
{
    qint64 sum = 0;
    for (const QString &item : events) {
        if (!containsText(item, u"vermehrt sich um"))
            continue;
        const qsizetype um = item.indexOf(u" um ");
        const QString text
            = between(item, um < 0 ? -1 : um + 4, blankBefore(item, QStringLiteral("Ork")));
        bool ok = false;
        const qint64 n = number(text, &ok);
        if (!ok)
            throw SummaryError {item.left(81), QString::number(sum), {}};
        sum += n;
    }
    return QString::number(sum) + QStringLiteral(" Orks");
}

} // namespace tolvimar
