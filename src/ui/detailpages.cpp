#include "detailpages.h"

#include "app/session.h"
#include "armypage.h"
#include "attempt.h"
#include "base/position.h"
#include "groupingspage.h"
#include "map/regiondetail.h"
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
    m_history = new ReportGrid(QStringLiteral("StringGrid1"), {}, this);
    connect(m_history, &ReportGrid::rowActivated, this,
        [this](const QVariant &key) { emit regionActivated(key.value<Position>()); });
    addTab(m_history, QStringLiteral("Regions Stati"));
    m_points = new PointsPage(this);
    addTab(m_points, QStringLiteral("Punkte Statistik"));
    m_army = new ArmyPage(this);
    addTab(m_army, QStringLiteral("Armee Info"));
    m_groupings = new GroupingsPage(this);
    addTab(m_groupings, QStringLiteral("Gruppierungen"));
    m_shipRegister = new ShipRegisterPage(this);
    addTab(m_shipRegister, QStringLiteral("Schiffsregister"));
    connect(m_groupings, &GroupingsPage::unitActivated, this, &DetailPages::unitActivated);
    connect(m_army, &ArmyPage::unitActivated, this, &DetailPages::unitActivated);
    connect(m_units, &UnitsPage::editorOpening, this, &DetailPages::editorOpening);
    // Orders written back change the unit's mark in the list at once.
    connect(m_units, &UnitsPage::ordersApplied, this, [this] {
        refreshUnitList();
        emit ordersApplied();
    });
    connect(m_regionInfo, &RegionInfoPage::regionFieldEdited, this,
        [this](const QString &field, const QVariant &value) {
            if (const std::optional<Position> region = m_regionInfo->shownRegion())
                emit regionFieldEdited(*region, field, value);
        });
    connect(
        m_shipRegister, &ShipRegisterPage::regionActivated, this, &DetailPages::regionActivated);
}

void DetailPages::setOrderEditor(OrderEditorWindow *editor)
{
    m_units->setOrderEditor(editor);
}

void DetailPages::commitEdits()
{
    m_regionInfo->commitEdits();
    m_units->commitEdits();
}

void DetailPages::showRegionPage()
{
    setCurrentWidget(m_regionInfo);
}

void DetailPages::showPointsGrid(const QList<QStringList> &grid)
{
    m_points->showGrid(grid);
}

void DetailPages::attach(Session &session)
{
    m_session = &session;
    m_units->attach(session);
    m_army->attach(session);
    m_groupings->attach(session);
    m_shipRegister->attach(session);
    connect(&session, &Session::gameOpened, this, &DetailPages::showNoRegion);
    MapState &map = session.mapState();
    connect(&map, &MapState::regionSelected, this, &DetailPages::showRegion);
    connect(&map, &MapState::unitSelected, this, &DetailPages::showUnit);
}

void DetailPages::showNoRegion()
{
    m_regionInfo->showRegion(RegionView());
    m_units->showEntries({});
    m_history->showRows(GridRows());
    m_session->mapState().setRegionCaption(QString());
}

RegionSelection DetailPages::regionSelection(int level) const
{
    RegionSelection selection;
    selection.level = level;
    selection.allUnits = m_units->allUnits();
    selection.currentOnly = m_units->currentOnly();
    selection.previousRegion = m_session->mapState().shownRegion();
    return selection;
}

void DetailPages::showRegion(const Position &place)
{
    // A change still open in a field of the page belongs to the region shown so far.
    m_regionInfo->commitEdits();
    m_units->commitEdits();
    RegionView view;
    const bool read = attempt(m_session->prompter(), QStringLiteral("Region"), [&] {
        BusyScope busy(m_session->prompter());
        view = RegionDetail(m_session->database())
                   .regionView(m_session->game(), place.x, place.y, regionSelection(place.level));
    });
    if (!read)
        return;
    MapState &map = m_session->mapState();
    map.setRegionCaption(view.caption);
    m_regionInfo->showRegion(view);
    m_units->showEntries(view.units);
    if (view.history)
        showHistory(*view.history, place);
    map.setShownRegion(view.shownRegion);
    emit regionShown();
}

void DetailPages::refreshUnitList()
{
    const std::optional<Position> region = m_session->mapState().selectedRegion();
    if (!region)
        return;
    attempt(m_session->prompter(), QStringLiteral("Einheiten"), [&] {
        m_units->updateEntries(
            RegionDetail(m_session->database())
                .regionView(m_session->game(), region->x, region->y, regionSelection(region->level))
                .units);
    });
}

void DetailPages::showUnit(int number)
{
    int row = m_units->rowOfUnit(number);
    if (row < 0 && m_units->admitEveryUnit()) {
        refreshUnitList();
        row = m_units->rowOfUnit(number);
    }
    setCurrentWidget(m_units);
    if (row >= 0)
        m_units->selectEntry(row);
}

void DetailPages::showHistory(const QList<QStringList> &grid, const Position &place)
{
    if (grid.isEmpty())
        return;
    // Every turn's row stands for the same region.
    m_history->showRows(grid, QVariantList(grid.size() - 1, QVariant::fromValue(place)));
    m_history->selectRow(m_history->rowCount() - 1);
}

void DetailPages::showInfoDatum(qint64 turn)
{
    m_groupings->showInfoDatum(turn);
    m_shipRegister->showInfoDatum(turn);
}

void DetailPages::setProblemUnits(const QSet<qint64> &unitNumbers)
{
    m_units->setProblemUnits(unitNumbers);
}

bool DetailPages::showListedUnit(const QString &unitText)
{
    setCurrentWidget(m_units);
    return m_units->selectUnit(unitText);
}

} // namespace tolvimar
