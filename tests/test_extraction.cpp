#include "testsupport.h"

#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

QStringList land(const QString &header, const QString &name, const QStringList &extra = {})
{
    QStringList lines {header};
    if (!name.isEmpty())
        lines << QStringLiteral("\"%1\";Name").arg(name);
    lines << QStringLiteral("\"Wald\";Terrain") << QStringLiteral("500;Bauern")
          << QStringLiteral("14;Lohn");
    return lines + extra;
}

QStringList unit(int number, const QString &name, int faction, const QStringList &extra = {})
{
    return QStringList {QStringLiteral("EINHEIT %1").arg(number),
               QStringLiteral("\"%1\";Name").arg(name), QStringLiteral("%1;Partei").arg(faction),
               QStringLiteral("5;Anzahl")}
    + extra;
}

QVariant unitField(ImportHarness &h, int number, const QString &field)
{
    return h.value(
        QStringLiteral("SELECT \"%1\" FROM einheiten WHERE \"Einheit Nr\" = ?").arg(field),
        {number});
}

QVariant regionField(ImportHarness &h, int x, int y, const QString &field)
{
    return h.value(
        QStringLiteral("SELECT \"%1\" FROM regionen WHERE Breite = ? AND \"Länge\" = ?").arg(field),
        {x, y});
}

QVariant shipField(ImportHarness &h, int number, const QString &field)
{
    return h.value(
        QStringLiteral("SELECT \"%1\" FROM schiffe WHERE \"Schiffs Nr\" = ?").arg(field), {number});
}

QStringList templateLines(ImportHarness &h)
{
    return h.session->orderTemplate().lines();
}

} // namespace

class TestExtraction : public QObject
{
    Q_OBJECT
private slots:
    void regionHeaderWithAndWithoutLevel()
    {
        ImportHarness h;
        QStringList lines = reportHeader();
        lines += land(QStringLiteral("REGION 3 -4"), QStringLiteral("Flach"));
        lines += unit(1, QStringLiteral("Hier"), 4711);
        lines += land(QStringLiteral("REGION 3 -4 1"), QStringLiteral("Tief"));
        lines += unit(2, QStringLiteral("Unten"), 4711);
        QCOMPARE(h.import(lines).status, ReportImporter::Result::Imported);
        QCOMPARE(h.value(QStringLiteral("SELECT Ebene FROM regionen WHERE Regionname = 'Flach'"))
                     .toInt(),
            0);
        QCOMPARE(
            h.value(QStringLiteral("SELECT Ebene FROM regionen WHERE Regionname = 'Tief'")).toInt(),
            1);
        QCOMPARE(
            unitField(h, 1, QStringLiteral("Einheit Position")).toString(), QStringLiteral("3/-4"));
        QCOMPARE(unitField(h, 2, QStringLiteral("Einheit Position")).toString(),
            QStringLiteral("3/-4/1"));
        QCOMPARE(h.count(QStringLiteral("ebenen")), 1);
        QCOMPARE(h.value(QStringLiteral("SELECT Name FROM ebenen WHERE Ebene = 1")).toString(),
            QStringLiteral("unbekannt"));
        QVERIFY(h.page(Page::Einreisebericht)
                    .contains(QStringLiteral("Einreisebericht für Tief (3/-4/1) :")));
        // Template region lines leave the level out while level 0 is shown.
        QVERIFY(templateLines(h).contains(QStringLiteral(" REGION 3,-4 ; Tief")));
    }

    void oceanRegion()
    {
        ImportHarness h;
        QStringList lines = reportHeader();
        lines << QStringLiteral("REGION 7 7") << QStringLiteral("\"Ozean\";Terrain")
              << QStringLiteral("DURCHREISE") << QStringLiteral("\"Seefahrer (abc)\"")
              << QStringLiteral("\"Wal (def)\"");
        lines += land(QStringLiteral("REGION 8 8"), QString());
        h.import(lines);
        QCOMPARE(
            regionField(h, 7, 7, QStringLiteral("Regionname")).toString(), QStringLiteral("Ozean"));
        QCOMPARE(regionField(h, 7, 7, QStringLiteral("Umgebung")).toString(),
            QStringLiteral("Seefahrer (abc)\r\nWal (def)\r\n"));
        QCOMPARE(h.page(Page::Geheimdienstbericht),
            (QStringList {QStringLiteral("Unsere Leute in Ozean (7/7) haben folgendes beobachtet:"),
                QStringLiteral("\"Seefahrer (abc)\""), QStringLiteral("\"Wal (def)\""),
                QString()}));
        QCOMPARE(
            h.value(QStringLiteral("SELECT COUNT(*) FROM statistik WHERE Breite = 7")).toInt(), 0);
        QVERIFY(!h.page(Page::Einreisebericht).join(u'\n').contains(QStringLiteral("Ozean")));
        // A new land region without a name is called "Ozean" as well.
        QCOMPARE(
            regionField(h, 8, 8, QStringLiteral("Regionname")).toString(), QStringLiteral("Ozean"));
    }

    void regionValues_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("expected");
        const QString road = QStringLiteral("\"Straße\";typ");
        QTest::newRow("luxury from peasants")
            << QStringList {QStringLiteral("1250;Bauern")} << "Luxusgüter" << 12;
        QTest::newRow("maxLuxus 0")
            << QStringList {QStringLiteral("1250;Bauern"), QStringLiteral("0;maxLuxus")}
            << "Luxusgüter" << 12;
        QTest::newRow("maxLuxus given")
            << QStringList {QStringLiteral("7;maxLuxus")} << "Luxusgüter" << 7;
        QTest::newRow("no laen") << QStringList {} << "Lean" << -1;
        QTest::newRow("road direction 2") << QStringList {QStringLiteral("PREISE"),
            QStringLiteral("1;Balsam"), QStringLiteral("2;Gewuerz"), QStringLiteral("3;Juwel"),
            QStringLiteral("4;Myrrhe"), QStringLiteral("5;Oel"), QStringLiteral("6;Seide"),
            QStringLiteral("7;Weihrauch"), QStringLiteral("GRENZE 1"), road,
            QStringLiteral("2;richtung"), QStringLiteral("75;prozent")}
                                          << "Strasse2" << 75;
        QTest::newRow("other border sets nothing")
            << QStringList {QStringLiteral("GRENZE 1"), QStringLiteral("\"Mauer\";typ"),
                   QStringLiteral("2;richtung"), QStringLiteral("75;prozent")}
            << "Strasse2" << 0;
        QTest::newRow("prices") << QStringList {QStringLiteral("PREISE"),
            QStringLiteral("1;Balsam"), QStringLiteral("2;Gewuerz"), QStringLiteral("3;Juwel"),
            QStringLiteral("-4;Myrrhe"), QStringLiteral("5;Oel"), QStringLiteral("6;Seide"),
            QStringLiteral("7;Weihrauch")}
                                << "Myrrhe" << -4;
    }
    void regionValues()
    {
        QFETCH(QStringList, extra);
        QFETCH(QString, field);
        QFETCH(int, expected);
        ImportHarness h;
        QStringList lines = reportHeader();
        lines << QStringLiteral("REGION 1 1") << QStringLiteral("\"Mitte\";Name")
              << QStringLiteral("\"Ebene\";Terrain");
        lines += extra;
        h.import(lines);
        QCOMPARE(regionField(h, 1, 1, field).toInt(), expected);
    }

    void wageDefaultAndTemplateBlocks()
    {
        ImportHarness h;
        QStringList lines = reportHeader();
        lines << QStringLiteral("REGION 1 1") << QStringLiteral("\"Leer\";Name")
              << QStringLiteral("\"Ebene\";Terrain");
        lines += land(QStringLiteral("REGION 2 2"), QStringLiteral("Besetzt"));
        lines += unit(10, QStringLiteral("Wir"), 4711,
            {QStringLiteral("COMMANDS"), QStringLiteral("\"ARBEITE\"")});
        lines += unit(11, QStringLiteral("Fremde"), 99);
        lines << QStringLiteral("REGION 3 3") << QStringLiteral("\"Letzte\";Name")
              << QStringLiteral("\"Ebene\";Terrain");
        h.import(lines);
        QCOMPARE(regionField(h, 1, 1, QStringLiteral("Arbeitslohn")).toInt(), 11);
        // The empty first region is dropped, the last region keeps its lines.
        QCOMPARE(templateLines(h).mid(3),
            (QStringList {QString(), QStringLiteral(" REGION 2,2 ; Besetzt"),
                QStringLiteral(" ; Zorbek Lohn 14"), QString(),
                QStringLiteral(" EINHEIT a;\tWir [5,0$]"), QStringLiteral("    ARBEITE"), QString(),
                QStringLiteral(" REGION 3,3 ; Letzte"), QStringLiteral(" ; Zorbek Lohn 11"),
                QString(), QString(), QStringLiteral(" NAECHSTER"), QString()}));
    }

    void olderReportKeepsNewerRows()
    {
        ImportHarness h;
        QStringList newer = reportHeader(QStringLiteral("Kalmora"), 40);
        newer += land(
            QStringLiteral("REGION 1 1"), QStringLiteral("Neu"), {QStringLiteral("900;Silber")});
        newer << QStringLiteral("SCHIFF 6") << QStringLiteral("\"Neuschiff\";Name")
              << QStringLiteral("\"Boot\";Typ");
        newer += unit(5, QStringLiteral("Neuname"), 4711);
        h.import(newer);
        QStringList older = reportHeader(QStringLiteral("Kalmora"), 30);
        older += land(
            QStringLiteral("REGION 1 1"), QStringLiteral("Alt"), {QStringLiteral("100;Silber")});
        older << QStringLiteral("SCHIFF 6") << QStringLiteral("\"Altschiff\";Name");
        older += unit(5, QStringLiteral("Altname"), 4711,
            {QStringLiteral("COMMANDS"), QStringLiteral("\"LERNE\"")});
        QCOMPARE(h.import(older).status, ReportImporter::Result::Imported);
        QCOMPARE(
            regionField(h, 1, 1, QStringLiteral("Regionname")).toString(), QStringLiteral("Neu"));
        QCOMPARE(regionField(h, 1, 1, QStringLiteral("Info Datum")).toInt(), 404);
        QCOMPARE(
            unitField(h, 5, QStringLiteral("Einheit Name")).toString(), QStringLiteral("Neuname"));
        QCOMPARE(shipField(h, 6, QStringLiteral("Schiffs Name")).toString(),
            QStringLiteral("Neuschiff"));
        // Statistics of the older turn come from the kept (newer) row.
        QCOMPARE(
            h.value(QStringLiteral("SELECT \"Bauern Silber\" FROM statistik WHERE Datum = 306"))
                .toInt(),
            900);
        QCOMPARE(
            h.value(QStringLiteral("SELECT COUNT(*) FROM statistik WHERE Breite = 1")).toInt(), 2);
        QVERIFY(templateLines(h).contains(QStringLiteral(" REGION 1,1 ; Neu")));
        QVERIFY(templateLines(h).contains(QStringLiteral("    LERNE")));
        // The configuration keeps the newest turn.
        QCOMPARE(h.ws.config().line(1, Configuration::NewestTurn), QStringLiteral("404"));
    }

    void shipCondition_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("prozent");
        QTest::newRow("Boot 3") << QStringList {QStringLiteral("\"Boot\";Typ"),
            QStringLiteral("3;Groesse")}
                                << 60;
        QTest::newRow("Karavelle 100")
            << QStringList {QStringLiteral("\"Karavelle\";Typ"), QStringLiteral("100;Groesse")}
            << 40;
        QTest::newRow("Trireme 150")
            << QStringList {QStringLiteral("\"Trireme\";Typ"), QStringLiteral("150;Groesse")} << 75;
        QTest::newRow("Langboot complete") << QStringList {QStringLiteral("\"Langboot\";Typ"),
            QStringLiteral("50;Groesse")} << 100;
        QTest::newRow("damage after size") << QStringList {QStringLiteral("\"Boot\";Typ"),
            QStringLiteral("3;Groesse"), QStringLiteral("20;Schaden")}
                                           << -20;
        QTest::newRow("size before type")
            << QStringList {QStringLiteral("3;Groesse"), QStringLiteral("\"Boot\";Typ")} << 100;
        QTest::newRow("unknown type")
            << QStringList {QStringLiteral("\"Floß\";Typ"), QStringLiteral("3;Groesse")} << 100;
    }
    void shipCondition()
    {
        QFETCH(QStringList, keys);
        QFETCH(int, prozent);
        ImportHarness h;
        QStringList lines = reportHeader();
        lines += land(QStringLiteral("REGION 1 1"), QStringLiteral("Hafen"));
        lines << QStringLiteral("SCHIFF 77") << QStringLiteral("\"Möwe\";Name");
        lines += keys;
        h.import(lines);
        QCOMPARE(shipField(h, 77, QStringLiteral("Prozent")).toInt(), prozent);
        QCOMPARE(
            shipField(h, 77, QStringLiteral("Schiffs Position")).toString(), QStringLiteral("1/1"));
    }

    void shipCoastCaptainAndOwner_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("headerLine");
        QTest::newRow("Kalmora") << "Kalmora"
                                 << " EINHEIT ya;\tKapitän [5,0$,S25]";
        QTest::newRow("Sulvitan") << "Sulvitan"
                                  << " EINHEIT 1234;\tKapitän [5,0$,S77]";
    }
    void shipCoastCaptainAndOwner()
    {
        QFETCH(QString, game);
        QFETCH(QString, headerLine);
        ImportHarness h(game);
        QStringList first = reportHeader(game, 39, 4711, game == u"Kalmora" ? 36 : 10);
        first += land(QStringLiteral("REGION 1 1"), QStringLiteral("Hafen"));
        first += unit(1234, QStringLiteral("Kapitän"), 4711);
        h.import(first);
        QStringList lines = reportHeader(game, 40, 4711, game == u"Kalmora" ? 36 : 10);
        lines += land(QStringLiteral("REGION 1 1"), QStringLiteral("Hafen"));
        lines << QStringLiteral("SCHIFF 77") << QStringLiteral("\"Möwe\";Name")
              << QStringLiteral("\"Boot\";Typ") << QStringLiteral("1234;Kapitaen")
              << QStringLiteral("3;Kueste");
        lines << QStringLiteral("SCHIFF 78") << QStringLiteral("\"Ohne\";Name")
              << QStringLiteral("999;Kapitaen");
        lines += unit(1234, QStringLiteral("Kapitän"), 4711, {QStringLiteral("77;Schiff")});
        h.import(lines);
        QCOMPARE(
            shipField(h, 77, QStringLiteral("Kueste")).toString(), QStringLiteral("Südostküste"));
        QCOMPARE(
            shipField(h, 78, QStringLiteral("Kueste")).toString(), QStringLiteral("keine Küste"));
        // The owner faction comes from the captain's row of the last import.
        QCOMPARE(shipField(h, 77, QStringLiteral("Partei")).toInt(), 4711);
        QCOMPARE(shipField(h, 78, QStringLiteral("Partei")).toInt(), -1);
        QVERIFY2(templateLines(h).contains(headerLine), qPrintable(templateLines(h).join(u'|')));
    }

    // A game's first import: a unit listed twice ends as one row with the later
    // values, and a ship finds its captain when the captain came before it.
    void firstImportFindsUnitsItWrote()
    {
        ImportHarness h;
        QStringList lines = reportHeader(QStringLiteral("Kalmora"), 40, 4711, 36);
        lines += land(QStringLiteral("REGION 1 1"), QStringLiteral("Hafen"));
        lines += unit(1234, QStringLiteral("Kapitän"), 4711);
        lines += land(QStringLiteral("REGION 2 1"), QStringLiteral("Küste"));
        lines << QStringLiteral("SCHIFF 77") << QStringLiteral("\"Möwe\";Name")
              << QStringLiteral("\"Boot\";Typ") << QStringLiteral("1234;Kapitaen");
        lines += unit(1234, QStringLiteral("Kapitän zur See"), 4711);
        QCOMPARE(h.import(lines).status, ReportImporter::Result::Imported);
        QCOMPARE(h.value(QStringLiteral("SELECT COUNT(*) FROM einheiten")).toInt(), 1);
        QCOMPARE(unitField(h, 1234, QStringLiteral("Einheit Name")).toString(),
            QStringLiteral("Kapitän zur See"));
        QCOMPARE(unitField(h, 1234, QStringLiteral("Einheit Position")).toString(),
            QStringLiteral("2/1"));
        QCOMPARE(shipField(h, 77, QStringLiteral("Partei")).toInt(), 4711);
    }

    void castleAndOwnerList()
    {
        ImportHarness h;
        QStringList lines = reportHeader();
        lines += land(QStringLiteral("REGION 1 1"), QStringLiteral("Feste"));
        lines << QStringLiteral("BURG 245") << QStringLiteral("\"Burg\";Typ")
              << QStringLiteral("\"Trutz\";Name") << QStringLiteral("250;Groesse")
              << QStringLiteral("4711;Besitzer") << QStringLiteral("12;Partei");
        lines << QStringLiteral("BURG 246") << QStringLiteral("\"Turm\";Typ")
              << QStringLiteral("\"Leer\";Name");
        lines += unit(4711, QStringLiteral("Herr"), 4711, {QStringLiteral("245;Burg")});
        lines += unit(4712, QStringLiteral("Gast"), 4711, {QStringLiteral("245;Burg")});
        lines += unit(4713, QStringLiteral("Matrose"), 4711, {QStringLiteral("80;Schiff")});
        lines += unit(4714, QStringLiteral("Wanderer"), 4711);
        h.import(lines);
        QCOMPARE(
            h.value(QStringLiteral("SELECT \"Burggrösse\" FROM burgen WHERE \"Burg Nr\" = 245"))
                .toInt(),
            250);
        QCOMPARE(
            h.value(QStringLiteral("SELECT Besitzer FROM burgen WHERE \"Burg Nr\" = 245")).toInt(),
            4711);
        QCOMPARE(
            h.value(QStringLiteral("SELECT Partei FROM burgen WHERE \"Burg Nr\" = 245")).toInt(),
            12);
        QCOMPARE(
            h.value(QStringLiteral("SELECT Besitzer FROM burgen WHERE \"Burg Nr\" = 246")).toInt(),
            0);
        QCOMPARE(
            h.value(QStringLiteral("SELECT Partei FROM burgen WHERE \"Burg Nr\" = 246")).toInt(),
            -1);
        const QStringList t = templateLines(h);
        QVERIFY(t.contains(QStringLiteral(" EINHEIT 3mv;\tHerr [5,0$,G6t]")));
        QVERIFY(t.contains(QStringLiteral(" EINHEIT 3mw;\tGast [5,0$,g6t]")));
        QVERIFY(t.contains(QStringLiteral(" EINHEIT 3mx;\tMatrose [5,0$,s28]")));
        QVERIFY(t.contains(QStringLiteral(" EINHEIT 3my;\tWanderer [5,0$]")));
        QCOMPARE(
            unitField(h, 4711, QStringLiteral("Stationiert")).toString(), QStringLiteral("B 6t"));
    }

    void unitFlags_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("after");
        QTest::newRow("x and B cleared") << "xB" << QStringList {} << "";
        QTest::newRow("B from report") << "xB" << QStringList {QStringLiteral("1;bewacht")} << "B";
        QTest::newRow("X kept") << "XT" << QStringList {} << "X";
        QTest::newRow("X and T again")
            << "XT" << QStringList {QStringLiteral("1;Parteitarnung")} << "XT";
    }
    void unitFlags()
    {
        QFETCH(QString, before);
        QFETCH(QStringList, keys);
        QFETCH(QString, after);
        ImportHarness h;
        QStringList lines = reportHeader();
        lines += land(QStringLiteral("REGION 1 1"), QStringLiteral("Mark"));
        lines += unit(5, QStringLiteral("Wache"), 4711);
        h.import(lines);
        h.value(QStringLiteral("UPDATE einheiten SET Flags = ?"), {before});
        lines = reportHeader(QStringLiteral("Kalmora"), 41);
        lines += land(QStringLiteral("REGION 1 1"), QStringLiteral("Mark"));
        lines += unit(5, QStringLiteral("Wache"), 4711, keys);
        h.import(lines);
        QCOMPARE(unitField(h, 5, QStringLiteral("Flags")).toString(), after);
    }

    void unitSubBlocks()
    {
        ImportHarness h;
        QStringList lines = reportHeader();
        lines += land(QStringLiteral("REGION 1 1"), QStringLiteral("Mark"));
        lines += unit(5, QStringLiteral("Magier"), 4711,
            {QStringLiteral("\"Elfen\";Typ"), QStringLiteral("12;Aura"),
                QStringLiteral("30;Auramax"), QStringLiteral("100;Ladung"),
                QStringLiteral("540;Kapazitaet"), QStringLiteral("1;Kampfstatus"),
                QStringLiteral("COMMANDS"), QStringLiteral("\"FOLGE EINHEIT abc\""),
                QStringLiteral("\"ZAUBERE REGION 3 4 Sturm\""), QStringLiteral("\"LERNE Magie\""),
                QStringLiteral("TALENTE"), QStringLiteral("300 3;Magie"),
                QStringLiteral("90 2;Bogenschießen"), QStringLiteral("50 1;Zauberkunde"),
                QStringLiteral("40 1;Sterndeuten"), QStringLiteral("SPRUECHE"),
                QStringLiteral("\"Feuerball\""), QStringLiteral("GEGENSTAENDE"),
                QStringLiteral("200;Silber"), QStringLiteral("1;Mantel der Unverwundbarkeit"),
                QStringLiteral("3;Schwert"), QStringLiteral("1;Silbertruhe"),
                QStringLiteral("2;Drachenei")});
        QCOMPARE(h.import(lines).status, ReportImporter::Result::Imported);
        QCOMPARE(unitField(h, 5, QStringLiteral("Default Befehl")).toString(),
            QStringLiteral("*FOLGE EINHEIT abc*ZAUBERE REGION 3 4 Sturm*LERNE Magie*"));
        QCOMPARE(unitField(h, 5, QStringLiteral("Magie")).toString(), QStringLiteral("300 3"));
        QCOMPARE(
            unitField(h, 5, QStringLiteral("Bogenschiessen")).toString(), QStringLiteral("90 2"));
        QCOMPARE(unitField(h, 5, QStringLiteral("Unbekannte Talente")).toString(),
            QStringLiteral("*Zauberkunde 50 1*Sterndeuten 40 1*"));
        QCOMPARE(unitField(h, 5, QStringLiteral("Zauber")).toString(),
            QStringLiteral("*Aura: 12/30*\"Feuerball\"*"));
        QCOMPARE(unitField(h, 5, QStringLiteral("Unbekannte Gegenstaende")).toString(),
            QStringLiteral("*Kapazitaet: 100/540*Silbertruhe 1*Drachenei 2*"));
        QCOMPARE(unitField(h, 5, QStringLiteral("Silber")).toInt(), 200);
        QCOMPARE(unitField(h, 5, QStringLiteral("Mäntel")).toInt(), 1);
        QCOMPARE(unitField(h, 5, QStringLiteral("Schwert")).toInt(), 3);
        QCOMPARE(
            unitField(h, 5, QStringLiteral("Status")).toString(), QStringLiteral("kämpft hinten"));
        QCOMPARE(unitField(h, 5, QStringLiteral("Hitpoints")).toString(), QStringLiteral("normal"));
        QCOMPARE(h.page(Page::Ereignisse),
            (QStringList {QString(), QStringLiteral("Achtung!"),
                QStringLiteral("Talent Zauberkunde wurde nicht Einheiten Tabelle gefunden!!"),
                QStringLiteral("Achtung!"),
                QStringLiteral("Talent Sterndeuten wurde nicht Einheiten Tabelle gefunden!!"),
                // The load text already opened the unknown items: no empty line.
                QStringLiteral("Achtung!"),
                QStringLiteral("Gegenstand Silbertruhe wurde nicht in Einheiten Tabelle gefunden!"),
                QStringLiteral("Achtung!"),
                QStringLiteral(
                    "Gegenstand Drachenei wurde nicht in Einheiten Tabelle gefunden!")}));
        // Orders that name EINHEIT or REGION stay orders of the unit.
        QCOMPARE(templateLines(h).mid(7, 4),
            (QStringList {QStringLiteral(" EINHEIT 5;\tMagier [5,200$]"),
                QStringLiteral("    FOLGE EINHEIT abc"),
                QStringLiteral("    ZAUBERE REGION 3 4 Sturm"),
                QStringLiteral("    LERNE Magie")}));
        QCOMPARE(h.status(StatusField::Silber), QStringLiteral("200"));
    }

    void totalsSkipUndeadAndForeign()
    {
        ImportHarness h;
        QStringList lines = reportHeader();
        lines += land(QStringLiteral("REGION 1 1"), QStringLiteral("Mark"));
        lines += unit(1, QStringLiteral("Lebende"), 4711,
            {QStringLiteral("\"Menschen\";Typ"), QStringLiteral("30;Silber")});
        lines += unit(2, QStringLiteral("Tote"), 4711,
            {QStringLiteral("\"Untote\";Typ"), QStringLiteral("GEGENSTAENDE"),
                QStringLiteral("500;Silber")});
        lines += unit(3, QStringLiteral("Fremde"), 12,
            {QStringLiteral("GEGENSTAENDE"), QStringLiteral("700;Silber")});
        h.import(lines);
        QCOMPARE(h.status(StatusField::Einheiten), QStringLiteral("1"));
        QCOMPARE(h.status(StatusField::Personen), QStringLiteral("5"));
        QCOMPARE(h.status(StatusField::Silber), QStringLiteral("30"));
        // An own unit without orders gets its header line and "*".
        QCOMPARE(unitField(h, 2, QStringLiteral("Default Befehl")).toString(), QStringLiteral("*"));
        QVERIFY(templateLines(h).contains(QStringLiteral(" EINHEIT 2;\tTote [5,500$]")));
        QCOMPARE(unitField(h, 3, QStringLiteral("Status")).toString(), QStringLiteral("unbekannt"));
    }

    void immigrationNotices()
    {
        ImportHarness h;
        QStringList lines = reportHeader(QStringLiteral("Kalmora"), 40);
        lines << QStringLiteral("ADRESSEN") << QStringLiteral("12;Partei")
              << QStringLiteral("\"Nachbarn\";Parteiname")
              << QStringLiteral("\"n@example.org\";email");
        lines += land(QStringLiteral("REGION 1 1"), QStringLiteral("Heim"));
        lines += unit(20, QStringLiteral("Späher"), 12);
        lines += unit(21, QStringLiteral("Bleiber"), 13);
        h.import(lines);
        QVERIFY(h.page(Page::Einreisebericht)
                    .contains(QStringLiteral("Eine neue Einheit wurde rekrutiert oder ist aus "
                                             "einer fremden Region eingereist:")));
        QVERIFY(h.page(Page::Einreisebericht).contains(QStringLiteral("   Späher, Nachbarn, 5")));
        QVERIFY(h.page(Page::Einreisebericht).contains(QStringLiteral("   Bleiber, d, 5")));
        QCOMPARE(
            unitField(h, 20, QStringLiteral("Kommt aus")).toString(), QStringLiteral("Heim 1/1"));
        QCOMPARE(unitField(h, 20, QStringLiteral("Einreisedatum")).toInt(), 404);

        lines = reportHeader(QStringLiteral("Kalmora"), 41);
        lines += land(QStringLiteral("REGION 2 2"), QStringLiteral("Nachbartal"));
        lines += unit(20, QStringLiteral("Späher"), 12);
        lines += land(QStringLiteral("REGION 1 1"), QStringLiteral("Heim"));
        lines += unit(21, QStringLiteral("Bleiber"), 13);
        h.import(lines);
        const QStringList report = h.page(Page::Einreisebericht);
        QVERIFY(report.contains(QStringLiteral("Eine Einheit ist aus Heim 1/1 eingereist:")));
        QCOMPARE(report.filter(QStringLiteral("Bleiber")).size(), 0);
        QCOMPARE(unitField(h, 20, QStringLiteral("Kommt aus")).toString(),
            QStringLiteral("Nachbartal 2/2"));
        QCOMPARE(unitField(h, 20, QStringLiteral("Einreisedatum")).toInt(), 405);
    }

    void regionSubBlocksAndMessages()
    {
        const QStringList prices {QStringLiteral("PREISE"), QStringLiteral("1;Balsam"),
            QStringLiteral("2;Gewuerz"), QStringLiteral("3;Juwel"), QStringLiteral("4;Myrrhe"),
            QStringLiteral("5;Oel"), QStringLiteral("6;Seide"), QStringLiteral("7;Weihrauch")};
        ImportHarness h;
        QStringList lines = reportHeader();
        lines << QStringLiteral("REGION 1 1") << QStringLiteral("\"Tal\";Name")
              << QStringLiteral("\"Ebene\";Terrain");
        lines += prices;
        lines << QStringLiteral("UMGEBUNG") << QStringLiteral("\"Ein Fluss\"")
              << QStringLiteral("\"Viele Bäume\"") << QStringLiteral("REGIONSEREIGNISSE")
              << QStringLiteral("\"Ein Fest\"") << QStringLiteral("REGIONSBOTSCHAFTEN")
              << QStringLiteral("\"Hallo Tal\"");
        lines += unit(5, QStringLiteral("Bote"), 4711,
            {QStringLiteral("EINHEITSBOTSCHAFTEN"), QStringLiteral("\"Komm nach REGION 5 5\""),
                QStringLiteral("\"Sofort\"")});
        lines << QStringLiteral("REGION 2 2") << QStringLiteral("\"Berg\";Name")
              << QStringLiteral("\"Berge\";Terrain");
        lines += prices;
        lines << QStringLiteral("MESSAGE 9") << QStringLiteral("1;type")
              << QStringLiteral("\"Es brennt\";rendered") << QStringLiteral("MESSAGE 10")
              << QStringLiteral("\"Es regnet\";rendered");
        h.import(lines);
        QCOMPARE(regionField(h, 1, 1, QStringLiteral("Umgebung")).toString(),
            QStringLiteral(" Ein Fluss\x16Viele Bäume\x16\r\n"));
        QCOMPARE(regionField(h, 2, 2, QStringLiteral("Umgebung")).toString(),
            QStringLiteral("Es brennt\r\nEs regnet\r\n"));
        QCOMPARE(regionField(h, 2, 2, QStringLiteral("Weihrauch")).toInt(), 7);
        QCOMPARE(h.page(Page::Botschaften),
            (QStringList {QStringLiteral("Ereignisse in Tal (1/1) :"),
                QStringLiteral("\"Ein Fest\""), QString(),
                QStringLiteral("Botschaften an Region Tal (1/1) :"),
                QStringLiteral("    \"Hallo Tal\""), QString(),
                QStringLiteral("Botschaften an Einheit Bote in (1/1) :"),
                QStringLiteral("    \"Komm nach REGION 5 5\""), QStringLiteral("    \"Sofort\"")}));
    }

    // A block header ends the region's key lines even where no price block stands
    // between them and the borders.
    void withoutPricesBordersAreStillRead()
    {
        ImportHarness h;
        QStringList lines = reportHeader();
        lines << QStringLiteral("REGION 1 1") << QStringLiteral("\"Tal\";Name")
              << QStringLiteral("GRENZE 1") << QStringLiteral("\"Straße\";typ")
              << QStringLiteral("0;richtung") << QStringLiteral("75;prozent")
              << QStringLiteral("UMGEBUNG") << QStringLiteral("\"Ein Fluss\"");
        h.import(lines);
        QCOMPARE(regionField(h, 1, 1, QStringLiteral("Strasse")).toInt(), 75);
        QCOMPARE(regionField(h, 1, 1, QStringLiteral("Umgebung")).toString(),
            QStringLiteral(" Ein Fluss\x16\r\n"));
    }

    void quotedTextNeverEndsABlock()
    {
        ImportHarness h;
        QStringList lines = reportHeader();
        lines << QStringLiteral("REGION 1 1") << QStringLiteral("\"Tal\";Name")
              << QStringLiteral("\"Die BURG der SCHIFF-Bauer\";Beschr")
              << QStringLiteral("\"Ebene\";Terrain") << QStringLiteral("700;Bauern");
        lines += unit(5, QStringLiteral("Die EINHEIT"), 4711,
            {QStringLiteral("\"Wächter der REGION\";Beschr"), QStringLiteral("GEGENSTAENDE"),
                QStringLiteral("3;Speer")});
        QCOMPARE(h.import(lines).status, ReportImporter::Result::Imported);
        QCOMPARE(regionField(h, 1, 1, QStringLiteral("Bauern")).toInt(), 700);
        QCOMPARE(unitField(h, 5, QStringLiteral("Speer")).toInt(), 3);
        QCOMPARE(unitField(h, 5, QStringLiteral("Personen")).toInt(), 5);
    }
};

QTEST_GUILESS_MAIN(TestExtraction)
#include "test_extraction.moc"
