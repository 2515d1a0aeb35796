#pragma once

#include "../db/militaryqueries.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace tolvimar {

// The faction number that stands for all factions in the pages' faction choices.
constexpr int kAllFactions = -2;

// The operator choice beside "Info Datum".
const QStringList &comparisonChoices(); // "=", ">", "<"

// The operator and value texts of an "Info Datum" choice; throws UserError when the
// operator is none of the three or the value is no whole number.
DateCondition dateCondition(const QString &comparison, const QString &value);

// A faction number as a condition: none for kAllFactions.
std::optional<int> factionCondition(int faction);

// The faction choice of the pages: the game's factions by name, after an entry
// "Alle" with kAllFactions unless the table holds a row with that number itself.
QVector<FactionRow> factionChoices(MilitaryQueries &queries, int game);

} // namespace tolvimar
