#include "testsupport.h"

#include <QtTest>

using namespace tolvimar::test;

namespace {

QStringList lines(const QString &out)
{
    QStringList list = out.split(u'\n');
    if (!list.isEmpty() && list.last().isEmpty())
        list.removeLast();
    return list;
}

} // namespace

// The fixture's turn 404: five units at 1/2 and 3/-4/1, the ship 77 at 1/2.
class TestMilitaryCli : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_ws = std::make_unique<TempWorkspace>();
        QCOMPARE(cli({QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("1"),
                     QStringLiteral("--type"), QStringLiteral("Kalmora"),
                     fixture(QStringLiteral("reports/kalmora-klein.cr"))}),
            0);
    }

    void groupsPrintsTheCountThenTheGrid()
    {
        QString out;
        QCOMPARE(cli({"groups", "--slot", "1"}, &out), 0);
        const QStringList rows = lines(out);
        QCOMPARE(rows.size(), 7);
        QCOMPARE(rows[0], QStringLiteral("5"));
        QCOMPARE(rows[1],
            QStringLiteral("Gruppe\t X/Y\tEinheit\t  Nr.\tStärke\tStangen\tHieb.\tSchuss.\t"
                           "Ausdauer\tSpeer\tSchwert\tBogen"));
        QVERIFY(rows.contains(
            QStringLiteral("Keine\t1/2\tHolzfäller\t3mw\t12\t0\t0\t[10] 2\t0\t0\t0\t0")));

        QCOMPARE(cli({"groups", "--slot", "1", "--unit", "3MW", "--faction", "4711", "--date", ">",
                         "403"},
                     &out),
            0);
        QCOMPARE(lines(out).value(0), QStringLiteral("1"));
        QCOMPARE(cli({"groups", "--slot", "1", "--name", "Niemand"}, &out), 0);
        QCOMPARE(lines(out).mid(0, 1), QStringList {QStringLiteral("0")});
        QCOMPARE(lines(out).value(2), QString(11, u'\t'));
    }

    void setGroupThenTheArmyListsTheUnit()
    {
        QString out;
        QCOMPARE(cli({"set-group", "--slot", "1", "1/2", "3mw", "2. Armee"}, &out), 0);
        QCOMPARE(cli({"army", "--slot", "1", "--army", "2. Armee"}, &out), 0);
        QCOMPARE(lines(out),
            (QStringList {"Soldaten: 12", "Waffen: 0", "Fernwaffen: 0",
                QStringLiteral("   X/Y\tName\tNr.\tStärke\tStangen\tHiebw.\tSchußw.\tAusdauer\t"
                               "Speer\tSchwert\tBögen\tPferde"),
                QStringLiteral("1/2\tHolzfäller\t3mw\t12\t\t\t[10] 2\t\t0\t0\t0\t0")}));
        QCOMPARE(cli({"army", "--slot", "1", "--army", "1. Armee"}, &out), 0);
        QCOMPARE(lines(out).value(0), QStringLiteral("Soldaten: 0"));
        QCOMPARE(lines(out).value(4), QString(11, u'\t'));

        // "Keine" takes the unit out of every army; "Steuereintreiber" changes nothing.
        QCOMPARE(cli({"set-group", "--slot", "1", "1/2", "3mw", "Keine"}, &out), 0);
        QCOMPARE(cli({"set-group", "--slot", "1", "1/2", "3mx", "Steuereintreiber"}, &out), 0);
        QCOMPARE(cli({"groups", "--slot", "1", "--group", "Keine"}, &out), 0);
        QCOMPARE(lines(out).value(0), QStringLiteral("1"));
        QCOMPARE(cli({"army", "--slot", "1"}, &out), 0);
        QCOMPARE(lines(out).value(0), QStringLiteral("Soldaten: 0"));
    }

    void shipsOfTheNewestTurnByDefault()
    {
        QString out;
        QCOMPARE(cli({"ships", "--slot", "1"}, &out), 0);
        QStringList rows = lines(out);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0], QStringLiteral("gefundene Schiffe: 1"));
        QCOMPARE(rows[1], QStringLiteral("   X/Y\tName\tNr.\tSchiffstyp\tEigner Partei\tZustand"));
        QCOMPARE(
            rows[2].split(u'\t').mid(0, 4), (QStringList {"1/2", "Seeschwalbe", "77", "Boot"}));

        QCOMPARE(cli({"ships", "--slot", "1", "--type", "Trireme"}, &out), 0);
        QCOMPARE(lines(out),
            (QStringList {"gefundene Schiffe: 0",
                "   X/Y\tName\tNr.\tSchiffstyp\tEigner Partei\tZustand", QString(5, u'\t')}));
        QCOMPARE(cli({"ships", "--slot", "1", "--date", "<", "404"}, &out), 0);
        QCOMPARE(lines(out).value(0), QStringLiteral("gefundene Schiffe: 0"));
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stderrPart");
        QTest::newRow("no such group") << QStringList {"set-group", "--slot", "1", "1/2", "3mw",
            "Chef"} << 2 << "Gruppe ist eine von";
        QTest::newRow("no such unit") << QStringList {"set-group", "--slot", "1", "1/2", "zzz",
            "1. Armee"} << 1 << "Keine Einheit zzz in 1/2";
        QTest::newRow("set-group without a group")
            << QStringList {"set-group", "--slot", "1", "1/2", "3mw"} << 2 << "Es fehlen";
        QTest::newRow("no such army")
            << QStringList {"army", "--slot", "1", "--army", "5. Armee"} << 2 << "--army ist";
        QTest::newRow("unknown comparison")
            << QStringList {"groups", "--slot", "1", "--date", "~", "404"} << 2 << "kein Vergleich";
        QTest::newRow("date without a value")
            << QStringList {"ships", "--slot", "1", "--date", "="} << 2 << "--date braucht";
        QTest::newRow("date no number") << QStringList {"ships", "--slot", "1", "--date", "=",
            "Mai"} << 2 << "\"Mai\" ist keine Zahl";
        QTest::newRow("faction no number")
            << QStringList {"ships", "--slot", "1", "--faction", "alle"} << 2 << "--faction";
        QTest::newRow("missing slot") << QStringList {"groups"} << 2 << "--slot";
    }
    void badArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, stderrPart);
        QString out, err;
        QTEST(cli(arguments, &out, &err), "exitCode");
        QVERIFY2(err.contains(stderrPart), qPrintable(err));
    }

private:
    int cli(QStringList arguments, QString *out = nullptr, QString *err = nullptr)
    {
        arguments.prepend(m_ws->path());
        arguments.prepend(QStringLiteral("--workspace"));
        return runCli(arguments, out, err);
    }

    std::unique_ptr<TempWorkspace> m_ws;
};

QTEST_GUILESS_MAIN(TestMilitaryCli)
#include "test_military_cli.moc"
