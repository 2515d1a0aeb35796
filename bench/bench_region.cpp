// The region view at scale: a generated game of 100,000 regions (a 400 x 250 block on
// level 0, three turns of history each) with 130,000 units, 8,000 castles and 6,000
// ships stored, then regionView for 1,000 random regions. Prints the median and the
// worst time in milliseconds, once with one reader for all selections and once with
// a new reader per selection, as the window makes one.
//
//   bench_region [--width 400] [--height 250] [--units 130000] [--samples 1000]

#include "base/identifiers.h"
#include "benchsupport.h"
#include "db/database.h"
#include "db/sqlitestatement.h"
#include "map/regiondetail.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <time.h>

using namespace tolvimar;
using tolvimar::bench::fastest;
using tolvimar::bench::option;
using namespace Qt::StringLiterals;

namespace {

const int kGame = 1;
const int kOwnFaction = 4711;
const qint64 kNewest = 1204;

void run(SqliteStatement &s, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        s.bind(i, values[i]);
    s.step();
    s.reset();
}

struct Place
{
    int x;
    int y;
    QString position;
};

void fill(Database &db, int width, int height, int unitCount, QList<Place> *places)
{
    std::mt19937 random(20240611);
    const QStringList terrains
        = {u"Ebene"_s, u"Wald"_s, u"Berge"_s, u"Sumpf"_s, u"Ozean"_s, u"Hochland"_s, u"Wueste"_s};
    db.begin();
    SqliteStatement region(
        db.handle(), uR"(INSERT INTO "regionen" ("Spiel", "Breite", "Länge", "Ebene", "Regionname",
            "Regiontyp", "Holzstämme", "Bauern", "VermögenBauern", "Pferde", "Arbeitslohn",
            "Info Datum", "Beschreibung", "Lean", "Eisen", "Mallorn", "Umgebung")
            VALUES (?, ?, ?, 0, ?, ?, ?, ?, ?, ?, 11, ?, ?, -1, 0, 0, ?))"_s);
    SqliteStatement statistics(db.handle(),
        uR"(INSERT INTO "statistik" ("Spiel", "Breite", "Länge", "Ebene", "Datum", "Bauern",
            "Bauern Silber", "Pferde", "Laen", "Eisen", "Mallorn", "Anzahl Holz")
            VALUES (?, ?, ?, 0, ?, ?, ?, ?, -1, 0, 0, ?))"_s);
    for (int x = -width / 2; x < width - width / 2; ++x) {
        for (int y = -height / 2; y < height - height / 2; ++y) {
            const int peasants = int(random() % 5000);
            run(region,
                {kGame, x, y, u"Region %1"_s.arg(places->size()),
                    terrains.at(random() % terrains.size()), int(random() % 800), peasants,
                    peasants * 20, int(random() % 100), kNewest,
                    u"Sanfte Hügel und weite Felder."_s,
                    random() % 10 ? QString() : u"Kampf in Runde %1\r\n"_s.arg(kNewest)});
            for (qint64 turn : {kNewest - 2, kNewest - 1, kNewest})
                run(statistics,
                    {kGame, x, y, turn, peasants, peasants * 20, 50, int(random() % 800)});
            places->append({x, y, u"%1/%2"_s.arg(x).arg(y)});
        }
    }

    SqliteStatement castle(db.handle(),
        uR"(INSERT INTO "burgen" ("Spiel", "Burg Nr", "Burg Name", "Burg Position", "Typ",
            "Burggrösse", "Info Datum") VALUES (?, ?, ?, ?, 'Burg', ?, ?))"_s);
    QList<int> castlePlaces;
    for (int n = 1; n <= 8000; ++n) {
        const int at = int(random() % places->size());
        castlePlaces.append(at);
        run(castle,
            {kGame, n, u"Feste %1"_s.arg(n), places->at(at).position, int(random() % 300),
                random() % 5 ? kNewest : kNewest - 1});
    }
    SqliteStatement ship(db.handle(),
        uR"(INSERT INTO "schiffe" ("Spiel", "Schiffs Nr", "Schiffs Name", "Schiffs Position",
            "Schiffstyp", "Kueste", "Ladung", "MaxLadung", "Prozent", "Info Datum")
            VALUES (?, ?, ?, ?, 'Boot', 'Ostküste', 3, 50, ?, ?))"_s);
    QList<int> shipPlaces;
    for (int n = 1; n <= 6000; ++n) {
        const int at = int(random() % places->size());
        shipPlaces.append(at);
        const int percent = n % 7 == 0 ? 35 : n % 11 == 0 ? -20 : 100;
        run(ship,
            {kGame, n, u"Segler %1"_s.arg(n), places->at(at).position, percent,
                random() % 4 ? kNewest : kNewest - 1});
    }

    SqliteStatement faction(db.handle(),
        uR"(INSERT INTO "parteien" ("Spiel", "Partei Nr", "Partei Name") VALUES (?, ?, ?))"_s);
    for (int f = 0; f < 50; ++f)
        run(faction, {kGame, kOwnFaction + f, u"Partei %1"_s.arg(f)});

    SqliteStatement unit(db.handle(),
        uR"(INSERT INTO "einheiten" ("Spiel", "Einheit Nr", "Einheit Position", "Einheit Name",
            "Partei Nr", "Info Datum", "Personen", "Silber", "Holz", "Pferd", "Schwert",
            "Stationiert", "Flags", "Rasse") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?))"_s);
    for (int n = 1; n <= unitCount; ++n) {
        const unsigned kind = random() % 20;
        int at = int(random() % places->size());
        QString stationed = u"in Region"_s;
        if (kind < 2) {
            const int c = int(random() % castlePlaces.size());
            at = castlePlaces[c];
            stationed = u"B "_s + idToStr(c + 1, 36);
        } else if (kind < 3) {
            const int s = int(random() % shipPlaces.size());
            at = shipPlaces[s];
            stationed = u"S "_s + idToStr(s + 1, 36);
        }
        const int factionNumber = random() % 3 ? kOwnFaction + 1 + int(random() % 49) : kOwnFaction;
        const unsigned flags = random() % 10;
        run(unit,
            {kGame, n, places->at(at).position, u"Einheit %1"_s.arg(n), factionNumber,
                random() % 5 ? kNewest : kNewest - 1, int(random() % 100) + 1, int(random() % 5000),
                int(random() % 20), int(random() % 5), int(random() % 10), stationed,
                flags == 0       ? u"xB"_s
                    : flags == 1 ? u"B"_s
                                 : QString(),
                u"Menschen"_s});
    }
    db.commit();
}

// The processor time of this thread in milliseconds: on a machine shared with other
// work the wall time of one call also holds the time others had the processor.
double threadMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Figures
{
    double median;
    double worst;
    double mean;
    double cpuMedian;
    double cpuWorst;
};

Figures measure(const QList<Place> &samples, const std::function<RegionView(const Place &)> &show,
    qint64 *lines)
{
    QList<double> times, cpu;
    for (const Place &p : samples) {
        QElapsedTimer timer;
        const double cpuStart = threadMs();
        timer.start();
        const RegionView view = show(p);
        times.append(timer.nsecsElapsed() / 1e6);
        cpu.append(threadMs() - cpuStart);
        *lines += view.units.size();
    }
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    double sum = 0;
    for (double t : times)
        sum += t;
    return {times.at(times.size() / 2), times.last(), sum / times.size(), cpu.at(cpu.size() / 2),
        cpu.last()};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int width = option(args, u"--width"_s, 400);
    const int height = option(args, u"--height"_s, 250);
    const int unitCount = option(args, u"--units"_s, 130000);
    const int sampleCount = std::max(1, option(args, u"--samples"_s, 1000));

    QTemporaryDir dir;
    Database db(dir.filePath(u"kalmora.sqlite"_s));
    QList<Place> places;
    QElapsedTimer fillTimer;
    fillTimer.start();
    fill(db, width, height, unitCount, &places);
    std::printf("generated %lld regions, %d units, 8000 castles, 6000 ships: %.1f s\n",
        qint64(places.size()), unitCount, fillTimer.elapsed() / 1000.0);

    ActiveGame game;
    game.number = kGame;
    game.type = GameType::Kalmora;
    game.base = 36;
    game.factionNumber = kOwnFaction;
    game.newestTurn = kNewest;

    std::mt19937 random(7);
    QList<Place> samples;
    for (int i = 0; i < sampleCount; ++i)
        samples.append(places.at(random() % places.size()));

    RegionSelection selection;
    qint64 lines = 0;
    RegionDetail reader(db);
    const Figures reused = measure(
        samples,
        [&](const Place &p) {
            selection.previousRegion = parsePosition(p.position);
            return reader.regionView(game, p.x, p.y, selection);
        },
        &lines);
    std::printf("regionView, %d random regions, one reader: median %.3f ms, worst %.3f ms, "
                "mean %.3f ms; processor time median %.3f ms, worst %.3f ms (%lld list lines)\n",
        sampleCount, reused.median, reused.worst, reused.mean, reused.cpuMedian, reused.cpuWorst,
        lines);

    lines = 0;
    selection.allUnits = true;
    selection.currentOnly = false;
    const Figures fresh = measure(
        samples,
        [&](const Place &p) { return RegionDetail(db).regionView(game, p.x, p.y, selection); },
        &lines);
    std::printf("regionView, %d random regions, a new reader each, all turns: median %.3f ms, "
                "worst %.3f ms, mean %.3f ms; processor time median %.3f ms, worst %.3f ms "
                "(%lld list lines)\n",
        sampleCount, fresh.median, fresh.worst, fresh.mean, fresh.cpuMedian, fresh.cpuWorst, lines);
    return 0;
}
