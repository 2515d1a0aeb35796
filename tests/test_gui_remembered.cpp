#include "commandline.h"
#include "desktopsettings.h"
#include "guisupport.h"
#include "mainwindow.h"
#include "recentreports.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

QString reportFixture()
{
    return fixture(QStringLiteral("reports/kalmora-klein.cr"));
}

// Copies of the small report under other names, so that each import is a file of its own.
QStringList reportCopies(const QTemporaryDir &dir, int count)
{
    QStringList paths;
    for (int i = 1; i <= count; ++i) {
        const QString path = dir.filePath(QStringLiteral("zug%1.cr").arg(i));
        QFile::copy(reportFixture(), path);
        paths.append(path);
    }
    return paths;
}

QStringList entryTexts(const QMenu *menu)
{
    QStringList texts;
    const QList<QAction *> actions = menu->actions();
    for (const QAction *action : actions) {
        if (!action->isSeparator())
            texts.append(action->text());
    }
    return texts;
}

struct DropResult
{
    bool enterAccepted = false;
    bool dropAccepted = false;
};

// Drags the urls over the status bar (which takes no drops itself, as most of the
// window) and drops them there.
DropResult dropOnto(MainWindow &window, const QList<QUrl> &urls)
{
    QWidget *target = window.statusBar();
    QMimeData data;
    data.setUrls(urls);
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    DropResult result;
    result.enterAccepted = enter.isAccepted();
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    result.dropAccepted = drop.isAccepted();
    return result;
}

} // namespace

// What the window remembers from one run to the next and the ways a report reaches it
// besides the file dialog: the recent list, a drop, the command line.
class TestGuiRemembered : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        DesktopSettings::setFile(m_config.filePath(QStringLiteral("tolvimar.conf")));
    }
    void init() { QFile::remove(DesktopSettings::file()); }

    void recentReportsKeepTheLastFive()
    {
        QTemporaryDir dir;
        const QStringList reports = reportCopies(dir, 6);
        GuiHarness gui(true);
        auto *menu = gui.find<QMenu>(QStringLiteral("ZuletztEingelesen1"));
        QVERIFY(!menu->menuAction()->isEnabled()); // nothing imported yet
        gui.start(1);
        answerFactionQuestion(gui);
        for (const QString &report : reports)
            gui.importThroughMenu(report);
        QVERIFY(menu->menuAction()->isEnabled());
        QCOMPARE(partOf<RecentReports>(*gui.main)->files(),
            (QStringList {reports[5], reports[4], reports[3], reports[2], reports[1]}));
        const QStringList texts = entryTexts(menu);
        QCOMPARE(texts.size(), RecentReports::kMaximum + 1); // and "Liste leeren"
        QVERIFY2(
            texts.first().startsWith(QStringLiteral("&1 zug6.cr  (")), qPrintable(texts.first()));
        QCOMPARE(texts.last(), QStringLiteral("Liste &leeren"));

        // Choosing an entry imports that report again; it moves to the top.
        gui.find<QAction>(QStringLiteral("Zuletzt3"))->trigger();
        gui.waitForImport();
        QCOMPARE(partOf<RecentReports>(*gui.main)->files(),
            (QStringList {reports[3], reports[5], reports[4], reports[2], reports[1]}));

        // A report that is refused (another game type) does not join the list.
        gui.importThroughMenu(fixture(QStringLiteral("reports/sulvitan-klein.cr")));
        QCOMPARE(partOf<RecentReports>(*gui.main)->files().first(), reports[3]);

        // A file that has gone is shown, but cannot be chosen.
        QVERIFY(QFile::remove(reports[5]));
        emit menu->aboutToShow();
        QVERIFY(!gui.find<QAction>(QStringLiteral("Zuletzt2"))->isEnabled());
        QVERIFY(gui.find<QAction>(QStringLiteral("Zuletzt1"))->isEnabled());
    }

    void recentReportsSurviveARestart()
    {
        QTemporaryDir dir;
        const QStringList reports = reportCopies(dir, 2);
        {
            GuiHarness gui(true);
            gui.start(1);
            answerFactionQuestion(gui);
            gui.importThroughMenu(reports[0]);
            gui.importThroughMenu(reports[1]);
        }
        GuiHarness again(true);
        QCOMPARE(
            partOf<RecentReports>(*again.main)->files(), (QStringList {reports[1], reports[0]}));
        again.start(1);
        again.find<QAction>(QStringLiteral("ZuletztLeeren1"))->trigger();
        QVERIFY(partOf<RecentReports>(*again.main)->files().isEmpty());
        GuiHarness third(true);
        QVERIFY(partOf<RecentReports>(*third.main)->files().isEmpty());
        QVERIFY(
            !third.find<QMenu>(QStringLiteral("ZuletztEingelesen1"))->menuAction()->isEnabled());
    }

    void aDroppedReportIsImported()
    {
        GuiHarness gui(true);
        // Before a game is open the window takes nothing.
        const DropResult early = dropOnto(*gui.main, {QUrl::fromLocalFile(reportFixture())});
        QVERIFY(!early.enterAccepted);
        QVERIFY(!early.dropAccepted);

        gui.start(1);
        answerFactionQuestion(gui);
        const DropResult dropped = dropOnto(*gui.main, {QUrl::fromLocalFile(reportFixture())});
        QVERIFY(dropped.enterAccepted);
        QVERIFY(dropped.dropAccepted);
        // The import runs after the drop has ended; an imported report joins the list.
        QVERIFY(partOf<RecentReports>(*gui.main)->files().isEmpty());
        QTRY_COMPARE(partOf<RecentReports>(*gui.main)->files(), QStringList {reportFixture()});
        onlyTheFactionQuestion(gui);
    }

    void onlyOneLocalFileIsTaken_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        const QUrl report = QUrl::fromLocalFile(reportFixture());
        QTest::newRow("two files") << QList<QUrl> {report, report};
        QTest::newRow("a folder") << QList<QUrl> {QUrl::fromLocalFile(QDir::tempPath())};
        QTest::newRow("a web address")
            << QList<QUrl> {QUrl(QStringLiteral("https://example.org/a.cr"))};
        QTest::newRow("a missing file")
            << QList<QUrl> {QUrl::fromLocalFile(QDir::temp().filePath(QStringLiteral("fehlt.cr")))};
    }
    void onlyOneLocalFileIsTaken()
    {
        QFETCH(QList<QUrl>, urls);
        GuiHarness gui(true);
        gui.start(1);
        const DropResult result = dropOnto(*gui.main, urls);
        QVERIFY(!result.enterAccepted);
        QVERIFY(!result.dropAccepted);
        QTest::qWait(50);
        QVERIFY(partOf<RecentReports>(*gui.main)->files().isEmpty());
        QVERIFY(gui.prompter.log.isEmpty());
    }

    void sizePositionAndSplittersAreRestored()
    {
        QList<int> mainSizes, pageSizes;
        QRect geometry;
        {
            GuiHarness gui(true);
            gui.main->move(30, 40);
            gui.main->resize(gui.main->minimumSizeHint().width() + 50, 500);
            auto *splitter = gui.find<QSplitter>(QStringLiteral("SplitterMain"));
            auto *pages = gui.find<QSplitter>(QStringLiteral("SplitterSeiten"));
            QCoreApplication::processEvents();
            splitter->setSizes({250, 400});
            pages->setSizes({100, 300});
            mainSizes = splitter->sizes();
            pageSizes = pages->sizes();
            geometry = gui.main->geometry();
            QVERIFY(gui.main->close());
        }
        GuiHarness again(true);
        QCOMPARE(again.main->geometry(), geometry);
        QTRY_COMPARE(again.find<QSplitter>(QStringLiteral("SplitterMain"))->sizes(), mainSizes);
        QCOMPARE(again.find<QSplitter>(QStringLiteral("SplitterSeiten"))->sizes(), pageSizes);
    }

    void aDamagedSettingsFileIsIgnored()
    {
        writeBytes(DesktopSettings::file(),
            "[General]\nrecentReports=@Variant(\\0\\0\\0\\x7f\\xff)\n[mainWindow]\n"
            "geometry=@ByteArray(\\x1\\xd9\\xd0)\nsplitters\\SplitterMain=kaputt\n\x01\xff\n");
        GuiHarness gui(true);
        QVERIFY(gui.main->isVisible());
        QVERIFY(partOf<RecentReports>(*gui.main)->files().isEmpty());
        gui.start(1);
        answerFactionQuestion(gui);
        gui.importThroughMenu(reportFixture());
        QCOMPARE(partOf<RecentReports>(*gui.main)->files(), QStringList {reportFixture()});
    }

    void aCloseThatIsCancelledKeepsNothing()
    {
        GuiHarness gui(true);
        gui.start(1);
        gui.importThroughMenu(reportFixture());
        templateEditor(*gui.main)->appendPlainText(QStringLiteral("; neu"));
        gui.prompter.choiceAnswers.enqueue(QStringLiteral("Abbrechen"));
        QVERIFY(!gui.main->close());
        QVERIFY(!QFileInfo::exists(DesktopSettings::file())
            || !QSettings(DesktopSettings::file(), QSettings::IniFormat)
                    .contains(QStringLiteral("mainWindow/geometry")));
    }

    void reportOnTheCommandLineIsImportedIntoTheStartedGame()
    {
        const StartOptions options
            = StartOptions::read({QStringLiteral("tolvimar"), QStringLiteral("--workspace"),
                QStringLiteral("/arbeit"), QStringLiteral("neu/zug.cr")});
        QVERIFY(!options.exitStatus);
        QCOMPARE(options.workspace, QStringLiteral("/arbeit"));
        QCOMPARE(options.report, QDir::current().absoluteFilePath(QStringLiteral("neu/zug.cr")));

        GuiHarness gui(true);
        importWhenGameStarts(*gui.session, *gui.main, reportFixture());
        QTest::qWait(50);
        QVERIFY(partOf<RecentReports>(*gui.main)->files().isEmpty()); // waits for "Start"
        answerFactionQuestion(gui);
        gui.start(1);
        QTRY_COMPARE(partOf<RecentReports>(*gui.main)->files(), QStringList {reportFixture()});
        QCOMPARE(gui.session->game().number, 1);
        onlyTheFactionQuestion(gui);
    }

private:
    // The fixture's game 1 belongs to "Die Wanderer", the report to "Die Grauen
    // Falken": the import asks before it replaces the game's faction.
    static void answerFactionQuestion(GuiHarness &gui) { gui.prompter.yesNoAnswers.enqueue(true); }
    static void onlyTheFactionQuestion(const GuiHarness &gui)
    {
        QCOMPARE(gui.prompter.log.size(), 1);
        QVERIFY2(gui.prompter.log.first().text.contains(QStringLiteral("Die Grauen Falken")),
            qPrintable(gui.prompter.log.first().text));
    }

    QTemporaryDir m_config;
};

QTEST_MAIN(TestGuiRemembered)
#include "test_gui_remembered.moc"
