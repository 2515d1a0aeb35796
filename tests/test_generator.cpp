#include "base/textfile.h"
#include "reportgenerator.h"
#include "testsupport.h"

#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

ReportGenerator::Options options(const QString &game, qint64 size, quint64 seed, bool crlf,
    ReportGenerator::Shape shape = ReportGenerator::Shape::Standard)
{
    ReportGenerator::Options o;
    o.shape = shape;
    o.game = game == u"Kalmora" ? ReportGenerator::Game::Kalmora : ReportGenerator::Game::Sulvitan;
    o.targetBytes = size;
    o.seed = seed;
    o.crlf = crlf;
    return o;
}

} // namespace

// The generated reports are what the benchmark and the fuzzer start from: they must
// be valid, import completely and be the same for the same seed.
class TestGenerator : public QObject
{
    Q_OBJECT
private slots:
    void reports_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<quint64>("seed");
        QTest::addColumn<bool>("crlf");
        QTest::newRow("Kalmora small") << "Kalmora" << qint64(20000) << quint64(1) << false;
        QTest::newRow("Kalmora CR LF") << "Kalmora" << qint64(150000) << quint64(7) << true;
        QTest::newRow("Sulvitan small") << "Sulvitan" << qint64(30000) << quint64(3) << false;
        QTest::newRow("Sulvitan") << "Sulvitan" << qint64(120000) << quint64(11) << false;
    }

    // The benchmark's other shapes: every land region with 8 own units of 6 skills, 10
    // items and 3 orders; or 100,000 regions for 30 MB with few units.
    void shapes_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<ReportGenerator::Shape>("shape");
        QTest::newRow("dense Kalmora") << "Kalmora" << ReportGenerator::Shape::DenseUnits;
        QTest::newRow("dense Sulvitan") << "Sulvitan" << ReportGenerator::Shape::DenseUnits;
        QTest::newRow("map Kalmora") << "Kalmora" << ReportGenerator::Shape::MapHeavy;
    }
    void shapes()
    {
        QFETCH(QString, game);
        QFETCH(ReportGenerator::Shape, shape);
        const qint64 size = 300000;
        ReportGenerator::Stats stats;
        const QByteArray bytes
            = ReportGenerator(options(game, size, 5, false, shape)).generate(&stats);
        QCOMPARE(ReportGenerator(options(game, size, 5, false, shape)).generate(), bytes);
        QVERIFY(bytes != ReportGenerator(options(game, size, 5, false)).generate());
        if (shape == ReportGenerator::Shape::MapHeavy) {
            QCOMPARE(stats.regions, int(size * 100000 / (30 << 20)));
            QVERIFY(stats.units < stats.regions / 2);
        } else {
            QVERIFY(bytes.size() >= size && bytes.size() < size + 8000);
            // Own units come 8 to a land region (a few more at sea), with 3 orders each.
            QVERIFY(stats.ownUnits >= 8 * stats.landRegions);
            QVERIFY(stats.orders >= 3 * 8 * stats.landRegions);
        }
        ImportHarness h(game);
        const QString path = h.ws.file(QStringLiteral("form.cr"));
        writeBytes(path, bytes);
        const ReportImporter::Result result = h.importFile(path);
        QCOMPARE(result.status, ReportImporter::Result::Imported);
        QCOMPARE(result.regions, stats.regions);
        QCOMPARE(result.units, stats.units);
        QCOMPARE(h.count(QStringLiteral("einheiten")), stats.units);
        if (shape == ReportGenerator::Shape::DenseUnits) {
            // Every own unit of a land region keeps its three orders.
            QVERIFY(h.value(QStringLiteral("SELECT COUNT(*) FROM einheiten WHERE "
                                           "\"Default Befehl\" LIKE '*%*%*%*'"))
                        .toInt()
                >= 8 * stats.landRegions);
        }
    }

    void shapeNames()
    {
        for (auto shape : {ReportGenerator::Shape::Standard, ReportGenerator::Shape::DenseUnits,
                 ReportGenerator::Shape::MapHeavy}) {
            ReportGenerator::Shape parsed = ReportGenerator::Shape::Standard;
            QVERIFY(ReportGenerator::parseShape(ReportGenerator::shapeName(shape), &parsed));
            QCOMPARE(parsed, shape);
        }
        ReportGenerator::Shape parsed;
        QVERIFY(!ReportGenerator::parseShape(QStringLiteral("rund"), &parsed));
    }

    void reports()
    {
        QFETCH(QString, game);
        QFETCH(qint64, size);
        QFETCH(quint64, seed);
        QFETCH(bool, crlf);
        ReportGenerator::Stats stats;
        const QByteArray bytes = ReportGenerator(options(game, size, seed, crlf)).generate(&stats);

        QCOMPARE(ReportGenerator(options(game, size, seed, crlf)).generate(), bytes);
        QVERIFY(ReportGenerator(options(game, size, seed + 1, crlf)).generate() != bytes);
        QCOMPARE(stats.bytes, bytes.size());
        QVERIFY2(bytes.size() >= size && bytes.size() < size + 8000,
            qPrintable(QString::number(bytes.size())));
        QCOMPARE(stats.lines, bytes.count('\n'));
        QCOMPARE(bytes.count("\r\n"), crlf ? stats.lines : 0);
        TextEncoding encoding;
        decodeText(bytes, &encoding);
        QCOMPARE(encoding, game == u"Kalmora" ? TextEncoding::Windows1252 : TextEncoding::Utf8);
        QVERIFY(stats.buildings > 0 && stats.ships > 0 && stats.ownUnits > 0
            && stats.units > stats.ownUnits);

        ImportHarness h(game);
        const QString path = h.ws.file(QStringLiteral("gross.cr"));
        writeBytes(path, bytes);
        for (int round = 1; round <= 2; ++round) {
            const ReportImporter::Result result = h.importFile(path);
            QCOMPARE(result.status, ReportImporter::Result::Imported);
            QVERIFY2(h.prompter.log.isEmpty(), qPrintable(h.prompter.texts().join(u'\n')));
            QCOMPARE(result.regions, stats.regions);
            QCOMPARE(result.units, stats.units);
            QCOMPARE(h.count(QStringLiteral("regionen")), stats.regions);
            QCOMPARE(
                h.value(QStringLiteral("SELECT COUNT(*) FROM statistik WHERE \"Länge\" <> 5000"))
                    .toInt(),
                stats.landRegions);
            QCOMPARE(h.count(QStringLiteral("ebenen")), stats.levels);
            QCOMPARE(h.count(QStringLiteral("burgen")), stats.buildings);
            QCOMPARE(h.count(QStringLiteral("schiffe")), stats.ships);
            QCOMPARE(h.count(QStringLiteral("einheiten")), stats.units);
            QCOMPARE(h.count(QStringLiteral("parteien")), stats.factions);
            QCOMPARE(h.status(StatusField::Einheiten).toInt(), stats.ownUnits);
            const QStringList orders = h.session->orderTemplate().lines();
            QCOMPARE(orders.filter(QRegularExpression(QStringLiteral("^ EINHEIT "))).size(),
                stats.ownUnits);
            QCOMPARE(
                orders.filter(QRegularExpression(QStringLiteral("^    \\S"))).size(), stats.orders);
        }
    }

    void sizeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("bytes");
        QTest::newRow("plain") << "1000" << qint64(1000);
        QTest::newRow("k") << "512k" << qint64(512 * 1024);
        QTest::newRow("M") << "30M" << qint64(30 * 1024 * 1024);
        QTest::newRow("G") << "1G" << qint64(1024) * 1024 * 1024;
        QTest::newRow("empty") << "" << qint64(-1);
        QTest::newRow("letters") << "viel" << qint64(-1);
        QTest::newRow("negative") << "-5M" << qint64(-1);
    }
    void sizeText()
    {
        QFETCH(QString, text);
        QFETCH(qint64, bytes);
        QCOMPARE(ReportGenerator::parseSize(text), bytes);
    }
};

QTEST_GUILESS_MAIN(TestGenerator)
#include "test_generator.moc"
