#include "mapoperations.h"

#include "../base/errors.h"
#include "../base/gamefiles.h"
#include "../base/position.h"
#include "../base/prompter.h"
#include "../db/schema.h"
#include "../db/table.h"
#include "../map/imagefile.h"
#include "../map/smallmaprenderer.h"
#include "../map/tileart.h"
#include "../map/worldmaprenderer.h"
#include "session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace tolvimar {

MapOperations::MapOperations(Session &session)
    : m_session(session)
{
}

MapOperations::~MapOperations() = default;

GameQueries &MapOperations::queries()
{
    if (!m_queries)
        m_queries = std::make_unique<GameQueries>(m_session.database());
    return *m_queries;
}

QString MapOperations::imagesDirectory() const
{
    return imagesDir(m_session.game().programPath);
}

void MapOperations::openGame()
{
    Prompter &prompter = m_session.prompter();
    const QString title = QStringLiteral("Karte");
    try {
        ensureTiles(imagesDirectory());
    } catch (const UserError &e) {
        prompter.message(Prompter::Kind::Warning, title, e.message());
    }
    try {
        const QPoint home = m_session.mapState().currentPosition();
        displaySmallMap(home.x(), home.y());
    } catch (const UserError &e) {
        prompter.message(Prompter::Kind::Error, title, e.message());
    }
    try {
        if (!loadWorldMap(0))
            prompter.notice(QStringLiteral("Keine Weltkarte gespeichert (%1); \"Karte "
                                           "aktualisieren\" zeichnet sie.")
                                .arg(QDir::toNativeSeparators(m_session.worldMapFile(0))));
    } catch (const UserError &e) {
        prompter.message(Prompter::Kind::Error, title, e.message());
    }
}

bool MapOperations::displayWorldMapHex()
{
    BusyScope busy(m_session.prompter());
    MapState &state = m_session.mapState();
    const int game = m_session.game().number;
    const int level = state.level();
    state.setRegionFilterLevel(level);

    const QList<MapCell> cells = queries().regionsOfLevel(game, level);
    const std::optional<WorldMap> map = WorldMapRenderer(imagesDirectory()).render(cells);
    if (!map)
        return false;

    state.setOrigin(QPointF(map->extent.minX, map->extent.minY));
    state.setWorldMap(map->image);
    redrawShownOverlays();
    if (!m_caching)
        return true;
    // Stores lines 7 and 8 only while level 0 is shown.
    m_session.saveGameSlot();
    saveWorldMap(map->image, level);
    return true;
}

QImage MapOperations::renderZoomed(int scale)
{
    const MapState &state = m_session.mapState();
    if (state.worldMapSize().isEmpty())
        return {};
    BusyScope busy(m_session.prompter());
    const QList<MapCell> cells = queries().regionsOfLevel(m_session.game().number, state.level());
    const std::optional<WorldMap> map
        = WorldMapRenderer(imagesDirectory()).renderScaled(cells, scale);
    // A cached picture of another extent would put the zoomed cells elsewhere.
    if (!map || QPointF(map->extent.minX, map->extent.minY) != state.origin()
        || map->image.size() != state.worldMapSize() * scale)
        return {};
    return map->image;
}

void MapOperations::centreOnHome()
{
    const ActiveGame &game = m_session.game();
    MapState &state = m_session.mapState();
    const int level = state.level();
    QPoint centre(game.homeX, game.homeY);
    if (!queries().regionAt(game.number, game.homeX, game.homeY, level)) {
        for (const UnitMarkRow &unit :
            queries().unitsOfFaction(game.number, game.factionNumber, game.newestTurn)) {
            const std::optional<Position> p = parsePosition(unit.position);
            if (p && p->level == level) {
                centre = QPoint(p->x, p->y);
                break;
            }
        }
    }
    state.setCurrentPosition(centre);
    displaySmallMap(centre.x(), centre.y());
}

void MapOperations::showImportedGame()
{
    centreOnHome();
    displayWorldMapHex();
}

void MapOperations::showRestoredGame()
{
    centreOnHome();
    if (displayWorldMapHex())
        return;
    MapState &state = m_session.mapState();
    state.setWorldMap(QImage());
    const QString cached = m_session.worldMapFile(state.level());
    if (m_caching && QFileInfo::exists(cached) && !QFile::remove(cached))
        m_session.prompter().notice(
            QStringLiteral("Die gespeicherte Weltkarte %1 konnte nicht entfernt werden.")
                .arg(QDir::toNativeSeparators(cached)));
}

void MapOperations::saveWorldMap(const QImage &image, int level) const
{
    writeImageFile(m_session.worldMapFile(level), image, "BMP");
}

bool MapOperations::loadWorldMap(int level)
{
    const QString path = m_session.worldMapFile(level);
    if (!QFileInfo(path).isFile())
        return false;
    const QImage image
        = readImageFile(path, WorldMapRenderer::kMaxPixels, QStringLiteral("Die Weltkarte"));
    m_session.mapState().setWorldMap(image.convertToFormat(QImage::Format_RGB32));
    return true;
}

void MapOperations::selectLevel(int level)
{
    MapState &state = m_session.mapState();
    state.setLevel(level);
    state.setRegionFilterLevel(level);
}

MapOperations::SwitchResult MapOperations::switchLevel(int level)
{
    MapState &state = m_session.mapState();
    if (level == state.level())
        return SwitchResult::Unchanged;
    BusyScope busy(m_session.prompter());
    selectLevel(level);
    const int game = m_session.game().number;

    if (level != 0) {
        // The small map shows the terrain of the level selected now.
        const QPoint centre = state.currentPosition();
        displaySmallMap(centre.x(), centre.y());
        const std::optional<MapExtent> extent = queries().levelExtent(game, level);
        if (!extent)
            return SwitchResult::NoRegions;
        state.setOrigin(QPointF(extent->minX, extent->minY));
        // A cache drawn before the level grew would put every click on the wrong
        // region; its size tells.
        if (loadWorldMap(level)
            && state.worldMapSize()
                == QSize(int(worldMapWidth(*extent)), int(worldMapHeight(*extent)))) {
            redrawShownOverlays();
            return SwitchResult::Loaded;
        }
        displayWorldMapHex();
        return SwitchResult::Rendered;
    }

    const Configuration config = m_session.loadConfiguration();
    state.setOrigin(QPointF(config.intLine(game, Configuration::OriginX),
        config.intLine(game, Configuration::OriginY)));
    const QPoint home(
        config.intLine(game, Configuration::HomeX), config.intLine(game, Configuration::HomeY));
    state.setCurrentPosition(home);
    displaySmallMap(home.x(), home.y());
    if (loadWorldMap(0)) {
        redrawShownOverlays();
        return SwitchResult::Loaded;
    }
    return displayWorldMapHex() ? SwitchResult::Rendered : SwitchResult::NoRegions;
}

void MapOperations::displaySmallMap(int x, int y)
{
    BusyScope busy(m_session.prompter());
    const int game = m_session.game().number;
    const std::optional<int> level = m_session.mapState().regionFilterLevel();
    GameQueries &q = queries();
    const SmallMapRenderer renderer(imagesDirectory());
    const QImage image = renderer.render(x, y, [&](int rx, int ry) -> std::optional<QString> {
        const std::optional<MapCell> cell = q.regionAt(game, rx, ry, level);
        if (!cell)
            return std::nullopt;
        return cell->terrain;
    });
    m_session.mapState().setSmallMap(image);
}

void MapOperations::moveSmallMap(int dx, int dy)
{
    MapState &state = m_session.mapState();
    const QPoint centre = state.currentPosition() + QPoint(dx, dy);
    state.setCurrentPosition(centre);
    displaySmallMap(centre.x(), centre.y());
}

RegionCoord MapOperations::worldRegionAt(const QPoint &pixel) const
{
    const MapState &state = m_session.mapState();
    const WorldMapFrame frame {
        int(state.origin().x()), int(state.origin().y()), state.worldMapSize().height()};
    return tolvimar::worldRegionAt(frame, pixel.x(), pixel.y());
}

RegionCoord MapOperations::smallRegionAt(const QPoint &pixel) const
{
    const QPoint centre = m_session.mapState().currentPosition();
    return smallMapRegionAt(centre.x(), centre.y(), pixel.x(), pixel.y());
}

RegionCoord MapOperations::selectOnWorldMap(const QPoint &pixel)
{
    const RegionCoord region = worldRegionAt(pixel);
    m_session.mapState().setCurrentPosition(QPoint(region.x, region.y));
    displaySmallMap(region.x, region.y);
    return region;
}

QString MapOperations::regionLabel(const RegionCoord &region, bool onWorldMap)
{
    const MapState &state = m_session.mapState();
    const std::optional<int> level
        = onWorldMap ? std::optional<int>(state.level()) : state.regionFilterLevel();
    const QString coordinates = positionText(region.x, region.y);
    const std::optional<QString> name
        = queries().regionNameAt(m_session.game().number, region.x, region.y, level);
    if (!name || name->isEmpty())
        return coordinates;
    return *name + QStringLiteral(" (") + coordinates + u')';
}

QVector<LevelRow> MapOperations::levels()
{
    return queries().levels(m_session.game().number);
}

QVector<MapOperations::LevelChoice> MapOperations::levelChoices()
{
    QVector<LevelChoice> choices;
    for (const LevelRow &row : levels())
        choices.append({row.level, row.name, true});
    const bool surface = std::any_of(
        choices.cbegin(), choices.cend(), [](const LevelChoice &c) { return c.level == 0; });
    if (!surface) {
        const auto firstAbove = std::find_if(
            choices.begin(), choices.end(), [](const LevelChoice &c) { return c.level > 0; });
        choices.insert(firstAbove, LevelChoice {0, QString(), false});
    }
    return choices;
}

void MapOperations::setLevelName(int level, const QString &name)
{
    Table table(m_session.database(), schema::ebenen());
    if (!table.findKey({m_session.game().number, level}))
        return;
    if (table.text(u"Name") == name)
        return;
    table.edit();
    table.setValue(u"Name", name);
    table.post();
}

QString MapOperations::overlayText(OverlayKind kind, bool on)
{
    const QString verb = on ? QStringLiteral(" ausblenden") : QStringLiteral(" einblenden");
    switch (kind) {
    case OverlayKind::Ships:
        return QStringLiteral("Schiffe") + verb;
    case OverlayKind::Units:
        return QStringLiteral("Einheiten") + verb;
    case OverlayKind::RegionMessages:
        return QStringLiteral("Regionsmeldungen") + verb;
    }
    return QString();
}

OverlayLayer MapOperations::drawOverlay(OverlayKind kind, bool *admitted, int scale)
{
    const MapState &state = m_session.mapState();
    const ActiveGame &game = m_session.game();
    const OverlayFrame frame {int(state.origin().x()), int(state.origin().y()),
        state.worldMapSize(), state.level(), scale, state.fittedMarks()};
    if (admitted)
        *admitted = true;
    switch (kind) {
    case OverlayKind::Ships: {
        QList<ShipMark> ships;
        for (const ShipRow &row : queries().shipsOfTurn(game.number, game.newestTurn))
            ships.append({row.position, row.faction.toInt(), row.infoDatum.toInt()});
        return shipsLayer(ships, frame, game.factionNumber, int(game.newestTurn));
    }
    case OverlayKind::Units: {
        QList<UnitSquare> units;
        for (const UnitMarkRow &row :
            queries().unitsOfFaction(game.number, game.factionNumber, game.newestTurn))
            units.append({row.position, row.flags});
        if (admitted)
            *admitted = !units.isEmpty();
        return unitsLayer(units, frame);
    }
    case OverlayKind::RegionMessages: {
        // The regions of the level shown: those of other levels have no place on it.
        QList<RegionNews> regions;
        for (const RegionMessageRow &row : queries().regionMessages(game.number, state.level()))
            regions.append({row.x, row.y, row.terrain, row.surroundings, row.infoDatum.toInt()});
        return regionMessagesLayer(regions, frame, int(game.newestTurn));
    }
    }
    return {};
}

void MapOperations::toggleOverlay(OverlayKind kind)
{
    BusyScope busy(m_session.prompter());
    MapState &state = m_session.mapState();
    if (state.overlay(kind).on) {
        state.setOverlay(kind, MapState::Overlay());
        return;
    }
    showOverlay(kind);
}

void MapOperations::showOverlay(OverlayKind kind)
{
    bool admitted = true;
    const OverlayLayer layer = drawOverlay(kind, &admitted);
    m_session.mapState().setOverlay(kind, {true, admitted, layer.image});
    if (layer.badPositions > 0)
        m_session.prompter().notice(
            QStringLiteral("%1 Positionen sind nicht lesbar und wurden nicht gezeichnet.")
                .arg(layer.badPositions));
}

void MapOperations::redrawShownOverlays()
{
    for (const OverlayKind kind :
        {OverlayKind::Ships, OverlayKind::Units, OverlayKind::RegionMessages}) {
        if (m_session.mapState().overlay(kind).on)
            showOverlay(kind);
    }
}

} // namespace tolvimar
