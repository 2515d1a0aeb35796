#include "alliancesync.h"

#include "../base/slotsettings.h"
#include "../db/database.h"
#include "../db/sqlitestatement.h"
#include "mapoperations.h"
#include "session.h"

#include <QDir>
#include <QFile>

namespace tolvimar {

namespace {

const QString kServerSetting = QStringLiteral("Allianzserver");

} // namespace

AllianceSync::AllianceSync(Session &session, ShareProgress &progress)
    : m_session(session)
    , m_progress(progress)
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
    Result result;
    const ActiveGame &game = m_session.game();
    MapSharing sharing(m_session.database(), game.number, m_progress);
    try {
        m_progress.setStep(QStringLiteral("Verbinden mit dem Allianzserver"));
        m_progress.setPercent(0);
        AllianceServer server(conninfo, password, options);
        server.prepare(game.type);
        if (direction != Direction::Pull) {
            result.up = sharing.push(server, game.factionNumber);
            result.pushed = true;
        }
        if (direction != Direction::Push) {
            result.down = sharing.pull(server, &m_session.workspaceLock());
            result.pulled = true;
        }
    } catch (const UserError &e) {
        const auto *share = dynamic_cast<const ShareError *>(&e);
        result.needsPassword = share && share->kind() == ShareError::Kind::Password;
        return failed(result, e.message());
    } catch (const SqliteError &e) {
        return failed(result,
            QStringLiteral("Die Datenbank %1 meldet einen Fehler: %2")
                .arg(QDir::toNativeSeparators(m_session.database().path()), e.message()));
    } catch (const std::bad_alloc &) {
        return failed(result, QStringLiteral("Der Speicher reichte nicht für den Abgleich."));
    } catch (const std::exception &e) {
        return failed(result,
            QStringLiteral("Der Abgleich wurde abgebrochen: ") + QString::fromLocal8Bit(e.what()));
    }

    QStringList text;
    if (result.pushed)
        text.append(upText(result.up));
    if (result.pulled)
        text.append(downText(result.down));
    result.status = Result::Done;
    if (result.pulled && result.down.rows[0] > 0) {
        try {
            redrawMaps(sharing.changedLevels());
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
