#include "map/overlays.h"
#include "mapfixture.h"

#include <QFileInfo>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// Level 0: 0..3 x 0..9 (72 x 80, origin 0/0) with an own ship at 2/3 and an own unit
// at 1/1; level 1: one region at 5/-3.
struct CliGame : MapGame
{
    CliGame()
    {
        block(0, 3, 0, 9, 0, QStringLiteral("Ozean"));
        region(5, -3, 1, QStringLiteral("Sumpf"));
        ship(1, QStringLiteral("2/3"), kFaction);
        unit(10, QStringLiteral("1/1"));
        session.reset(); // the command line opens the database itself
    }

    int run(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr)
    {
        return runCli(QStringList {QStringLiteral("--workspace"), ws.path()} + arguments, out, err);
    }
};

} // namespace

class TestCliMap : public QObject
{
    Q_OBJECT
private slots:
    void renderMap_data()
    {
        QTest::addColumn<QStringList>("levelArgs");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("lines");
        QTest::newRow("level 0") << QStringList() << "worldmap-1.bmp"
                                 << "Breite: 72\nHöhe: 80\nUrsprung: 0/0\n";
        QTest::newRow("level 1") << QStringList {"--level", "1"} << "worldmap-1-1.bmp"
                                 << "Breite: 8\nHöhe: 8\nUrsprung: 5/-3\n";
    }
    void renderMap()
    {
        QFETCH(QStringList, levelArgs);
        QFETCH(QString, file);
        QFETCH(QString, lines);
        CliGame g;
        QString out, err;
        QCOMPARE(g.run(QStringList {"render-map", "--slot", "1"} + levelArgs, &out, &err), 0);
        QVERIFY2(out.startsWith(QStringLiteral("Datei: ")), qPrintable(out));
        const QString path = out.section(u'\n', 0, 0).mid(7);
        QVERIFY(path.endsWith(file));
        QVERIFY(QFileInfo::exists(g.imagesPath(file)));
        QCOMPARE(out.section(u'\n', 1), lines);
    }

    void renderMapOfAnEmptyLevel()
    {
        CliGame g;
        QString out, err;
        QCOMPARE(g.run({"render-map", "--slot", "1", "--level", "4"}, &out, &err), 1);
        QVERIFY(err.contains(QStringLiteral("keine Regionen")));
        QVERIFY(out.isEmpty());
        QVERIFY(!QFileInfo::exists(g.imagesPath(QStringLiteral("worldmap-1-4.bmp"))));
    }

    void smallMap()
    {
        CliGame g;
        const QString png = g.ws.file(QStringLiteral("klein.png"));
        QCOMPARE(g.run({"small-map", "--slot", "1", "-2", "3", "--out", png}), 0);
        QCOMPARE(QImage(png).size(), QSize(261, 261));
    }

    void overlays_data()
    {
        QTest::addColumn<QString>("layer");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<uint>("colour");
        // Ship at 2/3: cell corner (28, 48), red dot around (31, 51).
        QTest::newRow("ships") << "ships" << QPoint(31, 51) << uint(OverlayColour::Red);
        // Unit at 1/1: cell corner (12, 64), magenta square outline.
        QTest::newRow("units") << "units" << QPoint(12, 64) << uint(OverlayColour::Magenta);
        QTest::newRow("messages") << "messages" << QPoint(31, 51) << uint(0);
    }
    void overlays()
    {
        QFETCH(QString, layer);
        QFETCH(QPoint, pixel);
        QFETCH(uint, colour);
        CliGame g;
        const QString png = g.ws.file(QStringLiteral("layer.png"));
        QString out, err;
        QCOMPARE(g.run({"overlay", "--slot", "1", layer, "--out", png}, &out, &err), 0);
        const QImage image = QImage(png).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(72, 80));
        QCOMPARE(image.pixel(pixel), colour);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown layer")
            << QStringList {"overlay", "--slot", "1", "boats", "--out", "x.png"};
        QTest::newRow("no --out") << QStringList {"small-map", "--slot", "1", "0", "0"};
        QTest::newRow("coordinate")
            << QStringList {"small-map", "--slot", "1", "a", "0", "--out", "x.png"};
        QTest::newRow("level") << QStringList {"render-map", "--slot", "1", "--level", "eins"};
    }
    void badArguments()
    {
        QFETCH(QStringList, arguments);
        CliGame g;
        QString err;
        QCOMPARE(g.run(arguments, nullptr, &err), 2);
        QVERIFY(err.contains(QStringLiteral("Aufruf:")));
    }
};

QTEST_GUILESS_MAIN(TestCliMap)
#include "test_cli_map.moc"
