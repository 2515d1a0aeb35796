#include "regionentrydialog.h"

#include "widgets.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace tolvimar {

RegionEntryDialog::RegionEntryDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Manuelle Regionserfassung"));
    setModal(true);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Name der Region"), readOnlyEdit(QStringLiteral("Edit1"), this));
    auto *coords = new QHBoxLayout;
    coords->addWidget(readOnlyEdit(QStringLiteral("Edit2"), this));
    coords->addWidget(readOnlyEdit(QStringLiteral("Edit3"), this));
    form->addRow(QStringLiteral("Breite/Länge"), coords);
    form->addRow(QStringLiteral("Exportgut"), readOnlyEdit(QStringLiteral("Edit4"), this));
    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(QStringLiteral("Speichern"), this);
    save->setObjectName(QStringLiteral("Button1"));
    save->setEnabled(false);
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace tolvimar
