#include "app/mapoperations.h"
#include "base/errors.h"
#include "map/smallmaprenderer.h"
#include "mapfixture.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// A picture of one colour, written where a cached world map lies.
void writeCache(const QString &path, const QSize &size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(image.save(path, "BMP"));
}

constexpr QRgb kCacheColour = 0xff123456;

// The small map around (cx, cy) drawn with the given regions (x, y, terrain) only.
QImage expectedSmallMap(
    const QString &imagesDir, int cx, int cy, const QList<std::tuple<int, int, QString>> &regions)
{
    return SmallMapRenderer(imagesDir).render(cx, cy, [&](int x, int y) -> std::optional<QString> {
        for (const auto &[rx, ry, terrain] : regions)
            if (rx == x && ry == y)
                return terrain;
        return std::nullopt;
    });
}

} // namespace

class TestMapOperations : public QObject
{
    Q_OBJECT
private slots:
    void renderingSavesTheLevelsCache_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("otherFile");
        QTest::newRow("level 0") << 0 << "worldmap-1.bmp"
                                 << "worldmap-1-2.bmp";
        QTest::newRow("level 2") << 2 << "worldmap-1-2.bmp"
                                 << "worldmap-1.bmp";
    }
    void renderingSavesTheLevelsCache()
    {
        QFETCH(int, level);
        QFETCH(QString, file);
        QFETCH(QString, otherFile);
        MapGame g;
        // (0, 0) and (0, 1): 16 x 16 pixels; the same on both levels.
        for (int l : {0, 2}) {
            g.region(0, 0, l, QStringLiteral("Ozean"));
            g.region(0, 1, l, QStringLiteral("Ebene"));
        }
        g.start();
        MapOperations maps(*g.session);
        maps.selectLevel(level);
        QVERIFY(maps.displayWorldMapHex());
        const QImage saved(g.imagesPath(file));
        QCOMPARE(saved.size(), QSize(16, 16));
        QCOMPARE(g.session->mapState().worldMapSize(), QSize(16, 16));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), g.session->mapState().worldMap());
        QVERIFY(!QFileInfo::exists(g.imagesPath(otherFile)));
    }

    void originLinesOnlyWhileLevel0IsShown_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("lineX");
        QTest::addColumn<QString>("lineY");
        QTest::newRow("level 0 stores it") << 0 << "-3"
                                           << "2";
        QTest::newRow("level 1 keeps the lines") << 1 << "11"
                                                 << "12";
    }
    void originLinesOnlyWhileLevel0IsShown()
    {
        QFETCH(int, level);
        QFETCH(QString, lineX);
        QFETCH(QString, lineY);
        MapGame g;
        g.setLine(Configuration::OriginX, QStringLiteral("11"));
        g.setLine(Configuration::OriginY, QStringLiteral("12"));
        g.region(-3, 5, level, QStringLiteral("Wald"));
        g.region(4, 2, level, QStringLiteral("Berge"));
        g.start();
        MapOperations maps(*g.session);
        maps.selectLevel(level);
        QVERIFY(maps.displayWorldMapHex());
        QCOMPARE(g.session->mapState().origin(), QPointF(-3, 2));
        QCOMPARE(g.ws.config().line(1, Configuration::OriginX), lineX);
        QCOMPARE(g.ws.config().line(1, Configuration::OriginY), lineY);
    }

    void levelWithoutRegionsChangesNothing()
    {
        MapGame g;
        g.region(1, 1, 0, QStringLiteral("Ebene"));
        g.start();
        MapOperations maps(*g.session);
        QVERIFY(maps.displayWorldMapHex());
        const QImage before = g.session->mapState().worldMap();
        const QPointF origin = g.session->mapState().origin();
        maps.selectLevel(3);
        QVERIFY(!maps.displayWorldMapHex());
        QCOMPARE(g.session->mapState().worldMap(), before);
        QCOMPARE(g.session->mapState().origin(), origin);
        QVERIFY(!QFileInfo::exists(g.imagesPath(QStringLiteral("worldmap-1-3.bmp"))));
    }

    void unknownFirstTerrainIsDrawnNeutral()
    {
        MapGame g;
        g.region(0, 0, 0, QStringLiteral("Unbekanntes Land"));
        g.start();
        MapOperations maps(*g.session);
        QVERIFY(maps.displayWorldMapHex());
        QCOMPARE(g.session->mapState().worldMapSize(), QSize(8, 8));
    }

    // What "Wechsel zu" does, by the state of the chosen level and its cache.
    void levelSwitch_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("regions");
        QTest::addColumn<QSize>("cacheSize"); // empty: no cache file
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("cacheShown");
        using R = MapOperations::SwitchResult;
        // Level 1 spans (2..4, -1..0): 8 * round(2 + 0.5 + 1) = 32 wide, 16 high.
        QTest::newRow("cache of level 1") << 1 << true << QSize(32, 16) << int(R::Loaded) << true;
        QTest::newRow("missing cache renders") << 1 << true << QSize() << int(R::Rendered) << false;
        QTest::newRow("stale cache renders")
            << 1 << true << QSize(24, 8) << int(R::Rendered) << false;
        QTest::newRow("level without regions")
            << 5 << false << QSize() << int(R::NoRegions) << false;
        QTest::newRow("the level shown") << 0 << true << QSize() << int(R::Unchanged) << false;
    }
    void levelSwitch()
    {
        QFETCH(int, target);
        QFETCH(bool, regions);
        QFETCH(QSize, cacheSize);
        QFETCH(int, result);
        QFETCH(bool, cacheShown);
        MapGame g;
        g.region(0, 0, 0, QStringLiteral("Ozean"));
        if (regions && target != 0)
            g.block(2, 4, -1, 0, target, QStringLiteral("Gletscher"));
        if (cacheSize.isValid())
            writeCache(g.imagesPath(QStringLiteral("worldmap-1-%1.bmp").arg(target)), cacheSize,
                kCacheColour);
        g.start();
        MapOperations maps(*g.session);
        QVERIFY(maps.displayWorldMapHex());
        const QImage level0 = g.session->mapState().worldMap();
        const MapState &state = g.session->mapState();

        QCOMPARE(int(maps.switchLevel(target)), result);
        QCOMPARE(state.level(), target);
        QCOMPARE(state.regionFilterLevel(), std::optional<int>(target));
        switch (MapOperations::SwitchResult(result)) {
        case MapOperations::SwitchResult::Loaded:
        case MapOperations::SwitchResult::Rendered:
            QCOMPARE(state.origin(), QPointF(2, -1));
            QCOMPARE(state.worldMapSize(), QSize(32, 16));
            QCOMPARE(state.worldMap().pixel(0, 0) == kCacheColour, cacheShown);
            QVERIFY(QFileInfo::exists(g.imagesPath(QStringLiteral("worldmap-1-1.bmp"))));
            break;
        case MapOperations::SwitchResult::NoRegions:
        case MapOperations::SwitchResult::Unchanged:
            QCOMPARE(state.worldMap(), level0);
            QCOMPARE(state.origin(), QPointF(0, 0));
            break;
        }
    }

    void switchBackToLevel0ReadsTheConfiguration()
    {
        MapGame g;
        g.block(0, 1, 0, 1, 0, QStringLiteral("Ebene"));
        g.region(7, 7, 1, QStringLiteral("Sumpf"));
        g.start();
        MapOperations maps(*g.session);
        QVERIFY(maps.displayWorldMapHex()); // lines 7 and 8: 0/0
        QCOMPARE(maps.switchLevel(1), MapOperations::SwitchResult::Rendered);
        QCOMPARE(g.session->mapState().origin(), QPointF(7, 7));
        // Home and origin as the settings and the last rendering left them.
        Configuration config = g.ws.config();
        config.setLine(1, Configuration::HomeX, QStringLiteral("-4"));
        config.setLine(1, Configuration::HomeY, QStringLiteral("9"));
        config.setLine(1, Configuration::OriginX, QStringLiteral("-20"));
        config.save();
        QFile::remove(g.imagesPath(QStringLiteral("worldmap-1.bmp")));

        // The missing level-0 cache is drawn anew, which stores the origin again.
        QCOMPARE(maps.switchLevel(0), MapOperations::SwitchResult::Rendered);
        const MapState &state = g.session->mapState();
        QCOMPARE(state.currentPosition(), QPoint(-4, 9));
        QCOMPARE(state.origin(), QPointF(0, 0));
        QCOMPARE(state.worldMapSize(), QSize(24, 16));
        QVERIFY(QFileInfo::exists(g.imagesPath(QStringLiteral("worldmap-1.bmp"))));
        QCOMPARE(state.smallMap(), expectedSmallMap(g.imagesPath(QString()), -4, 9, {}));

        // With the cache present the origin comes from the configuration.
        QCOMPARE(maps.switchLevel(1), MapOperations::SwitchResult::Loaded);
        g.ws.setLine(1, Configuration::OriginX, QStringLiteral("-20"));
        QCOMPARE(maps.switchLevel(0), MapOperations::SwitchResult::Loaded);
        QCOMPARE(state.origin(), QPointF(-20, 0));
    }

    void switchToLevel0WithBadConfigurationLine()
    {
        MapGame g;
        g.region(0, 0, 1, QStringLiteral("Sumpf"));
        g.start();
        MapOperations maps(*g.session);
        maps.switchLevel(1);
        g.ws.setLine(1, Configuration::HomeX, QStringLiteral("zwölf"));
        try {
            maps.switchLevel(0);
            QFAIL("no error");
        } catch (const UserError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("Zeile 10")), qPrintable(e.message()));
        }
    }

    // All levels until the first rendering or switch, then the selected one.
    void smallMapSeesTheRegionViewFilter()
    {
        MapGame g;
        g.region(0, 0, 1, QStringLiteral("Sumpf"));
        g.region(1, 0, 0, QStringLiteral("Wald"));
        g.start();
        const QString images = g.imagesPath(QString());
        const MapState &state = g.session->mapState();
        QVERIFY(!state.regionFilterLevel());
        QCOMPARE(state.smallMap(),
            expectedSmallMap(
                images, 0, 0, {{0, 0, QStringLiteral("Sumpf")}, {1, 0, QStringLiteral("Wald")}}));
        MapOperations maps(*g.session);
        QVERIFY(maps.displayWorldMapHex());
        maps.displaySmallMap(0, 0);
        QCOMPARE(
            state.smallMap(), expectedSmallMap(images, 0, 0, {{1, 0, QStringLiteral("Wald")}}));
    }

    void arrowsPageByNine()
    {
        MapGame g;
        g.setLine(Configuration::HomeX, QStringLiteral("3"));
        g.setLine(Configuration::HomeY, QStringLiteral("7"));
        g.region(-6, 16, 0, QStringLiteral("Hochland"));
        g.start();
        MapOperations maps(*g.session);
        maps.moveSmallMap(0, 9);
        QCOMPARE(g.session->mapState().currentPosition(), QPoint(3, 16));
        maps.moveSmallMap(-9, 0);
        QCOMPARE(g.session->mapState().currentPosition(), QPoint(-6, 16));
        QCOMPARE(g.session->mapState().smallMap(),
            expectedSmallMap(
                g.imagesPath(QString()), -6, 16, {{-6, 16, QStringLiteral("Hochland")}}));
    }

    void pressOnTheWorldMapCentresTheSmallMap_data()
    {
        QTest::addColumn<int>("min");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<QPoint>("region");
        // Both levels are 10 rows high, so the map is 80 pixels high.
        QTest::newRow("origin 0/0") << 0 << QPoint(3, 73) << QPoint(0, 0);
        QTest::newRow("origin -5/-5") << -5 << QPoint(10, 75) << QPoint(-4, -5);
    }
    void pressOnTheWorldMapCentresTheSmallMap()
    {
        QFETCH(int, min);
        QFETCH(QPoint, pixel);
        QFETCH(QPoint, region);
        MapGame g;
        g.block(min, min + 1, min, min + 9, 0, QStringLiteral("Ebene"));
        g.start();
        MapOperations maps(*g.session);
        QVERIFY(maps.displayWorldMapHex());
        QCOMPARE(g.session->mapState().worldMapSize().height(), 80);
        const RegionCoord found = maps.selectOnWorldMap(pixel);
        QCOMPARE(QPoint(found.x, found.y), region);
        QCOMPARE(g.session->mapState().currentPosition(), region);
    }

    void gameStartShowsTheMapsAndWritesTiles()
    {
        MapGame g;
        g.setLine(Configuration::HomeX, QStringLiteral("5"));
        g.setLine(Configuration::HomeY, QStringLiteral("-2"));
        g.region(5, -2, 0, QStringLiteral("Wueste"));
        writeCache(g.imagesPath(QStringLiteral("worldmap-1.bmp")), QSize(40, 24), kCacheColour);
        g.start();
        const MapState &state = g.session->mapState();
        QCOMPARE(state.worldMapSize(), QSize(40, 24));
        QCOMPARE(state.worldMap().pixel(5, 5), kCacheColour);
        for (const char *tile : {"wozean.bmp", "wblank.bmp", "blank.bmp", "wüste.bmp"})
            QVERIFY2(QFileInfo::exists(g.imagesPath(QString::fromUtf8(tile))), tile);
        QCOMPARE(state.smallMap(),
            expectedSmallMap(g.imagesPath(QString()), 5, -2, {{5, -2, QStringLiteral("Wueste")}}));
        for (const QString &notice : std::as_const(g.prompter.notices))
            QVERIFY2(!notice.contains(QStringLiteral("Weltkarte")), qPrintable(notice));
    }

    void gameStartWithoutCacheNotesIt()
    {
        MapGame g;
        g.start();
        QVERIFY(g.session->mapState().worldMap().isNull());
        QCOMPARE(g.prompter.notices.filter(QStringLiteral("worldmap-1.bmp")).size(), 1);
        QVERIFY(!g.session->mapState().smallMap().isNull());
    }

    void unreadableCacheIsReportedAndTheOpeningGoesOn()
    {
        MapGame g;
        QDir().mkpath(g.imagesPath(QString()));
        writeBytes(g.imagesPath(QStringLiteral("worldmap-1.bmp")), "kein Bild");
        g.start();
        QVERIFY(g.prompter.hasText(QStringLiteral("worldmap-1.bmp")));
        QCOMPARE(g.session->game().number, 1);
    }

    void regionLabels()
    {
        MapGame g;
        g.region(1, 2, 0, QStringLiteral("Ebene"), QStringLiteral("Weidenau"));
        g.region(3, 3, 0, QStringLiteral("Ozean"));
        g.region(1, 2, 1, QStringLiteral("Sumpf"), QStringLiteral("Tiefmoor"));
        g.start();
        MapOperations maps(*g.session);
        QCOMPARE(maps.regionLabel({1, 2}, true), QStringLiteral("Weidenau (1/2)"));
        QCOMPARE(maps.regionLabel({3, 3}, true), QStringLiteral("3/3"));
        QCOMPARE(maps.regionLabel({9, -9}, false), QStringLiteral("9/-9"));
        maps.selectLevel(1);
        QCOMPARE(maps.regionLabel({1, 2}, true), QStringLiteral("Tiefmoor (1/2)"));
    }

    void levelNamesAreStored()
    {
        MapGame g;
        g.level(0, QStringLiteral("Oberwelt"));
        g.level(1, QStringLiteral("unbekannt"));
        g.start();
        MapOperations maps(*g.session);
        maps.setLevelName(1, QStringLiteral("Unterwelt"));
        maps.setLevelName(4, QStringLiteral("gibt es nicht"));
        const QVector<LevelRow> levels = MapOperations(*g.session).levels();
        QCOMPARE(levels.size(), 2);
        QCOMPARE(levels[0].name, QStringLiteral("Oberwelt"));
        QCOMPARE(levels[1].level, 1);
        QCOMPARE(levels[1].name, QStringLiteral("Unterwelt"));
    }

    // The import writes rows only for levels other than 0; the list still offers 0.
    void levelListAlwaysOffersTheSurface()
    {
        MapGame g;
        g.level(-1, QStringLiteral("Tiefe"));
        g.level(2, QStringLiteral("unbekannt"));
        g.start();
        const QVector<MapOperations::LevelChoice> choices
            = MapOperations(*g.session).levelChoices();
        QCOMPARE(choices.size(), 3);
        QCOMPARE(choices[0].level, -1);
        QCOMPARE(choices[1].level, 0);
        QVERIFY(!choices[1].stored);
        QVERIFY(choices[1].name.isEmpty());
        QCOMPARE(choices[2].level, 2);
        QVERIFY(choices[2].stored);
    }

    void overlayToggles()
    {
        MapGame g;
        g.block(0, 3, 0, 9, 0, QStringLiteral("Ozean"));
        g.ship(1, QStringLiteral("2/3"), MapGame::kFaction);
        g.start();
        MapOperations maps(*g.session);
        QVERIFY(maps.displayWorldMapHex());
        const MapState &state = g.session->mapState();

        maps.toggleOverlay(OverlayKind::Ships);
        const MapState::Overlay &ships = state.overlay(OverlayKind::Ships);
        QVERIFY(ships.on);
        QVERIFY(ships.visible);
        QCOMPARE(ships.image.size(), state.worldMapSize());
        // Origin 0/0, height 80: the own ship's red dot at (30, 50)..(33, 53).
        QCOMPARE(ships.image.pixel(31, 51), OverlayColour::Red);
        maps.toggleOverlay(OverlayKind::Ships);
        QVERIFY(!state.overlay(OverlayKind::Ships).visible);
        QVERIFY(state.overlay(OverlayKind::Ships).image.isNull());

        // No own unit of the newest turn: shown but empty, and still off.
        maps.toggleOverlay(OverlayKind::Units);
        QVERIFY(state.overlay(OverlayKind::Units).visible);
        QVERIFY(!state.overlay(OverlayKind::Units).on);
        QCOMPARE(MapOperations::overlayText(OverlayKind::Units, false),
            QStringLiteral("Einheiten einblenden"));
    }

    void regionMessagesOfTheLevelShown()
    {
        MapGame g;
        g.block(0, 3, 0, 9, 0, QStringLiteral("Ebene"));
        g.region(2, 3, 1, QStringLiteral("Ebene"), QString(), QStringLiteral("Lärm"));
        g.start();
        MapOperations maps(*g.session);
        QVERIFY(maps.displayWorldMapHex());
        maps.toggleOverlay(OverlayKind::RegionMessages);
        const QImage layer = g.session->mapState().overlay(OverlayKind::RegionMessages).image;
        QCOMPARE(layer.size(), QSize(72, 80));
        for (int y = 0; y < layer.height(); ++y)
            for (int x = 0; x < layer.width(); ++x)
                QCOMPARE(qAlpha(layer.pixel(x, y)), 0);
    }
};

QTEST_GUILESS_MAIN(TestMapOperations)
#include "test_mapoperations.moc"
