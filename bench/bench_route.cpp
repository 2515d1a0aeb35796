// Travel planning at scale: a generated level of 100,000 regions (a 400 x 250 block of
// plains and woods with lakes of ocean, a road along every tenth row, a few holes the
// game has never seen) and a second level of the same size that is ocean with
// islands. Prints, in milliseconds, the fastest of several runs of: reading a level
// and building its map for the route finder, the search alone across the level for a
// walker, a rider on the roads, a walker through unknown regions and a ship, and the
// whole plan for a unit as the command line makes it (rules, unit, level, search).
// Then the median and the worst search of random targets, and the way following the
// pointer as "Weg planen" draws it: per pointer move onto the next region, the search
// on the kept level and the route layer painted into a world map box at zoom 2.
//
//   bench_route [--width 400] [--height 250] [--repeat 5] [--samples 200]

#include "app/routeplanner.h"
#include "benchgame.h"
#include "benchsupport.h"
#include "db/database.h"
#include "db/gamequeries.h"
#include "map/movementrules.h"
#include "map/routefinder.h"
#include "map/travelplan.h"
#include "routelayer.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace tolvimar;
using tolvimar::bench::BenchGame;
using tolvimar::bench::fastest;
using tolvimar::bench::option;

namespace {

constexpr int kTurn = 705;

// Level 0: land with lakes and roads; level 1: ocean with islands.
void generate(Database &db, int width, int height)
{
    Transaction transaction(db);
    QSqlQuery r(db.connection());
    r.prepare(QStringLiteral(
        R"(INSERT INTO regionen ("Spiel", "Breite", "Länge", "Ebene", "Regiontyp", "Info Datum",
               "Strasse2", "Strasse5")
           VALUES (1, ?, ?, ?, ?, ?, ?, ?))"));
    std::mt19937 random(4711);
    // Lakes and islands are patches of 6 x 5 regions, one in seven at random.
    const int patchColumns = width / 6 + 1;
    std::vector<bool> patches(size_t(patchColumns * (height / 5 + 1)));
    for (size_t i = 0; i < patches.size(); ++i)
        patches[i] = random() % 7 == 0;
    for (int level = 0; level < 2; ++level) {
        for (int x = 0; x < width; ++x) {
            for (int y = 0; y < height; ++y) {
                const bool patch = patches[size_t(y / 5 * patchColumns + x / 6)];
                // The edges and the road rows are land on level 0 and ocean on level 1.
                const bool open = x == 0 || x == width - 1 || y % 10 == 0;
                QString terrain;
                if (level == 0) {
                    // Holes the game has never seen.
                    if (!open && random() % 200 == 0)
                        continue;
                    terrain = !open && patch ? QStringLiteral("Ozean")
                        : (x + y) % 3 == 0   ? QStringLiteral("Wald")
                                             : QStringLiteral("Ebene");
                } else {
                    terrain = !open && patch ? QStringLiteral("Ebene") : QStringLiteral("Ozean");
                }
                const bool road = level == 0 && y % 10 == 0 && terrain != u"Ozean";
                r.bindValue(0, x);
                r.bindValue(1, y);
                r.bindValue(2, level);
                r.bindValue(3, terrain);
                r.bindValue(4, kTurn);
                r.bindValue(5, road ? 100 : 0);
                r.bindValue(6, road ? 100 : 0);
                r.exec();
            }
        }
    }
    QSqlQuery u(db.connection());
    u.prepare(QStringLiteral(
        R"(INSERT INTO einheiten ("Spiel", "Einheit Nr", "Einheit Position", "Personen", "Pferd",
               "Reiten", "Info Datum") VALUES (1, ?, ?, 10, ?, ?, ?))"));
    const auto unit = [&](int number, const QString &position, int horses, const QString &riding) {
        u.bindValue(0, number);
        u.bindValue(1, position);
        u.bindValue(2, horses);
        u.bindValue(3, riding);
        u.bindValue(4, kTurn);
        u.exec();
    };
    unit(100, QStringLiteral("0/0"), 0, QString());
    unit(101, QStringLiteral("0/0"), 10, QStringLiteral("300 2"));
    unit(102, QStringLiteral("0/0/1"), 0, QString());
    QSqlQuery s(db.connection());
    s.exec(QStringLiteral(
        R"(INSERT INTO schiffe ("Spiel", "Schiffs Nr", "Schiffs Position", "Schiffstyp",
               "Kapitaen", "Info Datum") VALUES (1, 9, '0/0/1', 'Trireme', 102, 705))"));
    transaction.commit();
}

void print(const char *what, double ms)
{
    std::printf("%-58s %9.2f ms\n", what, ms);
}

} // namespace

int main(int argc, char **argv)
{
    // The route layer draws text: a screenless platform serves as well as a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int width = option(args, QStringLiteral("--width"), 400);
    const int height = option(args, QStringLiteral("--height"), 250);
    const int repeat = option(args, QStringLiteral("--repeat"), 5);
    const int samples = option(args, QStringLiteral("--samples"), 200);

    BenchGame game;
    generate(game.database(), width, height);
    game.start();
    GameQueries queries(game.database());
    const MovementRules rules;
    std::printf("Regionen je Ebene: %d x %d = %d\n", width, height, width * height);

    std::optional<RouteMap> land;
    print("Ebene 0 lesen und die Wegekarte bauen",
        fastest(repeat, [&] { land.emplace(0, queries.routeRegions(1, 0), rules); }));
    const RouteMap sea(1, queries.routeRegions(1, 1), rules);

    const RegionCoord across {width - 1, height - 1};
    const auto search = [&](const char *what, const RouteMap &map, TravelMode mode, int speed,
                            int level, RegionCoord target, bool unknown) {
        Traveller t;
        t.mode = mode;
        t.speed = speed;
        t.level = level;
        RouteResult result;
        const double ms
            = fastest(repeat, [&] { result = findRoute(map, rules, t, target, level, unknown); });
        print(what, ms);
        std::printf("    %s: %lld Regionen, %d Runden\n", result.found() ? "Weg" : "kein Weg",
            qlonglong(result.regions.size()), result.turns);
    };
    search("Suche quer: zu Fuß", *land, TravelMode::Walking, 1, 0, across, false);
    search("Suche quer: beritten", *land, TravelMode::Riding, 2, 0, across, false);
    search("Suche quer: zu Fuß, unbekannte Regionen erlaubt", *land, TravelMode::Walking, 1, 0,
        across, true);
    search("Suche entlang einer Straße: beritten", *land, TravelMode::Riding, 2, 0, {width - 1, 0},
        false);
    search("Suche quer: Schiff", sea, TravelMode::Ship, 7, 1, across, false);

    print("Plan für eine Einheit (Regeln, Einheit, Ebene, Suche)", fastest(repeat, [&] {
        const MovementRules gameRules = MovementRules::forGame(game.session().game().programPath);
        const UnitTravel travel = unitTravel(queries, gameRules, 1, 101, QStringLiteral("2t"));
        planRoute(queries, gameRules, 1, travel, across, 0, false);
    }));

    std::mt19937 random(20261211);
    QList<double> times;
    Traveller walker;
    for (int i = 0; i < samples; ++i) {
        // Targets a walker may enter, so that every sample is a search.
        RegionCoord target;
        int index = -1;
        while (index < 0 || land->isImpassable(index)) {
            target = {int(random() % quint32(width)), int(random() % quint32(height))};
            index = land->indexOf(target);
        }
        times.append(fastest(1, [&] { findRoute(*land, rules, walker, target, 0, false); }));
    }
    std::sort(times.begin(), times.end());
    if (!times.isEmpty()) {
        std::printf("%d zufällige Ziele zu Fuß: Median %.2f ms, höchstens %.2f ms\n", samples,
            times[times.size() / 2], times.last());
    }

    // The pointer walks from the middle of the level towards its far corner, one region
    // a move, as over the world map; the walker 100 stands on 0/0.
    RoutePlanner planner(game.session());
    planner.setUnit(100);
    const WorldMapFrame frame {0, 0, kWorldCellPitch * height};
    RouteLayer layer([&](RegionCoord c) -> std::optional<QRect> {
        return QRect(worldCellCorner(frame, c.x, c.y), QSize(kWorldCellPitch, kWorldCellPitch + 2));
    });
    const int zoom = 2;
    QImage box(QSize(281, 265), QImage::Format_ARGB32_Premultiplied);
    QElapsedTimer first;
    first.start();
    planner.planTo({width / 2, height / 2}, 0);
    print("Erste Zeigerbewegung (Ebene lesen und suchen)", first.nsecsElapsed() / 1e6);
    QList<double> moves, searches;
    RegionCoord pointer {width / 2, height / 2};
    for (int i = 0; i < samples; ++i) {
        pointer = {std::min(width - 1, pointer.x + 1), std::min(height - 1, pointer.y + i % 2)};
        QElapsedTimer timer;
        timer.start();
        planner.planTo(pointer, 0);
        searches.append(timer.nsecsElapsed() / 1e6);
        layer.setRoute(planner.shown());
        // The box shows the target's surroundings, as when the pointer is in it.
        const QPoint centre = worldCellCorner(frame, pointer.x, pointer.y) * zoom;
        const QRect exposed(centre - QPoint(box.width() / 2, box.height() / 2), box.size());
        box.fill(Qt::transparent);
        QPainter painter(&box);
        painter.translate(-exposed.topLeft());
        layer.paint(painter, exposed, zoom);
        painter.end();
        moves.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(moves.begin(), moves.end());
    std::sort(searches.begin(), searches.end());
    if (!moves.isEmpty()) {
        std::printf("Weg folgt dem Zeiger, %d Bewegungen: Suche Median %.2f ms (höchstens %.2f "
                    "ms), mit Ebene zeichnen Median %.2f ms (höchstens %.2f ms)\n",
            samples, searches[searches.size() / 2], searches.last(), moves[moves.size() / 2],
            moves.last());
    }
    return 0;
}
