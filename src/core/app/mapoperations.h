#pragma once

#include "../db/gamequeries.h"
#include "../map/hexgeometry.h"
#include "../map/mapstate.h"
#include "../map/overlays.h"

#include <QPoint>
#include <QString>
#include <memory>

namespace tolvimar {

class Session;

// The map operations of the active game: rendering, caching and loading the world
// map of the selected level, the level switch, the small map and its paging, the
// pointer conversions of both maps and the three overlays. Results go into the
// session's MapState, which the window shows.
class MapOperations
{
public:
    explicit MapOperations(Session &session);
    ~MapOperations();
    MapOperations(const MapOperations &) = delete;
    MapOperations &operator=(const MapOperations &) = delete;

    // Game start: writes missing tiles into images/, draws the small map around the
    // current position and shows the cached level-0 map. A failure is reported and
    // skipped, so that the rest of the opening goes on.
    void openGame();

    // "Karte aktualisieren": renders the selected level from the regions table, shows
    // it, saves it as the level's cache and, on level 0, stores the origin in the
    // configuration. False when the level has no regions: nothing changes then.
    // Throws UserError (a missing tile, a picture too large, a file not written).
    bool displayWorldMapHex();
    // After an import: the shown level's world map drawn anew (and cached), the small
    // map centred on the home region, or on the first own unit of the turn when home
    // holds no known region.
    void showImportedGame();
    // After an import was taken back: the same, and a level left without regions shows
    // no world map (its cached picture, drawn after the import, is removed), so that no
    // region that is gone stays on screen or answers a click.
    void showRestoredGame();
    // Without caching the world map is drawn into memory only: neither its file nor the
    // origin in the configuration is written (a workspace that cannot be written).
    void setCaching(bool caching) { m_caching = caching; }

    enum class SwitchResult {
        Unchanged, // the level was shown already
        NoRegions, // level and filter changed, the picture stayed
        Loaded, // the level's cached picture is shown
        Rendered, // its cache was missing (or stale) and was drawn anew
    };
    // The shown level's world map drawn scale times larger with the tiles' art, for a
    // zoomed view; a null image when it cannot be (no regions, too large, or the shown
    // picture is not the current drawing of the level). Throws UserError.
    QImage renderZoomed(int scale);

    // "Wechsel zu": shows the given level, the small map drawn anew for it. Throws
    // UserError.
    SwitchResult switchLevel(int level);
    // Makes a level the selected one and the region view's filter without loading or
    // drawing anything (the command line draws right after).
    void selectLevel(int level);

    // Shows the cached picture of a level; false when there is no file. Throws
    // UserError when the file is there but cannot be read.
    bool loadWorldMap(int level);

    // Draws the small map around (x, y); the current position stays. Throws UserError.
    void displaySmallMap(int x, int y);
    // The arrows: moves the small map's centre by the given number of regions and
    // redraws around it.
    void moveSmallMap(int dx, int dy);

    // The region under a pixel of the unzoomed world map or small map.
    RegionCoord worldRegionAt(const QPoint &pixel) const;
    RegionCoord smallRegionAt(const QPoint &pixel) const;
    // A press on the world map: the region under the pixel becomes the current
    // position and the small map is drawn around it. Returns the region.
    RegionCoord selectOnWorldMap(const QPoint &pixel);

    // "Name (x/y)" of a region as the world map (selected level) or the small map
    // (the region view's filter) sees it; "x/y" when it has no row or no name.
    QString regionLabel(const RegionCoord &region, bool onWorldMap);

    // The game's levels, and a new `Name` for one of them.
    QVector<LevelRow> levels();
    void setLevelName(int level, const QString &name);

    // What the level list offers: the game's level rows, and level 0 first even when
    // the table has no row for it (the import writes rows only for the other levels),
    // so that the way back to the surface is never closed.
    struct LevelChoice
    {
        int level = 0;
        QString name;
        bool stored = true; // false: no row, no name to edit
    };
    QVector<LevelChoice> levelChoices();

    // The overlays' controls: switches an overlay on (drawn from the tables now) or
    // off (hidden and cleared).
    void toggleOverlay(OverlayKind kind);
    // The overlays that are on drawn anew for the world map shown now (another level,
    // another extent), so that their marks stand on the right cells.
    void redrawShownOverlays();
    // The control text of an overlay: its "einblenden" or "ausblenden" form.
    static QString overlayText(OverlayKind kind, bool on);
    // Draws an overlay over the world map as it stands. admitted is false for the
    // units overlay when the faction has no unit of the newest turn.
    OverlayLayer drawOverlay(OverlayKind kind, bool *admitted = nullptr, int scale = 1);

private:
    GameQueries &queries();
    QString imagesDirectory() const;
    void saveWorldMap(const QImage &image, int level) const;
    // The small map around home, or around the first own unit of the turn when home
    // holds no known region of the shown level.
    void centreOnHome();
    // An overlay drawn for the shown world map and switched on.
    void showOverlay(OverlayKind kind);

    Session &m_session;
    std::unique_ptr<GameQueries> m_queries;
    bool m_caching = true;
};

} // namespace tolvimar
