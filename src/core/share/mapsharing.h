#pragma once

#include "allianceserver.h"

#include <QSet>
#include <QString>
#include <QStringList>
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

// What the player's own reports have said: the measure for rows that come in.
struct OwnKnowledge
{
    int faction = 0; // the player's faction number; 0 when unknown
    qint64 newestReport = 0; // date code of the newest report read; 0 when none
};

// Moves the map of one game between the player's database and the alliance server.
// A row goes to the other side when its `Info Datum` is newer there than here, or the
// other side lacks it; on equal dates each side keeps its own. The player's own marks,
// groupings, notes and orders never leave the player's database.
//
// Rows from the server are checked before they are stored, since any member can write
// anything there: a row dated later than the turn after the newest own report, a
// region off the drawable map or on an absurd level, a number that no unit, ship or
// castle has, is refused and named. The player's own units are the own reports'
// business: a pull neither changes them nor adds units of the player's faction.
class MapSharing
{
public:
    // Regions lie within these coordinates and levels: a level whose regions all lie in
    // the square fits into one world-map picture (9608 × 6408 pixels, within the
    // renderer's limits of 32767 pixels a side and 64 Mi pixels).
    static constexpr int kMaxCoordinate = 400;
    static constexpr int kMaxLevel = 99;
    // Rows named in the message of a pull; the count covers all.
    static constexpr int kNamedRefusals = 20;

    MapSharing(Database &db, int game, ShareProgress &progress);

    // Sends the game's rows that are newer than the server's, in one transaction of
    // the server. Throws ShareError or UserError; the local database is only read.
    ShareCounts push(AllianceServer &server, int sender);

    // Brings the server's rows that are newer than the game's (or unknown to it) into
    // the game, in one local transaction under the workspace lock, and adds level rows
    // for new levels. Throws ShareError or UserError; nothing local changes then.
    ShareCounts pull(AllianceServer &server, WorkspaceLock *lock, const OwnKnowledge &own);

    // The levels whose regions the last pull changed.
    const QSet<int> &changedLevels() const { return m_changedLevels; }
    // The rows the last pull refused, per table, and the first of them named with the
    // reason ("Region 3/4: Info Datum 402 liegt nach 401, …").
    const ShareCounts &refused() const { return m_refused; }
    const QStringList &refusedRows() const { return m_refusedRows; }

    // The date code of the turn after the one of the given date code (312 → 401).
    static qint64 nextTurn(qint64 dateCode);

private:
    Manifest localManifest(const SharedTable &table);
    // Sends the rows of the given keys, reading them by key or, when they are many of
    // the table's, in one pass; rowEnd closes each row.
    void uploadRows(AllianceServer &server, const SharedTable &table, const QList<RowKey> &keys,
        qint64 tableRows, const QByteArray &rowEnd, qint64 *done, qint64 total);
    qint64 pullTable(AllianceServer &server, int tableIndex, const QList<RowKey> &wanted,
        bool everything, const OwnKnowledge &own, qint64 *done, qint64 total);
    // Why an incoming row is refused; empty when it is sound.
    QString refusal(int tableIndex, const PgResult &batch, int row, qint64 latest) const;
    void addLevels(const QSet<int> &levels);
    void report(qint64 done, qint64 total);

    Database &m_db;
    int m_game;
    ShareProgress &m_progress;
    QSet<int> m_changedLevels;
    ShareCounts m_refused;
    QStringList m_refusedRows;
};

} // namespace tolvimar
