// Pictures of the three military pages over a generated report, taken from the screen
// (run it on a real or virtual display):
//   tolvimar_military_screenshots OUTDIR
// Some own units are put into armies first, so that every page has rows.
#include "app/session.h"
#include "appwindows.h"
#include "armypage.h"
#include "base/scriptedprompter.h"
#include "detailpages.h"
#include "groupingspage.h"
#include "mainwindow.h"
#include "military/groupings.h"
#include "report/importprogress.h"
#include "reportgenerator.h"
#include "reportgrid.h"
#include "selectiondialog.h"
#include "shipregisterpage.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QScreen>
#include <QTabWidget>
#include <QThread>

using namespace tolvimar;

namespace {

void settle()
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(25);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    test::TempWorkspace ws;
    ws.setLine(1, Configuration::GameName, QStringLiteral("Nordreich"));
    ws.setLine(1, Configuration::GameTypeText, QStringLiteral("Kalmora"));
    ScriptedPrompter prompter;
    Session session(ws.path(), prompter);
    auto main = createWindows(session, prompter, false);
    main->windows().selection->hide();
    main->setGeometry(0, 0, 1400, 900);
    main->startGame(1, QStringLiteral("Nordreich"), QStringLiteral("Kalmora"));

    ReportGenerator::Options options;
    options.targetBytes = 150 * 1024;
    options.seed = 7;
    const QString report = ws.file(QStringLiteral("bericht.cr"));
    ReportGenerator(options).writeFile(report);
    ImportProgress progress;
    ReportImporter(session, progress).importFile(report);

    // Every third own unit of the turn into one of the armies.
    Groupings groupings(session.database());
    GroupingSelection own;
    own.faction = session.game().factionNumber;
    own.date = QString::number(session.game().newestTurn);
    const GridRows rows = groupings.report(session.game(), own).gridRows();
    for (int r = 1; r < rows.size(); r += 3) {
        const QString army = QStringLiteral("%1. Armee").arg(1 + r % 4);
        groupings.groupchange(session.game(), army, rows[r][1], rows[r][3]);
    }

    DetailPages *pages = main->findChild<DetailPages *>();
    const struct
    {
        QWidget *page;
        const char *button;
        const char *file;
    } shots[] = {
        {pages->findChild<GroupingsPage *>(), "ButtonBerichtGruppen", "military-gruppierungen.png"},
        {pages->findChild<ArmyPage *>(), "ButtonBerichtArmee", "military-armee-info.png"},
        {pages->findChild<ShipRegisterPage *>(), "ButtonBerichtSchiffe",
            "military-schiffsregister.png"},
    };
    for (const auto &shot : shots) {
        pages->setCurrentWidget(shot.page);
        main->findChild<QAbstractButton *>(QString::fromLatin1(shot.button))->click();
        settle();
        QGuiApplication::primaryScreen()
            ->grabWindow(0, 0, 0, 1400, 900)
            .save(out + u'/' + QString::fromLatin1(shot.file));
    }
    // The group menu over the first unit's group.
    pages->setCurrentWidget(pages->findChild<GroupingsPage *>());
    GroupingsPage *page = pages->findChild<GroupingsPage *>();
    page->Gruppierungen();
    settle();
    auto *grid = page->findChild<ReportGrid *>(QStringLiteral("StringGrid4"));
    page->StringGrid4MouseDown(
        Qt::RightButton, grid->visualRect(grid->model()->index(2, 0)).center());
    settle();
    QGuiApplication::primaryScreen()
        ->grabWindow(0, 0, 0, 1400, 900)
        .save(out + QStringLiteral("/military-gruppenmenue.png"));
    page->findChild<QMenu *>(QStringLiteral("PopupMenuGruppe"))->hide();

    for (const QString &t : prompter.texts())
        qWarning("%s", qPrintable(t));
    return 0;
}
