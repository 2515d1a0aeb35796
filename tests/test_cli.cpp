#include "testsupport.h"

#include <QtTest>

using namespace tolvimar::test;

class TestCli : public QObject
{
    Q_OBJECT
private slots:
    void initCreatesWorkspace()
    {
        QTemporaryDir dir;
        const QString ws = dir.filePath(QStringLiteral("neu"));
        QCOMPARE(runCli({QStringLiteral("--workspace"), ws, QStringLiteral("init")}), 0);
        QVERIFY(QFileInfo::exists(ws + QStringLiteral("/tolvimar.cfg")));
        QVERIFY(QFileInfo::exists(ws + QStringLiteral("/kalmora.sqlite")));
        // A second init keeps what is there.
        const QByteArray before = readBytes(ws + QStringLiteral("/tolvimar.cfg"));
        QCOMPARE(runCli({QStringLiteral("--workspace"), ws, QStringLiteral("init")}), 0);
        QCOMPARE(readBytes(ws + QStringLiteral("/tolvimar.cfg")), before);
    }

    void importExitStatus_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stderrPart");
        QTest::newRow("imported") << "Kalmora"
                                  << "" << false << 0 << "";
        QTest::newRow("old version, no") << "Kalmora"
                                         << "VERSION 33" << false << 1 << "CR34-CR45";
        QTest::newRow("old version, yes") << "Kalmora"
                                          << "VERSION 33" << true << 0 << "";
        QTest::newRow("wrong game type") << "Sulvitan"
                                         << "" << false << 1 << "Spieltyp";
        QTest::newRow("bad number") << "Kalmora"
                                    << "1250;Bauern>12x0;Bauern" << false << 2 << "Zeile 154";
        QTest::newRow("missing file") << "Kalmora"
                                      << "missing" << false << 2 << "nicht gelesen";
    }
    void importExitStatus()
    {
        QFETCH(QString, type);
        QFETCH(QString, change);
        QFETCH(bool, yes);
        QFETCH(int, exitCode);
        QFETCH(QString, stderrPart);
        TempWorkspace ws;
        QCOMPARE(runCli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("init")}), 0);
        QString report
            = QString::fromLatin1(readBytes(fixture(QStringLiteral("reports/kalmora-klein.cr"))));
        if (change.startsWith(QStringLiteral("VERSION")))
            report.replace(QStringLiteral("VERSION 42"), change);
        else if (change.contains(u'>'))
            report.replace(change.section(u'>', 0, 0), change.section(u'>', 1));
        QString path = ws.file(QStringLiteral("bericht.cr"));
        if (change == u"missing")
            path = ws.file(QStringLiteral("fehlt.cr"));
        else
            writeBytes(path, report.toLatin1());
        const QByteArray before = readBytes(ws.file(QStringLiteral("kalmora.sqlite")));
        QStringList args {QStringLiteral("--workspace"), ws.path(), QStringLiteral("import"),
            QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("--type"), type};
        if (yes)
            args.append(QStringLiteral("--yes"));
        args.append(path);
        QString out, err;
        QCOMPARE(runCli(args, &out, &err), exitCode);
        if (exitCode == 0) {
            QVERIFY2(out.contains(QStringLiteral("April im Jahre 4")), qPrintable(out));
            QVERIFY(out.contains(QStringLiteral("4 Regionen")));
            QVERIFY(out.contains(QStringLiteral("5 Einheiten")));
        } else {
            QVERIFY2(err.contains(stderrPart), qPrintable(err));
            QCOMPARE(readBytes(ws.file(QStringLiteral("kalmora.sqlite"))), before);
        }
    }

    void statusAfterImport()
    {
        TempWorkspace ws;
        QCOMPARE(
            runCli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("import"),
                QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("--type"),
                QStringLiteral("Kalmora"), fixture(QStringLiteral("reports/kalmora-klein.cr"))}),
            0);
        QString out;
        QCOMPARE(runCli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("status"),
                            QStringLiteral("--slot"), QStringLiteral("1")},
                     &out),
            0);
        for (const char *part :
            {"Datum             April im Jahre 4", "Gesamteinkommen : 150 Silber",
                "Ork Vermehrung    7 Orks", "Holz       : 12", "Silber            930"})
            QVERIFY2(out.contains(QString::fromUtf8(part)), qPrintable(out));
        const QStringList lines = out.split(u'\n');
        const int heading = lines.indexOf(QStringLiteral("Punkte Statistik"));
        QVERIFY(heading > 0);
        QCOMPARE(lines[heading + 2].simplified(), QStringLiteral("404 812 700 112 930 17"));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no command") << QStringList {};
        QTest::newRow("unknown command") << QStringList {QStringLiteral("zaubern")};
        QTest::newRow("unknown option")
            << QStringList {QStringLiteral("--farbe"), QStringLiteral("init")};
        QTest::newRow("workspace without dir") << QStringList {QStringLiteral("--workspace")};
        QTest::newRow("init with extra")
            << QStringList {QStringLiteral("init"), QStringLiteral("x")};
        QTest::newRow("import without slot")
            << QStringList {QStringLiteral("import"), QStringLiteral("a.cr")};
        QTest::newRow("import slot 7") << QStringList {QStringLiteral("import"),
            QStringLiteral("--slot"), QStringLiteral("7"), QStringLiteral("a.cr")};
        QTest::newRow("import bad type")
            << QStringList {QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("1"),
                   QStringLiteral("--type"), QStringLiteral("Drachenwald"), QStringLiteral("a.cr")};
        QTest::newRow("import without file") << QStringList {
            QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("1")};
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QString err;
        QCOMPARE(runCli(arguments, nullptr, &err), 2);
        QVERIFY(err.contains(QStringLiteral("Aufruf:")));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
