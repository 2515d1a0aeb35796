#include "report/blocklines.h"
#include "reportgenerator.h"
#include "testsupport.h"

#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// What an import leaves behind that a player sees: the rows, the order template and
// the pages.
struct Imported
{
    ReportImporter::Result result;
    QStringList rows;
    QStringList orders;
    QList<QStringList> pages;
};

Imported importInto(ImportHarness &h, const QString &path)
{
    Imported i;
    i.result = h.importFile(path);
    i.rows = tableRows(h.ws.file(QStringLiteral("kalmora.sqlite")));
    i.orders = h.session->orderTemplate().lines();
    for (int p = 0; p < int(Page::Count); ++p)
        i.pages.append(h.page(Page(p)));
    return i;
}

Imported importBytes(const QString &game, const QByteArray &bytes)
{
    ImportHarness h(game);
    const QString path = h.ws.file(QStringLiteral("bericht.cr"));
    writeBytes(path, bytes);
    return importInto(h, path);
}

ReportGenerator::Options generated(
    const QString &game, ReportGenerator::Shape shape, quint64 seed, bool crlf, bool foreign)
{
    ReportGenerator::Options o;
    o.game = game == u"Kalmora" ? ReportGenerator::Game::Kalmora : ReportGenerator::Game::Sulvitan;
    o.shape = shape;
    o.targetBytes = 400000;
    o.seed = seed;
    o.crlf = crlf;
    o.foreign = foreign;
    return o;
}

const QStringList kForeignTags {QStringLiteral("RESOURCE"), QStringLiteral("EFFECTS"),
    QStringLiteral("MESSAGETYPE"), QStringLiteral("TRANSLATION"), QStringLiteral("GRUPPE"),
    QStringLiteral("KAMPFZAUBER"), QStringLiteral("ZAUBER"), QStringLiteral("TRANK"),
    QStringLiteral("ZUSATZ"), QStringLiteral("KOMMENTAR"), QStringLiteral("BORDER"),
    QStringLiteral("OPTION")};

} // namespace

// Reports of servers and clients carry blocks and keys that the import does not read.
// They are passed over wherever they stand: the import stores what it stores without
// them, and says what it skipped.
class TestWiderReports : public QObject
{
    Q_OBJECT
private slots:
    void lineRecognition_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("tag");
        QTest::newRow("region") << "REGION 3 -4"
                                << "REGION";
        QTest::newRow("region on a level") << "REGION 3 -4 1"
                                           << "REGION";
        QTest::newRow("plain tag") << "TRANSLATION"
                                   << "TRANSLATION";
        QTest::newRow("foreign with number") << "RESOURCE 1502"
                                             << "RESOURCE";
        QTest::newRow("message type") << "MESSAGETYPE 2097"
                                      << "MESSAGETYPE";
        QTest::newRow("ships that passed") << "DURCHSCHIFFUNG"
                                           << "DURCHSCHIFFUNG";
        QTest::newRow("known tag, damaged number") << "EINHEIT x1"
                                                   << "EINHEIT";
        QTest::newRow("foreign tag with a word") << "RESOURCE abc"
                                                 << "";
        QTest::newRow("translation entry") << "\"Bauern\";Bauern"
                                           << "";
        QTest::newRow("translated block name") << "\"REGION\";REGION"
                                               << "";
        QTest::newRow("client tag") << "1;ejcOrdersConfirmed"
                                    << "";
        QTest::newRow("quoted ship") << "\"Möwe (abc)\""
                                     << "";
        QTest::newRow("value with a capital key") << "1;AUSWERTUNG"
                                                  << "";
        QTest::newRow("text") << "Hallo Welt"
                              << "";
        QTest::newRow("capitals and words") << "OK so"
                                            << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("known tag with a key") << "REGION 1 2;x"
                                              << "";
    }
    void lineRecognition()
    {
        QFETCH(QString, line);
        QFETCH(QString, tag);
        QCOMPARE(blockTag(line).toString(), tag);
    }

    // A name or a description that holds a key's text sets nothing but itself.
    void keysAreMatchedWhole()
    {
        ImportHarness h;
        QStringList lines = reportHeader();
        lines << QStringLiteral("REGION 1 1") << QStringLiteral("\"Tal;Silber\";Name")
              << QStringLiteral("\"Ebene\";Terrain") << QStringLiteral("\"REGION 9 9\";Beschr")
              << QStringLiteral("700;Bauern") << QStringLiteral("12;Bauernhof")
              << QStringLiteral("EINHEIT 5") << QStringLiteral("\"Späher\";Name")
              << QStringLiteral("4711;Partei") << QStringLiteral("\"Gold;Anzahl\";Beschr")
              << QStringLiteral("3;Anzahl") << QStringLiteral("GEGENSTAENDE")
              << QStringLiteral("7;Silberling") << QStringLiteral("20;Silber");
        QCOMPARE(h.import(lines).status, ReportImporter::Result::Imported);
        QCOMPARE(h.value(QStringLiteral("SELECT \"Regionname\" FROM regionen")).toString(),
            QStringLiteral("Tal;Silber"));
        QCOMPARE(h.value(QStringLiteral("SELECT \"VermögenBauern\" FROM regionen")).toInt(), 0);
        QCOMPARE(h.value(QStringLiteral("SELECT \"Bauern\" FROM regionen")).toInt(), 700);
        QCOMPARE(h.value(QStringLiteral("SELECT \"Beschreibung\" FROM regionen")).toString(),
            QStringLiteral("REGION 9 9"));
        QCOMPARE(h.value(QStringLiteral("SELECT \"Personen\" FROM einheiten")).toInt(), 3);
        QCOMPARE(h.value(QStringLiteral("SELECT \"Silber\" FROM einheiten")).toInt(), 20);
        QVERIFY(h.value(QStringLiteral("SELECT \"Unbekannte Gegenstaende\" FROM einheiten"))
                    .toString()
                    .contains(QStringLiteral("*Silberling 7*")));
    }

    // Our own reports in both encodings with every construct, beside the same reports
    // without them.
    void fixtures_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("wide");
        QTest::addColumn<QString>("skipped");
        QTest::addColumn<QStringList>("shipsPassed");
        QTest::newRow("Kalmora, Windows-1252")
            << "Kalmora"
            << "reports/kalmora-klein.cr"
            << "reports/kalmora-weit.cr"
            << "Übersprungen: 3 EFFECTS, 3 RESOURCE, 2 MESSAGETYPE, 2 ZUSATZ, 1 BORDER, "
               "1 GRUPPE, 1 KAMPFZAUBER, 1 KOMMENTAR, 1 OPTION, 1 OPTIONEN, 1 TRANK, "
               "1 TRANSLATION, 1 ZAUBER"
            << QStringList {QStringLiteral("Schiffe, die durch Ozean (2/2) gesegelt sind:"),
                   QStringLiteral("\"Möwe (abc)\""), QStringLiteral("\"Kraken (3n9)\""), QString()};
        QTest::newRow("Sulvitan, UTF-8")
            << "Sulvitan"
            << "reports/sulvitan-klein.cr"
            << "reports/sulvitan-weit.cr"
            << "Übersprungen: 1 BORDER, 1 EFFECTS, 1 GRUPPE, 1 KAMPFZAUBER, 1 MESSAGETYPE, "
               "1 OPTION, 1 RESOURCE, 1 SPRUECHE, 1 TRANSLATION"
            << QStringList {QStringLiteral("Schiffe, die durch Lindenhain (0/0) gesegelt sind:"),
                   QStringLiteral("\"Möwe (88)\""), QString()};
    }
    void fixtures()
    {
        QFETCH(QString, game);
        QFETCH(QString, plain);
        QFETCH(QString, wide);
        QFETCH(QString, skipped);
        QFETCH(QStringList, shipsPassed);
        ImportHarness plainHarness(game);
        const Imported without = importInto(plainHarness, fixture(plain));
        ImportHarness wideHarness(game);
        const Imported with = importInto(wideHarness, fixture(wide));
        QCOMPARE(without.result.status, ReportImporter::Result::Imported);
        QCOMPARE(with.result.status, ReportImporter::Result::Imported);
        QCOMPARE(with.rows, without.rows);
        QCOMPARE(with.orders, without.orders);
        QCOMPARE(with.result.skipped, skipped);
        QCOMPARE(with.result.closingLines().value(1), skipped);

        const QStringList intelligence = with.pages[int(Page::Geheimdienstbericht)];
        const qsizetype at = intelligence.indexOf(shipsPassed.first());
        QVERIFY2(at >= 0, qPrintable(intelligence.join(u'\n')));
        QCOMPARE(intelligence.mid(at, shipsPassed.size()), shipsPassed);
        // Ships that passed are the only news on the pages, besides the alliance that
        // a group of the faction holds.
        for (Page p : {Page::Kaempfe, Page::Einkommen, Page::Handel, Page::Produktion,
                 Page::Bewegungen, Page::Einreisebericht, Page::Ereignisse})
            QCOMPARE(with.pages[int(p)], without.pages[int(p)]);
    }

    // The import's closing line on the command line names what it skipped.
    void commandLineNamesSkippedBlocks()
    {
        TempWorkspace ws;
        QString out, err;
        QCOMPARE(runCli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("import"),
                            QStringLiteral("--slot"), QStringLiteral("2"), QStringLiteral("--type"),
                            QStringLiteral("Sulvitan"),
                            fixture(QStringLiteral("reports/sulvitan-weit.cr"))},
                     &out, &err),
            0);
        const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith(QStringLiteral("Eingelesen: ")));
        QVERIFY(lines[1].startsWith(QStringLiteral("Übersprungen: 1 BORDER, 1 EFFECTS")));
    }

    // Foreign blocks and client keys at random block boundaries of generated reports
    // change nothing that the import stores or shows.
    void generatedWithForeignBlocks_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<ReportGenerator::Shape>("shape");
        QTest::addColumn<quint64>("seed");
        QTest::addColumn<bool>("crlf");
        using S = ReportGenerator::Shape;
        QTest::newRow("Kalmora standard") << "Kalmora" << S::Standard << quint64(1) << false;
        QTest::newRow("Kalmora standard CR LF") << "Kalmora" << S::Standard << quint64(2) << true;
        QTest::newRow("Kalmora dense") << "Kalmora" << S::DenseUnits << quint64(3) << false;
        QTest::newRow("Kalmora map") << "Kalmora" << S::MapHeavy << quint64(4) << false;
        QTest::newRow("Sulvitan standard") << "Sulvitan" << S::Standard << quint64(5) << false;
        QTest::newRow("Sulvitan dense CR LF") << "Sulvitan" << S::DenseUnits << quint64(6) << true;
        QTest::newRow("Sulvitan map") << "Sulvitan" << S::MapHeavy << quint64(7) << false;
    }
    void generatedWithForeignBlocks()
    {
        QFETCH(QString, game);
        QFETCH(ReportGenerator::Shape, shape);
        QFETCH(quint64, seed);
        QFETCH(bool, crlf);
        const QByteArray plainBytes
            = ReportGenerator(generated(game, shape, seed, crlf, false)).generate();
        const QByteArray foreignBytes
            = ReportGenerator(generated(game, shape, seed, crlf, true)).generate();
        QVERIFY(foreignBytes.size() > plainBytes.size());

        const Imported without = importBytes(game, plainBytes);
        const Imported with = importBytes(game, foreignBytes);
        QCOMPARE(without.result.status, ReportImporter::Result::Imported);
        QCOMPARE(with.result.status, ReportImporter::Result::Imported);
        QCOMPARE(with.result.regions, without.result.regions);
        QCOMPARE(with.result.units, without.result.units);
        QCOMPARE(with.rows.size(), without.rows.size());
        QCOMPARE(with.rows, without.rows);
        QCOMPARE(with.orders, without.orders);
        QCOMPARE(with.pages, without.pages);
        int named = 0;
        for (const QString &tag : kForeignTags)
            named += with.result.skipped.contains(u' ' + tag + u',')
                || with.result.skipped.endsWith(u' ' + tag);
        QVERIFY2(named >= 6, qPrintable(with.result.skipped));
    }
};

QTEST_GUILESS_MAIN(TestWiderReports)
#include "test_wider_reports.moc"
