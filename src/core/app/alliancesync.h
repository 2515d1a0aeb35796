#pragma once

#include "../share/mapsharing.h"
#include "../share/pgconnection.h"

#include <QSet>
#include <QString>

namespace tolvimar {

class Database;
class Session;

// "Mit Allianz abgleichen": the active game's map sent to and brought from the
// alliance's server. A pull redraws the maps it changed; a failure changes nothing in
// the player's database and says what went through before it.
class AllianceSync
{
public:
    enum class Direction { Push, Pull, Sync };

    struct Result
    {
        enum Status {
            Done,
            DoneMapStale, // the rows are in, but a map could not be redrawn
            Failed, // nothing changed locally
        };
        Status status = Failed;
        bool pushed = false;
        bool pulled = false;
        ShareCounts up;
        ShareCounts down;
        // Rows of the server that the pull refused (the message names them).
        ShareCounts refused;
        // What the server noted on the way, as it sent it: whoever shows it escapes
        // control characters.
        QStringList notices;
        // The server wants a password (or refused the one given).
        bool needsPassword = false;
        QString message;
        // The levels whose regions the pull changed; their maps are drawn anew.
        QSet<int> changedLevels;
    };

    AllianceSync(Session &session, ShareProgress &progress);

    Result run(Direction direction, const QString &conninfo, const QString &password,
        const PgConnection::Options &options = PgConnection::Options());

    // run() in two steps for the window: exchange() talks to the server and writes the
    // pulled rows through db (a connection of its own on a worker thread), touching
    // nothing of the session but its lock; takeOver() then redraws the maps on the
    // session's thread.
    Result exchange(Database &db, Direction direction, const QString &conninfo,
        const QString &password, const PgConnection::Options &options = PgConnection::Options());
    Result takeOver(Result result);

    // The server remembered for the slot, and remembering one: stored without its
    // password. Throw UserError.
    QString rememberedServer() const;
    void rememberServer(const QString &conninfo);

    static QString upText(const ShareCounts &counts);
    static QString downText(const ShareCounts &counts);
    // "Abgelehnt: 3 Zeilen (…), nicht übernommen:" and a line per named row.
    static QString refusedText(const ShareCounts &counts, const QStringList &named);

private:
    // The failure's message: the reason, what went up before it, and that the own
    // database is unchanged.
    static Result failed(Result result, const QString &reason);
    void redrawMaps(const QSet<int> &levels);

    Session &m_session;
    ShareProgress &m_progress;
    ActiveGame m_game; // as it was when the sync was set up
    QString m_workspaceDir;
};

} // namespace tolvimar
