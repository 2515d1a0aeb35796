// The page "Gruppierungen" with "Alle" over a stored game of --units current units,
// offscreen: prints, in milliseconds, the core query alone, the time from "Bericht"
// to the painted first screen of the grid, and a click on a heading until the sorted
// grid is painted again; each as wall time and as the process's processor time, which
// other programs on a busy machine inflate less.
//
//   bench_groupings_page [--units 80000] [--repeat 3]

#include "app/session.h"
#include "base/configuration.h"
#include "base/scriptedprompter.h"
#include "benchgame.h"
#include "benchsupport.h"
#include "db/database.h"
#include "groupingspage.h"
#include "military/groupings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

using namespace tolvimar;
using tolvimar::bench::BenchGame;
using tolvimar::bench::offscreenApplication;
using tolvimar::bench::option;
using tolvimar::bench::writeArmyUnits;

namespace {

constexpr int kFaction = 4711;
constexpr int kTurn = 404;

void fill(Database &db, int units)
{
    Transaction t(db);
    writeArmyUnits(db, 1, units, kFaction, kTurn,
        {QStringLiteral("1. Armee"), QStringLiteral("2. Armee"), QStringLiteral("Händler"),
            QStringLiteral("Keine"), QString(), QString()});
    t.commit();
}

struct Timing
{
    double wallMs = 1e300;
    double cpuMs = 1e300;
};

double cpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The fastest of several runs, by wall time and by processor time.
Timing fastest(int repeat, const std::function<void()> &work)
{
    Timing best;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer wall;
        const double cpuStart = cpuMs();
        wall.start();
        work();
        best.wallMs = std::min(best.wallMs, wall.nsecsElapsed() / 1e6);
        best.cpuMs = std::min(best.cpuMs, cpuMs() - cpuStart);
    }
    return best;
}

// Paints the grid's visible part, as the screen would show it next.
void paintFirstScreen(QTableView *grid)
{
    QApplication::processEvents();
    grid->viewport()->grab();
}

} // namespace

int main(int argc, char **argv)
{
    const auto app = offscreenApplication<QApplication>(argc, argv);
    const QStringList args = app->arguments();
    const int units = option(args, QStringLiteral("--units"), 80000);
    const int repeat = std::max(1, option(args, QStringLiteral("--repeat"), 3));

    BenchGame game(kFaction, kTurn);
    Session &session = game.session();
    ScriptedPrompter &prompter = game.prompter;
    QElapsedTimer filling;
    filling.start();
    fill(session.database(), units);
    std::printf("%d units written in %.0f ms\n", units, double(filling.elapsed()));
    game.start();

    GroupingSelection all;
    all.date = QString::number(kTurn);
    Groupings groupings(session.database());
    int count = 0;
    const Timing query
        = fastest(repeat, [&] { count = groupings.report(session.game(), all).count; });
    std::printf("%-44s %8.1f ms (cpu %7.1f ms)  %7d rows\n", "core query (Groupings::report, Alle)",
        query.wallMs, query.cpuMs, count);

    GroupingsPage page;
    page.attach(session);
    page.showInfoDatum(kTurn);
    page.resize(1200, 700);
    page.show();
    QApplication::processEvents();
    auto *bericht = page.findChild<QPushButton *>(QStringLiteral("ButtonBerichtGruppen"));
    auto *grid = page.findChild<QTableView *>(QStringLiteral("StringGrid4"));
    const Timing first = fastest(repeat, [&] {
        bericht->click();
        paintFirstScreen(grid);
    });
    const QString shown = page.findChild<QLineEdit *>(QStringLiteral("EditAnzahl"))->text();
    std::printf("%-44s %8.1f ms (cpu %7.1f ms)  %7s rows\n", "page: Bericht to the first screen",
        first.wallMs, first.cpuMs, qPrintable(shown));
    if (!prompter.log.isEmpty())
        std::printf("message: %s\n", qPrintable(prompter.log.last().text));

    int column = 0;
    const Timing sort = fastest(repeat, [&] {
        // Alternating headings, so that every run sorts anew.
        emit grid->horizontalHeader()->sectionClicked(column++ % 2 == 0 ? 2 : 4);
        paintFirstScreen(grid);
    });
    std::printf("%-44s %8.1f ms (cpu %7.1f ms)\n", "page: a heading clicked, sorted and painted",
        sort.wallMs, sort.cpuMs);
    return 0;
}
