#include "db/database.h"
#include "gamefixture.h"
#include "testsupport.h"

#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;
using namespace Qt::StringLiterals;

// `route` on the small Kalmora report (units 3mw, 3mx, 3my at 1/2 Ebene, 3mx captain of
// the Boot 77 there, 2/2 Ozean) with hand-made regions around it:
//   y = 3:  1/3 Ebene, 2/3 Ebene, 3/3 Ebene, a road 1/3 - 2/3 - 3/3
//   y = 2:  1/2 Ebene, 2/2 Ozean, 3/2 Ozean, 4/2 Ebene
class TestCliRoute : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCOMPARE(cli({u"import"_s, u"--slot"_s, u"1"_s, u"--type"_s, u"Kalmora"_s,
                     fixture(u"reports/kalmora-klein.cr"_s)}),
            0);
        Database db(m_ws.file(u"kalmora.sqlite"_s));
        GameRows(db, 1, 404)
            .region(1, 3, 0, {{u"Regiontyp"_s, u"Ebene"_s}, {u"Strasse2"_s, 100}})
            .region(
                2, 3, 0, {{u"Regiontyp"_s, u"Ebene"_s}, {u"Strasse5"_s, 100}, {u"Strasse2"_s, 100}})
            .region(3, 3, 0, {{u"Regiontyp"_s, u"Ebene"_s}, {u"Strasse5"_s, 100}})
            .region(3, 2, 0, {{u"Regiontyp"_s, u"Ozean"_s}})
            .region(4, 2, 0, {{u"Regiontyp"_s, u"Ebene"_s}});
        m_orderFile = m_ws.file(u"spiel1/Zug-Spiel1-4-April.txt"_s);
    }

    void ways_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after "route --slot 1"
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected"); // stdout
        // One plain step, then two on the road: 2 turns.
        QTest::newRow("walker") << QStringList {"3mw", "3", "3"} << 0
                                << "Weg: 1/2 1/3 2/3 3/3\nRunden: 2\nNACH no o o\n";
        QTest::newRow("walker, level given") << QStringList {"3mw", "4", "2", "--level",
            "0"} << 0 << "Weg: 1/2 1/3 2/3 3/3 4/2\nRunden: 3\nNACH no o o so\n";
        // The captain's Boot leaves the land, crosses two oceans and lands: 3 steps.
        QTest::newRow("ship") << QStringList {"3MX", "4", "2"} << 0
                              << "Weg: 1/2 2/2 3/2 4/2\nRunden: 2\nNACH o o o\n";
        QTest::newRow("unknown allowed") << QStringList {"3mw", "4", "3", "--unbekannte"} << 0
                                         << "Weg: 1/2 1/3 2/3 3/3 4/3\nRunden: 3\nNACH no o o o\n";
        QTest::newRow("ocean") << QStringList {"3mw", "2", "2"} << 1
                               << "Kein Weg: 2/2 ist Ozean, dorthin kann die Einheit nicht "
                                  "gehen.\n";
        QTest::newRow("unknown") << QStringList {"3mw", "4", "3"} << 1
                                 << "Kein Weg: die Region 4/3 ist unbekannt.\n";
        QTest::newRow("other level") << QStringList {"3mw", "3", "-4", "--level",
            "1"} << 1 << "Kein Weg: 3/-4/1 liegt auf einer anderen Ebene als die Einheit (1/2).\n";
        QTest::newRow("from level 1") << QStringList {"3mz", "1", "2"} << 1
                                      << "Kein Weg: 1/2 liegt auf einer anderen Ebene als die "
                                         "Einheit (3/-4/1).\n";
        // Never from land to land: out to the ocean and back ashore.
        QTest::newRow("ship to the next land")
            << QStringList {"3mx", "1", "3"} << 0 << "Weg: 1/2 2/2 1/3\nRunden: 1\nNACH o nw\n";
        QTest::newRow("no such unit") << QStringList {"zzz", "3", "3"} << 2 << "";
        QTest::newRow("no unit number") << QStringList {"3-w", "3", "3"} << 2 << "";
        QTest::newRow("bad level") << QStringList {"3mw", "3", "3", "--level", "x"} << 2 << "";
        QTest::newRow("too few") << QStringList {"3mw", "3"} << 2 << "";
    }
    void ways()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        const QByteArray before = readBytes(m_orderFile);
        QString out, err;
        QCOMPARE(
            cli(QStringList {u"route"_s, u"--slot"_s, u"1"_s} + arguments, &out, &err), exitCode);
        QCOMPARE(out, expected);
        if (exitCode == 2)
            QVERIFY(!err.isEmpty());
        else
            QVERIFY2(err.isEmpty(), qPrintable(err));
        // Without --write the order file stays as it is.
        QCOMPARE(readBytes(m_orderFile), before);
    }

    // The NACH line goes into the unit's block in place of its NACH or ROUTE line; the
    // other orders and blocks stay.
    void write()
    {
        QString out, err;
        QCOMPARE(cli({u"route"_s, u"--slot"_s, u"1"_s, u"3mw"_s, u"3"_s, u"3"_s, u"--write"_s},
                     &out, &err),
            0);
        QCOMPARE(out, u"Weg: 1/2 1/3 2/3 3/3\nRunden: 2\nNACH no o o\n"_s);
        QVERIFY2(err.contains(u"NACH no o o"_s), qPrintable(err));
        QCOMPARE(orders(u"3mw"_s),
            u" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]\n    MACHE Holz\n"
            "    FOLGE EINHEIT 3mx\n    NACH no o o\n"_s);

        // A second way replaces the first.
        QCOMPARE(cli({u"route"_s, u"--slot"_s, u"1"_s, u"3mw"_s, u"4"_s, u"2"_s, u"--write"_s}), 0);
        QCOMPARE(orders(u"3mw"_s),
            u" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]\n    MACHE Holz\n"
            "    FOLGE EINHEIT 3mx\n    NACH no o o so\n"_s);

        // A ROUTE line is replaced as well.
        const QString file = m_ws.file(u"befehle.txt"_s);
        writeBytes(file, "    ROUTE no w PAUSE\n    LERNE Segeln\n");
        QCOMPARE(cli({u"set-orders"_s, u"--slot"_s, u"1"_s, u"1"_s, u"2"_s, u"3mx"_s, file}), 0);
        QCOMPARE(cli({u"route"_s, u"--slot"_s, u"1"_s, u"3mx"_s, u"4"_s, u"2"_s, u"--write"_s}), 0);
        QCOMPARE(orders(u"3mx"_s),
            u" EINHEIT 3mx;\tBäcker [3,90$,S25]\n    NACH o o o\n    LERNE Segeln\n"_s);
        QCOMPARE(orders(u"3mw"_s),
            u" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]\n    MACHE Holz\n"
            "    FOLGE EINHEIT 3mx\n    NACH no o o so\n"_s);

        // No way: nothing is written.
        const QByteArray now = readBytes(m_orderFile);
        QCOMPARE(cli({u"route"_s, u"--slot"_s, u"1"_s, u"3mw"_s, u"2"_s, u"2"_s, u"--write"_s}), 1);
        QCOMPARE(readBytes(m_orderFile), now);
    }

    // bewegung.txt of the game folder changes the turns; a bad line stops the command
    // with the file and the line.
    void rulesFile()
    {
        const QString rules = m_ws.file(u"spiel1/bewegung.txt"_s);
        const auto cleanup = qScopeGuard([&] { QFile::remove(rules); });
        writeBytes(rules, "# schnelle Boote\nschiff Boot 3\n");
        QString out, err;
        QCOMPARE(cli({u"route"_s, u"--slot"_s, u"1"_s, u"3mx"_s, u"4"_s, u"2"_s}, &out), 0);
        QCOMPARE(out, u"Weg: 1/2 2/2 3/2 4/2\nRunden: 1\nNACH o o o\n"_s);

        writeBytes(rules, "schiff Boot 3\nstrasse halb\n");
        QCOMPARE(cli({u"route"_s, u"--slot"_s, u"1"_s, u"3mx"_s, u"4"_s, u"2"_s}, &out, &err), 2);
        QCOMPARE(out, QString());
        QVERIFY2(err.contains(u"bewegung.txt, Zeile 2: "_s), qPrintable(err));
        QVERIFY2(err.contains(u"strasse halb"_s), qPrintable(err));

        // A ship type the rules do not know is named.
        writeBytes(rules, "# nur Kähne\n");
        Database db(m_ws.file(u"kalmora.sqlite"_s));
        execute(db, uR"(UPDATE "schiffe" SET "Schiffstyp" = 'Floß' WHERE "Schiffs Nr" = 77)"_s);
        QCOMPARE(cli({u"route"_s, u"--slot"_s, u"1"_s, u"3mx"_s, u"4"_s, u"2"_s}, &out, &err), 2);
        QVERIFY2(err.contains(u"\"Floß\""_s), qPrintable(err));
        execute(db, uR"(UPDATE "schiffe" SET "Schiffstyp" = 'Boot' WHERE "Schiffs Nr" = 77)"_s);
    }

private:
    int cli(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr)
    {
        return runCli(QStringList {u"--workspace"_s, m_ws.path()} + arguments, out, err);
    }
    QString orders(const QString &unit)
    {
        QString out;
        cli({u"orders"_s, u"--slot"_s, u"1"_s, unit}, &out);
        return out;
    }

    TempWorkspace m_ws;
    QString m_orderFile;
};

QTEST_MAIN(TestCliRoute)
#include "test_cli_route.moc"
