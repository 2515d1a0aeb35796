#pragma once

#include "base/position.h"

#include <QSet>
#include <QStringList>
#include <QTabWidget>

namespace tolvimar {

class ArmyPage;
class GroupingsPage;
class OrderEditorWindow;
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

    // The order editor that the unit list opens on a unit.
    void setOrderEditor(OrderEditorWindow *editor);
    // Stores what is typed in the region page and the unit list but not yet written.
    void commitEdits();
    // Brings "Region Info" to the front.
    void showRegionPage();
    // The points statistics grid in "Punkte Statistik".
    void showPointsGrid(const QList<QStringList> &grid);

    // The history of a region in "Regions Stati": the heading row, then one row per
    // turn; the last row is selected.
    void showHistory(const QList<QStringList> &grid, const Position &place);

    // The session whose game the pages show; from now on they follow its selection.
    void attach(Session &session);

    // No region shown: the region page, the unit list and the history emptied. A game
    // opened (or opened anew after an import was taken back) shows nothing of the
    // state before.
    void showNoRegion();
    // The unit list of the region shown read anew (marks set by the order editor); the
    // selected row stays selected.
    void refreshUnitList();
    // The newest turn in the "Info Datum" fields of "Gruppierungen" and "Schiffsregister".
    void showInfoDatum(qint64 turn);
    // The units with problems in their orders, marked in the unit list.
    void setProblemUnits(const QSet<qint64> &unitNumbers);
    // The page "Einheiten" with the listed unit of this number text selected; false
    // when the list does not hold it.
    bool showListedUnit(const QString &unitText);

signals:
    // The pages have shown the selected region.
    void regionShown();
    // A double click on a row of the region history or the ship register.
    void regionActivated(const tolvimar::Position &place);
    // A double click on a unit's row of a military page.
    void unitActivated(const tolvimar::Position &place, int number);
    // The order editor is about to open on a unit of the list.
    void editorOpening();
    // The order editor has written a unit's orders back.
    void ordersApplied();
    // A field of "Region Info" was edited for the region shown there.
    void regionFieldEdited(
        const tolvimar::Position &place, const QString &field, const QVariant &value);

private:
    // Shows everything known about the selected region: its page "Region Info", its
    // units and its history; the caption names it. Nothing changes (the error shown)
    // when it cannot be read.
    void showRegion(const Position &place);
    // Shows the page "Einheiten" with the selected unit; a unit of another faction or
    // turn is listed once "Alle" admits it.
    void showUnit(int number);
    // What the unit list admits, for a region on level.
    RegionSelection regionSelection(int level) const;

    Session *m_session = nullptr;
    RegionInfoPage *m_regionInfo;
    UnitsPage *m_units;
    ReportGrid *m_history; // "Regions Stati"
    PointsPage *m_points;
    ArmyPage *m_army;
    GroupingsPage *m_groupings;
    ShipRegisterPage *m_shipRegister;
};

} // namespace tolvimar
