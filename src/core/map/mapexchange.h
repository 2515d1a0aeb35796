#pragma once

#include "../base/position.h"
#include "../db/gamequeries.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

namespace tolvimar {

class Database;
class Prompter;

// The region the user selected last and the caption that names it (MapState).
struct MarkedRegion
{
    std::optional<Position> place;
    QString caption;
};

// Map data files: players of one alliance trade the regions they know as text files
// of region headers, terrain and name lines. Exports write what the region view shows
// (one level, or every level when none is given); the import adds only regions the
// game does not hold yet.
class MapExchange
{
public:
    MapExchange(Database &db, int game, Prompter &prompter);

    // "Gesamtkarte exportieren": asks for the file, writes every region and says so.
    void exportWholeMap(std::optional<int> level);
    // "Kartenbereich exportieren": asks for the file and the radius around the marked
    // region, writes the regions of that area and says so.
    void exportArea(const MarkedRegion &marked, std::optional<int> level);
    // The file of "Kartendaten importieren"; empty when the user cancelled.
    QString askImportFile();

    // Adds the regions of the file that the game lacks, in one transaction, and returns
    // how many. A header number that is not a number throws UserError naming the file,
    // the line and its text; nothing of the file is kept then.
    int importFile(const QString &path);
    int importLines(const QStringList &lines, const QString &fileName);

    // The exports without questions; they return the success message.
    QString writeWholeMap(const QString &path, std::optional<int> level);
    QString writeArea(
        const QString &path, const QPoint &centre, int radius, std::optional<int> level);

    QStringList wholeMapLines(std::optional<int> level);
    // At most one region per cell (the lowest level), rows from the top down and each
    // row from the right; nothing for a negative radius.
    QStringList areaLines(const QPoint &centre, int radius, std::optional<int> level);

    // The square of the radius without the border cells of the two corners where both
    // offsets have the same sign: 7 cells for radius 1, 19 for 2, 259 for 8.
    static bool inExportArea(qint64 dx, qint64 dy, qint64 radius);
    // Header, terrain line and, except for oceans, name line of one region.
    static QStringList regionLines(const MapDataRow &row);

private:
    void writeLines(const QString &path, QStringList lines);

    Database &m_db;
    int m_game;
    Prompter &m_prompter;
    GameQueries m_queries;
};

} // namespace tolvimar
