#include "base/textfile.h"
#include "report/importprogress.h"
#include "report/messagerules.h"
#include "testsupport.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

const QString kVersionQuestion = QStringLiteral(
    "Der CR ist neuer oder älter als die letzten unterstützten CR (CR34-CR45). Trotzdem einlesen "
    "(Auch wenn es "
    "sehr wahrscheinlich kein groesseres Problem geben wird sollte in jedem Fall ein Backup des "
    "Databaseverzeichnis gemacht werden)?");

QStringList message(int type, const QString &text, int amount = -1)
{
    QStringList lines {QStringLiteral("MESSAGE 1"), QStringLiteral("%1;type").arg(type),
        QStringLiteral("\"%1\";rendered").arg(text)};
    if (amount >= 0)
        lines.append(QStringLiteral("%1;amount").arg(amount));
    return lines;
}

QStringList region(int x, int y, const QString &name)
{
    return {QStringLiteral("REGION %1 %2").arg(x).arg(y), QStringLiteral("\"%1\";Name").arg(name),
        QStringLiteral("\"Ebene\";Terrain"), QStringLiteral("1000;Bauern")};
}

} // namespace

class TestImportDriver : public QObject
{
    Q_OBJECT
private slots:
    void versionQuestion_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("asks");
        QTest::newRow("33") << 33 << true;
        QTest::newRow("34") << 34 << false;
        QTest::newRow("45") << 45 << false;
        QTest::newRow("46") << 46 << true;
    }
    void versionQuestion()
    {
        QFETCH(int, version);
        QFETCH(bool, asks);
        ImportHarness h;
        h.prompter.defaultYes = false;
        const auto result
            = h.import(reportHeader(QStringLiteral("Kalmora"), 40, 4711, 36, version));
        QCOMPARE(h.prompter.hasText(kVersionQuestion), asks);
        QCOMPARE(result.status,
            asks ? ReportImporter::Result::Refused : ReportImporter::Result::Imported);
        if (asks)
            QCOMPARE(h.count(QStringLiteral("parteien")), 0);
    }

    void versionQuestionYesImports()
    {
        ImportHarness h;
        h.prompter.yesNoAnswers.enqueue(true);
        QCOMPARE(h.import(reportHeader(QStringLiteral("Kalmora"), 40, 4711, 36, 57)).status,
            ReportImporter::Result::Imported);
    }

    void dateFromTurn_data()
    {
        QTest::addColumn<int>("turn");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("12") << 12 << 112 << "Dezember im Jahre 1";
        QTest::newRow("13") << 13 << 201 << "Januar im Jahre 2";
        QTest::newRow("25") << 25 << 301 << "Januar im Jahre 3";
    }
    void dateFromTurn()
    {
        QFETCH(int, turn);
        QFETCH(int, code);
        QFETCH(QString, text);
        ImportHarness h;
        QCOMPARE(h.import(reportHeader(QStringLiteral("Kalmora"), turn)).status,
            ReportImporter::Result::Imported);
        QCOMPARE(h.status(StatusField::Datum), text);
        QCOMPARE(h.session->game().newestTurn, code);
        QCOMPARE(h.value(QStringLiteral("SELECT Datum FROM parteien WHERE \"Partei Nr\" = 4711"))
                     .toInt(),
            code);
    }

    void headerValues()
    {
        ImportHarness h;
        h.import(reportHeader());
        QCOMPARE(h.status(StatusField::Punkte), QStringLiteral("100"));
        QCOMPARE(h.status(StatusField::PunkteMittel), QStringLiteral("80"));
        QCOMPARE(h.status(StatusField::ParteiName), QStringLiteral("Die Prüfer"));
        QCOMPARE(h.status(StatusField::Imigranten), QStringLiteral("3"));
        QCOMPARE(h.status(StatusField::MaxImigranten), QStringLiteral("9"));
        QCOMPARE(h.session->game().factionNumber, 4711);
        QCOMPARE(h.session->game().factionName, QStringLiteral("Die Prüfer"));
        // The configuration keeps what the import learned.
        const Configuration c = h.ws.config();
        QCOMPARE(c.line(1, Configuration::FactionNumber), QStringLiteral("4711"));
        QCOMPARE(c.line(1, Configuration::NewestTurn), QStringLiteral("404"));
        QCOMPARE(c.line(1, Configuration::GameTypeText), QStringLiteral("Kalmora"));
    }

    void wrongGameTypeIsRefusedBeforeAnyWrite()
    {
        ImportHarness h(QStringLiteral("Sulvitan"));
        const QByteArray before = readBytes(h.ws.file(QStringLiteral("kalmora.sqlite")));
        QStringList lines = reportHeader(QStringLiteral("Kalmora"));
        lines += region(1, 1, QStringLiteral("Irgendwo"));
        const auto result = h.import(lines);
        QCOMPARE(result.status, ReportImporter::Result::Refused);
        QVERIFY(h.prompter.hasText(
            QStringLiteral("Tolvimar wurde nicht mit dem Spieltyp des CR initialisiert. "
                           "Bitte beenden und neustarten um diesen CR zu lesen.")));
        QCOMPARE(readBytes(h.ws.file(QStringLiteral("kalmora.sqlite"))), before);
        QCOMPARE(h.count(QStringLiteral("regionen")), 0);
    }

    void messageRouting_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("inBattle");
        QTest::addColumn<int>("page");
        QTest::newRow("trade") << 364 << "x" << false << int(Page::Handel);
        QTest::newRow("income") << 2097 << "x" << false << int(Page::Einkommen);
        QTest::newRow("income 11929") << 11929 << "x" << false << int(Page::Einkommen);
        QTest::newRow("battle") << 9173 << "x" << false << int(Page::Kaempfe);
        QTest::newRow("movement") << 2420 << "x" << false << int(Page::Bewegungen);
        QTest::newRow("event") << 4323 << "x" << false << int(Page::Ereignisse);
        QTest::newRow("production") << 21740 << "x" << false << int(Page::Produktion);
        QTest::newRow("4419 rides in battle")
            << 4419 << "A reitet nach B" << true << int(Page::Bewegungen);
        QTest::newRow("4419 sails") << 4419 << "A segelt nach B" << false << int(Page::Bewegungen);
        QTest::newRow("4419 before battle")
            << 4419 << "A stirbt" << false << int(Page::Botschaften);
        QTest::newRow("4419 after battle") << 4419 << "A stirbt" << true << int(Page::Kaempfe);
        QTest::newRow("other") << 1 << "x" << true << int(Page::Botschaften);
    }
    void messageRouting()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(bool, inBattle);
        QFETCH(int, page);
        QCOMPARE(messageDestination(type, text, inBattle), page);
    }

    void messagesBeforeAndAfterBattle()
    {
        // From version 43 on a Kalmora import keeps the total of the income messages.
        ImportHarness h;
        QStringList lines = reportHeader(QStringLiteral("Kalmora"), 40, 4711, 36, 43);
        lines += message(4419, QStringLiteral("Wachen greifen an"));
        lines += message(2097, QStringLiteral("verdient 120 Silber"), 120);
        lines += message(2097, QStringLiteral("verdient 30 Silber"), 30);
        lines += message(11929, QStringLiteral("Spende 500"), 500);
        lines += QStringLiteral("BATTLE 3 4");
        lines += message(4419, QStringLiteral("Wachen fallen"));
        lines += message(4419, QStringLiteral("Reiter reitet heim"));
        QCOMPARE(h.import(lines).status, ReportImporter::Result::Imported);
        QCOMPARE(h.page(Page::Botschaften), QStringList {QStringLiteral("Wachen greifen an")});
        QCOMPARE(h.page(Page::Kaempfe),
            (QStringList {QString(), QString(), QStringLiteral("Kampf in Region:  3 4 !"),
                QString(), QStringLiteral("Wachen fallen")}));
        QVERIFY(h.session->pages().kaempfeRed);
        QCOMPARE(h.page(Page::Bewegungen), QStringList {QStringLiteral("Reiter reitet heim")});
        // Game 1 keeps the total as the last income item.
        QCOMPARE(h.page(Page::Einkommen).size(), 4);
        QCOMPARE(h.page(Page::Einkommen).last(), QStringLiteral("zzzz150"));
        QCOMPARE(h.status(StatusField::Gesamteinkommen), QStringLiteral("150"));
    }

    void plainSections()
    {
        ImportHarness h;
        QStringList lines = reportHeader();
        lines << QStringLiteral("FEHLER") << QStringLiteral("x\"Befehl unbekannt\"")
              << QStringLiteral("WARNUNGEN") << QStringLiteral("x\"Hunger droht\"")
              << QStringLiteral("MELDUNGEN") << QStringLiteral("x\"Ein Gerücht\"")
              << QStringLiteral("EREIGNISSE") << QStringLiteral("x\"Orks vermehren sich\"")
              << QStringLiteral("x\"Es regnet\"") << QStringLiteral("EINKOMMEN")
              << QStringLiteral("x\"Zins\"") << QStringLiteral("KAEMPFE")
              << QStringLiteral("x\"Schlacht\"");
        h.import(lines);
        QCOMPARE(h.page(Page::Botschaften),
            (QStringList {QStringLiteral("Fehler:"), QString(), QStringLiteral("Befehl unbekannt"),
                QString(), QStringLiteral("Warnungen:"), QString(), QStringLiteral("Hunger droht"),
                QString(), QStringLiteral("Meldungen:"), QString(), QStringLiteral("Ein Gerücht"),
                QString()}));
        QCOMPARE(h.page(Page::Ereignisse),
            (QStringList {QStringLiteral("Orks vermehren sich"), QStringLiteral("Es regnet")}));
        QCOMPARE(h.page(Page::Einkommen),
            (QStringList {QStringLiteral("Zins"), QStringLiteral("zzzz0 Silber")}));
        QCOMPARE(h.page(Page::Kaempfe), QStringList {QStringLiteral("Schlacht")});
        QVERIFY(h.session->pages().kaempfeRed);
    }

    void alliancesAndAddresses()
    {
        ImportHarness h;
        QStringList lines = reportHeader();
        lines << QStringLiteral("ALLIIERTE") << QStringLiteral("11;Partei")
              << QStringLiteral("\"Freunde\";Parteiname") << QStringLiteral("27;Status")
              << QStringLiteral("12;Partei") << QStringLiteral("\"Neutrale\";Parteiname")
              << QStringLiteral("9;Status") << QStringLiteral("ADRESSEN")
              << QStringLiteral("11;Partei") << QStringLiteral("\"Freunde\";Parteiname")
              << QStringLiteral("\"f@example.org\";email") << QStringLiteral("\"Hoch lebe\";banner")
              << QStringLiteral("12;Partei") << QStringLiteral("\"Neutrale\";Parteiname")
              << QStringLiteral("\"n@example.org\";email") << QStringLiteral("ALLIANZ 13")
              << QStringLiteral("\"Bund\";Parteiname") << QStringLiteral("8;Status");
        h.import(lines);
        QCOMPARE(h.page(Page::Buendnisse),
            (QStringList {
                QStringLiteral("Freunde = Helfe Alles"), QStringLiteral("Bund = Helfe Gib")}));
        QCOMPARE(h.value(QStringLiteral("SELECT Banner FROM parteien WHERE \"Partei Nr\" = 11"))
                     .toString(),
            QStringLiteral("Hoch lebe"));
        QCOMPARE(h.value(QStringLiteral("SELECT \"E-Mail\" FROM parteien WHERE \"Partei Nr\" = 12"))
                     .toString(),
            QStringLiteral("n@example.org"));
        QVERIFY(h.value(QStringLiteral("SELECT Banner FROM parteien WHERE \"Partei Nr\" = 12"))
                    .isNull());
    }

    void battleMarksKnownRegionOnly()
    {
        ImportHarness h;
        QStringList first = reportHeader(QStringLiteral("Kalmora"), 39);
        first += region(3, 4, QStringLiteral("Kampfplatz"));
        h.import(first);
        const QByteArray regionsBefore
            = h.value(QStringLiteral("SELECT group_concat(Umgebung) FROM regionen")).toByteArray();
        QStringList second = reportHeader(QStringLiteral("Kalmora"), 40);
        second << QStringLiteral("BATTLE 8 9");
        h.import(second);
        QCOMPARE(
            h.value(QStringLiteral("SELECT group_concat(Umgebung) FROM regionen")).toByteArray(),
            regionsBefore);
        QStringList third = reportHeader(QStringLiteral("Kalmora"), 40);
        third << QStringLiteral("BATTLE 3 4");
        h.import(third);
        QCOMPARE(
            h.value(QStringLiteral("SELECT Umgebung FROM regionen WHERE Breite = 3")).toString(),
            QStringLiteral("Kampf in Runde 404"));
    }

    void templateHead_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("faction");
        QTest::newRow("Kalmora base 36") << "Kalmora"
                                         << "3mv";
        QTest::newRow("Sulvitan decimal") << "Sulvitan"
                                          << "4711";
    }
    void templateHead()
    {
        QFETCH(QString, game);
        QFETCH(QString, faction);
        ImportHarness h(game);
        h.import(reportHeader(game, 40, 4711, game == u"Kalmora" ? 36 : 10));
        const QStringList lines = h.session->orderTemplate().lines();
        QCOMPARE(lines,
            (QStringList {QStringLiteral(" PARTEI ") + faction + QStringLiteral(" \"geheim\""),
                QString(), QStringLiteral(" ; ZORBEK -l -w4 -r50"), QString(),
                QStringLiteral(" NAECHSTER"), QString()}));
        QVERIFY(h.session->orderTemplate().isSaved());
        // Every import leaves the order file.
        QVERIFY(QFileInfo::exists(h.ws.file(QStringLiteral("spiel1/Zug-Spiel1-4-April.txt"))));
    }

    void badNumberRollsBackEverything()
    {
        ImportHarness h;
        QStringList good = reportHeader(QStringLiteral("Kalmora"), 39);
        good += region(1, 1, QStringLiteral("Alt"));
        good += message(2097, QStringLiteral("verdient 5 Silber"), 5);
        h.import(good);
        const QByteArray dbBefore = readBytes(h.ws.file(QStringLiteral("kalmora.sqlite")));
        const QStringList templateBefore = h.session->orderTemplate().lines();
        const QStringList incomeBefore = h.page(Page::Einkommen);
        const qint64 turnBefore = h.session->game().newestTurn;

        QStringList bad = reportHeader(QStringLiteral("Kalmora"), 40);
        bad += region(1, 1, QStringLiteral("Neu"));
        bad += region(2, 2, QStringLiteral("Neu2"));
        bad << QStringLiteral("1x0;Bauern");
        const auto result = h.import(bad);
        QCOMPARE(result.status, ReportImporter::Result::Failed);
        const int badLine = bad.size(); // the last line, counted from 1
        QVERIFY2(result.message.contains(QStringLiteral("Zeile %1").arg(badLine)),
            qPrintable(result.message));
        QVERIFY(result.message.contains(QStringLiteral("1x0")));
        QVERIFY(result.message.contains(QStringLiteral("report2.cr")));
        QCOMPARE(h.prompter.log.last().text, result.message);
        QCOMPARE(readBytes(h.ws.file(QStringLiteral("kalmora.sqlite"))), dbBefore);
        QCOMPARE(h.session->orderTemplate().lines(), templateBefore);
        QCOMPARE(h.page(Page::Einkommen), incomeBefore);
        QCOMPARE(h.session->game().newestTurn, turnBefore);
    }

    // What the window shows survives an import that does not go through: pages with
    // text beyond Latin-1, the battle colour and an edited, unsaved template.
    void importThatDoesNotGoThroughKeepsPagesAndEditedTemplate_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<bool>("badNumber");
        QTest::addColumn<int>("expected");
        QTest::newRow("bad number") << "Kalmora" << true << int(ReportImporter::Result::Failed);
        QTest::newRow("other game type")
            << "Sulvitan" << false << int(ReportImporter::Result::Refused);
    }

    void importThatDoesNotGoThroughKeepsPagesAndEditedTemplate()
    {
        QFETCH(QString, game);
        QFETCH(bool, badNumber);
        QFETCH(int, expected);
        ImportHarness h;
        QStringList good = reportHeader(QStringLiteral("Kalmora"), 39);
        good += region(1, 1, QStringLiteral("Alt"));
        good += message(2097, QStringLiteral("verdient 5 Silber"), 5);
        QCOMPARE(h.import(good).status, ReportImporter::Result::Imported);

        ReportPages pages = h.session->pages();
        pages[Page::Meldungen] = QStringList {QStringLiteral("Grüße"), QString(),
            QStringLiteral("5 € für \u201eHandel\u201c"), QStringLiteral("Drache \U0001F409")};
        pages[Page::Einreisebericht] = QStringList {QStringLiteral("Einreise: Öde Küste")};
        pages.kaempfeRed = true;
        h.session->setPages(pages);
        const QString edited = QStringLiteral("; bearbeitet \u2013 nicht gespeichert\n\n"
                                              "EINHEIT abc\nLERNE Magie");
        QTextCursor typed(h.session->orderTemplate().document().textDocument());
        typed.select(QTextCursor::Document);
        typed.insertText(edited);
        const QStringList templateBefore = h.session->orderTemplate().lines();

        QStringList next = reportHeader(game, 40);
        next += region(2, 2, QStringLiteral("Neu"));
        if (badNumber)
            next << QStringLiteral("1x0;Bauern");
        QCOMPARE(int(h.import(next).status), expected);

        for (int p = 0; p < int(Page::Count); ++p)
            QCOMPARE(h.session->pages().lines[p], pages.lines[p]);
        QVERIFY(h.session->pages().kaempfeRed);
        QCOMPARE(h.session->orderTemplate().lines(), templateBefore);
        QCOMPARE(h.session->orderTemplate().text(), edited);
        QVERIFY(!h.session->orderTemplate().isSaved());
    }

    void mapOnlyReportKeepsGameValues()
    {
        ImportHarness h;
        h.import(reportHeader());
        QStringList mapOnly {QStringLiteral("VERSION 42"), QStringLiteral("\"Kalmora\";Spiel"),
            QStringLiteral("41;Runde")};
        mapOnly += region(5, 6, QStringLiteral("Fremdland"));
        mapOnly << QStringLiteral("RESSOURCE 1") << QStringLiteral("\"Holz\";type")
                << QStringLiteral("5;number");
        mapOnly += region(7, 8, QStringLiteral("Weitland"));
        QCOMPARE(h.import(mapOnly).status, ReportImporter::Result::Imported);
        QCOMPARE(
            h.value(QStringLiteral("SELECT COUNT(*) FROM regionen WHERE Breite IN (5, 7)")).toInt(),
            2);
        QCOMPARE(h.session->game().factionNumber, 4711);
        QCOMPARE(h.session->game().factionName, QStringLiteral("Die Prüfer"));
        QCOMPARE(h.session->game().base, 36);

        // Without any header line the first region is still read.
        QStringList bare {QStringLiteral("VERSION 42")};
        bare += region(9, 9, QStringLiteral("Nackt"));
        QCOMPARE(h.import(bare).status, ReportImporter::Result::Imported);
        QCOMPARE(
            h.value(QStringLiteral("SELECT Regionname FROM regionen WHERE Breite = 9")).toString(),
            QStringLiteral("Nackt"));
    }

    void noRegionsEndsAtLastLine()
    {
        ImportHarness h;
        const auto result
            = h.import(reportHeader() << QStringLiteral("MESSAGE 5") << QStringLiteral("1;type"));
        QCOMPARE(result.status, ReportImporter::Result::Imported);
        QCOMPARE(result.regions, 0);
    }

    void umlautsSurviveBothEncodings_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::newRow("utf-8") << int(TextEncoding::Utf8);
        QTest::newRow("windows-1252") << int(TextEncoding::Windows1252);
    }
    void umlautsSurviveBothEncodings()
    {
        QFETCH(int, encoding);
        ImportHarness h;
        QStringList lines = reportHeader();
        lines += message(2420, QStringLiteral("Bär läuft über Öd"));
        lines += region(1, 2, QStringLiteral("Grünwaldß"));
        lines << QStringLiteral("EINHEIT 77") << QStringLiteral("\"Späher\";Name")
              << QStringLiteral("4711;Partei") << QStringLiteral("COMMANDS")
              << QStringLiteral("\"LERNE Wahrnehmung ; für Übung\"");
        QCOMPARE(h.import(lines, TextEncoding(encoding)).status, ReportImporter::Result::Imported);
        QCOMPARE(h.page(Page::Bewegungen).value(0), QStringLiteral("Bär läuft über Öd"));
        QCOMPARE(h.value(QStringLiteral("SELECT Regionname FROM regionen")).toString(),
            QStringLiteral("Grünwaldß"));
        QCOMPARE(h.status(StatusField::ParteiName), QStringLiteral("Die Prüfer"));
        QVERIFY(h.session->orderTemplate().text().contains(QStringLiteral("für Übung")));
        // The order file is written in the report's encoding.
        const QByteArray file
            = readBytes(h.ws.file(QStringLiteral("spiel1/Zug-Spiel1-4-April.txt")));
        QCOMPARE(decodeText(file),
            h.session->orderTemplate().lines().join(QStringLiteral("\r\n"))
                + QStringLiteral("\r\n"));
        QCOMPARE(file.contains(encodeText(u"Grünwaldß", TextEncoding(encoding))), true);
        QVERIFY(file.contains("\r\n"));
    }

    void unknownBlocksAreSkipped()
    {
        ImportHarness h;
        QStringList lines = reportHeader(QStringLiteral("Kalmora"), 40, 4711, 36, 67);
        lines << QStringLiteral("EFFECTS") << QStringLiteral("\"Nebel\"")
              << QStringLiteral("ISLAND 3") << QStringLiteral("\"Insel\";Name");
        lines += region(1, 1, QStringLiteral("Eins"));
        lines << QStringLiteral("RESOURCE 12") << QStringLiteral("\"Eisen\";type")
              << QStringLiteral("7;skill") << QStringLiteral("EFFECTS")
              << QStringLiteral("\"Dunkelheit\"");
        h.prompter.defaultYes = true;
        const auto result = h.import(lines);
        QCOMPARE(result.status, ReportImporter::Result::Imported);
        QCOMPARE(result.regions, 1);
    }

    void cancelledFileDialogChangesNothing()
    {
        ImportHarness h;
        ImportProgress progress;
        const auto result = ReportImporter(*h.session, progress).chooseAndImport();
        QCOMPARE(result.status, ReportImporter::Result::Cancelled);
        QCOMPARE(h.prompter.fileCaptions.size(), 1);
        QVERIFY(h.prompter.log.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestImportDriver)
#include "test_import_driver.moc"
