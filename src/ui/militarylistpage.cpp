#include "militarylistpage.h"

#include "app/session.h"
#include "factionchoice.h"
#include "military/selectiontexts.h"
#include "reportgrid.h"
#include "widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvimar {

MilitaryListPage::MilitaryListPage(const QString &objectName, const QString &title, QWidget *parent)
    : QWidget(parent)
    , m_title(title)
{
    setObjectName(objectName);
    m_pageLayout = new QVBoxLayout(this);
    m_controls = new QGridLayout;
    m_pageLayout->addWidget(sidewaysRow(m_controls, this));
}

MilitaryListPage::~MilitaryListPage() = default;

void MilitaryListPage::attach(Session &session)
{
    m_session = &session;
    openQueries(session.database());
    connect(&session, &Session::gameChanged, this, &MilitaryListPage::loadFactions);
    loadFactions();
}

void MilitaryListPage::showInfoDatum(qint64 turn)
{
    m_infoDatum->setText(QString::number(turn));
}

void MilitaryListPage::addLabelled(int column, const QString &label, QWidget *widget)
{
    m_controls->addWidget(new QLabel(label, this), 0, column);
    m_controls->addWidget(widget, 1, column);
}

void MilitaryListPage::addFactionChoice(
    int column, const QString &choiceName, const QString &numberName, const QString &allName)
{
    m_faction = new QComboBox(this);
    m_faction->setObjectName(choiceName);
    m_faction->setMinimumContentsLength(14);
    addLabelled(column, QStringLiteral("Partei Name"), m_faction);
    m_factionNumber = readOnlyEdit(numberName, this);
    m_factionNumber->setMaximumWidth(70);
    addLabelled(column + 1, QStringLiteral("Partei Nr"),
        factionNumberBox(m_faction, m_factionNumber, allName, this));
}

void MilitaryListPage::addDateChoice(
    int column, const QString &comparisonName, const QString &dateName)
{
    m_comparison = new QComboBox(this);
    m_comparison->setObjectName(comparisonName);
    m_comparison->addItems(comparisonChoices());
    addLabelled(column, QString(), m_comparison);
    m_infoDatum = new QLineEdit(this);
    m_infoDatum->setObjectName(dateName);
    m_infoDatum->setMaximumWidth(70);
    addLabelled(column + 1, QStringLiteral("Info Datum"), m_infoDatum);
}

QPushButton *MilitaryListPage::addReportButton(int column, const QString &objectName)
{
    auto *button = new QPushButton(QStringLiteral("Bericht"), this);
    button->setObjectName(objectName);
    m_controls->addWidget(button, 1, column);
    return button;
}

ReportGrid *MilitaryListPage::addGrid(const QString &objectName, const QStringList &headings)
{
    m_grid = new ReportGrid(objectName, headings, this);
    m_pageLayout->addWidget(m_grid, 1);
    return m_grid;
}

int MilitaryListPage::chosenFaction() const
{
    bool numberShown = false;
    const int faction = m_factionNumber->text().toInt(&numberShown);
    return numberShown ? faction : kAllFactions;
}

QString MilitaryListPage::dateComparison() const
{
    return m_comparison->currentText();
}

QString MilitaryListPage::date() const
{
    return m_infoDatum->text();
}

void MilitaryListPage::loadFactions()
{
    if (!m_session)
        return;
    run([this] { fillFactionChoice(m_faction, factionChoices(m_session->game().number)); });
}

void MilitaryListPage::showError(const QString &text)
{
    if (m_session)
        m_session->prompter().message(Prompter::Kind::Error, m_title, text);
}

} // namespace tolvimar
