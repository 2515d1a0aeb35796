// The military reports at scale: a database with two games of --units units each (the
// same faction number in both, a third of them in armies, a fifth of an older turn)
// and --ships ships each; prints the fastest of several runs of each report in
// milliseconds, with the rows it listed.
//
//   bench_military [--units 100000] [--ships 20000] [--repeat 3]

#include "benchgame.h"
#include "benchsupport.h"
#include "db/database.h"
#include "military/armies.h"
#include "military/groupings.h"
#include "military/shipregister.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

using namespace tolvimar;
using tolvimar::bench::fastest;
using tolvimar::bench::option;
using tolvimar::bench::writeArmyUnits;

namespace {

constexpr int kFaction = 4711;
constexpr int kTurn = 404;

void fill(Database &db, int units, int ships)
{
    const QStringList groups = {QStringLiteral("1. Armee"), QStringLiteral("2. Armee"),
        QStringLiteral("3. Armee"), QStringLiteral("Händler"), QStringLiteral("Keine"), QString(),
        QString(), QString(), QString()};
    const QStringList types = {QStringLiteral("Boot"), QStringLiteral("Langboot"),
        QStringLiteral("Drachenschiff"), QStringLiteral("Karavelle"), QStringLiteral("Trireme")};
    Transaction t(db);
    QSqlQuery s(db.connection());
    s.prepare(QStringLiteral(
        R"(INSERT INTO schiffe ("Spiel", "Schiffs Nr", "Schiffs Position", "Schiffs Name",
               "Schiffstyp", "Partei", "Prozent", "Info Datum") VALUES (?, ?, ?, ?, ?, ?, ?, ?))"));
    for (int game = 1; game <= 2; ++game) {
        writeArmyUnits(db, game, units, kFaction, kTurn, groups, 5);
        for (int i = 0; i < ships; ++i) {
            const QVariantList values
                = {game, 10 + i, QStringLiteral("%1/%2").arg(i % 400).arg(i / 400 % 250),
                    QStringLiteral("Schiff %1").arg(i), types[i % types.size()],
                    i % 3 == 0 ? kFaction : 4800 + i % 40, 100, i % 7 == 3 ? kTurn - 1 : kTurn};
            for (int k = 0; k < values.size(); ++k)
                s.bindValue(k, values[k]);
            s.exec();
        }
    }
    t.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int units = option(args, QStringLiteral("--units"), 100000);
    const int ships = option(args, QStringLiteral("--ships"), 20000);
    const int repeat = std::max(1, option(args, QStringLiteral("--repeat"), 3));

    QTemporaryDir dir;
    Database db(dir.filePath(QStringLiteral("kalmora.sqlite")));
    QElapsedTimer filling;
    filling.start();
    fill(db, units, ships);
    std::printf("%d units and %d ships in each of two games written in %.0f ms\n", units, ships,
        double(filling.elapsed()));

    ActiveGame game;
    game.number = 1;
    game.type = GameType::Kalmora;
    game.factionNumber = kFaction;
    game.newestTurn = kTurn;

    Groupings groupings(db);
    GroupingSelection all;
    all.date = QString::number(kTurn);
    GroupingSelection oneName = all;
    oneName.unitName = QStringLiteral("Einheit 4242");
    Armies armies(db);
    ShipRegister shipRegister(db);
    ShipRegisterSelection allShips;
    allShips.date = QString::number(kTurn);
    ShipRegisterSelection boats = allShips;
    boats.type = QStringLiteral("Boot");

    int rows = 0;
    auto run = [&](const char *label, const std::function<int()> &report) {
        const double ms = fastest(repeat, [&] { rows = report(); });
        std::printf("%-36s %8.1f ms  %7d rows\n", label, ms, rows);
    };
    run("Gruppierungen, Alle", [&] { return groupings.report(game, all).count; });
    run("Gruppierungen, one name", [&] { return groupings.report(game, oneName).count; });
    run("Armee Info, Alle",
        [&] { return int(armies.report(game, QStringLiteral("Alle")).rows.size()) - 1; });
    run("Armee Info, 2. Armee",
        [&] { return int(armies.report(game, QStringLiteral("2. Armee")).rows.size()) - 1; });
    run("Schiffsregister, -2 and Alle", [&] { return shipRegister.report(game, allShips).count; });
    run("Schiffsregister, Boot", [&] { return shipRegister.report(game, boats).count; });
    return 0;
}
