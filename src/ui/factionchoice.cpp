#include "factionchoice.h"

#include <QComboBox>

namespace tolvimar {

void fillFactionChoice(QComboBox *choice, const QVector<FactionRow> &factions)
{
    const QVariant shown = choice->currentData();
    choice->clear();
    for (const FactionRow &f : factions)
        choice->addItem(f.name, f.number);
    const int again = choice->findData(shown);
    choice->setCurrentIndex(again >= 0 ? again : 0);
}

} // namespace tolvimar
