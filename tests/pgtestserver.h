#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <atomic>
#include <memory>
#include <thread>

namespace tolvimar::test {

// A PostgreSQL server of the test's own: initdb and pg_ctl of the installed package
// make and start it in a temporary folder, where its Unix socket lies; it also
// listens on 127.0.0.1 at a free port. Run as root, the server runs as the
// unprivileged user "nobody". It is stopped by the destructor, and by a watchdog
// process should the test die first.
class TestPostgres
{
public:
    // The folder of initdb and pg_ctl; empty when PostgreSQL is not installed.
    static QString binDir();

    TestPostgres() = default;
    ~TestPostgres();
    TestPostgres(const TestPostgres &) = delete;
    TestPostgres &operator=(const TestPostgres &) = delete;

    // Makes and starts the server; false with the reason when that fails.
    bool start(QString *problem);
    // Starts the server for a test case: no password from the environment or a password
    // file counts, and the role "mitglied" logs in with the password "geheim".
    bool startWithMember(QString *problem);
    // Why a test case skips when binDir() finds no server programs.
    static constexpr const char *kNotInstalled
        = "PostgreSQL is not installed (no initdb and pg_ctl); scripts/bootstrap.sh installs it";
    // startWithMember for a test class's initTestCase: skips the class where PostgreSQL
    // is not installed and fails it where the server does not start. The caller returns
    // when it gives false.
    bool startForTestClass();
    void stop();

    int port() const { return m_port; }
    QString socketDir() const { return m_dir ? m_dir->path() : QString(); }
    // Through the socket, where no password is needed; by default as the superuser.
    QString conninfo(const QString &dbname, const QString &user = QStringLiteral("tolvimar")) const;
    // Through 127.0.0.1, where every user needs a password.
    QString tcpConninfo(const QString &dbname, const QString &user) const;

    // Runs one statement as the superuser in the database (its values are the test's
    // own constants). Returns the first column of the first row.
    QString sql(const QString &dbname, const QString &statement) const;
    // A new empty database.
    QString createDatabase();

    // The server's main process (its backends are its children); 0 when not running.
    qint64 postmasterPid() const;

    // A free TCP port on 127.0.0.1 (nothing listens there when it is returned).
    static int freePort();

private:
    bool run(const QStringList &command, QString *output) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_dataDir;
    int m_port = 0;
    bool m_running = false;
    int m_databases = 0;
};

// A hostile server on 127.0.0.1 that speaks just enough of PostgreSQL's protocol to let
// a client log in (no SSL, no password), then answers the first statement with the
// given notices and after them dribbles a notice that never ends, one byte every
// `pauseMs`: every single wait of the client is short, the whole one is not. With
// duringLogin it accepts the login but dribbles before the client is ready, so that
// connecting never ends.
class DribblingServer
{
public:
    explicit DribblingServer(
        QList<QByteArray> notices = {}, bool duringLogin = false, int pauseMs = 200);
    ~DribblingServer();
    DribblingServer(const DribblingServer &) = delete;
    DribblingServer &operator=(const DribblingServer &) = delete;

    int port() const { return m_port; }
    // sslmode and gssencmode off: the server has neither.
    QString conninfo() const;

private:
    void serve();

    QList<QByteArray> m_notices;
    bool m_duringLogin;
    int m_pauseMs;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop {false};
    std::thread m_thread;
};

} // namespace tolvimar::test
