#include "movementrules.h"

#include "../base/errors.h"
#include "../base/gamefiles.h"
#include "../base/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <numeric>

namespace tolvimar {

namespace {

// Larger speeds or fractions are typing mistakes, and the limit keeps every cost of a
// way far from overflowing.
constexpr int kLargestNumber = 1000;
// A rules file is a few lines; a larger one is no rules file.
constexpr qint64 kMaxRulesBytes = qint64(1) << 20;

QList<QStringView> words(QStringView line)
{
    QList<QStringView> result;
    for (QStringView word : line.tokenize(u' ', Qt::SkipEmptyParts)) {
        for (QStringView part : word.tokenize(u'\t', Qt::SkipEmptyParts))
            result.append(part);
    }
    return result;
}

// A whole number from 1 to kLargestNumber.
std::optional<int> positiveNumber(QStringView text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > kLargestNumber || text.startsWith(u'+'))
        return std::nullopt;
    return value;
}

QString joined(const QList<QStringView> &parts, qsizetype from, qsizetype to)
{
    QStringList texts;
    for (qsizetype i = from; i < to; ++i)
        texts.append(parts[i].toString());
    return texts.join(u' ');
}

} // namespace

MovementRules::MovementRules()
    : m_shipSpeeds {{QStringLiteral("Boot"), 2}, {QStringLiteral("Langboot"), 3},
        {QStringLiteral("Drachenschiff"), 5}, {QStringLiteral("Karavelle"), 5},
        {QStringLiteral("Trireme"), 7}}
    , m_impassable {QStringLiteral("Ozean")}
    , m_water {QStringLiteral("Ozean")}
{
}

MovementRules MovementRules::forGame(const QString &programPath)
{
    const QString path = movementRulesFile(programPath);
    if (programPath.isEmpty() || !QFileInfo::exists(path))
        return MovementRules();
    const QString shown = QDir::toNativeSeparators(path);
    const QByteArray bytes = readRegularFile(path, kMaxRulesBytes);
    const QString notText = notTextReason(bytes);
    if (!notText.isEmpty())
        throw UserError(QStringLiteral("Die Bewegungsregeln %1 können nicht gelesen werden: %2.")
                            .arg(shown, notText));
    QStringList problems;
    MovementRules rules = fromText(decodeText(bytes), shown, &problems);
    if (!problems.isEmpty())
        throw UserError(
            QStringLiteral("Die Bewegungsregeln enthalten Fehler:\n") + problems.join(u'\n'));
    return rules;
}

MovementRules MovementRules::fromText(
    const QString &text, const QString &fileName, QStringList *problems)
{
    MovementRules rules;
    bool impassableSeen = false;
    bool waterSeen = false;
    const QStringList lines = splitLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        QString problem;
        if (!rules.readLine(lines[i], &impassableSeen, &waterSeen, &problem) && problems)
            problems->append(QStringLiteral("%1, Zeile %2: %3 (\"%4\")")
                                 .arg(fileName)
                                 .arg(i + 1)
                                 .arg(problem, lines[i].trimmed().left(80)));
    }
    return rules;
}

bool MovementRules::readLine(
    QStringView line, bool *impassableSeen, bool *waterSeen, QString *problem)
{
    const qsizetype hash = line.indexOf(u'#');
    if (hash >= 0)
        line = line.left(hash);
    const QList<QStringView> parts = words(line);
    if (parts.isEmpty())
        return true;
    const QString keyword = parts.first().toString().toLower();

    if (keyword == u"gehen" || keyword == u"reiten") {
        const std::optional<int> speed
            = parts.size() == 2 ? positiveNumber(parts[1]) : std::nullopt;
        if (!speed) {
            *problem = QStringLiteral("nach \"%1\" steht eine ganze Zahl von 1 bis %2")
                           .arg(keyword)
                           .arg(kLargestNumber);
            return false;
        }
        (keyword == u"gehen" ? m_walking : m_riding) = *speed;
        return true;
    }
    if (keyword == u"strasse") {
        std::optional<int> numerator;
        std::optional<int> denominator = 1;
        if (parts.size() == 2) {
            const qsizetype slash = parts[1].indexOf(u'/');
            numerator = positiveNumber(slash < 0 ? parts[1] : parts[1].left(slash));
            if (slash >= 0)
                denominator = positiveNumber(parts[1].mid(slash + 1));
        }
        if (!numerator || !denominator) {
            *problem = QStringLiteral("nach \"strasse\" stehen die Kosten eines Schritts auf der "
                                      "Straße, eine ganze Zahl oder ein Bruch wie 1/2");
            return false;
        }
        // A plain step costs the denominator, a road step the numerator.
        const int divisor = std::gcd(*numerator, *denominator);
        m_roadCost = *numerator / divisor;
        m_costUnit = *denominator / divisor;
        return true;
    }
    if (keyword == u"schiff") {
        const std::optional<int> speed
            = parts.size() >= 3 ? positiveNumber(parts.last()) : std::nullopt;
        if (!speed) {
            *problem = QStringLiteral("nach \"schiff\" stehen der Schiffstyp und die Schritte je "
                                      "Runde (1 bis %1)")
                           .arg(kLargestNumber);
            return false;
        }
        m_shipSpeeds.insert(joined(parts, 1, parts.size() - 1), *speed);
        return true;
    }
    if (keyword == u"unpassierbar" || keyword == u"wasser") {
        const bool impassable = keyword == u"unpassierbar";
        bool *seen = impassable ? impassableSeen : waterSeen;
        QSet<QString> &terrains = impassable ? m_impassable : m_water;
        // The file's lines of a kind replace the program's list together.
        if (!*seen)
            terrains.clear();
        *seen = true;
        for (qsizetype i = 1; i < parts.size(); ++i)
            terrains.insert(parts[i].toString());
        return true;
    }
    *problem = QStringLiteral("unbekannte Regel \"%1\" (bekannt: gehen, reiten, strasse, schiff, "
                              "unpassierbar, wasser)")
                   .arg(parts.first().left(40));
    return false;
}

std::optional<int> MovementRules::shipSpeed(const QString &type) const
{
    const auto it = m_shipSpeeds.constFind(type);
    if (it == m_shipSpeeds.constEnd())
        return std::nullopt;
    return *it;
}

QStringList MovementRules::shipTypes() const
{
    QStringList types = m_shipSpeeds.keys();
    std::sort(types.begin(), types.end());
    return types;
}

} // namespace tolvimar
