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

    // A region's sub-blocks in another order, with foreign blocks between them, prices
    // by their keys in any order and spelling, headers ending in blanks and tabs, and a
    // word where a message's amount stands: the same rows, template and pages as the
    // same report in the rules' order.
    void subBlocksInAnyOrder_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("ordered");
        QTest::addColumn<QString>("mixed");
        QTest::newRow("Kalmora, Windows-1252") << "Kalmora"
                                               << "reports/kalmora-ordnung.cr"
                                               << "reports/kalmora-gemischt.cr";
        QTest::newRow("Sulvitan, UTF-8") << "Sulvitan"
                                         << "reports/sulvitan-ordnung.cr"
                                         << "reports/sulvitan-gemischt.cr";
    }
    void subBlocksInAnyOrder()
    {
        QFETCH(QString, game);
        QFETCH(QString, ordered);
        QFETCH(QString, mixed);
        ImportHarness orderedHarness(game);
        const Imported inOrder = importInto(orderedHarness, fixture(ordered));
        ImportHarness mixedHarness(game);
        const Imported shuffled = importInto(mixedHarness, fixture(mixed));
        QCOMPARE(inOrder.result.status, ReportImporter::Result::Imported);
        QCOMPARE(shuffled.result.status, ReportImporter::Result::Imported);
        QCOMPARE(shuffled.rows, inOrder.rows);
        QCOMPARE(shuffled.orders, inOrder.orders);
        QCOMPARE(shuffled.pages, inOrder.pages);
        QCOMPARE(inOrder.result.skipped, QString());
        QCOMPARE(shuffled.result.skipped, QStringLiteral("Übersprungen: 7 RESOURCE, 1 EFFECTS"));
        for (const Imported *i : {&inOrder, &shuffled})
            QCOMPARE(
                i->result.closingLines().last(), QStringLiteral("1 Wert ist keine Zahl: Zeile 22"));

        ImportHarness &h = mixedHarness;
        // The word adds nothing to the income; the numbers beside it do.
        QCOMPARE(h.status(StatusField::Gesamteinkommen), QStringLiteral("150 Silber"));
        const QString weidenau = QStringLiteral(
            " FROM regionen WHERE \"Breite\" = 1 AND \"Länge\" = 2 AND \"Ebene\" = 0");
        const QStringList prices {QStringLiteral("Balsam"), QStringLiteral("Gewuerz"),
            QStringLiteral("Juwel"), QStringLiteral("Myrrhe"), QStringLiteral("Oel"),
            QStringLiteral("Seide"), QStringLiteral("Weihrauch")};
        const QList<int> expected {12, -8, 40, 22, -15, 30, 18};
        for (int i = 0; i < prices.size(); ++i)
            QCOMPARE(h.value(QStringLiteral("SELECT \"") + prices[i] + u'"' + weidenau).toInt(),
                expected[i]);
        QCOMPARE(h.value(QStringLiteral("SELECT \"Strasse2\"") + weidenau).toInt(), 75);
        QCOMPARE(h.value(QStringLiteral("SELECT \"Strasse4\"") + weidenau).toInt(), 50);
        QCOMPARE(h.value(QStringLiteral("SELECT \"Umgebung\"") + weidenau).toString(),
            QStringLiteral("Die Bauern feiern ein Fest.\r\nEin Wolf streift umher.\r\n"
                           " Ein Bach fließt nach Osten.\x16\r\n"));
        QCOMPARE(h.value(QStringLiteral("SELECT \"Umgebung\" FROM regionen WHERE \"Breite\" = 2"))
                     .toString(),
            QStringLiteral("Seeschwalbe (25)\r\nEin Wal taucht auf.\r\n"));
        // Two goods, one without a field: the other prices of the new row stay empty.
        const QString swamp = QStringLiteral(" FROM regionen WHERE \"Ebene\" = 1");
        QCOMPARE(h.value(QStringLiteral("SELECT \"Juwel\"") + swamp).toInt(), 1);
        QVERIFY(h.value(QStringLiteral("SELECT \"Balsam\"") + swamp).isNull());

        const QStringList intelligence = h.page(Page::Geheimdienstbericht);
        QVERIFY(intelligence.contains(
            QStringLiteral("Unsere Leute in Weidenau (1/2) haben folgendes beobachtet:")));
        QVERIFY(intelligence.contains(QStringLiteral("\"Händlerzug (3n0)\"")));
        QVERIFY(intelligence.contains(QStringLiteral("\"Möwe (88)\"")));
        const QStringList messages = h.page(Page::Botschaften);
        QVERIFY(messages.contains(QStringLiteral("Ereignisse in Weidenau (1/2) :")));
        QVERIFY(messages.contains(QStringLiteral("    \"Wir grüßen unsere Nachbarn.\"")));
        QCOMPARE(h.count(QStringLiteral("einheiten")), 4);
    }

    // Lines that end in a carriage return before their line end (CR CR LF) read as
    // without it: the header is not cut short, no empty line appears.
    void carriageReturnBeforeLineEnd_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("Kalmora, Windows-1252, CR LF")
            << "Kalmora"
            << "reports/kalmora-klein.cr" << QByteArray("\r\n");
        QTest::newRow("Sulvitan, UTF-8, LF") << "Sulvitan"
                                             << "reports/sulvitan-klein.cr" << QByteArray("\n");
    }
    void carriageReturnBeforeLineEnd()
    {
        QFETCH(QString, game);
        QFETCH(QString, report);
        QFETCH(QByteArray, lineEnd);
        const QByteArray bytes = readBytes(fixture(report));
        QVERIFY(bytes.contains(lineEnd));
        ImportHarness plainHarness(game);
        const Imported plain = importInto(plainHarness, fixture(report));
        const Imported withCr = importBytes(game, QByteArray(bytes).replace(lineEnd, "\r\r\n"));
        QCOMPARE(withCr.result.status, ReportImporter::Result::Imported);
        QCOMPARE(withCr.rows, plain.rows);
        QCOMPARE(withCr.orders, plain.orders);
        QCOMPARE(withCr.pages, plain.pages);
        QCOMPARE(withCr.result.skipped, plain.result.skipped);
    }

    // A price block that names a single good leaves the other prices of a stored row
    // as they were.
    void pricesNotNamedAreKept()
    {
        ImportHarness h;
        const QStringList region {QStringLiteral("REGION 1 1"), QStringLiteral("\"Au\";Name"),
            QStringLiteral("\"Ebene\";Terrain"), QStringLiteral("PREISE")};
        QCOMPARE(h.import(reportHeader() + region
                      + QStringList {QStringLiteral("7;Balsam"), QStringLiteral("8;Gewuerz"),
                          QStringLiteral("9;Juwel"), QStringLiteral("10;Myrrhe"),
                          QStringLiteral("11;Oel"), QStringLiteral("12;Seide"),
                          QStringLiteral("13;Weihrauch")})
                     .status,
            ReportImporter::Result::Imported);
        QCOMPARE(h.import(reportHeader(QStringLiteral("Kalmora"), 41) + region
                      + QStringList {QStringLiteral("1;Schneekristall"), QStringLiteral("3;Öl")})
                     .status,
            ReportImporter::Result::Imported);
        QCOMPARE(h.value(QStringLiteral("SELECT \"Oel\" FROM regionen")).toInt(), 3);
        QCOMPARE(h.value(QStringLiteral("SELECT \"Balsam\" FROM regionen")).toInt(), 7);
        QCOMPARE(h.value(QStringLiteral("SELECT \"Weihrauch\" FROM regionen")).toInt(), 13);
    }

    // Header lines that clients leave when they merge reports: read as their rules say
    // (nothing lost, nothing named as skipped), or the report is refused with the file
    // and the line, leaving the database empty.
    void strayHeaderLines_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QStringList>("before"); // lines before the first region
        QTest::addColumn<QStringList>("between"); // lines between the two regions
        QTest::addColumn<int>("refusedAtLine"); // 0: imported
        const QStringList header = reportHeader();
        const QStringList strayVersion = QStringList(header.mid(0, 5))
            << QStringLiteral("VERSION 42") << header.mid(5);
        const QStringList otherVersion = QStringList(header.mid(0, 5))
            << QStringLiteral("VERSION 43") << header.mid(5);
        const QStringList shortFaction {
            QStringLiteral("PARTEI 77"), QStringLiteral("\"Fremde Händler\";Parteiname")};
        const QStringList factionHeader {QStringLiteral("PARTEI 77"),
            QStringLiteral("\"geheim\";Passwort"), QStringLiteral("\"Fremde\";Parteiname")};
        for (TextEncoding e : {TextEncoding::Utf8, TextEncoding::Windows1252}) {
            const char *name = e == TextEncoding::Utf8 ? "UTF-8" : "Windows-1252";
            const int enc = int(e);
            QTest::addRow("second version line before the faction, %s", name)
                << enc << strayVersion << QStringList() << 0;
            QTest::addRow("faction block before the first region, %s", name)
                << enc << header + shortFaction << QStringList() << 0;
            QTest::addRow("faction block between regions, %s", name)
                << enc << header << shortFaction << 0;
            QTest::addRow("second version line between regions, %s", name)
                << enc << header << QStringList {QStringLiteral("VERSION 42")} << 0;
            QTest::addRow("another version in the header, %s", name)
                << enc << otherVersion << QStringList() << 6;
            QTest::addRow("faction header before the first region, %s", name)
                << enc << header + factionHeader << QStringList() << 15;
            QTest::addRow("faction header between regions, %s", name)
                << enc << header << factionHeader << 30;
        }
    }
    void strayHeaderLines()
    {
        QFETCH(int, encoding);
        QFETCH(QStringList, before);
        QFETCH(QStringList, between);
        QFETCH(int, refusedAtLine);
        const QStringList first {QStringLiteral("REGION 1 1"), QStringLiteral("\"Au\";Name"),
            QStringLiteral("\"Ebene\";Terrain"), QStringLiteral("EINHEIT 10"),
            QStringLiteral("\"Hüter\";Name"), QStringLiteral("4711;Partei"),
            QStringLiteral("2;Anzahl"), QStringLiteral("TALENTE"),
            QStringLiteral("90 2;Holzfällen"), QStringLiteral("GEGENSTAENDE"),
            QStringLiteral("300;Silber"), QStringLiteral("EINHEIT 11"),
            QStringLiteral("\"Träger\";Name"), QStringLiteral("4711;Partei"),
            QStringLiteral("1;Anzahl")};
        const QStringList second {QStringLiteral("REGION 2 1"), QStringLiteral("\"Bach\";Name"),
            QStringLiteral("EINHEIT 12"), QStringLiteral("\"Wache\";Name"),
            QStringLiteral("4711;Partei"), QStringLiteral("GEGENSTAENDE"),
            QStringLiteral("40;Silber")};
        const TextEncoding enc = TextEncoding(encoding);

        ImportHarness plain;
        QCOMPARE(plain.import(reportHeader() + first + second, enc).status,
            ReportImporter::Result::Imported);
        ImportHarness h;
        const ReportImporter::Result result = h.import(before + first + between + second, enc);
        if (refusedAtLine > 0) {
            QCOMPARE(result.status, ReportImporter::Result::Failed);
            QVERIFY2(
                result.message.contains(QStringLiteral("report1.cr, Zeile %1:").arg(refusedAtLine)),
                qPrintable(result.message));
            QCOMPARE(h.count(QStringLiteral("regionen")), 0);
            QCOMPARE(h.count(QStringLiteral("einheiten")), 0);
            return;
        }
        QCOMPARE(result.status, ReportImporter::Result::Imported);
        QCOMPARE(result.regions, 2);
        QCOMPARE(result.units, 3);
        QCOMPARE(result.skipped, QString());
        QCOMPARE(h.status(StatusField::Silber), plain.status(StatusField::Silber));
        QCOMPARE(h.session->orderTemplate().lines(), plain.session->orderTemplate().lines());
        const QString units = QStringLiteral(
            "SELECT group_concat(\"Einheit Nr\" || ':' || \"Holzfällen\" || ':' || \"Silber\" || "
            "':' || \"Einheit Position\") FROM einheiten");
        QCOMPARE(h.value(units), plain.value(units));
        if (before.contains(QStringLiteral("PARTEI 77"))
            || between.contains(QStringLiteral("PARTEI 77")))
            QCOMPARE(h.value(QStringLiteral(
                                 "SELECT \"Partei Name\" FROM parteien WHERE \"Partei Nr\" = 77"))
                         .toString(),
                QStringLiteral("Fremde Händler"));
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
        // The region's sub-blocks in another order are read where they stand, and the
        // words in message amounts are named.
        for (const char *tag : {"PREISE", "GRENZE", "UMGEBUNG", "DURCHREISE", "MESSAGE",
                 "REGIONSEREIGNISSE", "REGIONSBOTSCHAFTEN"})
            QVERIFY2(!with.result.skipped.contains(u' ' + QLatin1String(tag) + u',')
                    && !with.result.skipped.endsWith(u' ' + QLatin1String(tag)),
                qPrintable(with.result.skipped));
        QVERIFY2(with.result.wordValues.contains(QStringLiteral(" keine Zahl: Zeile")),
            qPrintable(with.result.wordValues));
        QCOMPARE(without.result.wordValues, QString());
    }
};

QTEST_GUILESS_MAIN(TestWiderReports)
#include "test_wider_reports.moc"
