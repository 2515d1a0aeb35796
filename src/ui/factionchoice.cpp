#include "factionchoice.h"

#include "military/selectiontexts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

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

QWidget *factionNumberBox(
    QComboBox *choice, QLineEdit *number, const QString &noteName, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    number->setParent(box);
    layout->addWidget(number);
    auto *note = new QLabel(box);
    note->setObjectName(noteName);
    layout->addWidget(note);
    const auto show = [choice, number, note] {
        const QVariant shown = choice->currentData();
        number->setText(shown.toString());
        note->setText(shown.isValid() && shown.toInt() == kAllFactions
                ? QStringLiteral("alle Parteien")
                : QString());
    };
    QObject::connect(choice, &QComboBox::currentIndexChanged, box, show);
    show();
    return box;
}

} // namespace tolvimar
