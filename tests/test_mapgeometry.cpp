#include "map/hexgeometry.h"

#include <QtTest>
#include <cmath>

using namespace tolvimar;

Q_DECLARE_METATYPE(tolvimar::MapExtent)

namespace {

// The overlays' own way to the cell corner, with real divisions, as a second opinion.
QPoint overlayCorner(int x, int y, int minX, int minY, int height)
{
    const double left = std::trunc(8 * ((x - (minY / 2.0 + minX)) + y / 2.0));
    const double top = std::trunc(-1 * (8.0 * (y - minY) - height + 8));
    return {int(left), int(top)};
}

} // namespace

class TestMapGeometry : public QObject
{
    Q_OBJECT
private slots:
    void roundsHalvesToEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("rounded");
        QTest::newRow("4.5") << 4.5 << qint64(4);
        QTest::newRow("5.5") << 5.5 << qint64(6);
        QTest::newRow("2.5") << 2.5 << qint64(2);
        QTest::newRow("1.5") << 1.5 << qint64(2);
        QTest::newRow("-0.5") << -0.5 << qint64(0);
        QTest::newRow("-1.5") << -1.5 << qint64(-2);
        QTest::newRow("2.4") << 2.4 << qint64(2);
        QTest::newRow("2.6") << 2.6 << qint64(3);
        QTest::newRow("whole") << 7.0 << qint64(7);
    }
    void roundsHalvesToEven()
    {
        QFETCH(double, value);
        QFETCH(qint64, rounded);
        QCOMPARE(roundHalfToEven(value), rounded);
    }

    // Size of the world map and the corner of one of its cells.
    void worldCells_data()
    {
        QTest::addColumn<MapExtent>("extent");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QPoint>("corner");
        QTest::newRow("one region at 5/-3")
            << MapExtent {5, 5, -3, -3} << 8 << 8 << 5 << -3 << QPoint(0, 0);
        QTest::newRow("0/0 and 0/1: cell of 0/0")
            << MapExtent {0, 0, 0, 1} << 16 << 16 << 0 << 0 << QPoint(0, 8);
        QTest::newRow("0/0 and 0/1: cell of 0/1")
            << MapExtent {0, 0, 0, 1} << 16 << 16 << 0 << 1 << QPoint(4, 0);
        // A half cell rounds up: the cell of 1/1 at left 12 keeps all of its 8 pixels.
        QTest::newRow("0/0 and 1/1: whole cell at the edge")
            << MapExtent {0, 1, 0, 1} << 24 << 16 << 1 << 1 << QPoint(12, 0);
        QTest::newRow("span 4.5 rounds up")
            << MapExtent {0, 3, 0, 1} << 40 << 16 << 3 << 1 << QPoint(28, 0);
        QTest::newRow("span 5.5 rounds up")
            << MapExtent {0, 4, 0, 1} << 48 << 16 << 4 << 1 << QPoint(36, 0);
        QTest::newRow("overlay example: height 80, 2/3")
            << MapExtent {0, 7, 0, 9} << 104 << 80 << 2 << 3 << QPoint(28, 48);
        QTest::newRow("negative origin")
            << MapExtent {-5, 4, -5, 4} << 120 << 80 << -3 << -5 << QPoint(16, 72);
    }
    void worldCells()
    {
        QFETCH(MapExtent, extent);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QPoint, corner);
        QCOMPARE(worldMapWidth(extent), width);
        QCOMPARE(worldMapHeight(extent), height);
        const WorldMapFrame frame {extent.minX, extent.minY, height};
        QCOMPARE(worldCellCorner(frame, x, y), corner);
        QCOMPARE(overlayCorner(x, y, extent.minX, extent.minY, height), corner);
    }

    // Every cell of an extent lies wholly inside the picture: none is cut at the right
    // edge, whatever the spans of x and y.
    void everyCellFitsThePicture()
    {
        for (int minX : {-7, 0, 3})
            for (int spanX = 0; spanX < 5; ++spanX)
                for (int minY : {-5, 0, 2})
                    for (int spanY = 0; spanY < 6; ++spanY) {
                        const MapExtent extent {minX, minX + spanX, minY, minY + spanY};
                        const qint64 width = worldMapWidth(extent);
                        const WorldMapFrame frame {minX, minY, int(worldMapHeight(extent))};
                        for (int x = minX; x <= extent.maxX; ++x)
                            for (int y = minY; y <= extent.maxY; ++y) {
                                const QPoint corner = worldCellCorner(frame, x, y);
                                QVERIFY2(corner.x() >= 0 && corner.x() + 8 <= width,
                                    qPrintable(QStringLiteral("%1/%2 at %3 in %4")
                                                   .arg(x)
                                                   .arg(y)
                                                   .arg(corner.x())
                                                   .arg(width)));
                            }
                        // And no more than the half cell that a row's shift needs.
                        QVERIFY(width <= 8 * (spanX + 1) + 4 * spanY + 4);
                    }
    }

    // The overlays' corner formula and the world map's are one and the same.
    void overlayCornerIsCellCorner()
    {
        for (int minX : {-7, -2, 0, 3})
            for (int minY : {-5, -4, 0, 1, 6})
                for (int x = minX - 2; x < minX + 12; ++x)
                    for (int y = minY - 2; y < minY + 12; ++y) {
                        const int height = 8 * 10;
                        QCOMPARE(worldCellCorner({minX, minY, height}, x, y),
                            overlayCorner(x, y, minX, minY, height));
                    }
    }

    void worldPointer_data()
    {
        QTest::addColumn<int>("minX");
        QTest::addColumn<int>("minY");
        QTest::addColumn<int>("px");
        QTest::addColumn<int>("py");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("origin 0/0, pixel 3/73") << 0 << 0 << 3 << 73 << 0 << 0;
        QTest::newRow("origin -5/-5, pixel 10/75") << -5 << -5 << 10 << 75 << -4 << -5;
        // Top pixel line of the cell of 0/0 (top 72) with t = 0: the row above, where
        // pixel 3 lies in the cell of -1/1 and pixel 6 in that of 0/1.
        QTest::newRow("top line, t >= 0") << 0 << 0 << 3 << 72 << -1 << 1;
        QTest::newRow("top line, t >= 0, further right") << 0 << 0 << 6 << 72 << 0 << 1;
        // Left pixel column of the cell of -3/-5 (left 16) with u = -3: the cell to the left.
        QTest::newRow("left column, u < 0") << -5 << -5 << 16 << 75 << -4 << -5;
        QTest::newRow("next column, u < 0") << -5 << -5 << 17 << 75 << -3 << -5;
    }
    void worldPointer()
    {
        QFETCH(int, minX);
        QFETCH(int, minY);
        QFETCH(int, px);
        QFETCH(int, py);
        QFETCH(int, x);
        QFETCH(int, y);
        QCOMPARE(worldRegionAt({minX, minY, 80}, px, py), (RegionCoord {x, y}));
    }

    // Every pixel of a cell but its top line and left column leads back to the cell.
    void worldPointerInvertsCorner()
    {
        for (const WorldMapFrame &frame :
            {WorldMapFrame {0, 0, 80}, WorldMapFrame {-5, -5, 80}, WorldMapFrame {3, -2, 96}}) {
            for (int x = frame.minX; x < frame.minX + 6; ++x)
                for (int y = frame.minY; y < frame.minY + frame.height / 8; ++y) {
                    const QPoint corner = worldCellCorner(frame, x, y);
                    for (int dx = 1; dx < 8; ++dx)
                        for (int dy = 1; dy < 8; ++dy)
                            QCOMPARE(worldRegionAt(frame, corner.x() + dx, corner.y() + dy),
                                (RegionCoord {x, y}));
                }
        }
    }

    void smallMapRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("firstDx");
        QTest::addColumn<int>("lastDx");
        QTest::newRow("1") << 1 << 4 << 9 << -6 << 2;
        QTest::newRow("2") << 2 << 3 << 10 << -6 << 3;
        QTest::newRow("3") << 3 << 2 << 9 << -5 << 3;
        QTest::newRow("4") << 4 << 1 << 10 << -5 << 4;
        QTest::newRow("5") << 5 << 0 << 9 << -4 << 4;
        QTest::newRow("6") << 6 << -1 << 10 << -4 << 5;
        QTest::newRow("7") << 7 << -2 << 9 << -3 << 5;
        QTest::newRow("8") << 8 << -3 << 10 << -3 << 6;
        QTest::newRow("9") << 9 << -4 << 9 << -2 << 6;
    }
    void smallMapRows()
    {
        QFETCH(int, row);
        QFETCH(int, dy);
        QFETCH(int, cells);
        QFETCH(int, firstDx);
        QFETCH(int, lastDx);
        QCOMPARE(smallMapCellCount(row), cells);
        for (const auto &[cx, cy] : {std::pair {0, 0}, std::pair {10, -7}}) {
            QCOMPARE(smallCellRegion(cx, cy, row, 1), (RegionCoord {cx + firstDx, cy + dy}));
            QCOMPARE(smallCellRegion(cx, cy, row, cells), (RegionCoord {cx + lastDx, cy + dy}));
        }
        const int shift = row % 2 == 0 ? -14 : 0;
        QCOMPARE(smallCellCorner(row, 1), QPoint(shift, 29 * (row - 1)));
        QCOMPARE(smallCellCorner(row, cells), QPoint(29 * (cells - 1) + shift, 29 * (row - 1)));
    }

    void smallMapCentre()
    {
        QCOMPARE(smallCellCorner(5, 5), QPoint(116, 116));
        QCOMPARE(smallCellRegion(3, 7, 5, 5), (RegionCoord {3, 7}));
        int cells = 0;
        for (int row = 1; row <= kSmallMapRows; ++row)
            cells += smallMapCellCount(row);
        // Five rows of 9 and four of 10.
        QCOMPARE(cells, 85);
    }

    void smallPointer_data()
    {
        QTest::addColumn<int>("cx");
        QTest::addColumn<int>("cy");
        QTest::addColumn<int>("px");
        QTest::addColumn<int>("py");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("centre 10/10, pixel 116/120") << 10 << 10 << 116 << 120 << 10 << 10;
        // t = 10 exactly on the top line of the centre cell: the row above, y = 11, where
        // u = 9.5 gives x = 9.
        QTest::newRow("centre 10/10, pixel 116/116") << 10 << 10 << 116 << 116 << 9 << 11;
        QTest::newRow("centre 0/0, top left") << 0 << 0 << 1 << 1 << -6 << 4;
        QTest::newRow("centre 0/0, bottom right") << 0 << 0 << 259 << 259 << 6 << -4;
    }
    void smallPointer()
    {
        QFETCH(int, cx);
        QFETCH(int, cy);
        QFETCH(int, px);
        QFETCH(int, py);
        QFETCH(int, x);
        QFETCH(int, y);
        QCOMPARE(smallMapRegionAt(cx, cy, px, py), (RegionCoord {x, y}));
    }

    // A press inside a drawn cell (away from its top line and left column) names the
    // region drawn there, around centres of either parity.
    void smallPointerInvertsCells()
    {
        for (const auto &[cx, cy] :
            {std::pair {0, 0}, std::pair {10, 10}, std::pair {-3, 7}, std::pair {4, -5}}) {
            for (int row = 1; row <= kSmallMapRows; ++row)
                for (int cell = 1; cell <= smallMapCellCount(row); ++cell) {
                    const QPoint corner = smallCellCorner(row, cell);
                    const RegionCoord region = smallCellRegion(cx, cy, row, cell);
                    for (int dx : {2, 14, 27})
                        for (int dy : {2, 14, 27}) {
                            const int px = corner.x() + dx;
                            if (px < 0 || px >= kSmallMapSize)
                                continue;
                            QCOMPARE(smallMapRegionAt(cx, cy, px, corner.y() + dy), region);
                        }
                }
        }
    }

    // Far-off coordinates neither overflow nor wrap around.
    void extremeCoordinates()
    {
        const WorldMapFrame frame {
            std::numeric_limits<int>::min(), std::numeric_limits<int>::min(), 80};
        const QPoint corner = worldCellCorner(
            frame, std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
        QVERIFY(corner.x() > 1000000);
        QVERIFY(corner.y() < -1000000);
        const MapExtent extent {std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
            std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
        QVERIFY(worldMapWidth(extent) > 8 * qint64(std::numeric_limits<int>::max()));
        QVERIFY(worldMapHeight(extent) > 8 * qint64(std::numeric_limits<int>::max()));
        worldRegionAt(frame, 0, 0);
        smallMapRegionAt(std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 0, 0);
        smallCellRegion(std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 1, 10);
    }
};

QTEST_APPLESS_MAIN(TestMapGeometry)
#include "test_mapgeometry.moc"
