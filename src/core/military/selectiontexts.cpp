#include "selectiontexts.h"

#include "../base/errors.h"

#include <algorithm>

namespace tolvimar {

const QStringList &comparisonChoices()
{
    static const QStringList choices
        = {QStringLiteral("="), QStringLiteral(">"), QStringLiteral("<")};
    return choices;
}

DateCondition dateCondition(const QString &comparison, const QString &value)
{
    DateCondition condition;
    const int index = int(comparisonChoices().indexOf(comparison));
    if (index < 0) {
        throw UserError(
            QStringLiteral("Info Datum: \"%1\" ist kein Vergleich (=, > oder <).").arg(comparison));
    }
    condition.comparison = Comparison(index);
    int date = 0;
    if (!parseStrictInt(value, &date))
        throw UserError(QStringLiteral("Info Datum: \"%1\" ist keine Zahl.").arg(value));
    condition.date = date;
    return condition;
}

std::optional<int> factionCondition(int faction)
{
    if (faction == kAllFactions)
        return std::nullopt;
    return faction;
}

QVector<FactionRow> factionChoices(MilitaryQueries &queries, int game)
{
    QVector<FactionRow> rows = queries.factions(game);
    const bool hasAll = std::any_of(
        rows.cbegin(), rows.cend(), [](const FactionRow &f) { return f.number == kAllFactions; });
    if (!hasAll)
        rows.prepend({kAllFactions, QStringLiteral("Alle")});
    return rows;
}

} // namespace tolvimar
