#include "alliancesync.h"

#include "../base/configuration.h"
#include "../base/slotsettings.h"
#include "../db/database.h"
#include "../db/sqlitestatement.h"
#include "mapoperations.h"
#include "session.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace tolvimar {

namespace {

const QString kServerSetting = QStringLiteral("Allianzserver");

} // namespace

AllianceSync::AllianceSync(Session &session, ShareProgress &progress)
    : m_session(session)
    , m_progress(progress)
    , m_game(session.game())
{
}

QString AllianceSync::upText(const ShareCounts &counts)
{
    return QStringLiteral("Hochgeladen: ") + counts.text();
}

QString AllianceSync::downText(const ShareCounts &counts)
{
    return QStringLiteral("Heruntergeladen: ") + counts.text();
}

QString AllianceSync::rememberedServer() const
{
    return SlotSettings(m_session.workspace(), m_session.game().number).value(kServerSetting);
}

void AllianceSync::rememberServer(const QString &conninfo)
{
    SlotSettings(m_session.workspace(), m_session.game().number)
        .setValue(
            kServerSetting, PgConnection::withoutPassword(conninfo), &m_session.workspaceLock());
}

QString AllianceSync::refusedText(const ShareCounts &counts, const QStringList &named)
{
    QStringList lines {
        QStringLiteral("Abgelehnt: ") + counts.text() + QStringLiteral(", nicht übernommen:")};
    for (const QString &row : named)
        lines.append(QStringLiteral("  ") + row);
    if (counts.total() > named.size())
        lines.append(QStringLiteral("  und %1 weitere").arg(counts.total() - named.size()));
    return lines.join(u'\n');
}

AllianceSync::Result AllianceSync::failed(Result result, const QString &reason)
{
    QStringList text {reason};
    if (result.pushed)
        text.append(upText(result.up) + QStringLiteral(" (vor dem Fehler)"));
    text.append(QStringLiteral("In der eigenen Datenbank wurde nichts geändert."));
    result.status = Result::Failed;
    result.message = text.join(u'\n');
    return result;
}

AllianceSync::Result AllianceSync::run(Direction direction, const QString &conninfo,
    const QString &password, const PgConnection::Options &options)
{
    return takeOver(exchange(m_session.database(), direction, conninfo, password, options));
}

AllianceSync::Result AllianceSync::exchange(Database &db, Direction direction,
    const QString &conninfo, const QString &password, const PgConnection::Options &options)
{
    Result result;
    const ActiveGame &game = m_game;
    MapSharing sharing(db, game.number, m_progress);
    // The server's notices go with the result, whatever the outcome.
    PgNotices notices;
    auto withNotices = [&notices](Result r) {
        r.notices = notices.texts;
        if (notices.dropped > 0)
            r.notices.append(
                QStringLiteral("(%1 weitere Hinweise ausgelassen)").arg(notices.dropped));
        return r;
    };
    PgConnection::Options connection = options;
    connection.notices = &notices;
    try {
        m_progress.setStep(QStringLiteral("Verbinden mit dem Allianzserver"));
        m_progress.setPercent(0);
        AllianceServer server(conninfo, password, connection);
        server.prepare(game.type);
        if (direction != Direction::Pull) {
            result.up = sharing.push(server, game.factionNumber);
            result.pushed = true;
        }
        if (direction != Direction::Push) {
            OwnKnowledge own;
            own.faction = game.factionNumber;
            // The configuration keeps the newest turn read even after an older report.
            own.newestReport = std::max(game.newestTurn,
                qint64(
                    m_session.loadConfiguration().intLine(game.number, Configuration::NewestTurn)));
            result.down = sharing.pull(server, &m_session.workspaceLock(), own);
            result.refused = sharing.refused();
            result.pulled = true;
        }
    } catch (const UserError &e) {
        const auto *share = dynamic_cast<const ShareError *>(&e);
        result.needsPassword = share && share->kind() == ShareError::Kind::Password;
        return withNotices(failed(result, e.message()));
    } catch (const SqliteError &e) {
        return withNotices(failed(result,
            QStringLiteral("Die Datenbank %1 meldet einen Fehler: %2")
                .arg(QDir::toNativeSeparators(db.path()), e.message())));
    } catch (const std::bad_alloc &) {
        return withNotices(
            failed(result, QStringLiteral("Der Speicher reichte nicht für den Abgleich.")));
    } catch (const std::exception &e) {
        return withNotices(failed(result,
            QStringLiteral("Der Abgleich wurde abgebrochen: ") + QString::fromLocal8Bit(e.what())));
    }

    QStringList text;
    if (result.pushed)
        text.append(upText(result.up));
    if (result.pulled)
        text.append(downText(result.down));
    if (result.refused.total() > 0)
        text.append(refusedText(result.refused, sharing.refusedRows()));
    result.status = Result::Done;
    result.changedLevels = sharing.changedLevels();
    result.message = text.join(u'\n');
    return withNotices(result);
}

AllianceSync::Result AllianceSync::takeOver(Result result)
{
    if (result.status == Result::Failed)
        return result;
    QStringList text;
    if (!result.message.isEmpty())
        text.append(result.message);
    if (result.pulled && result.down.rows[0] > 0) {
        try {
            redrawMaps(result.changedLevels);
        } catch (const UserError &e) {
            result.status = Result::DoneMapStale;
            text.append(QStringLiteral("Die Karte konnte danach nicht neu gezeichnet werden: ")
                + e.message());
        } catch (const std::bad_alloc &) {
            result.status = Result::DoneMapStale;
            text.append(QStringLiteral("Die Karte konnte danach nicht neu gezeichnet werden: der "
                                       "Speicher reichte nicht."));
        }
    }
    result.message = text.join(u'\n');
    return result;
}

void AllianceSync::redrawMaps(const QSet<int> &levels)
{
    m_progress.setStep(QStringLiteral("Karten neu zeichnen"));
    MapState &state = m_session.mapState();
    const int shown = state.level();
    // The picture of another level would show the old map: it is drawn anew when that
    // level is chosen next.
    for (int level : levels) {
        if (level != shown)
            QFile::remove(m_session.worldMapFile(level));
    }
    MapOperations maps(m_session);
    if (levels.contains(shown)
        && (!state.worldMap().isNull() || QFile::exists(m_session.worldMapFile(shown))))
        maps.displayWorldMapHex();
    const QPoint centre = state.currentPosition();
    maps.displaySmallMap(centre.x(), centre.y());
}

} // namespace tolvimar
