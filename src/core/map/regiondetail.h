#pragma once

#include "../base/activegame.h"
#include "../base/position.h"
#include "../db/gamequeries.h"
#include "../orders/unitview.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tolvimar {

class Database;

// What the view of a region depends on besides the game: the selected map level, the
// two check boxes of the unit list and the region shown before.
struct RegionSelection
{
    int level = 0;
    bool allUnits = true; // "Alle"
    bool currentOnly = true; // "Nur aktuelle Info"
    std::optional<Position> previousRegion; // none before the first
};

// The goods of the player's own current units in the region ("Parteieigentum").
struct PropertySums
{
    qint64 silver = 0; // "Silber"
    qint64 persons = 0; // "Leute"
    qint64 wood = 0; // "Holz"
    qint64 stone = 0; // "Stein"
    qint64 iron = 0; // "Eisen"
    qint64 laen = 0; // "Lean"
    qint64 mallorn = 0; // "Mallorn"
    qint64 horses = 0;
    qint64 carts = 0;
    qint64 spears = 0;
    qint64 swords = 0;
    qint64 bows = 0;

    // The seven boxes of the page with their captions: "Silber" ... "Mallorn".
    QList<std::pair<QString, qint64>> boxes() const;
    // The six lines of "Gegenstände": horses, carts, an empty line, spears, swords, bows.
    QStringList goodsLines() const;
};

// Everything the region view shows for one selected region.
struct RegionView
{
    bool found = false;
    // The caption that names the region: its name, two blanks and x/y, or "Keine
    // Informationen über Region".
    QString caption;
    // The region shown after the selection, on the selected level (the previous one
    // when not found).
    std::optional<Position> shownRegion;
    std::optional<RegionRow> region;
    QString surroundings; // "Region Umgebung", one line per line of the text
    // The castles, ships and units in the order of the list "Einheiten in Region :".
    QList<ListEntry> units;
    QStringList guards; // `Memo7`
    PropertySums property;
    // "Regions Stati": the heading row, then one row per turn; none keeps the grid as
    // it was.
    std::optional<QList<QStringList>> history;

    // The lines of the unit list.
    QStringList unitLines() const;
};

// Gathers what the database knows about a region of the selected level: its row, its
// castles, ships and units in the order of the unit list, the guards, the own goods
// and the history. Statements are prepared once per reader and reused.
class RegionDetail
{
public:
    explicit RegionDetail(Database &db);

    RegionView regionView(const ActiveGame &game, int x, int y, const RegionSelection &selection);

private:
    GameQueries m_queries;
};

} // namespace tolvimar
