// The map operations of the window at scale, on a generated game stored in the
// database: 100,000 regions on level 0 (a 400 x 250 block of terrain patches) and
// 130,000 units, a third of them the player's. Prints, in milliseconds, the fastest
// of several runs of: rendering the world map as "Karte aktualisieren" does (query,
// drawing, configuration and saving the bitmap), loading its cache, drawing the small
// map, and switching the three overlays on.
//
//   bench_mapview [--width 400] [--height 250] [--units 130000] [--repeat 3]

#include "app/mapoperations.h"
#include "app/session.h"
#include "base/position.h"
#include "benchgame.h"
#include "benchsupport.h"
#include "db/database.h"
#include "db/schema.h"
#include "db/table.h"
#include "map/tileset.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

using namespace tolvimar;
using tolvimar::bench::BenchGame;
using tolvimar::bench::fastest;
using tolvimar::bench::offscreenApplication;
using tolvimar::bench::option;

namespace {

constexpr int kFaction = 42;
constexpr int kTurn = 705;

void generate(Database &db, int width, int height, int unitCount)
{
    const QStringList terrains = TileSet::world().terrains();
    Transaction transaction(db);
    Table regions(db, schema::regionen());
    const int spiel = regions.field(u"Spiel"), breite = regions.field(u"Breite"),
              laenge = regions.field(u"Länge"), ebene = regions.field(u"Ebene"),
              typ = regions.field(u"Regiontyp"), name = regions.field(u"Regionname"),
              umgebung = regions.field(u"Umgebung"), datum = regions.field(u"Info Datum");
    for (int x = -width / 2; x < width - width / 2; ++x)
        for (int y = -height / 2; y < height - height / 2; ++y) {
            const quint32 patch = quint32((x + 1000) / 5 * 7919 + (y + 1000) / 4 * 104729);
            regions.append();
            regions.setValue(spiel, 1);
            regions.setValue(breite, x);
            regions.setValue(laenge, y);
            regions.setValue(ebene, 0);
            regions.setValue(typ, terrains.at(patch % terrains.size()));
            regions.setValue(name, QStringLiteral("Region %1").arg(x * 1000 + y));
            regions.setValue(umgebung, (x + y) % 23 == 0 ? QStringLiteral("Lärm") : QString());
            regions.setValue(datum, kTurn);
            regions.post();
        }
    Table units(db, schema::einheiten());
    const int uSpiel = units.field(u"Spiel"), nr = units.field(u"Einheit Nr"),
              position = units.field(u"Einheit Position"), partei = units.field(u"Partei Nr"),
              uDatum = units.field(u"Info Datum"), flags = units.field(u"Flags");
    std::mt19937 random(7);
    for (int i = 1; i <= unitCount; ++i) {
        units.append();
        units.setValue(uSpiel, 1);
        units.setValue(nr, i);
        units.setValue(position,
            positionText(int(random() % width) - width / 2, int(random() % height) - height / 2));
        units.setValue(partei, i % 3 == 0 ? kFaction : 1000 + i % 50);
        units.setValue(uDatum, kTurn);
        units.setValue(flags, i % 2 ? QStringLiteral("x") : QString());
        units.post();
    }
    transaction.commit();
}

} // namespace

int main(int argc, char **argv)
{
    const auto app = offscreenApplication<QGuiApplication>(argc, argv);
    const QStringList args = app->arguments();
    const int width = option(args, QStringLiteral("--width"), 400);
    const int height = option(args, QStringLiteral("--height"), 250);
    const int unitCount = option(args, QStringLiteral("--units"), 130000);
    const int repeat = std::max(1, option(args, QStringLiteral("--repeat"), 3));

    BenchGame game(kFaction, kTurn);
    Session &session = game.session();
    QElapsedTimer timer;
    timer.start();
    generate(session.database(), width, height, unitCount);
    std::printf("generated %d regions and %d units in %.1f s\n", width * height, unitCount,
        timer.nsecsElapsed() / 1e9);
    game.start();

    MapOperations maps(session);
    const double renderMs = fastest(repeat, [&] { maps.displayWorldMapHex(); });
    const QSize size = session.mapState().worldMapSize();
    std::printf("displayWorldMapHex (query, drawing, configuration, saving): %d x %d pixels: "
                "%.1f ms\n",
        size.width(), size.height(), renderMs);
    const double loadMs = fastest(repeat, [&] { maps.loadWorldMap(0); });
    std::printf("loading the cached world map: %.1f ms\n", loadMs);

    int step = 0;
    const double smallMs = fastest(repeat * 20, [&] {
        ++step;
        maps.displaySmallMap(step % 50, -step % 40);
    });
    std::printf("displaySmallMap (85 cells, tiles loaded each time): %.2f ms\n", smallMs);
    QElapsedTimer worst;
    double worstMs = 0;
    for (int i = 0; i < 100; ++i) {
        worst.start();
        maps.moveSmallMap(i % 2 ? 9 : -9, 0);
        worstMs = std::max(worstMs, worst.nsecsElapsed() / 1e6);
    }
    std::printf("small map paging, worst of 100: %.2f ms\n", worstMs);

    const struct
    {
        OverlayKind kind;
        const char *name;
    } overlays[] = {{OverlayKind::Ships, "ships"}, {OverlayKind::Units, "units"},
        {OverlayKind::RegionMessages, "region messages"}};
    for (const auto &o : overlays) {
        const double ms = fastest(repeat, [&] { maps.drawOverlay(o.kind); });
        std::printf("overlay %s: %.1f ms\n", o.name, ms);
    }
    return 0;
}
