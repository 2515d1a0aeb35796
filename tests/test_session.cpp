#include "app/session.h"
#include "base/errors.h"
#include "base/scriptedprompter.h"
#include "testsupport.h"

#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// A workspace whose configuration is the fixture file.
struct FixtureWorkspace
{
    TempWorkspace ws;
    FixtureWorkspace()
    {
        QFile::remove(ws.file(QStringLiteral("tolvimar.cfg")));
        QFile::copy(fixture(QStringLiteral("config/tolvimar.cfg")),
            ws.file(QStringLiteral("tolvimar.cfg")));
        QFile::setPermissions(ws.file(QStringLiteral("tolvimar.cfg")),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
};

} // namespace

class TestSession : public QObject
{
    Q_OBJECT
private slots:
    void gameTypeFromCaption_data()
    {
        QTest::addColumn<QString>("typeText");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Kalmora") << "Kalmora" << 1 << "Kalmora Assistent";
        QTest::newRow("Sulvitan") << "Sulvitan" << 2 << "Sulvitan Assistent";
        QTest::newRow("empty") << "" << 2 << " Assistent";
        QTest::newRow("other case") << "kalmora" << 2 << "kalmora Assistent";
    }
    void gameTypeFromCaption()
    {
        QFETCH(QString, typeText);
        QFETCH(int, type);
        QFETCH(QString, caption);
        TempWorkspace ws;
        ScriptedPrompter prompter;
        Session session(ws.path(), prompter);
        session.openGame(3, QStringLiteral("Test"), typeText);
        QCOMPARE(int(session.game().type), type);
        QCOMPARE(session.caption(), caption);
    }

    void valuesOfTheSlot()
    {
        FixtureWorkspace f;
        ScriptedPrompter prompter;
        Session session(f.ws.path(), prompter);
        session.openGame(1, QStringLiteral("Nordreich"), QStringLiteral("Kalmora"));
        const ActiveGame &g = session.game();
        QCOMPARE(g.number, 1);
        QCOMPARE(g.factionNumber, 154745);
        QCOMPARE(g.factionName, QStringLiteral("Die Wanderer"));
        QCOMPARE(g.newestTurn, 404);
        QCOMPARE(session.mapState().origin().x(), -30.0);
        QCOMPARE(session.mapState().currentPosition(), QPoint(-1, 5));
        QCOMPARE(g.base, 36);
        QCOMPARE(g.checkerPath, QStringLiteral("/usr/bin/checker"));
        QCOMPARE(g.programPath, f.ws.path() + QStringLiteral("/spiel1/"));
        // The folders the program writes into exist now.
        QVERIFY(QFileInfo(f.ws.file(QStringLiteral("spiel1/images"))).isDir());
        QVERIFY(QFileInfo(f.ws.file(QStringLiteral("spiel1/status-data"))).isDir());
        // A missing cached map is reported without a box.
        QVERIFY(prompter.log.isEmpty());
        QCOMPARE(prompter.notices.size(), 1);
    }

    void neverImportedSlotOpens()
    {
        TempWorkspace ws;
        ScriptedPrompter prompter;
        Session session(ws.path(), prompter);
        session.openGame(5, QString(), QString());
        QCOMPARE(session.game().factionNumber, 0);
        QCOMPARE(session.game().newestTurn, 0);
        QCOMPARE(session.game().base, 36);
    }

    // Held pages are invisible to readers: a read brings them back, a
    // replacement drops them, and holding twice keeps the first copy.
    void heldPagesComeBackOnRead()
    {
        TempWorkspace ws;
        ScriptedPrompter prompter;
        Session session(ws.path(), prompter);
        ReportPages pages;
        pages[Page::Handel] = QStringList {QStringLiteral("Öl für 5 \u20ac"), QString()};
        pages.kaempfeRed = true;
        session.setPages(pages);

        session.holdPages();
        session.holdPages();
        QCOMPARE(session.pages()[Page::Handel], pages[Page::Handel]);
        QVERIFY(session.pages().kaempfeRed);

        session.holdPages();
        session.setPages(ReportPages());
        session.restoreHeldPages();
        QVERIFY(session.pages()[Page::Handel].isEmpty());
    }

    void badNumberStopsOpening()
    {
        FixtureWorkspace f;
        ScriptedPrompter prompter;
        Session session(f.ws.path(), prompter);
        try {
            session.openGame(4, QStringLiteral("Kaputt"), QStringLiteral("Kalmora"));
            QFAIL("opening must stop");
        } catch (const UserError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("Zeile 74")), qPrintable(e.message()));
        }
        // The steps before the failing one stay done.
        QCOMPARE(session.game().number, 4);
        QCOMPARE(session.game().type, GameType::Kalmora);
    }

    void saveGameSlot()
    {
        FixtureWorkspace f;
        ScriptedPrompter prompter;
        Session session(f.ws.path(), prompter);
        session.openGame(3, QStringLiteral("Neu benannt"), QStringLiteral("Sulvitan"));
        ActiveGame g = session.game();
        g.factionName = QStringLiteral("Händler");
        g.factionNumber = 4711;
        g.newestTurn = 301;
        g.base = 10;
        session.setGame(g);
        session.mapState().setOrigin(QPointF(-12, 7));
        session.saveGameSlot();
        Configuration c = f.ws.config();
        QCOMPARE(c.line(3, Configuration::GameName), QStringLiteral("Neu benannt"));
        QCOMPARE(c.line(3, Configuration::GameTypeText), QStringLiteral("Sulvitan"));
        QCOMPARE(c.line(3, Configuration::FactionName), QStringLiteral("Händler"));
        QCOMPARE(c.line(3, Configuration::FactionNumber), QStringLiteral("4711"));
        QCOMPARE(c.line(3, Configuration::NewestTurn), QStringLiteral("301"));
        QCOMPARE(c.line(3, Configuration::OriginX), QStringLiteral("-12"));
        QCOMPARE(c.line(3, Configuration::IdentifierBase), QStringLiteral("10"));

        // An older turn leaves the newest turn alone; a level other than 0 the origin.
        g.newestTurn = 212;
        session.setGame(g);
        session.mapState().setLevel(1);
        session.mapState().setOrigin(QPointF(99, 7));
        session.saveGameSlot();
        c = f.ws.config();
        QCOMPARE(c.line(3, Configuration::NewestTurn), QStringLiteral("301"));
        QCOMPARE(c.line(3, Configuration::OriginX), QStringLiteral("-12"));
        // Other slots are untouched.
        QCOMPARE(c.line(1, Configuration::GameName), QStringLiteral("Nordreich"));
    }

    void settingsChangeProgramPath()
    {
        FixtureWorkspace f;
        ScriptedPrompter prompter;
        Session session(f.ws.path(), prompter);
        session.openGame(2, QStringLiteral("Südmark"), QStringLiteral("Sulvitan"));
        Session::Settings s = session.settings();
        QCOMPARE(s.homeX, QStringLiteral("3"));
        QCOMPARE(s.programPath, QStringLiteral("spiel2/"));
        s.programPath = QStringLiteral("anderswo/");
        s.checkerPath = QStringLiteral("/opt/check");
        session.saveSettings(s);
        QCOMPARE(session.game().programPath, f.ws.path() + QStringLiteral("/anderswo/"));
        QCOMPARE(session.game().checkerPath, QStringLiteral("/opt/check"));
        QCOMPARE(f.ws.config().line(2, Configuration::ProgramPath), QStringLiteral("anderswo/"));
        // The home region takes effect at the next start, not now.
        QCOMPARE(session.mapState().currentPosition().x(), 3);
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "test_session.moc"
