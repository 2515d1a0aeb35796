// The alliance map at scale: two players' workspaces of 100,000 regions and 130,000
// units each (disjoint), plus 6,000 castles and 4,000 ships. Player B pushes to an
// empty server; then player A syncs, sending all of its rows and bringing all of B's.
// Prints the seconds of each phase, the rows moved and the peak memory. Without
// --server it starts a PostgreSQL server of its own in a temporary folder (as the tests
// do); --server CONNINFO names an empty database instead.
//
//   bench_share [--regions 100000] [--units 130000] [--server CONNINFO] [--steps]

#include "app/alliancesync.h"
#include "app/session.h"
#include "base/scriptedprompter.h"
#include "benchsupport.h"
#include "db/database.h"
#include "db/sqlitestatement.h"
#include "pgtestserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

using namespace tolvimar;
using namespace Qt::StringLiterals;

namespace {

void run(SqliteStatement &s, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        s.bind(i, values[i]);
    s.step();
    s.reset();
}

// Regions in a block of 400 columns from column x0, units numbered from firstUnit;
// filled as an import fills them (names, numbers, a description, items, skills, orders).
void fill(Database &db, int regions, int units, int x0, int firstUnit, int seed)
{
    std::mt19937 random(seed);
    const QStringList terrains
        = {u"Ebene"_s, u"Wald"_s, u"Berge"_s, u"Sumpf"_s, u"Ozean"_s, u"Hochland"_s};
    db.begin();
    SqliteStatement region(
        db.handle(), uR"(INSERT INTO "regionen" ("Spiel", "Breite", "Länge", "Ebene", "Regionname",
            "Regiontyp", "Holzstämme", "Bauern", "VermögenBauern", "Pferde", "Unterhaltung max",
            "Arbeitslohn", "Rekrutieren", "Luxusgüter", "Info Datum", "Bewachung", "Beschreibung",
            "Strasse", "Lean", "Eisen", "Mallorn", "Balsam", "Gewuerz", "Juwel", "Myrrhe", "Oel",
            "Seide", "Weihrauch", "Umgebung", "Strasse1", "Strasse2", "Strasse3", "Strasse4",
            "Strasse5")
            VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 11, ?, ?, ?, 'unbewacht', ?, 0, -1, ?, 0, 4,
                    5, 6, 7, 8, 9, 10, '', 0, 0, 0, 0, 0))"_s);
    for (int i = 0; i < regions; ++i) {
        const int peasants = int(random() % 5000);
        run(region,
            {x0 + i % 400, i / 400, i % 50 == 0 ? 1 : 0, u"Region %1"_s.arg(i),
                terrains.at(random() % terrains.size()), int(random() % 800), peasants,
                peasants * 20, int(random() % 100), peasants / 2, peasants / 40, peasants / 100,
                1200 + int(random() % 5), u"Sanfte Hügel und weite Felder."_s, int(random() % 30)});
    }
    SqliteStatement castle(db.handle(),
        uR"(INSERT INTO "burgen" ("Spiel", "Burg Nr", "Burg Name", "Burg Position", "Typ",
            "Burggrösse", "Besitzer", "Partei", "Info Datum") VALUES (1, ?, ?, ?, 'Burg', ?, ?, ?,
            1204))"_s);
    for (int n = 0; n < 3000; ++n)
        run(castle,
            {firstUnit + n, u"Feste %1"_s.arg(n), u"%1/%2"_s.arg(x0 + n % 400).arg(n / 400),
                int(random() % 300), firstUnit + n, 4711});
    SqliteStatement ship(db.handle(),
        uR"(INSERT INTO "schiffe" ("Spiel", "Schiffs Nr", "Schiffs Name", "Schiffs Position",
            "Schiffstyp", "Partei", "Kapitaen", "Kueste", "Ladung", "MaxLadung", "Prozent",
            "Info Datum") VALUES (1, ?, ?, ?, 'Boot', 4711, ?, 'Ostküste', 3, 50, 100, 1204))"_s);
    for (int n = 0; n < 2000; ++n)
        run(ship,
            {firstUnit + n, u"Segler %1"_s.arg(n), u"%1/%2"_s.arg(x0 + n % 400).arg(n / 400),
                firstUnit + n});
    SqliteStatement unit(db.handle(),
        uR"(INSERT INTO "einheiten" ("Spiel", "Einheit Position", "Einheit Nr", "Einheit Name",
            "Einheit Beschreibung", "Personen", "Stationiert", "Partei Nr", "Status", "Silber",
            "Holz", "Pferd", "Eisen", "Schwert", "Speer", "Bogen", "Kettenhemd", "Schild",
            "Ausdauer", "Hiebwaffen", "Reiten", "Taktik", "Wahrnehmung", "Default Befehl",
            "Info Datum", "Rasse", "Gruppe", "Kommt aus", "Flags", "Einreisedatum", "Hitpoints")
            VALUES (1, ?, ?, ?, ?, ?, 'in Region', ?, 'kämpft vorne', ?, ?, ?, ?, ?, ?, ?, ?, ?,
                    '3', '4', '2', '1', '2', ?, 1204, 'Menschen', ?, 'unbekannt', ?, 1201,
                    'normal'))"_s);
    for (int n = 0; n < units; ++n) {
        const int at = int(random() % regions);
        run(unit,
            {u"%1/%2"_s.arg(x0 + at % 400).arg(at / 400), firstUnit + n, u"Einheit %1"_s.arg(n),
                n % 3 ? QString() : u"Wachen am Tor der Stadt."_s, int(random() % 100) + 1,
                4711 + int(random() % 50), int(random() % 5000), int(random() % 20),
                int(random() % 5), int(random() % 10), int(random() % 10), int(random() % 10),
                int(random() % 10), int(random() % 10), int(random() % 10),
                u"ARBEITE\r\nLERNE Hiebwaffen"_s, n % 4 ? QString() : u"1. Armee"_s,
                n % 10 ? QString() : u"X"_s});
    }
    db.commit();
}

long peakKib()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

// Processor time of this process (not the server's), in seconds.
double cpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Processor time of the server: its main process, the backends that ended (waited
// for) and those still running. 0 when the server is not ours.
qint64 g_postmaster = 0;
double serverSeconds()
{
    if (!g_postmaster)
        return 0;
    const double tick = double(sysconf(_SC_CLK_TCK));
    auto times = [&](qint64 pid, bool children) {
        QFile stat(u"/proc/%1/stat"_s.arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return 0.0;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> f = text.mid(text.lastIndexOf(')') + 2).split(' ');
        // utime, stime, cutime, cstime are fields 14 to 17; f starts at field 3.
        double t = f.value(11).toDouble() + f.value(12).toDouble();
        if (children)
            t += f.value(13).toDouble() + f.value(14).toDouble();
        return t / tick;
    };
    double total = times(g_postmaster, true);
    for (const QString &entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        QFile stat(u"/proc/%1/stat"_s.arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> f = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (f.value(1).toLongLong() == g_postmaster)
            total += times(pid, false);
    }
    return total;
}

// Notes when the pull begins, to split a sync's time.
struct PhaseClock : ShareProgress
{
    QElapsedTimer timer;
    double cpuStart = cpuSeconds();
    double serverStart = serverSeconds();
    qint64 pullStartMs = -1;
    bool verbose = false;
    void setStep(const QString &step) override
    {
        if (pullStartMs < 0 && step.startsWith(u"Herunterladen"))
            pullStartMs = timer.elapsed();
        if (verbose)
            std::printf("    %7.2f s (%.2f s processor)  %s\n", timer.elapsed() / 1000.0,
                cpuSeconds() - cpuStart, qPrintable(step));
    }
};

struct Player
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<Session> session;
    Player()
    {
        session = std::make_unique<Session>(dir.path(), prompter);
        session->openGame(1, u"Bench"_s, u"Kalmora"_s);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int regions = bench::option(args, u"--regions"_s, 100000);
    const int units = bench::option(args, u"--units"_s, 130000);
    const qsizetype serverAt = args.indexOf(u"--server"_s);
    QString server
        = serverAt >= 0 && serverAt + 1 < args.size() ? args.at(serverAt + 1) : QString();

    test::TestPostgres postgres;
    if (server.isEmpty()) {
        QString problem;
        if (!postgres.start(&problem)) {
            std::fprintf(stderr, "no PostgreSQL server: %s\n", qPrintable(problem));
            return 1;
        }
        server = postgres.conninfo(postgres.createDatabase());
        g_postmaster = postgres.postmasterPid();
    }

    Player a;
    Player b;
    QElapsedTimer timer;
    timer.start();
    fill(a.session->database(), regions, units, 0, 1, 1);
    // b's regions lie west of a's, within the coordinates a pull takes.
    fill(b.session->database(), regions, units, -400, 1000000, 2);
    std::printf("generated two workspaces of %d regions, %d units, 3000 castles, 2000 ships: "
                "%.1f s\n",
        regions, units, timer.elapsed() / 1000.0);

    // A measurement: no deadline for the whole run.
    PgConnection::Options unbounded;
    unbounded.totalTimeoutMs = -1;
    PhaseClock clock;
    clock.timer.start();
    AllianceSync::Result r = AllianceSync(*b.session, clock)
                                 .run(AllianceSync::Direction::Push, server, QString(), unbounded);
    if (r.status == AllianceSync::Result::Failed) {
        std::fprintf(stderr, "%s\n", qPrintable(r.message));
        return 1;
    }
    std::printf("push to an empty server: %.2f s (%s)\n", clock.timer.elapsed() / 1000.0,
        qPrintable(r.up.text()));

    const bool steps = args.contains(u"--steps"_s);
    PhaseClock sync;
    sync.verbose = steps;
    sync.timer.start();
    r = AllianceSync(*a.session, sync)
            .run(AllianceSync::Direction::Sync, server, QString(), unbounded);
    const double total = sync.timer.elapsed() / 1000.0;
    if (r.status == AllianceSync::Result::Failed) {
        std::fprintf(stderr, "%s\n", qPrintable(r.message));
        return 1;
    }
    std::printf("sync, both ways full: %.2f s (push %.2f s, pull %.2f s); processor time: this "
                "program %.2f s, the server %.2f s\n",
        total, sync.pullStartMs / 1000.0, total - sync.pullStartMs / 1000.0,
        cpuSeconds() - sync.cpuStart, serverSeconds() - sync.serverStart);
    std::printf("  up:   %s\n  down: %s\n", qPrintable(r.up.text()), qPrintable(r.down.text()));

    PhaseClock again;
    again.verbose = steps;
    again.timer.start();
    r = AllianceSync(*a.session, again)
            .run(AllianceSync::Direction::Sync, server, QString(), unbounded);
    std::printf("sync again, nothing newer: %.2f s (%lld up, %lld down); processor time: this "
                "program %.2f s, the server %.2f s\n",
        again.timer.elapsed() / 1000.0, r.up.total(), r.down.total(), cpuSeconds() - again.cpuStart,
        serverSeconds() - again.serverStart);
    std::printf("peak memory: %.0f MB\n", peakKib() / 1024.0);
    double load[3] = {};
    if (getloadavg(load, 3) > 0)
        std::printf("load average of the machine meanwhile: %.1f\n", load[0]);
    return 0;
}
