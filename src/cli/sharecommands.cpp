#include "sharecommands.h"

#include "app/alliancesync.h"
#include "app/session.h"
#include "cliutil.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace tolvimar::cli {

namespace {

// Asks on the terminal without echo; empty when there is no terminal to ask on.
QString askPassword()
{
    if (!isatty(STDIN_FILENO))
        return QString();
    err() << "Passwort für den Allianzserver: ";
    err().flush();
    termios saved {};
    const bool quiet = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    QByteArray line;
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar())
        line.append(char(c));
    if (quiet)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    err() << "\n";
    err().flush();
    return QString::fromUtf8(line);
}

// A day: longer runs are no timeout anyone wants, and the milliseconds stay in range.
constexpr qint64 kMaxTimeoutSeconds = 86400;

// The server's notices on stderr, their control characters escaped as in every text
// this program writes to the terminal.
void showNotices(const AllianceSync::Result &result)
{
    for (const QString &notice : result.notices)
        err() << QStringLiteral("Hinweis des Allianzservers: ") << notice << "\n";
    err().flush();
}

} // namespace

int share(const Arguments &args)
{
    CommandOptions options;
    QString problem;
    if (!parseCommandOptions(args.rest,
            {QStringLiteral("--slot"), QStringLiteral("--server"), QStringLiteral("--timeout")}, {},
            &options, &problem))
        return usage(problem);
    const int slot = slotOption(options, &problem);
    if (slot == 0)
        return usage(problem);
    const QString server = options.values.value(QStringLiteral("--server"));
    if (server.trimmed().isEmpty())
        return usage(QStringLiteral("share braucht --server VERBINDUNG (z. B. \"host=… "
                                    "dbname=… user=…\")."));
    static const QHash<QString, AllianceSync::Direction> directions = {
        {QStringLiteral("push"), AllianceSync::Direction::Push},
        {QStringLiteral("pull"), AllianceSync::Direction::Pull},
        {QStringLiteral("sync"), AllianceSync::Direction::Sync},
    };
    if (options.positional.size() != 1 || !directions.contains(options.positional.first()))
        return usage(QStringLiteral("share braucht push, pull oder sync."));
    // The whole run with the server, connecting included, in seconds.
    qint64 seconds = 300;
    if (options.values.contains(QStringLiteral("--timeout"))) {
        bool ok = false;
        seconds = options.values.value(QStringLiteral("--timeout")).toLongLong(&ok);
        if (!ok || seconds < 1 || seconds > kMaxTimeoutSeconds)
            return usage(QStringLiteral("share --timeout braucht eine ganze Zahl von Sekunden "
                                        "zwischen 1 und %1.")
                             .arg(kMaxTimeoutSeconds));
    }

    OpenedSlot opened;
    echoToStderr(opened.prompter);
    opened.session = std::make_unique<Session>(args.workspace, opened.prompter);
    openSlot(*opened.session, slot, QString());
    ShareProgress progress;
    AllianceSync sync(*opened.session, progress);
    const AllianceSync::Direction direction = directions.value(options.positional.first());
    PgConnection::Options connection;
    connection.totalTimeoutMs = seconds * 1000;
    QElapsedTimer used;
    used.start();
    AllianceSync::Result result = sync.run(direction, server, QString(), connection);
    showNotices(result);
    if (result.status == AllianceSync::Result::Failed && result.needsPassword) {
        // The time the player takes to type does not count.
        connection.totalTimeoutMs = std::max<qint64>(connection.totalTimeoutMs - used.elapsed(), 1);
        const QString password = askPassword();
        if (!password.isEmpty()) {
            result = sync.run(direction, server, password, connection);
            showNotices(result);
        }
    }
    if (result.status == AllianceSync::Result::Failed) {
        err() << result.message << "\n";
        return 2;
    }
    out() << result.message << "\n";
    return result.status == AllianceSync::Result::Done ? 0 : 3;
}

} // namespace tolvimar::cli
