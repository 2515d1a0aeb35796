#include "testsupport.h"

#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

QString writeScript(const QString &path, const QByteArray &body)
{
    writeBytes(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

// A checker that names lines in both forms, around lines that name none. Its options
// are the two lines it names; the order file comes last.
const QByteArray kChecker = "echo \"Prüfe $3\"\n"
                            "echo \"$3:$1: erste Meldung\"\n"
                            "echo \"Warnung in Zeile $2: zweite Meldung\"\n"
                            "echo \"line 5: dritte Meldung\"\n"
                            "echo \"2 Fehler, 1 Warnung\"\n";

} // namespace

// The order commands on both example reports: slot 1 holds the Kalmora one, slot 2
// the Sulvitan one with two more units in its region (an own one without orders and
// a foreign one).
class TestCliOrders : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCOMPARE(cli({QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("1"),
                     QStringLiteral("--type"), QStringLiteral("Kalmora"),
                     fixture(QStringLiteral("reports/kalmora-klein.cr"))}),
            0);
        QByteArray sulvitan = readBytes(fixture(QStringLiteral("reports/sulvitan-klein.cr")));
        if (!sulvitan.endsWith('\n'))
            sulvitan += '\n';
        sulvitan += "EINHEIT 15\n\"Holzfäller\";Name\n4711;Partei\n2;Anzahl\n\"Elfen\";Typ\n"
                    "EINHEIT 20\n\"Fremde\";Name\n4800;Partei\n1;Anzahl\n\"Menschen\";Typ\n";
        const QString report = m_ws.file(QStringLiteral("sulvitan.cr"));
        writeBytes(report, sulvitan);
        QCOMPARE(cli({QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("2"),
                     QStringLiteral("--type"), QStringLiteral("Sulvitan"), report}),
            0);
    }

    void problems_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("lines"); // the lines the checker names: "file:N:", "Zeile N"
        QTest::addColumn<QString>("expected");
        // The checker's lines that name no line of the file come on line 0.
        QTest::newRow("Kalmora") << 1 << "10 12"
                                 << "0\t\tPrüfe Zug-Spiel1-4-April.txt\n"
                                    "10\t3mw\tZug-Spiel1-4-April.txt:10: erste Meldung\n"
                                    "12\t3mx\tWarnung in Zeile 12: zweite Meldung\n"
                                    "5\t\tline 5: dritte Meldung\n"
                                    "0\t\t2 Fehler, 1 Warnung\n"
                                    "19\t3mz\tHinweis: Einheit 3mz hat keine Befehle.\n";
        QTest::newRow("Sulvitan") << 2 << "9 8"
                                  << "0\t\tPrüfe Zug-Spiel2-3-Januar.txt\n"
                                     "9\t12\tZug-Spiel2-3-Januar.txt:9: erste Meldung\n"
                                     "8\t12\tWarnung in Zeile 8: zweite Meldung\n"
                                     "5\t\tline 5: dritte Meldung\n"
                                     "0\t\t2 Fehler, 1 Warnung\n"
                                     "10\t15\tHinweis: Einheit 15 hat keine Befehle.\n";
    }
    void problems()
    {
        QFETCH(int, slot);
        QFETCH(QString, lines);
        QFETCH(QString, expected);
        const QString script
            = writeScript(m_ws.file(QStringLiteral("check-%1.sh").arg(slot)), kChecker);
        m_ws.setLine(slot, Configuration::CheckerPath, script + u' ' + lines);
        QString out, err;
        QCOMPARE(cli({QStringLiteral("problems"), QStringLiteral("--slot"), QString::number(slot)},
                     &out, &err),
            0);
        QCOMPARE(out, expected);
        QVERIFY2(err.isEmpty(), qPrintable(err));
    }

    // Without a checker the hints still come, and the exit status says whether it ran.
    void problemsWithoutChecker_data()
    {
        QTest::addColumn<QString>("checker");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        QTest::newRow("none set") << "" << 0 << "kein Pfad";
        QTest::newRow("missing") << "fehlt.sh" << 2 << "nicht gefunden";
    }
    void problemsWithoutChecker()
    {
        QFETCH(QString, checker);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        m_ws.setLine(1, Configuration::CheckerPath, checker);
        QString out, err;
        QCOMPARE(cli({QStringLiteral("problems"), QStringLiteral("--slot"), QStringLiteral("1")},
                     &out, &err),
            exitCode);
        QCOMPARE(out, QStringLiteral("19\t3mz\tHinweis: Einheit 3mz hat keine Befehle.\n"));
        QVERIFY2(err.contains(said), qPrintable(err));
    }

    // An order file whose CR LF became CR CR LF is read line for line; one in UTF-16 is
    // refused with its reason and kept as it is, not read as thousands of odd words.
    void problemsOnOddOrderFiles_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("kept");
        QTest::newRow("CR CR LF") << "crcrlf" << 0
                                  << "19\t3mz\tHinweis: Einheit 3mz hat keine Befehle.\n"
                                  << "kein Pfad" << false;
        QTest::newRow("UTF-16") << "utf16" << 2 << ""
                                << "UTF-16" << true;
    }
    void problemsOnOddOrderFiles()
    {
        QFETCH(QString, form);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        QFETCH(QString, said);
        QFETCH(bool, kept);
        m_ws.setLine(1, Configuration::CheckerPath, QString());
        const QString orders = m_ws.file(QStringLiteral("spiel1/Zug-Spiel1-4-April.txt"));
        const QByteArray saved = readBytes(orders);
        QVERIFY(saved.contains("\r\n    MACHE Holz\r\n"));
        QByteArray odd = saved;
        if (form == u"crcrlf") {
            odd.replace("\r\n", "\r\r\n");
        } else {
            const QString text = QString::fromLatin1(saved);
            odd = QByteArray("\xFF\xFE")
                + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        }
        writeBytes(orders, odd);
        QString out, err;
        const int status
            = cli({QStringLiteral("problems"), QStringLiteral("--slot"), QStringLiteral("1")}, &out,
                &err);
        const QByteArray after = readBytes(orders);
        writeBytes(orders, saved);
        QCOMPARE(status, exitCode);
        QCOMPARE(out, expected);
        QVERIFY2(err.contains(said), qPrintable(err));
        if (kept) {
            QCOMPARE(after, odd);
            QVERIFY2(err.contains(QStringLiteral("Zug-Spiel1-4-April.txt")), qPrintable(err));
        }
    }

    void complete_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("order word") << QStringList {"1", "1", "2", "3mw", "LER"} << "LERNE\n";
        QTest::newRow("skill") << QStringList {"1", "1", "2", "3mw", "LERNE Hie"} << "Hiebwaffen\n";
        QTest::newRow("units of the region")
            << QStringList {"1", "1", "2", "3mw", "GIB "} << "3mx\n3my\n3uw\n";
        QTest::newRow("unit in capitals")
            << QStringList {"1", "1", "2", "3MW", "GIB "} << "3mx\n3my\n3uw\n";
        QTest::newRow("alone on level 1")
            << QStringList {"1", "3", "-4", "--level", "1", "3mz", "GIB "} << "";
        QTest::newRow("typed: the others too")
            << QStringList {"1", "3", "-4", "--level", "1", "3mz", "GIB 3m"} << "3mw\n3mx\n3my\n";
        QTest::newRow("ship") << QStringList {"1", "1", "2", "3mw", "BETRETE SCHIFF "} << "25\n";
        QTest::newRow("Sulvitan units of the region")
            << QStringList {"2", "0", "0", "12", "GIB "} << "15\n20\n";
        QTest::newRow("Sulvitan skill")
            << QStringList {"2", "0", "0", "12", "LERNE Hie"} << "Hiebwaffen\n";
        QTest::newRow("Sulvitan own words")
            << QStringList {"2", "0", "0", "15", "BETRETE "} << "BURG\nSCHIFF\n";
    }
    void complete()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        QString out, err;
        QCOMPARE(cli(QStringList {QStringLiteral("complete"), QStringLiteral("--slot")} + arguments,
                     &out, &err),
            0);
        QCOMPARE(out, expected);
        QVERIFY2(err.isEmpty(), qPrintable(err));
    }

    void completeRefusesAWrongCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        QTest::newRow("no text") << QStringList {"1", "1", "2", "3mw"} << "TEXT";
        QTest::newRow("identifier text in Sulvitan")
            << QStringList {"2", "0", "0", "3mw", "GIB "} << "keine Einheitennummer";
        QTest::newRow("coordinates") << QStringList {"1", "x", "2", "3mw", "GIB "} << "Zahlen";
    }
    void completeRefusesAWrongCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        QString out, err;
        QCOMPARE(cli(QStringList {QStringLiteral("complete"), QStringLiteral("--slot")} + arguments,
                     &out, &err),
            2);
        QVERIFY(out.isEmpty());
        QVERIFY2(err.contains(said), qPrintable(err));
    }

private:
    int cli(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr)
    {
        return runCli(
            QStringList {QStringLiteral("--workspace"), m_ws.path()} + arguments, out, err);
    }

    TempWorkspace m_ws;
};

QTEST_MAIN(TestCliOrders)
#include "test_cli_orders.moc"
