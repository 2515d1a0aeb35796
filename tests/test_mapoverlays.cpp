#include "map/overlayicons.h"
#include "map/overlays.h"

#include <QtTest>

using namespace tolvimar;
using namespace Qt::StringLiterals;

namespace {

using Pixels = QMap<std::pair<int, int>, QRgb>;

constexpr int kTurn = 705;
constexpr int kOwn = 42;

// Origin (0, 0), height 80: the cell of 2/3 has its corner at (28, 48).
const OverlayFrame kFrame {0, 0, QSize(104, 80), 0};

// Every pixel that is not transparent, with its colour.
Pixels setPixels(const QImage &image)
{
    Pixels pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                pixels.insert({x, y}, image.pixel(x, y));
    return pixels;
}

// A pattern drawn at (left, top): one character per pixel, '.' for transparent.
Pixels pattern(int left, int top, const QStringList &rows)
{
    const QHash<QChar, QRgb> colours {{u'R', OverlayColour::Red}, {u'Y', OverlayColour::Yellow},
        {u'G', OverlayColour::Green}, {u'M', OverlayColour::Magenta}};
    Pixels pixels;
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            if (rows[y][x] != u'.')
                pixels.insert({left + x, top + y}, colours.value(rows[y][x]));
    return pixels;
}

Pixels merged(Pixels a, const Pixels &b)
{
    for (auto it = b.cbegin(); it != b.cend(); ++it)
        a.insert(it.key(), it.value());
    return a;
}

// The red dot of an own ship at 2/3: the box (30, 50) to (33, 53) without its right
// and bottom edge.
Pixels ownDot()
{
    return pattern(30, 50, {".R.", "RRR", ".R."});
}

// The yellow dot of a foreign ship there: the box (32, 52) to (35, 55).
Pixels foreignDot()
{
    return pattern(32, 52, {".Y.", "YYY", ".Y."});
}

Pixels square(int left, int top, QChar colour)
{
    const QString edge = QString(8, colour);
    const QString side = colour + QString(6, u'.') + colour;
    return pattern(left, top, {edge, side, side, side, side, side, side, edge});
}

// The pixels as text, one per line, so that a failed comparison shows the difference.
QString describe(const Pixels &pixels)
{
    QStringList lines;
    for (auto it = pixels.cbegin(); it != pixels.cend(); ++it)
        lines.append(u"%1,%2 %3"_s.arg(it.key().first).arg(it.key().second).arg(it.value(), 8, 16));
    return lines.join(u'\n');
}

} // namespace

Q_DECLARE_METATYPE(Pixels)
Q_DECLARE_METATYPE(tolvimar::ShipMark)
Q_DECLARE_METATYPE(tolvimar::UnitSquare)
Q_DECLARE_METATYPE(tolvimar::RegionNews)

class TestMapOverlays : public QObject
{
    Q_OBJECT
private slots:
    void ships_data()
    {
        QTest::addColumn<QList<ShipMark>>("ships");
        QTest::addColumn<Pixels>("pixels");
        QTest::newRow("own ship") << QList<ShipMark> {{u"2/3"_s, kOwn, kTurn}} << ownDot();
        QTest::newRow("foreign ship") << QList<ShipMark> {{u"2/3"_s, 7, kTurn}} << foreignDot();
        QTest::newRow("own and foreign, side by side") << QList<ShipMark> {{u"2/3"_s, 7, kTurn},
            {u"2/3"_s, kOwn, kTurn}} << merged(ownDot(), foreignDot());
        QTest::newRow("older turn, whoever owns it")
            << QList<ShipMark> {{u"2/3"_s, kOwn, kTurn - 1}, {u"2/3"_s, 7, 604}} << Pixels();
        QTest::newRow("other level") << QList<ShipMark> {{u"2/3/1"_s, kOwn, kTurn}} << Pixels();
        QTest::newRow("level 0 written out")
            << QList<ShipMark> {{u"2/3/0"_s, kOwn, kTurn}} << ownDot();
    }
    void ships()
    {
        QFETCH(QList<ShipMark>, ships);
        QFETCH(Pixels, pixels);
        const OverlayLayer layer = shipsLayer(ships, kFrame, kOwn, kTurn);
        QCOMPARE(layer.image.size(), kFrame.size);
        QCOMPARE(layer.image.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(describe(setPixels(layer.image)), describe(pixels));
        QCOMPARE(layer.badPositions, 0);
    }

    // While level 1 is shown a position x/y/1 is drawn and x/y is not; level 0 the
    // other way round. The level is compared as a number: 4/5/12 is not on level 1.
    void levels_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("position");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("level 1: 4/5/1") << 1 << "4/5/1" << true;
        QTest::newRow("level 1: 4/5") << 1 << "4/5" << false;
        QTest::newRow("level 0: 4/5") << 0 << "4/5" << true;
        QTest::newRow("level 0: 4/5/1") << 0 << "4/5/1" << false;
        QTest::newRow("level 1: 4/5/12") << 1 << "4/5/12" << false;
        QTest::newRow("level 12: 4/5/12") << 12 << "4/5/12" << true;
        QTest::newRow("level -1: 4/5/-1") << -1 << "4/5/-1" << true;
        QTest::newRow("level 1: 4/1") << 1 << "4/1" << false;
    }
    void levels()
    {
        QFETCH(int, level);
        QFETCH(QString, position);
        QFETCH(bool, drawn);
        OverlayFrame frame = kFrame;
        frame.level = level;
        const OverlayLayer ships = shipsLayer({{position, kOwn, kTurn}}, frame, kOwn, kTurn);
        const OverlayLayer units = unitsLayer({{position, QString()}}, frame);
        QCOMPARE(!setPixels(ships.image).isEmpty(), drawn);
        QCOMPARE(!setPixels(units.image).isEmpty(), drawn);
    }

    // Rows whose position is not "x/y" or "x/y/level" are skipped and counted; the
    // others are still drawn.
    void badPositions()
    {
        const QStringList bad {u""_s, u"4"_s, u"a/b"_s, u"4/"_s, u"4/5/x"_s, u"4/5/1/2"_s,
            u"4.5/3"_s, u"99999999999/1"_s};
        QList<ShipMark> ships;
        QList<UnitSquare> units;
        for (const QString &position : bad) {
            ships.append({position, kOwn, kTurn});
            units.append({position, QString()});
        }
        ships.append({u"2/3"_s, kOwn, kTurn});
        units.append({u"2/3"_s, QString()});
        const OverlayLayer shipLayer = shipsLayer(ships, kFrame, kOwn, kTurn);
        QCOMPARE(shipLayer.badPositions, bad.size());
        QCOMPARE(describe(setPixels(shipLayer.image)), describe(ownDot()));
        const OverlayLayer unitLayer = unitsLayer(units, kFrame);
        QCOMPARE(unitLayer.badPositions, bad.size());
        QCOMPARE(describe(setPixels(unitLayer.image)), describe(square(28, 48, u'M')));
    }

    // The cell of 1/1 (origin 0/0, height 80) has its corner at (12, 64).
    void units_data()
    {
        QTest::addColumn<QList<UnitSquare>>("units");
        QTest::addColumn<Pixels>("pixels");
        QTest::newRow("unmarked") << QList<UnitSquare> {{u"1/1"_s, u""_s}} << square(12, 64, u'M');
        QTest::newRow("marked x") << QList<UnitSquare> {{u"1/1"_s, u"x"_s}} << square(12, 64, u'G');
        QTest::newRow("marked X and B")
            << QList<UnitSquare> {{u"1/1"_s, u"BX"_s}} << square(12, 64, u'G');
        QTest::newRow("guard only")
            << QList<UnitSquare> {{u"1/1"_s, u"B"_s}} << square(12, 64, u'M');
        QTest::newRow("marked, then unmarked")
            << QList<UnitSquare> {{u"1/1"_s, u"x"_s}, {u"1/1"_s, u""_s}} << square(12, 64, u'M');
        QTest::newRow("unmarked, then marked")
            << QList<UnitSquare> {{u"1/1"_s, u""_s}, {u"1/1"_s, u"x"_s}} << square(12, 64, u'M');
        QTest::newRow("two cells") << QList<UnitSquare> {{u"1/1"_s, u"x"_s}, {u"2/3"_s, u""_s}}
                                   << merged(square(12, 64, u'G'), square(28, 48, u'M'));
    }
    void units()
    {
        QFETCH(QList<UnitSquare>, units);
        QFETCH(Pixels, pixels);
        QCOMPARE(describe(setPixels(unitsLayer(units, kFrame).image)), describe(pixels));
    }

    // Fitted squares (the window's) are filled 4 x 4 blocks 2 pixels inside their cells:
    // the neighbours 1/1 and 2/1 (corners (12, 64) and (20, 64)) do not touch, where the
    // whole-cell squares share their edge.
    void fittedUnits()
    {
        OverlayFrame frame = kFrame;
        frame.fitted = true;
        const QList<UnitSquare> units {{u"1/1"_s, u"x"_s}, {u"2/1"_s, u""_s}};
        const auto filled = [](int left, int top, QChar colour) {
            return pattern(left, top, QStringList(4, QString(4, colour)));
        };
        QCOMPARE(describe(setPixels(unitsLayer(units, frame).image)),
            describe(merged(filled(14, 66, u'G'), filled(22, 66, u'M'))));
    }

    // The cell of 2/3 has its corner at (28, 48).
    void regionMessages_data()
    {
        QTest::addColumn<RegionNews>("region");
        QTest::addColumn<Pixels>("pixels");
        const Pixels diamond = pattern(28, 48,
            {u"........"_s, u"....Y..."_s, u"...YRY.."_s, u"..YRRRY."_s, u".YRRRRRY"_s,
                u"..YRRRY."_s, u"...YRY.."_s, u"....Y..."_s});
        const Pixels ring = pattern(29, 53, {u".R."_s, u"RYR"_s, u".R."_s});
        QTest::newRow("battle of the newest turn")
            << RegionNews {2, 3, u"Ebene"_s, u"Kampf in Runde 705"_s, 604} << diamond;
        QTest::newRow("battle at sea")
            << RegionNews {2, 3, u"Ozean"_s, u"Kampf in Runde 705"_s, kTurn} << diamond;
        QTest::newRow("current ocean region")
            << RegionNews {2, 3, u"Ozean"_s, u"Treibgut"_s, kTurn} << ring;
        QTest::newRow("older ocean region")
            << RegionNews {2, 3, u"Ozean"_s, u"Treibgut"_s, 604} << Pixels();
        QTest::newRow("older battle")
            << RegionNews {2, 3, u"Ebene"_s, u"Kampf in Runde 604"_s, 604} << Pixels();
        QTest::newRow("no surroundings") << RegionNews {2, 3, u"Ebene"_s, u""_s, kTurn} << Pixels();
        QTest::newRow("blank surroundings") << RegionNews {2, 3, u"Ozean"_s, u" "_s, kTurn} << ring;
    }
    void regionMessages()
    {
        QFETCH(RegionNews, region);
        QFETCH(Pixels, pixels);
        const OverlayLayer layer = regionMessagesLayer({region}, kFrame, kTurn);
        QCOMPARE(layer.image.size(), kFrame.size);
        QCOMPARE(describe(setPixels(layer.image)), describe(pixels));
    }

    // A current land region: a yellow triangle through (l+1, t+1), (l+7, t+1) and
    // (l+4, t+7), nothing outside it.
    void landTriangle()
    {
        const Pixels pixels = setPixels(
            regionMessagesLayer({{2, 3, u"Wald"_s, u"Flüchtlinge"_s, kTurn}}, kFrame, kTurn).image);
        for (const auto &[x, y] : {std::pair {29, 49}, {35, 49}, {32, 55}, {32, 52}})
            QCOMPARE(pixels.value({x, y}), OverlayColour::Yellow);
        for (auto it = pixels.cbegin(); it != pixels.cend(); ++it) {
            const auto [x, y] = it.key();
            QCOMPARE(it.value(), OverlayColour::Yellow);
            // Inside the triangle's box, and narrowing downwards.
            QVERIFY(y >= 49 && y <= 55);
            QVERIFY(std::abs(2 * x - 64) <= 55 - y + 1);
        }
        QVERIFY(!pixels.contains({29, 55}));
        QVERIFY(!pixels.contains({35, 55}));
    }

    void mentionsTurn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("mentions");
        QTest::newRow("battle") << "Kampf in Runde 705" << true;
        QTest::newRow("followed by text") << "Kampf in Runde 705\x16"
                                             "Flut"
                                          << true;
        QTest::newRow("other turn") << "Kampf in Runde 704" << false;
        QTest::newRow("longer number") << "Kampf in Runde 7051" << false;
        QTest::newRow("longer, then right one") << "in Runde 7051, in Runde 705." << true;
        QTest::newRow("no blank") << "in Runde705" << false;
        QTest::newRow("empty") << "" << false;
    }
    void mentionsTurn()
    {
        QFETCH(QString, text);
        QFETCH(bool, mentions);
        QCOMPARE(tolvimar::mentionsTurn(text, kTurn), mentions);
    }

    // Marks of far-off cells and an empty map neither crash nor draw.
    void outsideThePicture()
    {
        const OverlayLayer far
            = shipsLayer({{u"2147483647/-2147483648"_s, kOwn, kTurn}, {u"-9/3"_s, 7, kTurn}},
                kFrame, kOwn, kTurn);
        QVERIFY(setPixels(far.image).isEmpty());
        const OverlayFrame empty {0, 0, QSize(), 0};
        QVERIFY(unitsLayer({{u"1/1"_s, u""_s}}, empty).image.isNull());
        QVERIFY(
            regionMessagesLayer({{1, 1, u"Ozean"_s, u"x"_s, kTurn}}, empty, kTurn).image.isNull());
    }

    void icons()
    {
        for (const QImage &icon : {shipsIcon(), unitsIcon()}) {
            QCOMPARE(icon.size(), QSize(35, 35));
            QVERIFY(icon.hasAlphaChannel());
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(icon.pixel(17, 20)), 255);
        }
        QVERIFY(shipsIcon() != unitsIcon());
    }
};

QTEST_MAIN(TestMapOverlays)
#include "test_mapoverlays.moc"
