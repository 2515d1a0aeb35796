#pragma once

#include "allianceserver.h"

#include <QSet>
#include <QString>
#include <array>

namespace tolvimar {

class Database;
class WorkspaceLock;

// What a sync tells its progress bar. The window decides how often it repaints.
class ShareProgress
{
public:
    virtual ~ShareProgress() = default;
    virtual void setStep(const QString &) { }
    virtual void setPercent(int) { }
};

// Rows per shared table (regions, castles, ships, units) that went one way.
struct ShareCounts
{
    std::array<qint64, 4> rows {};
    qint64 total() const { return rows[0] + rows[1] + rows[2] + rows[3]; }
    // "56 Zeilen (Regionen 12, Burgen 3, Schiffe 1, Einheiten 40)"
    QString text() const;
};

// Moves the map of one game between the player's database and the alliance server.
// A row goes to the other side when its `Info Datum` is newer there than here, or the
// other side lacks it; on equal dates each side keeps its own. The player's own marks
// and groupings never leave the player's database.
class MapSharing
{
public:
    MapSharing(Database &db, int game, ShareProgress &progress);

    // Sends the game's rows that are newer than the server's, in one transaction of
    // the server. Throws ShareError or UserError; the local database is only read.
    ShareCounts push(AllianceServer &server, int sender);

    // Brings the server's rows that are newer than the game's (or unknown to it) into
    // the game, in one local transaction under the workspace lock, and adds level rows
    // for new levels. Throws ShareError or UserError; nothing local changes then.
    ShareCounts pull(AllianceServer &server, WorkspaceLock *lock);

    // The levels whose regions the last pull changed.
    const QSet<int> &changedLevels() const { return m_changedLevels; }

private:
    Manifest localManifest(const SharedTable &table);
    // Sends the rows of the given keys, reading them by key or, when they are many of
    // the table's, in one pass; rowEnd closes each row.
    void uploadRows(AllianceServer &server, const SharedTable &table, const QList<RowKey> &keys,
        qint64 tableRows, const QByteArray &rowEnd, qint64 *done, qint64 total);
    qint64 pullTable(AllianceServer &server, const SharedTable &table, const QList<RowKey> &wanted,
        bool everything, qint64 *done, qint64 total);
    void addLevels(const QSet<int> &levels);
    void report(qint64 done, qint64 total);

    Database &m_db;
    int m_game;
    ShareProgress &m_progress;
    QSet<int> m_changedLevels;
};

} // namespace tolvimar
