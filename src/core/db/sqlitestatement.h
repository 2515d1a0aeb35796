#pragma once

#include <QByteArray>
#include <QString>
#include <QVarLengthArray>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace tolvimar {

// One prepared statement on the connection's own SQLite handle. The table layer
// runs its frequent statements here instead of through QSqlQuery, which rebuilds
// the whole record of a wide table and converts every bound value on each call.
// Values go in and come out exactly as the QtSql driver passes them: a null
// variant or a null string binds NULL; integers read back as qlonglong, texts as
// QString, NULL as a null QString variant.
class SqliteStatement
{
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3 *db, const QString &sql); // throws SqliteError
    ~SqliteStatement();
    SqliteStatement(SqliteStatement &&other) noexcept;
    SqliteStatement &operator=(SqliteStatement &&other) noexcept;
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    bool isValid() const { return m_stmt != nullptr; }
    // Binds the value to parameter i (0-based).
    void bind(int i, const QVariant &value);
    // One step: true when a row is ready, false when the statement is done.
    bool step();
    // Resets for the next use (keeps the bindings until they are replaced).
    void reset();
    QVariant column(int i) const;
    qint64 columnInt64(int i) const;
    // column(i).toString(), without the variant where the column holds a text.
    QString columnText(int i) const;
    // Whether the column holds an integer (not NULL, a text or a real), and that integer.
    bool columnInteger(int i, qint64 *value) const;

    // Raw UTF-8 for copying rows between databases: SQLite turns a number into its
    // text and a text into the column's type by the column's affinity. The bound
    // bytes must stay alive until the statement has run; a null pointer is NULL.
    void bindUtf8(int i, const char *utf8, int bytes);
    // The column as UTF-8 (valid until the next step), nullptr for NULL.
    const char *columnUtf8(int i, int *bytes) const;
    bool columnIsNull(int i) const;
    bool columnIsText(int i) const;
    // Rows the last write of this connection changed.
    int changes() const;

    // A null variant, and a null string or byte array, bind as SQL NULL.
    static bool isNullValue(const QVariant &value);
    // QVariant::typeId() without the library call: these run for every field of
    // every row.
    static int typeOf(const QVariant &value) { return value.data_ptr().type().id(); }
    // QVariant::isNull() of a number (for those it is just this flag).
    static bool isNullNumber(const QVariant &value) { return value.data_ptr().is_null; }

private:
    struct Param;
    int bindNull(Param &p, int n);
    int bindText(Param &p, int n, const QString &text);
    [[noreturn]] void fail() const;

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    // What each parameter holds since its last bind; Unknown before the first and
    // after a failure. A text's UTF-8 lives here as long as SQLite points to it.
    struct Param
    {
        enum Kind : char { Unknown, Null, Integer, Text };
        Kind kind = Unknown;
        qint64 integer = 0;
        QString text;
        QByteArray utf8;
    };
    QVarLengthArray<Param, 32> m_params;
};

// A failure of SQLite, with its message.
class SqliteError : public std::exception
{
public:
    explicit SqliteError(QString message, int code = 0)
        : m_message(std::move(message))
        , m_code(code)
    {
    }
    const QString &message() const { return m_message; }
    // SQLite's primary result code (SQLITE_BUSY: another connection holds the lock).
    int code() const { return m_code; }
    const char *what() const noexcept override { return "sqlite error"; }

private:
    QString m_message;
    int m_code;
};

} // namespace tolvimar
