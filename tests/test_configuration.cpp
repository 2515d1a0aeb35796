#include "base/configuration.h"
#include "base/errors.h"
#include "base/gamefiles.h"
#include "base/workspace.h"
#include "testsupport.h"

#include <QtTest>
#include <unistd.h>

using namespace tolvimar;
using namespace tolvimar::test;

class TestConfiguration : public QObject
{
    Q_OBJECT
private slots:
    void blockBase_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<int>("base");
        for (int k = 1; k <= 6; ++k)
            QTest::addRow("game %d", k) << k << 23 * (k - 1);
    }
    void blockBase()
    {
        QFETCH(int, game);
        QFETCH(int, base);
        QCOMPARE(Configuration::blockBase(game), base);
    }

    void linesOfFixture_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("text");
        QTest::newRow("name 1") << 1 << int(Configuration::GameName) << "Nordreich";
        QTest::newRow("type 1") << 1 << int(Configuration::GameTypeText) << "Kalmora";
        QTest::newRow("faction 1") << 1 << int(Configuration::FactionNumber) << "154745";
        QTest::newRow("path 1") << 1 << int(Configuration::ProgramPath) << "spiel1/";
        QTest::newRow("date status 1") << 1 << 16 << "April im Jahre 4";
        QTest::newRow("checker 1") << 1 << int(Configuration::CheckerPath) << "/usr/bin/checker";
        QTest::newRow("umlaut name 2") << 2 << int(Configuration::GameName) << "Südmark";
        QTest::newRow("base 2") << 2 << int(Configuration::IdentifierBase) << "10";
        QTest::newRow("path 6") << 6 << int(Configuration::ProgramPath) << "spiel6/";
    }
    void linesOfFixture()
    {
        QFETCH(int, game);
        QFETCH(int, offset);
        QFETCH(QString, text);
        Configuration config(fixture(QStringLiteral("config/tolvimar.cfg")));
        config.load();
        QCOMPARE(config.lines().size(), 138);
        QCOMPARE(config.line(game, offset), text);
    }

    void numericLines()
    {
        Configuration config(fixture(QStringLiteral("config/tolvimar.cfg")));
        config.load();
        QCOMPARE(config.intLine(1, Configuration::OriginX), -30);
        QCOMPARE(config.intLine(3, Configuration::FactionNumber), 0);
        QCOMPARE(config.intLine(3, Configuration::IdentifierBase, 36), 36);
        try {
            config.intLine(4, Configuration::FactionNumber);
            QFAIL("a bad number must not pass");
        } catch (const UserError &e) {
            // Game 4's line 4 is line 74 of the file (counting from 1).
            QVERIFY2(e.message().contains(QStringLiteral("Zeile 74")), qPrintable(e.message()));
            QVERIFY(e.message().contains(QStringLiteral("12a")));
            QVERIFY(e.message().contains(QStringLiteral("tolvimar.cfg")));
        }
    }

    void shortFileNamesFileAndLine()
    {
        Configuration config(fixture(QStringLiteral("config/short.cfg")));
        try {
            config.load();
            QFAIL("a short file must not load");
        } catch (const UserError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("short.cfg")), qPrintable(e.message()));
            QVERIFY(e.message().contains(QStringLiteral("Zeile 101")));
        }
    }

    void missingFileIsAnError()
    {
        Configuration config(QStringLiteral("/nonexistent/tolvimar.cfg"));
        QVERIFY_THROWS_EXCEPTION(UserError, config.load());
    }

    void freshFile()
    {
        TempWorkspace ws;
        const Configuration config = ws.config();
        QCOMPARE(config.lines().size(), 138);
        for (int k = 1; k <= 6; ++k) {
            QCOMPARE(config.line(k, Configuration::ProgramPath), QStringLiteral("spiel%1/").arg(k));
            QCOMPARE(config.line(k, Configuration::GameName), QString());
            QCOMPARE(config.intLine(k, Configuration::NewestTurn), 0);
        }
        QCOMPARE(Workspace(ws.path()).resolveProgramPath(QStringLiteral("spiel2/")),
            ws.path() + QStringLiteral("/spiel2/"));
    }

    void saveIsAtomic()
    {
        TempWorkspace ws;
        Configuration config = ws.config();
        config.setLine(1, Configuration::GameName, QStringLiteral("Ändern"));
        config.save();
        QCOMPARE(ws.config().line(1, Configuration::GameName), QStringLiteral("Ändern"));

        // A save that cannot happen leaves the previous file whole.
        const QByteArray before = readBytes(config.filePath());
        QFile::setPermissions(ws.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        config.setLine(1, Configuration::GameName, QStringLiteral("Verloren"));
        bool failed = false;
        try {
            config.save();
        } catch (const UserError &) {
            failed = true;
        }
        QFile::setPermissions(
            ws.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (!failed && geteuid() == 0)
            QSKIP("root writes into read-only directories");
        QVERIFY(failed);
        QCOMPARE(readBytes(config.filePath()), before);
    }

    void joinedPaths()
    {
        QCOMPARE(joinProgramPath(QStringLiteral("/a/b/"), QStringLiteral("\\images\\")),
            QStringLiteral("/a/b/images"));
        QCOMPARE(statusDataFile(QStringLiteral("/a/b/"), 2, QStringLiteral("-kaempfe.txt")),
            QStringLiteral("/a/b/status-data/2-kaempfe.txt"));
        QCOMPARE(checkerOutputFile(QStringLiteral("/a/b/")),
            QStringLiteral("/a/b/status-data/check.txt"));
    }
};

QTEST_GUILESS_MAIN(TestConfiguration)
#include "test_configuration.moc"
