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

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no command") << QStringList {};
        QTest::newRow("unknown command") << QStringList {QStringLiteral("zaubern")};
        QTest::newRow("unknown option") << QStringList {QStringLiteral("--farbe"), QStringLiteral("init")};
        QTest::newRow("workspace without dir") << QStringList {QStringLiteral("--workspace")};
        QTest::newRow("init with extra") << QStringList {QStringLiteral("init"), QStringLiteral("x")};
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
