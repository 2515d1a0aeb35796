#pragma once

#include <QStringList>
#include <QTabWidget>

namespace tolvimar {

class ArmyPage;
class GroupingsPage;
class PointsPage;
class RegionInfoPage;
struct RegionSelection;
class ReportGrid;
class Session;
class ShipRegisterPage;
class UnitsPage;

// The pages right of the maps ("PageControl2"): the selected region, its units, its
// history, the points statistics and the military pages.
class DetailPages : public QTabWidget
{
    Q_OBJECT
public:
    explicit DetailPages(QWidget *parent = nullptr);

    RegionInfoPage *regionInfo() const { return m_regionInfo; }
    UnitsPage *units() const { return m_units; }
    ReportGrid *stringGrid1() const { return m_stringGrid1; }
    PointsPage *points() const { return m_points; }
    ArmyPage *army() const { return m_army; }
    GroupingsPage *groupings() const { return m_groupings; }
    ShipRegisterPage *shipRegister() const { return m_shipRegister; }

    // The history of the region at a position text in "Regions Stati": the heading
    // row, then one row per turn; the last row is selected.
    void showHistory(const QList<QStringList> &grid, const QString &position);

    // The session whose game the pages show.
    void attach(Session &session);

    // Shows everything known about region (x, y) of the level shown: its page "Region
    // Info", its units and its history. False (the error shown) when it cannot be read.
    bool showRegionAt(int x, int y);
    // No region shown: the region page, the unit list and the history emptied. A game
    // opened (or opened anew after an import was taken back) shows nothing of the
    // state before.
    void showNoRegion();
    // The unit list of the region shown read anew (marks set by the order editor); the
    // selected row stays selected.
    void refreshUnitList();
    // Shows the page "Einheiten" with a unit selected; a unit of another faction or turn
    // is listed once "Alle" admits it.
    void selectUnit(int number);
    // The newest turn in the "Info Datum" fields of "Gruppierungen" and "Schiffsregister".
    void showInfoDatum(qint64 turn);

signals:
    // showRegionAt has shown a region.
    void regionShown();
    // A double click on a row of the region history or the ship register.
    void regionActivated(int x, int y, int level);
    // A double click on a unit's row of a military page; position is its "x/y/level".
    void unitActivated(const QString &position, int number);

private:
    // What the unit list admits, for the region at the selected level.
    RegionSelection regionSelection() const;

    Session *m_session = nullptr;
    RegionInfoPage *m_regionInfo;
    UnitsPage *m_units;
    ReportGrid *m_stringGrid1; // "Regions Stati"
    PointsPage *m_points;
    ArmyPage *m_army;
    GroupingsPage *m_groupings;
    ShipRegisterPage *m_shipRegister;
};

} // namespace tolvimar
