#include "detailpages.h"

#include "armypage.h"
#include "base/position.h"
#include "groupingspage.h"
#include "pointspage.h"
#include "regioninfopage.h"
#include "reportgrid.h"
#include "shipregisterpage.h"
#include "unitspage.h"

namespace tolvimar {

DetailPages::DetailPages(QWidget *parent)
    : QTabWidget(parent)
{
    setObjectName(QStringLiteral("PageControl2"));
    m_regionInfo = new RegionInfoPage(this);
    addTab(m_regionInfo, QStringLiteral("Region Info"));
    m_units = new UnitsPage(this);
    addTab(m_units, QStringLiteral("Einheiten"));
    m_stringGrid1 = new ReportGrid(QStringLiteral("StringGrid1"), {}, this);
    connect(m_stringGrid1, &ReportGrid::rowActivated, this, [this](const QVariant &key) {
        if (const std::optional<Position> at = parsePosition(key.toString()))
            emit regionActivated(at->x, at->y, at->level);
    });
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

void DetailPages::showHistory(const QList<QStringList> &grid, const QString &position)
{
    if (grid.isEmpty())
        return;
    // Every turn's row stands for the same region.
    m_stringGrid1->showRows(grid, QVariantList(grid.size() - 1, position));
    m_stringGrid1->selectRow(m_stringGrid1->rowCount() - 1);
}

void DetailPages::showInfoDatum(qint64 turn)
{
    m_groupings->showInfoDatum(turn);
    m_shipRegister->showInfoDatum(turn);
}

} // namespace tolvimar
