#pragma once

#include "../base/errors.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>
#include <vector>

struct pg_conn;
struct pg_result;

namespace tolvimar {

// A failure of the alliance server; the kind lets the window ask for a password.
class ShareError : public UserError
{
public:
    enum class Kind { Connect, Password, Timeout, Foreign, Query };
    ShareError(Kind kind, QString message)
        : UserError(std::move(message))
        , m_kind(kind)
    {
    }
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

// The values of one statement in PostgreSQL's text form, each bound as a parameter;
// the server reads them by the column's type. A null entry is SQL NULL.
class PgParams
{
public:
    void clear();
    void reserve(int count, qsizetype bytes);
    // UTF-8 bytes, copied.
    void add(const char *utf8, qsizetype bytes);
    void add(const QByteArray &utf8) { add(utf8.constData(), utf8.size()); }
    void add(const QString &text) { add(text.toUtf8()); }
    void add(qint64 number) { add(QByteArray::number(number)); }
    void addNull();
    int size() const { return int(m_offsets.size()); }
    // Pointers for the library, valid until the next add.
    const char *const *values() const;

private:
    QByteArray m_arena;
    std::vector<qsizetype> m_offsets; // -1: NULL
    mutable std::vector<const char *> m_pointers;
};

// The result of one statement; one row of a streamed query.
class PgResult
{
public:
    PgResult() = default;
    explicit PgResult(pg_result *result)
        : m_result(result)
    {
    }
    ~PgResult();
    PgResult(PgResult &&other) noexcept;
    PgResult &operator=(PgResult &&other) noexcept;
    PgResult(const PgResult &) = delete;
    PgResult &operator=(const PgResult &) = delete;

    int rows() const;
    int columns() const;
    bool isNull(int row, int column) const;
    // The value's text (UTF-8, NUL-terminated; empty for NULL) and its length.
    const char *value(int row, int column) const;
    int length(int row, int column) const;
    QString text(int row, int column) const;
    // A whole number of an integer column; 0 for NULL.
    qint64 integer(int row, int column) const;
    // Rows an INSERT or UPDATE wrote.
    qint64 affectedRows() const;

private:
    pg_result *m_result = nullptr;
};

// What the server said besides its results (NOTICE, WARNING): kept as text for the
// caller to show, never written anywhere by the library. A server may send many and
// long ones: the first few are kept, shortened.
struct PgNotices
{
    static constexpr int kKept = 10;
    static constexpr int kLength = 500;
    QStringList texts;
    qint64 dropped = 0; // beyond kKept
    void add(const QString &text);
};

// One connection to a PostgreSQL server through libpq. Every statement goes out with
// its values as parameters, and every wait for the server is bounded: a server that
// does not answer in time, or keeps a connection busy past its deadline, is left and
// the statement fails.
class PgConnection
{
public:
    struct Options
    {
        // Bounds connecting, unless the connection string sets connect_timeout itself.
        int connectTimeoutSeconds = 10;
        // How long the server may stay silent while a statement runs.
        int replyTimeoutMs = 120000;
        // How long the connection may be used at all, connecting included, however
        // often the server answers; counted from the construction. Negative: no limit.
        qint64 totalTimeoutMs = 300000;
        // Where the server's notices go; without one they are dropped.
        PgNotices *notices = nullptr;
    };

    // Connects with the connection string (key=value pairs or a URI), honouring its
    // sslmode and libpq's password file; a given password takes precedence over one
    // in the string. Throws ShareError (Kind::Password when the server wants one).
    PgConnection(const QString &conninfo, const QString &password, const Options &options);
    ~PgConnection();
    PgConnection(const PgConnection &) = delete;
    PgConnection &operator=(const PgConnection &) = delete;

    // "host=… port=… dbname=… user=…" of the connection, for messages.
    QString where() const { return m_where; }

    // Runs one statement and returns its result. Throws ShareError.
    PgResult exec(const QByteArray &sql, const PgParams &params = PgParams());
    // Sends a statement without waiting for it, so that the server works while the
    // program does; awaitResult() then takes its result. Throws ShareError.
    void post(const QByteArray &sql, const PgParams &params = PgParams());
    PgResult awaitResult();

    // COPY … FROM STDIN: starts it, sends data (whole rows in the text format), ends
    // it and returns its result. Throws ShareError.
    void startCopy(const QByteArray &sql);
    void putCopyData(const QByteArray &data);
    PgResult endCopy();

    // The connection string's settings as key=value pairs with the password left
    // out: what may be remembered. Throws ShareError when the string cannot be read.
    static QString withoutPassword(const QString &conninfo);

private:
    void send(const QByteArray &sql, const PgParams &params);
    void flushAll();
    PgResult collectResults();
    pg_result *nextResult();
    void waitForSocket(bool forWrite);
    void connect(const QString &conninfo, const QByteArray &password);
    [[noreturn]] void connectFailed(const QString &shown);
    // How long a wait may last: the reply timeout, or less when the deadline comes
    // sooner; *last tells which. Throws when the deadline has passed.
    int waitLimit(int limitMs, bool *last);
    [[noreturn]] void fail(const QString &what);
    [[noreturn]] void timedOut();
    [[noreturn]] void overdue();
    static void onNotice(void *connection, const char *message);

    pg_conn *m_conn = nullptr;
    Options m_options;
    QDeadlineTimer m_deadline;
    QString m_where;
};

} // namespace tolvimar
