#include "shipregisterpage.h"

#include "app/session.h"
#include "attempt.h"
#include "base/errors.h"
#include "base/position.h"
#include "base/prompter.h"
#include "factionchoice.h"
#include "military/selectiontexts.h"
#include "military/shipregister.h"
#include "reportgrid.h"
#include "widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvimar {

ShipRegisterPage::ShipRegisterPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheetSchiffsregister"));
    auto *layout = new QVBoxLayout(this);
    auto *controls = new QGridLayout;
    layout->addWidget(sidewaysRow(controls, this));
    auto addLabelled = [&](int column, const QString &label, QWidget *widget) {
        controls->addWidget(new QLabel(label, this), 0, column);
        controls->addWidget(widget, 1, column);
    };

    m_faction = new QComboBox(this);
    m_faction->setObjectName(QStringLiteral("DBLookupComboBoxParteiSchiffe"));
    m_faction->setMinimumContentsLength(14);
    addLabelled(0, QStringLiteral("Partei Name"), m_faction);
    m_factionNumber = readOnlyEdit(QStringLiteral("DBEditParteiNrSchiffe"), this);
    m_factionNumber->setMaximumWidth(70);
    addLabelled(1, QStringLiteral("Partei Nr"),
        factionNumberBox(
            m_faction, m_factionNumber, QStringLiteral("LabelAlleParteienSchiffe"), this));
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("ComboBoxSchiffstyp"));
    m_type->addItems(ShipRegister::typeChoices());
    addLabelled(2, QStringLiteral("Schiffstyp"), m_type);
    m_comparison = new QComboBox(this);
    m_comparison->setObjectName(QStringLiteral("ComboBoxVergleichSchiffe"));
    m_comparison->addItems(comparisonChoices());
    addLabelled(3, QString(), m_comparison);
    m_infoDatum = new QLineEdit(this);
    m_infoDatum->setObjectName(QStringLiteral("EditInfoDatumSchiffsregister"));
    m_infoDatum->setMaximumWidth(70);
    addLabelled(4, QStringLiteral("Info Datum"), m_infoDatum);
    m_bericht = new QPushButton(QStringLiteral("Bericht"), this);
    m_bericht->setObjectName(QStringLiteral("ButtonBerichtSchiffe"));
    controls->addWidget(m_bericht, 1, 5);
    m_found = readOnlyEdit(QStringLiteral("EditGefundeneSchiffe"), this);
    m_found->setMaximumWidth(60);
    m_found->setText(QStringLiteral("0"));
    addLabelled(6, QStringLiteral("gefundene Schiffe"), m_found);
    controls->setColumnStretch(7, 1);

    m_grid = new ReportGrid(QStringLiteral("StringGridSchiffe"), ShipRegister::headings(), this);
    layout->addWidget(m_grid, 1);
    connect(m_grid, &ReportGrid::rowActivated, this, [this](const QVariant &key) {
        if (key.isValid())
            emit regionActivated(key.value<Position>());
    });

    connect(m_bericht, &QPushButton::clicked, this, &ShipRegisterPage::Bericht);
}

ShipRegisterPage::~ShipRegisterPage() = default;

void ShipRegisterPage::attach(Session &session)
{
    m_session = &session;
    m_register = std::make_unique<ShipRegister>(session.database());
    // A new game or an import may bring other factions.
    connect(&session, &Session::gameChanged, this, &ShipRegisterPage::loadFactions);
    loadFactions();
}

void ShipRegisterPage::showInfoDatum(qint64 turn)
{
    m_infoDatum->setText(QString::number(turn));
}

void ShipRegisterPage::loadFactions()
{
    if (!m_session)
        return;
    attempt(m_session->prompter(), QStringLiteral("Schiffsregister"), [this] {
        fillFactionChoice(m_faction, m_register->factionChoices(m_session->game().number));
    });
}

void ShipRegisterPage::Bericht()
{
    if (!m_session)
        return;
    m_found->setText(QStringLiteral("0"));
    ShipRegisterSelection selection;
    bool numberShown = false;
    const int faction = m_factionNumber->text().toInt(&numberShown);
    selection.faction = numberShown ? faction : kAllFactions;
    selection.type = m_type->currentText();
    selection.dateComparison = m_comparison->currentText();
    selection.date = m_infoDatum->text();
    attempt(m_session->prompter(), QStringLiteral("Schiffsregister"), [&] {
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
