#pragma once

#include <QString>
#include <QStringList>

namespace tolvimar {

class Database;

// A region as the user enters it by hand.
struct EnteredRegion
{
    QString name;
    int x = 0;
    int y = 0;
    int level = 0;
    QString terrain;
    QString exportGood; // `Angebot`
};

// "Manuelle Regionserfassung": writes one region row of the game, keeping whatever
// else an existing row of those coordinates and level holds.
class RegionEntry
{
public:
    RegionEntry(Database &db, int game);

    // The terrains to choose from, sorted.
    static const QStringList &terrains();
    // The terrain as stored: "Wüste" is stored as "Desert".
    static QString storedTerrain(const QString &terrain);

    // Edits the row of (x, y, level) or appends one; returns whether it existed. The
    // row's date is 0, so the next report that shows the region replaces it.
    bool save(const EnteredRegion &region);

private:
    Database &m_db;
    int m_game;
};

} // namespace tolvimar
