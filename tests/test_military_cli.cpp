#include "testsupport.h"

#include <QtTest>

using namespace tolvimar::test;

class TestMilitaryCli : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCOMPARE(cli({QStringLiteral("init")}), 0);
        QCOMPARE(cli({QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("1"),
                     QStringLiteral("--type"), QStringLiteral("Kalmora"),
                     fixture(QStringLiteral("reports/kalmora-klein.cr"))}),
            0);
    }
    void init() { }

private:
    int cli(QStringList arguments, QString *out = nullptr, QString *err = nullptr)
    {
        arguments.prepend(m_ws.path());
        arguments.prepend(QStringLiteral("--workspace"));
        return runCli(arguments, out, err);
    }

    TempWorkspace m_ws;
};

QTEST_GUILESS_MAIN(TestMilitaryCli)
#include "test_military_cli.moc"
