// Map drawing at scale: renders a generated level of 100,000 regions (a 400 x 250
// block of mixed terrains, in key order) with the built-in tiles, saves it as a bitmap,
// draws the small map and the unit overlay, and prints the fastest of several runs
// in milliseconds.
//
//   bench_map [--width 400] [--height 250] [--repeat 3]

#include "benchsupport.h"
#include "map/overlays.h"
#include "map/smallmaprenderer.h"
#include "map/tileart.h"
#include "map/tileset.h"
#include "map/worldmaprenderer.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

using namespace tolvimar;
using tolvimar::bench::fastest;
using tolvimar::bench::offscreenApplication;
using tolvimar::bench::option;

int main(int argc, char **argv)
{
    const auto app = offscreenApplication<QGuiApplication>(argc, argv);
    const QStringList args = app->arguments();
    const int width = option(args, QStringLiteral("--width"), 400);
    const int height = option(args, QStringLiteral("--height"), 250);
    const int repeat = std::max(1, option(args, QStringLiteral("--repeat"), 3));

    QTemporaryDir dir;
    ensureTiles(dir.path());

    // Patches of terrain a few regions wide, with a sprinkle of names no table lists.
    const QStringList terrains = TileSet::world().terrains();
    QList<MapCell> cells;
    cells.reserve(qsizetype(width) * height);
    QHash<QPoint, QString> byPosition;
    for (int x = -width / 2; x < width - width / 2; ++x)
        for (int y = -height / 2; y < height - height / 2; ++y) {
            const quint32 patch = quint32((x + 1000) / 5 * 7919 + (y + 1000) / 4 * 104729);
            QString terrain = terrains.at(patch % terrains.size());
            if ((x * 31 + y * 17) % 97 == 0)
                terrain = QStringLiteral("Unbekannt");
            cells.append({x, y, terrain});
            byPosition.insert({x, y}, terrain);
        }

    const WorldMapRenderer world(dir.path());
    std::optional<WorldMap> map;
    const double worldMs = fastest(repeat, [&] { map = world.render(cells); });
    std::printf("world map: %lld regions, %d x %d pixels: %.1f ms\n", qint64(cells.size()),
        map->image.width(), map->image.height(), worldMs);

    const QString file = dir.filePath(QStringLiteral("worldmap-1.bmp"));
    const double saveMs = fastest(repeat, [&] { map->image.save(file, "BMP"); });
    std::printf("saving it as BMP: %.1f ms\n", saveMs);

    const SmallMapRenderer small(dir.path());
    const auto lookup = [&](int x, int y) -> std::optional<QString> {
        const auto found = byPosition.constFind({x, y});
        if (found == byPosition.cend())
            return std::nullopt;
        return *found;
    };
    const double smallMs = fastest(repeat * 10, [&] { small.render(3, -7, lookup); });
    std::printf("small map (85 cells, tiles loaded each time): %.2f ms\n", smallMs);

    QList<UnitSquare> units;
    for (qsizetype i = 0; i < cells.size(); i += 5)
        units.append({QStringLiteral("%1/%2").arg(cells[i].x).arg(cells[i].y),
            i % 3 ? QString() : QStringLiteral("x")});
    const OverlayFrame frame {map->extent.minX, map->extent.minY, map->image.size(), 0};
    const double unitsMs = fastest(repeat, [&] { unitsLayer(units, frame); });
    std::printf("unit overlay: %lld units: %.1f ms\n", qint64(units.size()), unitsMs);
    return 0;
}
