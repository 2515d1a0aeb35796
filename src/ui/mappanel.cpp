#include "mappanel.h"

#include "app/routeplanner.h"
#include "app/session.h"
#include "attempt.h"
#include "base/position.h"
#include "map/mapexchange.h"
#include "map/worldmaprenderer.h"
#include "mapimage.h"
#include "report/importprogress.h"
#include "routelayer.h"
#include "routetool.h"
#include "selecttool.h"
#include "updown.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tolvimar {

namespace {

constexpr int kSmallMapSide = 261;
// The world map box's size when there is room; on a low screen (1024 x 600) it gives up
// height down to kLeastWorldBoxHeight, so that the small map and its arrows stay seen.
constexpr int kWorldBoxWidth = 281;
constexpr int kWorldBoxHeight = 265;
constexpr int kLeastWorldBoxHeight = 110;

// An entry of the level list: the level's number and name.
QString levelText(int level, const QString &name)
{
    return name.isEmpty() ? QString::number(level)
                          : QString::number(level) + QStringLiteral(" – ") + name;
}

// The layer that shows an overlay: units, ships, region messages, from the bottom.
int layerIndex(OverlayKind kind)
{
    switch (kind) {
    case OverlayKind::Units:
        return 0;
    case OverlayKind::Ships:
        return 1;
    case OverlayKind::RegionMessages:
        break;
    }
    return 2;
}

constexpr OverlayKind kOverlayKinds[3]
    = {OverlayKind::Units, OverlayKind::Ships, OverlayKind::RegionMessages};

} // namespace

MapPanel::MapPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MapPanel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    m_worldBox = new QScrollArea(this);
    m_worldBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_worldBox->setMinimumSize(kWorldBoxWidth, kLeastWorldBoxHeight);
    m_worldBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_worldBox->setBackgroundRole(QPalette::Dark);
    m_worldMap = new MapImage(QStringLiteral("Image82"));
    m_worldMap->setPlaceholderText(QStringLiteral("Keine Weltkarte"));
    // The layers lie on the map; pointer events pass through them to the map.
    const char *layerNames[3] = {"Image2", "Image3", "Image4"};
    for (int i = 0; i < 3; ++i) {
        m_overlayLayers[i] = new MapImage(QString::fromLatin1(layerNames[i]), m_worldMap);
        m_overlayLayers[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_overlayLayers[i]->move(0, 0);
        m_overlayLayers[i]->hide();
    }
    m_worldBox->setWidget(m_worldMap);
    m_worldBox->setWidgetResizable(false);
    // A map smaller than the box sits in its middle.
    m_worldBox->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_worldBox, 1);
    for (QScrollBar *bar : {m_worldBox->horizontalScrollBar(), m_worldBox->verticalScrollBar()}) {
        connect(bar, &QScrollBar::rangeChanged, this, &MapPanel::applyPendingScroll);
        // A scroll by the user ends the wait for the layout.
        connect(bar, &QScrollBar::actionTriggered, this, [this] { m_pendingScroll.reset(); });
    }

    m_renderButton = new QPushButton(QStringLiteral("Karte aktualisieren"), this);
    m_renderButton->setObjectName(QStringLiteral("Button4"));
    m_renderButton->setEnabled(false);
    // The map button and the level box share a row: on a 768-pixel screen the column
    // needs every line for the two maps.
    auto *controls = new QHBoxLayout;
    controls->addWidget(m_renderButton, 0, Qt::AlignBottom);

    auto *levels = new QGroupBox(QStringLiteral("Ebenen"), this);
    m_levelBox = levels;
    levels->setObjectName(QStringLiteral("GroupBox3"));
    auto *levelLayout = new QHBoxLayout(levels);
    m_levelList = new QComboBox(levels);
    m_levelList->setObjectName(QStringLiteral("DBLookupComboBox3"));
    // The entries name their levels; the open list is as wide as its longest entry.
    m_levelList->setMinimumContentsLength(10);
    m_levelList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_levelName = new QLineEdit(levels);
    m_levelName->setObjectName(QStringLiteral("DBEdit32"));
    m_levelName->setMaxLength(30);
    m_levelName->setEnabled(false);
    m_switchLevelButton = new QPushButton(QStringLiteral("Wechsel zu"), levels);
    m_switchLevelButton->setObjectName(QStringLiteral("Button9"));
    m_switchLevelButton->setEnabled(false);
    levelLayout->addWidget(m_levelList);
    levelLayout->addWidget(m_levelName, 1);
    levelLayout->addWidget(m_switchLevelButton);
    levelLayout->setContentsMargins(6, 2, 6, 4);
    controls->addWidget(levels, 1);
    layout->addLayout(controls);

    m_regionCaption = new QLabel(this);
    m_regionCaption->setObjectName(QStringLiteral("Panel1"));
    m_regionCaption->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_regionCaption->setAlignment(Qt::AlignCenter);
    m_regionCaption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout->addWidget(m_regionCaption);

    // The small map with the vertical arrows at its right and the horizontal ones below.
    m_smallArea = new QWidget(this);
    auto *grid = new QGridLayout(m_smallArea);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    m_smallMap = new MapImage(QStringLiteral("Image1"), m_smallArea);
    m_smallMap->setFixedSize(kSmallMapSide, kSmallMapSide);
    m_smallMap->setFocusPolicy(Qt::StrongFocus);
    m_smallMap->setToolTip(QStringLiteral("Pfeiltasten verschieben die kleine Karte um 9 "
                                          "Regionen, mit Umschalt um eine."));
    m_smallMapUpDown = new UpDown(QStringLiteral("UpDown1"), Qt::Vertical, m_smallArea);
    m_smallMapUpDown->setFixedWidth(18);
    m_smallMapLeftRight = new UpDown(QStringLiteral("UpDown2"), Qt::Horizontal, m_smallArea);
    m_smallMapLeftRight->setFixedHeight(18);
    grid->addWidget(m_smallMap, 0, 0);
    grid->addWidget(m_smallMapUpDown, 0, 1);
    grid->addWidget(m_smallMapLeftRight, 1, 0);
    layout->addWidget(m_smallArea, 0, Qt::AlignHCenter);

    // The way of "Weg planen" is a layer of each map.
    m_worldRoute = new RouteLayer(
        [this](RegionCoord region) -> std::optional<QRect> {
            const std::optional<QRect> cell = worldCell(region.x, region.y);
            if (!cell || !cell->intersects(QRect(QPoint(0, 0), m_worldMap->image().size())))
                return std::nullopt;
            return cell;
        },
        this);
    m_smallRoute = new RouteLayer([this](RegionCoord region) { return smallCell(region); }, this);
    m_worldMap->addLayer(m_worldRoute);
    m_smallMap->addLayer(m_smallRoute);
    m_selectTool = std::make_unique<SelectTool>(*this);
    m_tool = m_selectTool.get();
}

MapPanel::~MapPanel() = default;

template<typename Work> void MapPanel::mapWork(Work &&work)
{
    attempt(m_session->prompter(), QStringLiteral("Karte"), std::forward<Work>(work));
}

void MapPanel::attach(Session &session)
{
    m_session = &session;
    // The window's overlays keep the terrain of a crowded map visible.
    session.mapState().setFittedMarks(true);
    m_maps = std::make_unique<MapOperations>(session);
    m_routePlanner = std::make_unique<RoutePlanner>(session);
    m_routeTool = std::make_unique<RouteTool>(*this, *m_routePlanner);
    connect(m_routePlanner.get(), &RoutePlanner::routeChanged, this, &MapPanel::showRoute);
    connectMaps();
}

void MapPanel::connectMaps()
{
    MapState &state = m_session->mapState();
    connect(&state, &MapState::worldMapChanged, this,
        [this] { m_worldMap->setImage(m_session->mapState().worldMap()); });
    connect(&state, &MapState::smallMapChanged, this,
        [this] { m_smallMap->setImage(m_session->mapState().smallMap()); });
    connect(&state, &MapState::overlayChanged, this, &MapPanel::showLayer);
    connect(&state, &MapState::regionCaptionChanged, m_regionCaption, &QLabel::setText);
    // The selected region is framed on both maps wherever they stand.
    for (auto signal : {&MapState::worldMapChanged, &MapState::smallMapChanged})
        connect(&state, signal, this, &MapPanel::showMarkers);
    connect(&state, &MapState::regionSelected, this, &MapPanel::showMarkers);
    connect(&state, &MapState::originChanged, this, &MapPanel::showMarkers);
    // Names of regions under the pointer belong to the level they were asked on.
    connect(&state, &MapState::levelChanged, this, [this] {
        m_pointerRegion.reset();
        emit statusText(2, QString());
    });
    connect(&state, &MapState::worldMapChanged, this, &MapPanel::showZoomedMap);
    connect(&state, &MapState::overlayChanged, this, &MapPanel::showZoomedMap);
    connect(this, &MapPanel::zoomChanged, this, [this](int zoom) {
        for (QAction *action : std::as_const(m_zoomActions))
            action->setChecked(action->data().toInt() == zoom);
        showZoomedMap();
    });

    // The cells of a way move with the maps.
    for (auto signal : {&MapState::worldMapChanged, &MapState::smallMapChanged})
        connect(&state, signal, this, &MapPanel::showRoute);
    connect(&state, &MapState::originChanged, this, &MapPanel::showRoute);
    // A way planned on one level is not shown on another; the kept way stays for when
    // its level is shown again.
    connect(&state, &MapState::levelChanged, this, [this] {
        m_routePlanner->dropPreview();
        showRoute();
    });

    // The pointer works with the active tool.
    connect(m_worldMap, &MapImage::pointerMoved, this,
        [this](const QPoint &p) { m_tool->moved(MapView::World, p); });
    connect(m_worldMap, &MapImage::pressed, this, [this](const QPoint &p, Qt::MouseButton button) {
        m_tool->pressed(MapView::World, p, button);
    });
    connect(m_worldMap, &MapImage::zoomRequested, this,
        [this](int steps, const QPoint &at) { setZoom(zoom() + steps, at); });
    connect(m_smallMap, &MapImage::pointerMoved, this,
        [this](const QPoint &p) { m_tool->moved(MapView::Small, p); });
    // Off the maps the way kept is shown again, the one that "In die Befehle
    // übernehmen" writes.
    for (MapImage *map : {m_worldMap, m_smallMap})
        connect(map, &MapImage::pointerLeft, this, [this] { m_routePlanner->dropPreview(); });
    connect(m_smallMap, &MapImage::pressed, this, [this](const QPoint &p, Qt::MouseButton button) {
        m_tool->pressed(MapView::Small, p, button);
    });
    connect(m_smallMap, &MapImage::arrowKey, this,
        [this](int dx, int dy, Qt::KeyboardModifiers modifiers) {
            const int step = modifiers & Qt::ShiftModifier ? 1 : 9;
            moveSmallMap(dx * step, dy * step);
        });
    connect(m_smallMapUpDown, &UpDown::clicked, this, &MapPanel::UpDown1Click);
    connect(m_smallMapLeftRight, &UpDown::clicked, this, &MapPanel::UpDown2Click);
    connect(m_renderButton, &QPushButton::clicked, this, &MapPanel::renderWorldMap);
    connect(m_switchLevelButton, &QPushButton::clicked, this, &MapPanel::switchToChosenLevel);
    connect(m_levelList, &QComboBox::currentIndexChanged, this, &MapPanel::showLevelName);
    connect(m_levelName, &QLineEdit::editingFinished, this, &MapPanel::storeLevelName);

    connect(m_session, &Session::gameOpened, this, &MapPanel::gameOpened);
    // An import may bring new levels.
    connect(m_session, &Session::statusChanged, this, [this] {
        if (m_session->game().isOpen())
            refreshLevels();
    });
}

void MapPanel::gameOpened()
{
    m_renderButton->setEnabled(true);
    m_switchLevelButton->setEnabled(true);
    m_levelName->setEnabled(true);
    refreshLevels();
    showMarkers();
}

void MapPanel::renderWorldMap()
{
    mapWork([this] { m_maps->displayWorldMapHex(); });
}

void MapPanel::switchToChosenLevel()
{
    if (m_levelList->currentIndex() < 0)
        return;
    const MapOperations::SwitchResult result = switchToLevel(m_levelList->currentData().toInt());
    // The pages and the title show the selected place on the level now shown.
    const std::optional<Position> selected = m_session->mapState().selectedRegion();
    if (result != MapOperations::SwitchResult::Unchanged && selected)
        emit regionChosen({selected->x, selected->y, m_session->mapState().level()});
}

MapOperations::SwitchResult MapPanel::switchToLevel(int level)
{
    if (m_levelList->findData(level) < 0)
        refreshLevels();
    if (m_levelList->findData(level) >= 0)
        m_levelList->setCurrentIndex(m_levelList->findData(level));
    MapOperations::SwitchResult result = MapOperations::SwitchResult::Unchanged;
    mapWork([&] {
        result = m_maps->switchLevel(level);
        if (level == 0 && result != MapOperations::SwitchResult::Unchanged)
            scrollWorldMapToMiddle();
    });
    return result;
}

void MapPanel::showRegion(int x, int y, int level)
{
    MapState &state = m_session->mapState();
    if (level != state.level())
        switchToLevel(level);
    state.setCurrentPosition(QPoint(x, y));
    showSmallMapAround(x, y);
    if (const std::optional<QRect> cell = worldCell(x, y))
        scrollWorldMapTo(*cell);
    // The status bar names the place jumped to, as a click there would.
    emit statusText(0, positionText(x, y));
    emit statusText(1, positionText(x, y));
}

std::optional<QRect> MapPanel::worldCell(int x, int y) const
{
    const MapState &state = m_session->mapState();
    if (state.worldMapSize().isEmpty())
        return std::nullopt;
    const WorldMapFrame frame {
        int(state.origin().x()), int(state.origin().y()), state.worldMapSize().height()};
    return QRect(worldCellCorner(frame, x, y), QSize(kWorldCellPitch, kWorldCellPitch + 2));
}

void MapPanel::showSmallMapAround(int x, int y)
{
    mapWork([&] { m_maps->displaySmallMap(x, y); });
}

void MapPanel::moveSmallMap(int dx, int dy)
{
    mapWork([&] { m_maps->moveSmallMap(dx, dy); });
}

void MapPanel::toggleOverlay(OverlayKind kind)
{
    // A change of the overlay shows itself (overlayChanged); a failed one puts the
    // pressed button back to the overlay's state.
    if (!attempt(
            m_session->prompter(), QStringLiteral("Karte"), [&] { m_maps->toggleOverlay(kind); }))
        showLayer(kind);
}

void MapPanel::showLayer(OverlayKind kind)
{
    const MapState::Overlay &overlay = m_session->mapState().overlay(kind);
    MapImage *layer = m_overlayLayers[layerIndex(kind)];
    layer->setImage(overlay.image);
    layer->setVisible(overlay.visible);
    // Keep the stacking order of the layers: units, ships, region messages.
    for (MapImage *l : m_overlayLayers)
        l->raise();
    emit overlayShown(kind, overlay.on, MapOperations::overlayText(kind, overlay.on));
}

void MapPanel::refreshLevels()
{
    const QVariant chosen = m_levelList->currentIndex() >= 0
        ? m_levelList->currentData()
        : QVariant(m_session->mapState().level());
    QSignalBlocker block(m_levelList);
    m_levelList->clear();
    mapWork([this] {
        for (const MapOperations::LevelChoice &choice : m_maps->levelChoices()) {
            m_levelList->addItem(levelText(choice.level, choice.name), choice.level);
            m_levelList->setItemData(m_levelList->count() - 1, choice.name, Qt::ToolTipRole);
            m_levelList->setItemData(m_levelList->count() - 1, choice.stored, Qt::UserRole + 1);
        }
    });
    m_levelList->setCurrentIndex(std::max(0, m_levelList->findData(chosen)));
    showLevelName();
}

void MapPanel::showLevelName()
{
    m_levelName->setText(m_levelList->currentIndex() < 0
            ? QString()
            : m_levelList->currentData(Qt::ToolTipRole).toString());
    // A level without a row has no name to store.
    m_levelName->setReadOnly(!m_levelList->currentData(Qt::UserRole + 1).toBool());
}

void MapPanel::storeLevelName()
{
    const int index = m_levelList->currentIndex();
    if (index < 0)
        return;
    const int level = m_levelList->currentData().toInt();
    const QString name = m_levelName->text();
    m_maps->setLevelName(level, name);
    m_levelList->setItemData(index, name, Qt::ToolTipRole);
    m_levelList->setItemText(index, levelText(level, name));
}

void MapPanel::importMapData(ImportProgress &progress)
{
    MapExchange exchange(m_session->database(), m_session->game().number, m_session->prompter());
    const QString path = exchange.askImportFile();
    if (path.isEmpty())
        return;
    int regions = -1;
    QString failure;
    {
        ProgressScope shown(progress);
        attempt([&] { regions = exchange.importFile(path); },
            [&](const QString &message) { failure = message; });
    }
    if (regions < 0) {
        m_session->prompter().message(
            Prompter::Kind::Error, QStringLiteral("Kartendaten importieren"), failure);
        return;
    }
    // The file may bring levels the level box does not list yet.
    refreshLevels();
    emit notice(QStringLiteral("Kartendaten importiert: %1 neue Regionen aus %2")
                    .arg(regions)
                    .arg(QFileInfo(path).fileName()));
}

void MapPanel::exportWholeMap()
{
    // The whole map holds every level, whichever the world map shows.
    MapExchange(m_session->database(), m_session->game().number, m_session->prompter())
        .exportWholeMap(std::nullopt);
}

void MapPanel::exportMarkedArea()
{
    const MapState &map = m_session->mapState();
    const MarkedRegion marked {map.selectedRegion(), map.regionCaption()};
    MapExchange(m_session->database(), m_session->game().number, m_session->prompter())
        .exportArea(marked, map.regionFilterLevel());
}

void MapPanel::addZoomMenu(QMenu *menu)
{
    QMenu *zoomMenu = menu->addMenu(QStringLiteral("Weltkarte &Zoom"));
    zoomMenu->setObjectName(QStringLiteral("Zoom1"));
    auto *group = new QActionGroup(this);
    for (int factor = 1; factor <= kMaxZoom; ++factor) {
        QAction *action = zoomMenu->addAction(QStringLiteral("&%1 %").arg(factor * 100));
        action->setObjectName(QStringLiteral("Zoom%1x").arg(factor));
        action->setCheckable(true);
        action->setChecked(factor == 1);
        action->setData(factor);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, factor] { setZoom(factor); });
        m_zoomActions.append(action);
    }
    zoomMenu->addSeparator();
    QAction *larger = zoomMenu->addAction(QStringLiteral("&Vergrößern"));
    larger->setObjectName(QStringLiteral("ZoomIn1"));
    larger->setShortcut(QKeySequence::ZoomIn);
    connect(larger, &QAction::triggered, this, [this] { setZoom(zoom() + 1); });
    QAction *smaller = zoomMenu->addAction(QStringLiteral("Ver&kleinern"));
    smaller->setObjectName(QStringLiteral("ZoomOut1"));
    smaller->setShortcut(QKeySequence::ZoomOut);
    connect(smaller, &QAction::triggered, this, [this] { setZoom(zoom() - 1); });
}

void MapPanel::showPointer(const RegionCoord &region, bool onWorldMap)
{
    emit statusText(1, positionText(region.x, region.y));
    if (m_pointerRegion && m_pointerRegion->first == region
        && m_pointerRegion->second == onWorldMap)
        return;
    m_pointerRegion = std::make_pair(region, onWorldMap);
    attempt([&] { emit statusText(2, m_maps->regionLabel(region, onWorldMap)); },
        [this](const QString &message) { emit statusText(2, message); });
}

void MapPanel::Image1MouseMove(int x, int y)
{
    if (!m_session->game().isOpen())
        return;
    showPointer(m_maps->smallRegionAt(QPoint(x, y)), false);
}

void MapPanel::Image1MouseDown(int x, int y)
{
    if (!m_session->game().isOpen())
        return;
    const RegionCoord region = m_maps->smallRegionAt(QPoint(x, y));
    showPointer(region, false);
    emit regionChosen({region.x, region.y, m_session->mapState().level()});
}

void MapPanel::Image82MouseMove(int x, int y)
{
    if (!m_session->game().isOpen() || m_session->mapState().worldMapSize().isEmpty())
        return;
    showPointer(m_maps->worldRegionAt(QPoint(x, y)), true);
}

void MapPanel::Image82MouseDown(int x, int y)
{
    if (!m_session->game().isOpen() || m_session->mapState().worldMapSize().isEmpty())
        return;
    mapWork([&] {
        const RegionCoord region = m_maps->selectOnWorldMap(QPoint(x, y));
        emit statusText(0, positionText(region.x, region.y));
        emit regionChosen({region.x, region.y, m_session->mapState().level()});
    });
}

void MapPanel::UpDown1Click(UpDown::Button button)
{
    moveSmallMap(0, button == UpDown::Button::Next ? 9 : -9);
}

void MapPanel::UpDown2Click(UpDown::Button button)
{
    moveSmallMap(button == UpDown::Button::Next ? 9 : -9, 0);
}

void MapPanel::showZoomedMap()
{
    // The zoomed world map and its layers are drawn at their size, not enlarged.
    const int z = zoom();
    if (z <= 1 || !m_session->game().isOpen())
        return;
    mapWork([&] {
        // A picture or zoom that changed has dropped its zoomed drawing; the others stay.
        if (!m_worldMap->showsZoomedImage())
            m_worldMap->setZoomedImage(m_maps->renderZoomed(z));
        for (const OverlayKind kind : kOverlayKinds) {
            const MapState::Overlay &overlay = m_session->mapState().overlay(kind);
            MapImage *layer = m_overlayLayers[layerIndex(kind)];
            if (overlay.visible && !layer->showsZoomedImage()
                && qint64(overlay.image.width()) * overlay.image.height() * z * z
                    <= WorldMapRenderer::kMaxPixels)
                layer->setZoomedImage(m_maps->drawOverlay(kind, nullptr, z).image);
        }
    });
}

void MapPanel::showMarkers()
{
    const MapState &state = m_session->mapState();
    const std::optional<Position> selected = state.selectedRegion();
    std::optional<QRect> world;
    std::optional<QRect> small;
    if (selected && !state.worldMapSize().isEmpty()) {
        const WorldMapFrame frame {
            int(state.origin().x()), int(state.origin().y()), state.worldMapSize().height()};
        const QRect cell(worldCellCorner(frame, selected->x, selected->y),
            QSize(kWorldCellPitch, kWorldCellPitch + 2));
        if (cell.intersects(QRect(QPoint(0, 0), state.worldMapSize())))
            world = cell;
    }
    if (selected)
        small = smallCell({selected->x, selected->y});
    m_worldMap->setMarker(world);
    m_smallMap->setMarker(small);
}

std::optional<QRect> MapPanel::smallCell(const RegionCoord &region) const
{
    if (!m_session)
        return std::nullopt;
    const QPoint centre = m_session->mapState().currentPosition();
    for (int row = 1; row <= kSmallMapRows; ++row) {
        for (int cell = 1; cell <= smallMapCellCount(row); ++cell) {
            if (smallCellRegion(centre.x(), centre.y(), row, cell) == region)
                return QRect(smallCellCorner(row, cell),
                    QSize(kSmallCellPitch, kSmallCellPitch + kSmallCellPitch / 3));
        }
    }
    return std::nullopt;
}

void MapPanel::setTool(Tool tool)
{
    if (tool == m_toolKind || (tool == Tool::Route && !m_routeTool))
        return;
    m_tool->deactivate();
    m_toolKind = tool;
    m_tool = tool == Tool::Route ? static_cast<MapTool *>(m_routeTool.get()) : m_selectTool.get();
    m_tool->activate();
    emit toolChanged(tool);
}

std::optional<RegionCoord> MapPanel::regionAt(MapView view, const QPoint &pixel) const
{
    if (!m_session || !m_session->game().isOpen())
        return std::nullopt;
    if (view == MapView::Small)
        return m_maps->smallRegionAt(pixel);
    if (m_session->mapState().worldMapSize().isEmpty())
        return std::nullopt;
    return m_maps->worldRegionAt(pixel);
}

void MapPanel::setRouteUnit(int number)
{
    if (m_routePlanner)
        m_routePlanner->setUnit(number);
}

void MapPanel::planRouteTo(const RegionCoord &target)
{
    if (!m_routePlanner)
        return;
    const int level = m_session->mapState().level();
    const std::optional<PlannedRoute> &preview = m_routePlanner->preview();
    if (preview && preview->target == target && preview->level == level)
        return;
    if (m_routePlanner->unit() == 0) {
        showRouteText(QStringLiteral("Weg planen: zuerst eine eigene Einheit wählen."));
        return;
    }
    attempt([&] { m_routePlanner->planTo(target, level); },
        [this](const QString &message) { showRouteText(message); });
}

void MapPanel::setUnknownRegionsAllowed(bool allowed)
{
    if (m_routePlanner)
        m_routePlanner->setAllowUnknown(allowed);
}

bool MapPanel::unknownRegionsAllowed() const
{
    return m_routePlanner && m_routePlanner->allowUnknown();
}

void MapPanel::writeRouteOrder()
{
    if (!m_routePlanner)
        return;
    QString order;
    QString unitText;
    if (attempt(m_session->prompter(), QStringLiteral("Weg planen"), [&] {
            // Named before the template changes and tells its observers.
            if (const std::optional<PlannedRoute> &kept = m_routePlanner->kept())
                unitText = kept->unitText;
            order = m_routePlanner->writeMoveOrder();
        })) {
        emit routeOrderWritten(order);
        emit notice(
            QStringLiteral("%1 steht in den Befehlen von Einheit %2.").arg(order, unitText));
    }
}

void MapPanel::showRouteText(const QString &text)
{
    emit routeText(text);
    if (!text.isEmpty())
        emit notice(text);
}

void MapPanel::showRoute()
{
    const std::optional<PlannedRoute> &route = m_routePlanner->shown();
    // A way of another level than the one shown is not drawn.
    const bool onLevel = route && route->level == m_session->mapState().level();
    m_worldRoute->setRoute(onLevel ? route : std::nullopt);
    m_smallRoute->setRoute(onLevel ? route : std::nullopt);
    const QString text = route ? route->text() : QString();
    emit routeText(text);
    if (route && !route->found())
        emit notice(text);
}

void MapPanel::scrollWorldMapTo(const QRect &pictureRect)
{
    // The place goes to the middle of the box, as far as the map reaches; a box whose
    // scroll range still waits for the layout takes the position when it has it.
    const int z = m_worldMap->zoom();
    const QPoint centre = pictureRect.center() * z;
    const QSize view = m_worldBox->viewport()->size();
    const QSize picture = m_worldMap->sizeHint();
    m_pendingScroll = QPoint(
        std::clamp(centre.x() - view.width() / 2, 0, std::max(0, picture.width() - view.width())),
        std::clamp(
            centre.y() - view.height() / 2, 0, std::max(0, picture.height() - view.height())));
    applyPendingScroll();
}

void MapPanel::scrollWorldMapToMiddle()
{
    const QSize size = m_worldMap->sizeHint();
    m_pendingScroll = QPoint(int(size.width() / 2.25), int(size.height() / 2.25));
    applyPendingScroll();
}

void MapPanel::applyPendingScroll()
{
    if (!m_pendingScroll)
        return;
    QScrollBar *vertical = m_worldBox->verticalScrollBar();
    QScrollBar *horizontal = m_worldBox->horizontalScrollBar();
    vertical->setValue(m_pendingScroll->y());
    horizontal->setValue(m_pendingScroll->x());
    // Done once the box admits both positions; until then a later layout may.
    if (vertical->value() == m_pendingScroll->y() && horizontal->value() == m_pendingScroll->x())
        m_pendingScroll.reset();
}

int MapPanel::zoom() const
{
    return m_worldMap->zoom();
}

void MapPanel::setZoom(int zoom, std::optional<QPoint> anchor)
{
    zoom = std::clamp(zoom, 1, kMaxZoom);
    const int old = m_worldMap->zoom();
    if (zoom == old)
        return;
    QScrollBar *horizontal = m_worldBox->horizontalScrollBar();
    QScrollBar *vertical = m_worldBox->verticalScrollBar();
    const QSize view = m_worldBox->viewport()->size();
    // The anchor in the viewport's coordinates, and the picture point under it: the
    // pointer for the wheel, else the selected region when it is in view, else the
    // middle of the box.
    QWidget *viewport = m_worldBox->viewport();
    const std::optional<Position> selected
        = m_session ? m_session->mapState().selectedRegion() : std::nullopt;
    const std::optional<QRect> selectedCell
        = selected ? worldCell(selected->x, selected->y) : std::nullopt;
    if (!anchor && selectedCell) {
        const QPoint cellCentre = selectedCell->center() * old;
        if (QRect(QPoint(0, 0), view).contains(m_worldMap->mapTo(viewport, cellCentre)))
            anchor = cellCentre;
    }
    const QPoint inView = anchor ? m_worldMap->mapTo(viewport, *anchor)
                                 : QPoint(view.width() / 2, view.height() / 2);
    const QPointF picture = QPointF(m_worldMap->mapFrom(viewport, inView)) / old;
    m_pendingScroll.reset();
    m_worldMap->setZoom(zoom);
    for (MapImage *layer : m_overlayLayers)
        layer->setZoom(zoom);
    horizontal->setValue(int(picture.x() * zoom - inView.x()));
    vertical->setValue(int(picture.y() * zoom - inView.y()));
    // A selected region out of view before is brought into the middle.
    if (selectedCell && !anchor)
        scrollWorldMapTo(*selectedCell);
    emit zoomChanged(zoom);
}

void MapPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitSmallMap();
}

void MapPanel::fitSmallMap()
{
    // The room left when the world map box has its full height (from size hints, which
    // do not depend on the layout in progress).
    const int fixed = m_renderButton->sizeHint().height() + m_levelBox->sizeHint().height()
        + m_regionCaption->sizeHint().height() + m_smallMapLeftRight->height() + 2
        + 4 * layout()->spacing();
    const int spareHeight = height() - fixed - kWorldBoxHeight;
    const int spareWidth = width() - m_smallMapUpDown->width() - 4;
    const int scale = std::clamp(
        std::min(spareHeight / kSmallMapSide, spareWidth / kSmallMapSide), 1, kMaxZoom);
    if (scale == m_smallScale)
        return;
    m_smallScale = scale;
    m_smallMap->setFixedSize(kSmallMapSide * scale, kSmallMapSide * scale);
    m_smallMap->setZoom(scale);
}

} // namespace tolvimar
