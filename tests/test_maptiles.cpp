#include "base/errors.h"
#include "map/maptile.h"
#include "map/smallmaprenderer.h"
#include "map/tileart.h"
#include "map/tilecache.h"
#include "map/tileset.h"
#include "map/worldmaprenderer.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tolvimar;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(tolvimar::MapCell)
Q_DECLARE_METATYPE(tolvimar::MapExtent)

namespace {

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kBlue = 0xff0000ff;
constexpr QRgb kGreen = 0xff00ff00;
constexpr QRgb kGrey = 0xff808080;
constexpr QRgb kBrown = 0xff804000;

// A player's own tile: one colour, no key colour, any size.
void writeTile(const QString &dir, const QString &name, QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(dir + u'/' + name, "BMP"));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Every pixel of the rectangle has the colour.
bool filled(const QImage &image, const QRect &rect, QRgb colour)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixel(x, y) != colour)
                return false;
    return true;
}

QString errorOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const UserError &e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestMapTiles : public QObject
{
    Q_OBJECT
    // The built-in tiles, written once for the tests that draw with them.
    QTemporaryDir m_builtIn;

private slots:
    void initTestCase() { ensureTiles(m_builtIn.path()); }

    void choosesTiles_data()
    {
        QTest::addColumn<QString>("terrain");
        QTest::addColumn<QString>("previous");
        QTest::addColumn<QString>("world");
        QTest::addColumn<QString>("small");
        QTest::newRow("ocean") << "Ozean"
                               << ""
                               << "wozean.bmp"
                               << "ozean.bmp";
        QTest::newRow("mountains") << "Berge"
                                   << "wwald.bmp"
                                   << "wgebirge.bmp"
                                   << "gebirge.bmp";
        QTest::newRow("Wueste") << "Wueste"
                                << ""
                                << "wwüste.bmp"
                                << "wüste.bmp";
        QTest::newRow("Wüste") << QString::fromUtf8("Wüste") << ""
                               << "wwüste.bmp"
                               << "wüste.bmp";
        QTest::newRow("Desert") << "Desert"
                                << "wozean.bmp"
                                << "wwüste.bmp"
                                << "wüste.bmp";
        QTest::newRow("Vulkan") << "Vulkan"
                                << "wozean.bmp"
                                << "wvulkan.bmp"
                                << "vulkan.bmp";
        QTest::newRow("Aktiver Vulkan") << "Aktiver Vulkan"
                                        << "wozean.bmp"
                                        << "waktvulkan.bmp"
                                        << "aktvulkan.bmp";
        QTest::newRow("Nebel") << "Nebel"
                               << "wozean.bmp"
                               << "wnebel.bmp"
                               << "nebel.bmp";
        QTest::newRow("Dichter Nebel") << "Dichter Nebel"
                                       << "wozean.bmp"
                                       << "wdnebel.bmp"
                                       << "dnebel.bmp";
        // Exact and case-sensitive: anything else keeps the tile drawn before.
        QTest::newRow("unknown after ocean") << "Lava"
                                             << "wozean.bmp"
                                             << "wozean.bmp"
                                             << "wozean.bmp";
        QTest::newRow("lower case") << "ozean"
                                    << "wwald.bmp"
                                    << "wwald.bmp"
                                    << "wwald.bmp";
        QTest::newRow("trailing blank") << "Wald "
                                        << "wsumpf.bmp"
                                        << "wsumpf.bmp"
                                        << "wsumpf.bmp";
        QTest::newRow("unknown first") << "Lava"
                                       << ""
                                       << "wblank.bmp"
                                       << "blank.bmp";
        QTest::newRow("empty first") << ""
                                     << ""
                                     << "wblank.bmp"
                                     << "blank.bmp";
    }
    void choosesTiles()
    {
        QFETCH(QString, terrain);
        QFETCH(QString, previous);
        QFETCH(QString, world);
        QFETCH(QString, small);
        QCOMPARE(TileSet::world().choose(terrain, previous), world);
        QCOMPARE(TileSet::small().choose(terrain, previous), small);
    }

    // Every file of both sets has its own picture of the right size; the terrains that
    // share a file are exactly the three names of the desert.
    void builtInTiles()
    {
        for (const TileSet *set : {&TileSet::world(), &TileSet::small()}) {
            const bool world = set == &TileSet::world();
            const QStringList files = set->files();
            QCOMPARE(files.size(), 15);
            QCOMPARE(files.last(), set->blankFile());
            QSet<QByteArray> pictures;
            for (const QString &file : files) {
                const QImage art = tileArt(file);
                QVERIFY2(!art.isNull(), qPrintable(file));
                QCOMPARE(art.size(), world ? QSize(8, 10) : QSize(29, 38));
                QCOMPARE(art.pixel(0, 0), MapTile::kKeyColour);
                QVERIFY(art.pixel(art.width() / 2, art.height() / 2) != MapTile::kKeyColour);
                pictures.insert(
                    QByteArray(reinterpret_cast<const char *>(art.constBits()), art.sizeInBytes()));
            }
            QCOMPARE(pictures.size(), files.size());
        }
        QVERIFY(tileArt(u"karte.bmp"_s).isNull());
        QVERIFY(tileArt(u"wozean.png"_s).isNull());
    }

    void ensureTilesWritesOnlyMissingFiles()
    {
        QTemporaryDir dir;
        const QString images = dir.filePath(u"spiel1/images"_s);
        QVERIFY(QDir().mkpath(images));
        writeTile(images, u"wozean.bmp"_s, QSize(8, 8), kBrown);
        const QByteArray players = readFile(images + u"/wozean.bmp"_s);

        const QStringList written = ensureTiles(images);
        QCOMPARE(written.size(), 29);
        QVERIFY(!written.contains(u"wozean.bmp"_s));
        QCOMPARE(readFile(images + u"/wozean.bmp"_s), players);
        for (const QString &file : TileSet::world().files() + TileSet::small().files()) {
            const QImage image(images + u'/' + file);
            QVERIFY2(!image.isNull(), qPrintable(file));
            if (file != u"wozean.bmp"_s)
                QCOMPARE(image.convertToFormat(QImage::Format_RGB32), tileArt(file));
        }
        QCOMPARE(ensureTiles(images), QStringList());
    }

    void ensureTilesCreatesTheFolder()
    {
        QTemporaryDir dir;
        QCOMPARE(ensureTiles(dir.filePath(u"neu/images"_s)).size(), 30);
    }

    void ensureTilesNamesAFolderItCannotMake()
    {
        QTemporaryDir dir;
        writeTile(dir.path(), u"images"_s, QSize(1, 1), kWhite);
        const QString message = errorOf([&] { ensureTiles(dir.filePath(u"images"_s)); });
        QVERIFY2(message.contains(dir.filePath(u"images"_s)), qPrintable(message));
    }

    void cacheLoadsEachFileOnce()
    {
        QTemporaryDir dir;
        writeTile(dir.path(), u"wozean.bmp"_s, QSize(8, 8), kBlue);
        TileCache cache(dir.path());
        const MapTile *first = &cache.tile(u"wozean.bmp"_s);
        QVERIFY(QFile::remove(dir.filePath(u"wozean.bmp"_s)));
        QCOMPARE(&cache.tile(u"wozean.bmp"_s), first);
        QCOMPARE(first->size(), QSize(8, 8));
    }

    void cacheNamesBadFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not an image") << QByteArray("BM this is no bitmap");
        QTest::newRow("empty file") << QByteArray("");
    }
    void cacheNamesBadFiles()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        if (!content.isNull()) {
            QFile file(dir.filePath(u"wwald.bmp"_s));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        TileCache cache(dir.path());
        const QString message = errorOf([&] { cache.tile(u"wwald.bmp"_s); });
        QVERIFY2(message.contains(QDir::toNativeSeparators(dir.filePath(u"wwald.bmp"_s))),
            qPrintable(message));
    }

    // "wblank.bmp" (white, 4 x 4) at the upper left, ocean (blue) and plain (green) at
    // their cell corners, the background colour elsewhere.
    void worldMapSizeAndCorners_data()
    {
        QTest::addColumn<QList<MapCell>>("cells");
        QTest::addColumn<MapExtent>("extent");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<QRect>>("rects");
        QTest::addColumn<QList<QRgb>>("colours");
        const QRgb bg = WorldMapRenderer::kBackground;
        QTest::newRow("one region at 5/-3")
            << QList<MapCell> {{5, -3, u"Ozean"_s}} << MapExtent {5, 5, -3, -3} << QSize(8, 8)
            << QList<QRect> {{0, 0, 8, 8}} << QList<QRgb> {kBlue};
        QTest::newRow("0/0 and 0/1")
            << QList<MapCell> {{0, 0, u"Ozean"_s}, {0, 1, u"Ebene"_s}} << MapExtent {0, 0, 0, 1}
            << QSize(16, 16)
            << QList<QRect> {{0, 8, 8, 8}, {4, 0, 8, 8}, {0, 0, 4, 4}, {12, 0, 4, 8}, {8, 8, 8, 8}}
            << QList<QRgb> {kBlue, kGreen, kWhite, bg, bg};
        // The last half cell of a shifted row widens the picture, so no cell is cut.
        QTest::newRow("0/0 and 1/1, last cell whole")
            << QList<MapCell> {{0, 0, u"Ozean"_s}, {1, 1, u"Ebene"_s}} << MapExtent {0, 1, 0, 1}
            << QSize(24, 16)
            << QList<QRect> {{0, 8, 8, 8}, {12, 0, 8, 8}, {0, 0, 4, 4}, {4, 0, 8, 8}, {8, 8, 16, 8},
                   {20, 0, 4, 8}}
            << QList<QRgb> {kBlue, kGreen, kWhite, bg, bg, bg};
    }
    void worldMapSizeAndCorners()
    {
        QFETCH(QList<MapCell>, cells);
        QFETCH(MapExtent, extent);
        QFETCH(QSize, size);
        QFETCH(QList<QRect>, rects);
        QFETCH(QList<QRgb>, colours);
        QTemporaryDir dir;
        writeTile(dir.path(), u"wblank.bmp"_s, QSize(4, 4), kWhite);
        writeTile(dir.path(), u"wozean.bmp"_s, QSize(8, 8), kBlue);
        writeTile(dir.path(), u"webene.bmp"_s, QSize(8, 8), kGreen);
        const auto map = WorldMapRenderer(dir.path()).render(cells);
        QVERIFY(map);
        QCOMPARE(map->image.size(), size);
        QCOMPARE(map->extent, extent);
        QCOMPARE(map->frame().minX, extent.minX);
        QCOMPARE(map->frame().minY, extent.minY);
        QCOMPARE(map->frame().height, size.height());
        for (int i = 0; i < rects.size(); ++i)
            QVERIFY2(filled(map->image, rects[i], colours[i]), qPrintable(QString::number(i)));
    }

    void worldMapDrawsLaterOverEarlier_data()
    {
        QTest::addColumn<bool>("oceanLast");
        QTest::newRow("ocean last") << true;
        QTest::newRow("ocean first") << false;
    }
    void worldMapDrawsLaterOverEarlier()
    {
        QFETCH(bool, oceanLast);
        QTemporaryDir dir;
        writeTile(dir.path(), u"wblank.bmp"_s, QSize(1, 1), kWhite);
        writeTile(dir.path(), u"wozean.bmp"_s, QSize(8, 8), kBlue);
        writeTile(dir.path(), u"webene.bmp"_s, QSize(16, 8), kGreen);
        QList<MapCell> cells {{0, 0, u"Ebene"_s}, {1, 0, u"Ozean"_s}};
        if (!oceanLast)
            std::swap(cells[0], cells[1]);
        const auto map = WorldMapRenderer(dir.path()).render(cells);
        QVERIFY(map);
        QVERIFY(filled(map->image, {8, 0, 8, 8}, oceanLast ? kBlue : kGreen));
    }

    void worldMapUnknownTerrain_data()
    {
        QTest::addColumn<QStringList>("terrains");
        QTest::addColumn<QList<QRgb>>("colours");
        QTest::newRow("after ocean")
            << QStringList {"Ozean", "Lava", "Lava"} << QList<QRgb> {kBlue, kBlue, kBlue};
        QTest::newRow("first") << QStringList {"Lava", "Ozean", "Lava"}
                               << QList<QRgb> {kGrey, kBlue, kBlue};
        QTest::newRow("Desert") << QStringList {"Ozean", "Desert", "Lava"}
                                << QList<QRgb> {kBlue, kBrown, kBrown};
    }
    void worldMapUnknownTerrain()
    {
        QFETCH(QStringList, terrains);
        QFETCH(QList<QRgb>, colours);
        QTemporaryDir dir;
        writeTile(dir.path(), u"wblank.bmp"_s, QSize(8, 8), kGrey);
        writeTile(dir.path(), u"wozean.bmp"_s, QSize(8, 8), kBlue);
        writeTile(dir.path(), QString::fromUtf8("wwüste.bmp"), QSize(8, 8), kBrown);
        QList<MapCell> cells;
        for (int i = 0; i < terrains.size(); ++i)
            cells.append({i, 0, terrains[i]});
        const auto map = WorldMapRenderer(dir.path()).render(cells);
        QVERIFY(map);
        for (int i = 0; i < terrains.size(); ++i)
            QVERIFY2(filled(map->image, {8 * i, 0, 8, 8}, colours[i]), qPrintable(terrains[i]));
    }

    // Pixels in the key colour are never drawn.
    void worldMapKeyColourLeavesBackground()
    {
        QTemporaryDir dir;
        writeTile(dir.path(), u"wblank.bmp"_s, QSize(1, 1), MapTile::kKeyColour);
        QImage ocean(8, 8, QImage::Format_RGB32);
        ocean.fill(kBlue);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 4; ++x)
                ocean.setPixel(x, y, MapTile::kKeyColour);
        QVERIFY(ocean.save(dir.filePath(u"wozean.bmp"_s), "BMP"));
        const auto map = WorldMapRenderer(dir.path()).render({{3, 3, u"Ozean"_s}});
        QVERIFY(map);
        QVERIFY(filled(map->image, {0, 0, 4, 8}, WorldMapRenderer::kBackground));
        QVERIFY(filled(map->image, {4, 0, 4, 8}, kBlue));
    }

    // The built-in hexagons interlock: inside a block of regions no background shows.
    void builtInTilesCoverTheWorldMap()
    {
        QList<MapCell> cells;
        for (int x = -3; x <= 3; ++x)
            for (int y = -3; y <= 3; ++y)
                cells.append({x, y, (x + y) % 2 ? u"Wald"_s : u"Ozean"_s});
        const auto map = WorldMapRenderer(m_builtIn.path()).render(cells);
        QVERIFY(map);
        QCOMPARE(map->image.size(), QSize(80, 56));
        const WorldMapFrame frame = map->frame();
        for (int x = -2; x <= 2; ++x)
            for (int y = -2; y <= 2; ++y) {
                const QPoint corner = worldCellCorner(frame, x, y);
                for (int dy = -1; dy < 9; ++dy)
                    for (int dx = 0; dx < 8; ++dx)
                        QVERIFY(map->image.pixel(corner.x() + dx, corner.y() + dy)
                            != WorldMapRenderer::kBackground);
            }
    }

    void worldMapWithoutRegions()
    {
        QTemporaryDir dir;
        QVERIFY(!WorldMapRenderer(dir.path()).render({}));
    }

    void worldMapErrors_data()
    {
        QTest::addColumn<QList<MapCell>>("cells");
        QTest::addColumn<QString>("named");
        QTest::newRow("missing tile")
            << QList<MapCell> {{0, 0, u"Ozean"_s}, {0, 1, u"Wald"_s}} << "wwald.bmp";
        QTest::newRow("too wide") << QList<MapCell> {{0, 0, u"Ozean"_s}, {5000, 0, u"Ozean"_s}}
                                  << "Breite 0 bis 5000";
        QTest::newRow("too high") << QList<MapCell> {{0, -2147483647 - 1, u"Ozean"_s},
            {0, 2147483647, u"Ozean"_s}}
                                  << "Länge -2147483648 bis 2147483647";
    }
    void worldMapErrors()
    {
        QFETCH(QList<MapCell>, cells);
        QFETCH(QString, named);
        QTemporaryDir dir;
        writeTile(dir.path(), u"wblank.bmp"_s, QSize(8, 8), kGrey);
        writeTile(dir.path(), u"wozean.bmp"_s, QSize(8, 8), kBlue);
        const QString message = errorOf([&] { WorldMapRenderer(dir.path()).render(cells); });
        QVERIFY2(message.contains(named), qPrintable(message));
    }

    // Centre (0, 0): the 85 cells are asked for row by row, each row from the left.
    void smallMapAsksEveryCell()
    {
        QList<QPoint> asked;
        const QImage image = SmallMapRenderer(m_builtIn.path()).render(0, 0, [&](int x, int y) {
            asked.append({x, y});
            return std::optional<QString>();
        });
        QCOMPARE(image.size(), QSize(261, 261));
        QCOMPARE(asked.size(), 85);
        QCOMPARE(asked.first(), QPoint(-6, 4));
        QCOMPARE(asked.at(8), QPoint(2, 4));
        QCOMPARE(asked.at(9), QPoint(-6, 3));
        QCOMPARE(asked.at(42), QPoint(0, 0));
        QCOMPARE(asked.at(76), QPoint(-2, -4));
        QCOMPARE(asked.last(), QPoint(6, -4));
    }

    void smallMapCells()
    {
        QTemporaryDir dir;
        writeTile(dir.path(), u"blank.bmp"_s, QSize(29, 29), kGrey);
        writeTile(dir.path(), u"ozean.bmp"_s, QSize(29, 29), kBlue);
        writeTile(dir.path(), u"wald.bmp"_s, QSize(29, 29), kGreen);
        const QHash<QPoint, QString> regions {{{0, 0}, u"Ozean"_s}, {{1, 0}, u"Lava"_s},
            {{-6, 4}, u"Lava"_s}, {{1, 1}, u"Wald"_s}, {{2, 1}, u"Ebene "_s}};
        const QImage image = SmallMapRenderer(dir.path())
                                 .render(0, 0, [&](int x, int y) -> std::optional<QString> {
                                     const auto found = regions.find({x, y});
                                     if (found == regions.end())
                                         return std::nullopt;
                                     return *found;
                                 });
        QVERIFY(filled(image, {116, 116, 29, 29}, kBlue)); // centre, row 5 cell 5
        QVERIFY(filled(image, {145, 116, 29, 29}, kBlue)); // unknown after ocean
        QVERIFY(filled(image, {174, 116, 29, 29}, kGrey)); // no region
        QVERIFY(filled(image, {0, 0, 29, 29}, kGrey)); // unknown in the first cell
        QVERIFY(filled(image, {160, 87, 29, 29}, kGreen)); // 1/1: row 4, cell 7
        QVERIFY(filled(image, {189, 87, 29, 29}, kGreen)); // unknown after forest
        QVERIFY(filled(image, {0, 29, 15, 29}, kGrey)); // even row, cut by the border
    }

    // The built-in hexagons interlock on the small map too; only the notches above the
    // first row show the background.
    void builtInTilesCoverTheSmallMap()
    {
        const QImage image = SmallMapRenderer(m_builtIn.path()).render(5, -5, [](int x, int) {
            return std::optional<QString>(x % 2 ? "Berge" : "Ebene");
        });
        for (int y = 8; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QVERIFY(image.pixel(x, y) != SmallMapRenderer::kBackground);
    }

    void smallMapMissingTile()
    {
        QTemporaryDir dir;
        writeTile(dir.path(), u"blank.bmp"_s, QSize(29, 29), kGrey);
        const QString message = errorOf([&] {
            SmallMapRenderer(dir.path()).render(0, 0, [](int, int) {
                return std::optional<QString>("Sumpf");
            });
        });
        QVERIFY2(message.contains(u"sumpf.bmp"_s), qPrintable(message));
    }
};

QTEST_MAIN(TestMapTiles)
#include "test_maptiles.moc"
