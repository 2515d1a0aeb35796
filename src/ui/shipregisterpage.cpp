#include "shipregisterpage.h"

#include "app/session.h"
#include "base/errors.h"
#include "base/position.h"
#include "base/prompter.h"
#include "military/shipregister.h"
#include "reportgrid.h"
#include "widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

namespace tolvimar {

ShipRegisterPage::ShipRegisterPage(QWidget *parent)
    : MilitaryListPage(
        QStringLiteral("TabSheetSchiffsregister"), QStringLiteral("Schiffsregister"), parent)
{
    addFactionChoice(0, QStringLiteral("DBLookupComboBoxParteiSchiffe"),
        QStringLiteral("DBEditParteiNrSchiffe"), QStringLiteral("LabelAlleParteienSchiffe"));
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("ComboBoxSchiffstyp"));
    m_type->addItems(ShipRegister::typeChoices());
    addLabelled(2, QStringLiteral("Schiffstyp"), m_type);
    addDateChoice(3, QStringLiteral("ComboBoxVergleichSchiffe"),
        QStringLiteral("EditInfoDatumSchiffsregister"));
    m_bericht = addReportButton(5, QStringLiteral("ButtonBerichtSchiffe"));
    m_found = readOnlyEdit(QStringLiteral("EditGefundeneSchiffe"), this);
    m_found->setMaximumWidth(60);
    m_found->setText(QStringLiteral("0"));
    addLabelled(6, QStringLiteral("gefundene Schiffe"), m_found);
    controls()->setColumnStretch(7, 1);

    addGrid(QStringLiteral("StringGridSchiffe"), ShipRegister::headings());
    connect(m_grid, &ReportGrid::rowActivated, this, [this](const QVariant &key) {
        if (key.isValid())
            emit regionActivated(key.value<Position>());
    });

    connect(m_bericht, &QPushButton::clicked, this, &ShipRegisterPage::Bericht);
}

ShipRegisterPage::~ShipRegisterPage() = default;

void ShipRegisterPage::openQueries(Database &database)
{
    m_register = std::make_unique<ShipRegister>(database);
}

QVector<FactionRow> ShipRegisterPage::factionChoices(int game)
{
    return m_register->factionChoices(game);
}

void ShipRegisterPage::Bericht()
{
    if (!m_session)
        return;
    m_found->setText(QStringLiteral("0"));
    ShipRegisterSelection selection;
    selection.faction = chosenFaction();
    selection.type = m_type->currentText();
    selection.dateComparison = dateComparison();
    selection.date = date();
    run([&] {
        BusyScope busy(m_session->prompter());
        const ShipRegisterReport report = m_register->report(m_session->game(), selection);
        m_found->setText(QString::number(report.count));
        QVariantList keys;
        keys.reserve(report.places.size());
        for (const std::optional<Position> &place : report.places)
            keys.append(place ? QVariant::fromValue(*place) : QVariant());
        m_grid->showRows(report.shownRows, keys);
    });
}

} // namespace tolvimar
