#include "detailpages.h"

#include "armypage.h"
#include "groupingspage.h"
#include "pointspage.h"
#include "regioninfopage.h"
#include "shipregisterpage.h"
#include "unitspage.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>

namespace tolvimar {

DetailPages::DetailPages(QWidget *parent)
    : QTabWidget(parent)
{
    setObjectName(QStringLiteral("PageControl2"));
    m_regionInfo = new RegionInfoPage(this);
    addTab(m_regionInfo, QStringLiteral("Region Info"));
    m_units = new UnitsPage(this);
    addTab(m_units, QStringLiteral("Einheiten"));
    m_stringGrid1 = new QTableWidget(0, 0, this);
    m_stringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    m_stringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_stringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_stringGrid1->verticalHeader()->hide();
    addTab(m_stringGrid1, QStringLiteral("Regions Stati"));
    m_points = new PointsPage(this);
    addTab(m_points, QStringLiteral("Punkte Statistik"));
    m_army = new ArmyPage(this);
    addTab(m_army, QStringLiteral("Armee Info"));
    m_groupings = new GroupingsPage(this);
    addTab(m_groupings, QStringLiteral("Gruppierungen"));
    m_shipRegister = new ShipRegisterPage(this);
    addTab(m_shipRegister, QStringLiteral("Schiffsregister"));
}

void DetailPages::attach(Session &session)
{
    m_units->attach(session);
    m_army->attach(session);
    m_groupings->attach(session);
    m_shipRegister->attach(session);
}

void DetailPages::showHistory(const QList<QStringList> &grid)
{
    if (grid.isEmpty())
        return;
    const QStringList &heading = grid.first();
    m_stringGrid1->setColumnCount(int(heading.size()));
    m_stringGrid1->setHorizontalHeaderLabels(heading);
    m_stringGrid1->setRowCount(int(grid.size() - 1));
    for (int row = 1; row < grid.size(); ++row) {
        for (int column = 0; column < grid[row].size(); ++column)
            m_stringGrid1->setItem(row - 1, column, new QTableWidgetItem(grid[row][column]));
    }
    m_stringGrid1->setCurrentCell(m_stringGrid1->rowCount() - 1, 0);
}

void DetailPages::showInfoDatum(qint64 turn)
{
    m_groupings->showInfoDatum(turn);
    m_shipRegister->showInfoDatum(turn);
}

} // namespace tolvimar
