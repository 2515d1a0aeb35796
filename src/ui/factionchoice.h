#pragma once

#include "db/militaryqueries.h"

#include <QVector>

class QComboBox;
class QLineEdit;
class QWidget;

namespace tolvimar {

// Fills a faction choice ("Alle" and the game's factions by name, each carrying its
// number) and keeps the faction that was chosen when it is offered again.
void fillFactionChoice(QComboBox *choice, const QVector<FactionRow> &factions);

// The number of the chosen faction in `number` (kept as the choice carries it, -2 for
// all), with "alle Parteien" beside it for that one: a box holding both, the note
// named `noteName`.
QWidget *factionNumberBox(
    QComboBox *choice, QLineEdit *number, const QString &noteName, QWidget *parent);

} // namespace tolvimar
