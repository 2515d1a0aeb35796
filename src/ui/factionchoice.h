#pragma once

#include "db/militaryqueries.h"

#include <QVector>

class QComboBox;

namespace tolvimar {

// Fills a faction choice ("Alle" and the game's factions by name, each carrying its
// number) and keeps the faction that was chosen when it is offered again.
void fillFactionChoice(QComboBox *choice, const QVector<FactionRow> &factions);

} // namespace tolvimar
