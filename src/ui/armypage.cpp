#include "armypage.h"

#include "app/session.h"
#include "attempt.h"
#include "base/errors.h"
#include "base/prompter.h"
#include "military/armies.h"
#include "reportgrid.h"
#include "widgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvimar {

ArmyPage::ArmyPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheetArmee"));
    auto *layout = new QVBoxLayout(this);
    auto *controls = new QHBoxLayout;
    layout->addWidget(sidewaysRow(controls, this));

    controls->addWidget(new QLabel(QStringLiteral("Armeen"), this));
    m_armeen = new QComboBox(this);
    m_armeen->setObjectName(QStringLiteral("ComboBoxArmeen"));
    m_armeen->addItems(Armies::armyChoices());
    controls->addWidget(m_armeen);
    m_bericht = new QPushButton(QStringLiteral("Bericht"), this);
    m_bericht->setObjectName(QStringLiteral("ButtonBerichtArmee"));
    controls->addWidget(m_bericht);
    controls->addSpacing(20);
    auto addTotal = [&](const QString &label, const QString &objectName) {
        controls->addWidget(new QLabel(label, this));
        QLineEdit *edit = readOnlyEdit(objectName, this);
        edit->setMaximumWidth(80);
        edit->setText(QStringLiteral("0"));
        controls->addWidget(edit);
        return edit;
    };
    m_soldiers = addTotal(QStringLiteral("Soldaten:"), QStringLiteral("EditSoldaten"));
    m_weapons = addTotal(QStringLiteral("Waffen:"), QStringLiteral("EditWaffen"));
    m_rangedWeapons = addTotal(QStringLiteral("Fernwaffen:"), QStringLiteral("EditFernwaffen"));
    controls->addStretch(1);

    // Says why a report lists no unit.
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("LabelArmeeHinweis"));
    m_note->setWordWrap(true);
    m_note->hide();
    layout->addWidget(m_note);

    m_grid = new ReportGrid(QStringLiteral("StringGridArmee"), Armies::headings(), this);
    layout->addWidget(m_grid, 1);
    connect(m_grid, &ReportGrid::rowActivated, this, [this](const QVariant &key) {
        const UnitKey unit = key.value<UnitKey>();
        if (unit.place)
            emit unitActivated(*unit.place, unit.number);
    });
    connect(m_bericht, &QPushButton::clicked, this, &ArmyPage::Bericht);
}

ArmyPage::~ArmyPage() = default;

void ArmyPage::attach(Session &session)
{
    m_session = &session;
    m_armies = std::make_unique<Armies>(session.database());
}

void ArmyPage::Bericht()
{
    if (!m_session)
        return;
    for (QLineEdit *total : {m_soldiers, m_weapons, m_rangedWeapons})
        total->setText(QStringLiteral("0"));
    attempt(m_session->prompter(), QStringLiteral("Armee Info"), [&] {
        BusyScope busy(m_session->prompter());
        const ArmyReport report = m_armies->report(m_session->game(), m_armeen->currentText());
        m_soldiers->setText(QString::number(report.soldiers));
        m_weapons->setText(QString::number(report.weapons));
        m_rangedWeapons->setText(QString::number(report.rangedWeapons));
        QVariantList keys;
        keys.reserve(report.units.size());
        for (const UnitKey &unit : report.units)
            keys.append(QVariant::fromValue(unit));
        m_grid->showRows(report.rows, keys);
        m_note->setText(report.units.isEmpty()
                ? Armies::noUnitsNote(m_armeen->currentText(), m_session->game().newestTurn)
                : QString());
        m_note->setVisible(report.units.isEmpty());
    });
}

} // namespace tolvimar
