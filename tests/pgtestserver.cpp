#include "pgtestserver.h"

#include "share/pgconnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QVersionNumber>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvimar::test {

namespace {

bool isRoot()
{
    return ::geteuid() == 0;
}

// As root, the server's programs run as "nobody": PostgreSQL refuses to run as root.
QStringList asServerUser(const QStringList &command)
{
    if (!isRoot())
        return command;
    return QStringList {QStringLiteral("runuser"), QStringLiteral("-u"), QStringLiteral("nobody"),
               QStringLiteral("--")}
    + command;
}

} // namespace

QString TestPostgres::binDir()
{
    // Debian keeps each version's programs in /usr/lib/postgresql/<version>/bin.
    const QDir lib(QStringLiteral("/usr/lib/postgresql"));
    QVersionNumber best;
    QString found;
    for (const QString &version : lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString bin = lib.filePath(version + QStringLiteral("/bin"));
        const QVersionNumber number = QVersionNumber::fromString(version);
        if (QFile::exists(bin + QStringLiteral("/initdb"))
            && QFile::exists(bin + QStringLiteral("/pg_ctl")) && number > best) {
            best = number;
            found = bin;
        }
    }
    if (!found.isEmpty())
        return found;
    const QString initdb = QStandardPaths::findExecutable(QStringLiteral("initdb"));
    return initdb.isEmpty() ? QString() : QFileInfo(initdb).absolutePath();
}

int TestPostgres::freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(s);
    return port;
}

bool TestPostgres::run(const QStringList &command, QString *output) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList full = asServerUser(command);
    process.start(full.first(), full.mid(1));
    const bool finished = process.waitForFinished(120000);
    *output = QString::fromLocal8Bit(process.readAll());
    if (!finished) {
        process.kill();
        process.waitForFinished();
        *output += QStringLiteral("\n(timed out)");
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool TestPostgres::start(QString *problem)
{
    const QString bin = binDir();
    if (bin.isEmpty()) {
        *problem = QStringLiteral("PostgreSQL (initdb, pg_ctl) is not installed");
        return false;
    }
    m_dir
        = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tolvimar-pg-XXXXXX"));
    if (!m_dir->isValid()) {
        *problem = QStringLiteral("no temporary folder");
        return false;
    }
    // The server's user must reach its folder; the test reaches everything as root.
    QFile::setPermissions(m_dir->path(),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
            | QFile::ReadOther | QFile::ExeOther);
    QString output;
    if (isRoot()) {
        QProcess chown;
        chown.start(QStringLiteral("chown"), {QStringLiteral("nobody"), m_dir->path()});
        chown.waitForFinished();
    }
    m_dataDir = m_dir->filePath(QStringLiteral("data"));
    if (!run({bin + QStringLiteral("/initdb"), QStringLiteral("-D"), m_dataDir,
                 QStringLiteral("-U"), QStringLiteral("tolvimar"),
                 QStringLiteral("--auth-local=trust"), QStringLiteral("--auth-host=scram-sha-256"),
                 QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"),
                 QStringLiteral("--no-sync")},
            &output)) {
        *problem = QStringLiteral("initdb failed: ") + output;
        return false;
    }
    m_port = freePort();
    const QString options
        = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off "
                         "-c synchronous_commit=off -c full_page_writes=off -c max_connections=30")
              .arg(m_port)
              .arg(m_dir->path());
    if (!run({bin + QStringLiteral("/pg_ctl"), QStringLiteral("-D"), m_dataDir,
                 QStringLiteral("-l"), m_dir->filePath(QStringLiteral("server.log")),
                 QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"),
                 QStringLiteral("-o"), options, QStringLiteral("start")},
            &output)) {
        *problem = QStringLiteral("pg_ctl start failed: ") + output + u'\n'
            + QString::fromLocal8Bit([&] {
                  QFile log(m_dir->filePath(QStringLiteral("server.log")));
                  return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
              }());
        return false;
    }
    m_running = true;

    // Should the test die before its destructor runs, the watchdog stops the server
    // (immediate shutdown of the postmaster) and removes the folder.
    QProcess watchdog;
    watchdog.setProgram(QStringLiteral("/bin/sh"));
    watchdog.setArguments({QStringLiteral("-c"),
        QStringLiteral(
            "while kill -0 \"$1\" 2>/dev/null; do sleep 1; done; "
            "if [ -f \"$2/postmaster.pid\" ]; then "
            "kill -QUIT \"$(head -n 1 \"$2/postmaster.pid\")\" 2>/dev/null; sleep 2; fi; "
            "rm -rf \"$3\""),
        QStringLiteral("watchdog"), QString::number(QCoreApplication::applicationPid()), m_dataDir,
        m_dir->path()});
    watchdog.setStandardInputFile(QProcess::nullDevice());
    watchdog.setStandardOutputFile(QProcess::nullDevice());
    watchdog.setStandardErrorFile(QProcess::nullDevice());
    watchdog.startDetached();
    return true;
}

bool TestPostgres::startWithMember(QString *problem)
{
    qunsetenv("PGPASSWORD");
    qputenv("PGPASSFILE", "/nonexistent/tolvimar-test-pgpass");
    if (!start(problem))
        return false;
    sql(QStringLiteral("postgres"), QStringLiteral("CREATE ROLE mitglied LOGIN PASSWORD 'geheim'"));
    return true;
}

bool TestPostgres::startForTestClass()
{
    if (binDir().isEmpty()) {
        QTest::qSkip(kNotInstalled, __FILE__, __LINE__);
        return false;
    }
    QString problem;
    if (!startWithMember(&problem)) {
        QTest::qFail(
            qPrintable(QStringLiteral("no PostgreSQL server: ") + problem), __FILE__, __LINE__);
        return false;
    }
    return true;
}

void TestPostgres::stop()
{
    if (!m_running)
        return;
    m_running = false;
    QString output;
    run({binDir() + QStringLiteral("/pg_ctl"), QStringLiteral("-D"), m_dataDir,
            QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"),
            QStringLiteral("stop")},
        &output);
}

TestPostgres::~TestPostgres()
{
    stop();
}

qint64 TestPostgres::postmasterPid() const
{
    QFile pid(m_dataDir + QStringLiteral("/postmaster.pid"));
    if (!m_running || !pid.open(QIODevice::ReadOnly))
        return 0;
    return pid.readLine().trimmed().toLongLong();
}

QString TestPostgres::conninfo(const QString &dbname, const QString &user) const
{
    return QStringLiteral("host=%1 port=%2 dbname=%3 user=%4")
        .arg(socketDir())
        .arg(m_port)
        .arg(dbname, user);
}

QString TestPostgres::tcpConninfo(const QString &dbname, const QString &user) const
{
    return QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=%3").arg(m_port).arg(dbname, user);
}

QString TestPostgres::sql(const QString &dbname, const QString &statement) const
{
    PgConnection connection(conninfo(dbname), QString(), PgConnection::Options());
    const PgResult result = connection.exec(statement.toUtf8());
    return result.rows() > 0 && result.columns() > 0 ? result.text(0, 0) : QString();
}

QString TestPostgres::createDatabase()
{
    const QString name = QStringLiteral("allianz%1").arg(++m_databases);
    sql(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1").arg(name));
    return name;
}

namespace {

void appendInt32(QByteArray &bytes, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char((value >> shift) & 0xff));
}

// One message of the server: its type byte, then the length (itself included) and body.
QByteArray message(char type, const QByteArray &body)
{
    QByteArray bytes(1, type);
    appendInt32(bytes, quint32(body.size() + 4));
    return bytes + body;
}

QByteArray noticeBody(const QByteArray &text)
{
    return QByteArray("SNOTICE", 8) + QByteArray("VNOTICE", 8) + QByteArray("C00000", 7) + 'M'
        + text + '\0' + '\0';
}

// Waits up to a second for the client; false when it is gone or the test ends.
bool readable(int fd, const std::atomic<bool> &stop)
{
    while (!stop) {
        pollfd p {fd, POLLIN, 0};
        const int rc = ::poll(&p, 1, 100);
        if (rc > 0)
            return true;
        if (rc < 0)
            return false;
    }
    return false;
}

bool sendAll(int fd, const QByteArray &bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n
            = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

} // namespace

DribblingServer::DribblingServer(QList<QByteArray> notices, bool duringLogin, int pauseMs)
    : m_notices(std::move(notices))
    , m_duringLogin(duringLogin)
    , m_pauseMs(pauseMs)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::listen(m_listener, 4) == 0
        && ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

DribblingServer::~DribblingServer()
{
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

QString DribblingServer::conninfo() const
{
    return QStringLiteral("host=127.0.0.1 port=%1 dbname=allianz user=niemand sslmode=disable "
                          "gssencmode=disable")
        .arg(m_port);
}

void DribblingServer::serve()
{
    // One client after the other, each served until it goes away.
    while (readable(m_listener, m_stop)) {
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0)
            continue;
        // The startup message: its length, then the rest of it.
        char buffer[4096];
        bool ok = readable(client, m_stop) && ::recv(client, buffer, sizeof buffer, 0) > 0;
        // Logged in at once, and ready for statements unless the dribble comes first.
        ok = ok && sendAll(client, message('R', QByteArray(4, '\0')));
        if (!m_duringLogin) {
            ok = ok
                && sendAll(client,
                    message('S', QByteArray("client_encoding\0UTF8\0", 21))
                        + message('Z', QByteArray("I")));
            ok = ok && readable(client, m_stop) && ::recv(client, buffer, sizeof buffer, 0) > 0;
        }
        // The notices, then a notice of a million bytes that comes a byte at a time.
        QByteArray answer;
        for (const QByteArray &text : std::as_const(m_notices))
            answer += message('N', noticeBody(text));
        ok = ok && sendAll(client, answer);
        QByteArray endless(1, 'N');
        appendInt32(endless, 1000000);
        endless += "SNOTICE";
        endless += QByteArray(1000000, 'x');
        for (qsizetype i = 0; ok && !m_stop && i < endless.size(); ++i) {
            ok = sendAll(client, endless.mid(i, 1));
            for (int waited = 0; ok && !m_stop && waited < m_pauseMs; waited += 50) {
                pollfd p {client, POLLIN, 0};
                // A client that closed the connection ends the dribble.
                if (::poll(&p, 1, 50) > 0
                    && ::recv(client, buffer, sizeof buffer, MSG_DONTWAIT) <= 0)
                    ok = false;
            }
        }
        ::close(client);
    }
}

} // namespace tolvimar::test
