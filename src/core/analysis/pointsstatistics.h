#pragma once

#include <QList>
#include <QStringList>
#include <optional>

namespace tolvimar {

class Database;
struct ActiveGame;
struct StatusValues;

// The faction rows of the statistics table: one per imported turn with the
// faction's points, silver and persons.
class PointsStatistics
{
public:
    explicit PointsStatistics(Database &db);

    // Records the turn unless it is recorded already. Values are 64-bit; a status
    // value that is no number or does not fit leaves its field empty and is named in
    // the returned warnings.
    QStringList writeFactionRow(
        const ActiveGame &game, qint64 dateCode, const StatusValues &status);
    // The grid: a heading row and one row per recorded turn, oldest first; empty
    // when the faction has no rows.
    QList<QStringList> grid(int game, int faction);

private:
    Database &m_db;
};

// The grid's columns as numbers, one entry per recorded turn, for a chart; an empty
// cell is an empty optional.
struct PointsSeries
{
    QList<qint64> dates;
    QList<std::optional<qint64>> points, average, silver, persons;
    bool isEmpty() const { return dates.isEmpty(); }
};
PointsSeries pointsSeries(const QList<QStringList> &grid);

} // namespace tolvimar
