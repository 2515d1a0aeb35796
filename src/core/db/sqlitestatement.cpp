#include "sqlitestatement.h"

#include <sqlite3.h>
#include <utility>

namespace tolvimar {

namespace {

QString errorText(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

} // namespace

// As the QtSql driver decides it.
bool SqliteStatement::isNullValue(const QVariant &value)
{
    switch (typeOf(value)) {
    case QMetaType::UnknownType:
        return true;
    case QMetaType::QString:
        // A null-flagged string variant holds a null string too.
        return static_cast<const QString *>(value.constData())->isNull();
    case QMetaType::QByteArray:
        return static_cast<const QByteArray *>(value.constData())->isNull();
    default:
        return value.isNull();
    }
}

SqliteStatement::SqliteStatement(sqlite3 *db, const QString &sql)
    : m_db(db)
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK) {
        const QString text = errorText(db);
        const int code = sqlite3_errcode(db) & 0xff;
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw SqliteError(text, code);
    }
    m_params.resize(sqlite3_bind_parameter_count(m_stmt));
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_stmt);
}

SqliteStatement::SqliteStatement(SqliteStatement &&other) noexcept
    : m_db(std::exchange(other.m_db, nullptr))
    , m_stmt(std::exchange(other.m_stmt, nullptr))
    , m_params(std::move(other.m_params))
{
}

SqliteStatement &SqliteStatement::operator=(SqliteStatement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = std::exchange(other.m_db, nullptr);
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_params = std::move(other.m_params);
    }
    return *this;
}

// SQLite keeps a parameter's value from one run of a statement to the next. Rows
// written in a series repeat most of their values (zero amounts, empty skills,
// "in Region"), so a value that is bound already is not bound again: that spares a
// library call for each, and for a text its conversion too.
void SqliteStatement::bind(int i, const QVariant &value)
{
    if (i < 0 || i >= m_params.size()) {
        sqlite3_bind_null(m_stmt, i + 1); // sets the error SQLite has for it
        fail();
    }
    Param &p = m_params[i];
    const int n = i + 1;
    int rc = SQLITE_OK;
    const int type = typeOf(value);
    switch (type) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool: {
        if (isNullNumber(value)) {
            rc = bindNull(p, n);
            break;
        }
        qint64 v = 0;
        switch (type) {
        case QMetaType::Int:
            v = *static_cast<const int *>(value.constData());
            break;
        case QMetaType::LongLong:
            v = *static_cast<const qlonglong *>(value.constData());
            break;
        case QMetaType::UInt:
            v = *static_cast<const uint *>(value.constData());
            break;
        default:
            v = *static_cast<const bool *>(value.constData()) ? 1 : 0;
            break;
        }
        if (p.kind == Param::Integer && p.integer == v)
            return;
        p.kind = Param::Unknown;
        rc = sqlite3_bind_int64(m_stmt, n, v);
        if (rc == SQLITE_OK) {
            p.kind = Param::Integer;
            p.integer = v;
        }
        break;
    }
    case QMetaType::QString: {
        const QString &text = *static_cast<const QString *>(value.constData());
        if (text.isNull()) {
            rc = bindNull(p, n);
            break;
        }
        if (p.kind == Param::Text && p.text == text)
            return;
        rc = bindText(p, n, text);
        if (rc == SQLITE_OK)
            p.text = text;
        break;
    }
    default:
        p.kind = Param::Unknown;
        if (isNullValue(value)) {
            rc = bindNull(p, n);
        } else if (type == QMetaType::Double) {
            rc = sqlite3_bind_double(m_stmt, n, *static_cast<const double *>(value.constData()));
        } else if (type == QMetaType::QByteArray) {
            const auto *bytes = static_cast<const QByteArray *>(value.constData());
            rc = sqlite3_bind_blob(
                m_stmt, n, bytes->constData(), int(bytes->size()), SQLITE_TRANSIENT);
        } else {
            rc = bindText(p, n, value.toString());
            p.kind = Param::Unknown; // converted: not worth remembering
        }
        break;
    }
    if (rc != SQLITE_OK) {
        p.kind = Param::Unknown;
        fail();
    }
}

int SqliteStatement::bindNull(Param &p, int n)
{
    if (p.kind == Param::Null)
        return SQLITE_OK;
    p.kind = Param::Unknown;
    const int rc = sqlite3_bind_null(m_stmt, n);
    if (rc == SQLITE_OK)
        p.kind = Param::Null;
    return rc;
}

// The database stores UTF-8; handing SQLite UTF-8 that stays alive until the next
// bind spares it a copy and a conversion of its own.
int SqliteStatement::bindText(Param &p, int n, const QString &text)
{
    p.kind = Param::Unknown;
    p.utf8 = text.toUtf8();
    const int rc
        = sqlite3_bind_text(m_stmt, n, p.utf8.constData(), int(p.utf8.size()), SQLITE_STATIC);
    if (rc == SQLITE_OK)
        p.kind = Param::Text;
    return rc;
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail();
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_stmt);
}

QVariant SqliteStatement::column(int i) const
{
    // One locked call for the value; reading it needs no further lock (a connection
    // is only ever used by the thread that opened it).
    sqlite3_value *value = sqlite3_column_value(m_stmt, i);
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(value));
    case SQLITE_BLOB:
        return QVariant(QByteArray(
            static_cast<const char *>(sqlite3_value_blob(value)), sqlite3_value_bytes(value)));
    case SQLITE_NULL: {
        static const QVariant nullText {QMetaType::fromType<QString>()};
        return nullText;
    }
    default: {
        // The database holds UTF-8; converting it here spares SQLite a converted
        // copy of its own.
        const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
        if (!text)
            return QVariant(QString());
        return QVariant(QString::fromUtf8(text, sqlite3_value_bytes(value)));
    }
    }
}

qint64 SqliteStatement::columnInt64(int i) const
{
    return sqlite3_column_int64(m_stmt, i);
}

QString SqliteStatement::columnText(int i) const
{
    sqlite3_value *value = sqlite3_column_value(m_stmt, i);
    const int type = sqlite3_value_type(value);
    if (type == SQLITE_NULL)
        return QString();
    if (type != SQLITE_TEXT)
        return column(i).toString();
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return text ? QString::fromUtf8(text, sqlite3_value_bytes(value)) : QString();
}

bool SqliteStatement::columnInteger(int i, qint64 *value) const
{
    sqlite3_value *v = sqlite3_column_value(m_stmt, i);
    if (sqlite3_value_type(v) != SQLITE_INTEGER)
        return false;
    *value = sqlite3_value_int64(v);
    return true;
}

void SqliteStatement::bindUtf8(int i, const char *utf8, int bytes)
{
    if (i < 0 || i >= m_params.size()) {
        sqlite3_bind_null(m_stmt, i + 1);
        fail();
    }
    m_params[i].kind = Param::Unknown;
    const int rc = utf8 ? sqlite3_bind_text(m_stmt, i + 1, utf8, bytes, SQLITE_STATIC)
                        : sqlite3_bind_null(m_stmt, i + 1);
    if (rc != SQLITE_OK)
        fail();
}

const char *SqliteStatement::columnUtf8(int i, int *bytes) const
{
    if (sqlite3_column_type(m_stmt, i) == SQLITE_NULL) {
        *bytes = 0;
        return nullptr;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i));
    *bytes = sqlite3_column_bytes(m_stmt, i);
    return text ? text : "";
}

bool SqliteStatement::columnIsNull(int i) const
{
    return sqlite3_column_type(m_stmt, i) == SQLITE_NULL;
}

bool SqliteStatement::columnIsText(int i) const
{
    return sqlite3_column_type(m_stmt, i) == SQLITE_TEXT;
}

int SqliteStatement::changes() const
{
    return sqlite3_changes(m_db);
}

void SqliteStatement::fail() const
{
    const QString text = errorText(m_db);
    const int code = sqlite3_errcode(m_db) & 0xff;
    // Leaves the statement usable for the next call.
    sqlite3_reset(m_stmt);
    throw SqliteError(text, code);
}

} // namespace tolvimar
