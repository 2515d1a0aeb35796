#include "base/textfile.h"
#include "reportgenerator.h"
#include "testsupport.h"

#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

ReportGenerator::Options options(const QString &game, qint64 size, quint64 seed, bool crlf)
{
    ReportGenerator::Options o;
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
