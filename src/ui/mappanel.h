#pragma once

#include "app/mapoperations.h"
#include "map/hexgeometry.h"
#include "map/mapstate.h"
#include "maptool.h"
#include "updown.h"

#include <QPoint>
#include <QWidget>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;

namespace tolvimar {

class ImportProgress;
class MapImage;
class RouteLayer;
class RoutePlanner;
class RouteTool;
class SelectTool;
class Session;

// The left column of the main window: the world map in its scroll box with the
// three overlay layers on it, the button that renders it, the level box, the panel
// naming the selected region and the small map with its arrows. The world map box
// takes the room the column has; the small map grows by whole steps when there is
// room for it. Once attached to a session it shows the session's maps and turns the
// pointer, keys and buttons into map operations.
class MapPanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kMaxZoom = 4;

    explicit MapPanel(QWidget *parent = nullptr);
    ~MapPanel() override;

    // Shows the session's maps and acts on its game from now on.
    void attach(Session &session);

    // The world map rendered for the level shown ("Karte aktualisieren").
    void renderWorldMap();
    // Switches to the level chosen in the level box; the selected region of the new
    // level is then chosen again (regionChosen).
    void switchToChosenLevel();
    // The map part of a jump: the region's level shown, the small map drawn around the
    // region and the world map scrolled to it.
    void showRegion(int x, int y, int level);
    // The small map drawn around a region (one entered by hand).
    void showSmallMapAround(int x, int y);
    // Moves the small map by whole regions.
    void moveSmallMap(int dx, int dy);
    // Turns an overlay on or off and shows it.
    void toggleOverlay(OverlayKind kind);
    // The level box read anew from the game (an import or a sync may bring levels).
    void refreshLevels();
    // "Kartendaten importieren": a map data file asked for and read in, its progress
    // shown; what it added goes to notice, a failure is shown as an error.
    void importMapData(ImportProgress &progress);
    // "Gesamtkarte exportieren" (every level) and "Kartenbereich exportieren" (around
    // the selected region).
    void exportWholeMap();
    void exportMarkedArea();
    // The submenu "Weltkarte Zoom" in a menu: fixed steps, larger, smaller.
    void addZoomMenu(QMenu *menu);

    // Pointer handlers, in pixels of the unzoomed pictures.
    void Image1MouseMove(int x, int y);
    void Image1MouseDown(int x, int y);
    void Image82MouseMove(int x, int y);
    void Image82MouseDown(int x, int y);
    void UpDown1Click(tolvimar::UpDown::Button button);
    void UpDown2Click(tolvimar::UpDown::Button button);

    // Scrolls the world map box so that a rectangle of the (unzoomed) picture stands in
    // its middle, as far as the map reaches.
    void scrollWorldMapTo(const QRect &pictureRect);
    // The cell of a region of the shown level on the world map, in picture pixels; none
    // while no world map is shown.
    std::optional<QRect> worldCell(int x, int y) const;
    // Scrolls the world map box to the picture's size / 2.25, as a game opens. Kept
    // until the box's layout admits it or the user scrolls.
    void scrollWorldMapToMiddle();

    // The tool the pointer works with on both maps.
    enum class Tool { Select, Route };
    void setTool(Tool tool);
    Tool tool() const { return m_toolKind; }
    // The region under a pixel of a map; none while the map shows nothing.
    std::optional<RegionCoord> regionAt(MapView view, const QPoint &pixel) const;

    // "Weg planen": the unit whose way is planned (0: none), the way to a region of the
    // level shown, whether unknown regions may be crossed, and "In die Befehle
    // übernehmen" for the way kept. A failure or a missing way is said by routeText.
    void setRouteUnit(int number);
    void planRouteTo(const RegionCoord &target);
    void setUnknownRegionsAllowed(bool allowed);
    bool unknownRegionsAllowed() const;
    void writeRouteOrder();
    // Shows a text about the way where the way's texts are shown.
    void showRouteText(const QString &text);
    const RoutePlanner &routePlanner() const { return *m_routePlanner; }
    // The way's layers of the world map and the small map.
    const RouteLayer &worldRouteLayer() const { return *m_worldRoute; }
    const RouteLayer &smallRouteLayer() const { return *m_smallRoute; }

    int zoom() const;
    // Whole steps from 1 to 4. The picture point at the anchor (a point of the world
    // map widget) stays where it is on the screen; without one the selected region
    // does when it is in view, or comes to the middle when not, and without a
    // selected region the box's centre stays.
    void setZoom(int zoom, std::optional<QPoint> anchor = std::nullopt);
    // The small map's whole-number scale.
    int smallMapScale() const { return m_smallScale; }

signals:
    void zoomChanged(int zoom);
    // A region chosen on a map (a click, or the selected region on a level switched to).
    void regionChosen(const tolvimar::Position &place);
    // Texts for the status bar's panels: 0 the region clicked on the world map, 1 the
    // position under the pointer, 2 the name of the region under it.
    void statusText(int panel, const QString &text);
    // A note for the status bar.
    void notice(const QString &text);
    // The tool of the maps changed.
    void toolChanged(tolvimar::MapPanel::Tool tool);
    // The way planned: "Reisezeit: 2 Runden (3 Regionen)", why there is none, or empty.
    void routeText(const QString &text);
    // The move order of the way was written into the unit's orders.
    void routeOrderWritten(const QString &order);
    // An overlay was turned on or off; text is the caption of its button.
    void overlayShown(tolvimar::OverlayKind kind, bool on, const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyPendingScroll();
    void fitSmallMap();
    void connectMaps();
    void gameOpened();
    void showLayer(OverlayKind kind);
    void showLevelName();
    void storeLevelName();
    void showPointer(const RegionCoord &region, bool onWorldMap);
    void showMarkers();
    void showZoomedMap();
    MapOperations::SwitchResult switchToLevel(int level);
    void showRoute();
    std::optional<QRect> smallCell(const RegionCoord &region) const;
    // Runs map work; a failure is shown as an error of the map.
    template<typename Work> void mapWork(Work &&work);

    Session *m_session = nullptr;
    std::unique_ptr<MapOperations> m_maps;
    QScrollArea *m_worldBox;
    MapImage *m_worldMap;
    MapImage *m_overlayLayers[3];
    QPushButton *m_renderButton;
    QComboBox *m_levelList;
    QLineEdit *m_levelName;
    QPushButton *m_switchLevelButton;
    QLabel *m_regionCaption;
    QWidget *m_levelBox;
    QWidget *m_smallArea;
    MapImage *m_smallMap;
    UpDown *m_smallMapUpDown;
    UpDown *m_smallMapLeftRight;
    QList<QAction *> m_zoomActions;
    int m_smallScale = 1;
    std::optional<QPoint> m_pendingScroll;
    // The region last named under the pointer, so a move within a cell asks nothing.
    std::optional<std::pair<RegionCoord, bool>> m_pointerRegion;
    std::unique_ptr<RoutePlanner> m_routePlanner;
    RouteLayer *m_worldRoute;
    RouteLayer *m_smallRoute;
    std::unique_ptr<SelectTool> m_selectTool;
    std::unique_ptr<RouteTool> m_routeTool;
    MapTool *m_tool = nullptr;
    Tool m_toolKind = Tool::Select;
};

} // namespace tolvimar
