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
    switch (value.typeId()) {
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
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw SqliteError(text);
    }
    m_texts.resize(sqlite3_bind_parameter_count(m_stmt));
    m_boundTexts.resize(m_texts.size());
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_stmt);
}

SqliteStatement::SqliteStatement(SqliteStatement &&other) noexcept
    : m_db(std::exchange(other.m_db, nullptr))
    , m_stmt(std::exchange(other.m_stmt, nullptr))
    , m_texts(std::move(other.m_texts))
    , m_boundTexts(std::move(other.m_boundTexts))
{
}

SqliteStatement &SqliteStatement::operator=(SqliteStatement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = std::exchange(other.m_db, nullptr);
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_texts = std::move(other.m_texts);
        m_boundTexts = std::move(other.m_boundTexts);
    }
    return *this;
}

void SqliteStatement::bind(int i, const QVariant &value)
{
    // SQLite keeps a parameter's value from one run to the next. Rows written in a
    // series repeat many texts ("in Region", "unbekannt", empty ones), and binding
    // one again would cost a conversion and an allocation.
    const bool known = i >= 0 && i < m_texts.size();
    if (known && value.typeId() == QMetaType::QString) {
        const QString &text = *static_cast<const QString *>(value.constData());
        if (m_boundTexts[i].has_value() && !text.isNull() && *m_boundTexts[i] == text)
            return;
    }
    if (known)
        m_boundTexts[i].reset();
    int rc = SQLITE_OK;
    const int n = i + 1;
    if (isNullValue(value)) {
        rc = sqlite3_bind_null(m_stmt, n);
    } else {
        switch (value.typeId()) {
        case QMetaType::Int:
            rc = sqlite3_bind_int(m_stmt, n, *static_cast<const int *>(value.constData()));
            break;
        case QMetaType::Bool:
            rc = sqlite3_bind_int(m_stmt, n, value.toInt());
            break;
        case QMetaType::UInt:
        case QMetaType::LongLong:
            rc = sqlite3_bind_int64(m_stmt, n, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(m_stmt, n, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const auto *bytes = static_cast<const QByteArray *>(value.constData());
            rc = sqlite3_bind_blob(m_stmt, n, bytes->constData(), int(bytes->size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QString:
            rc = bindText(i, *static_cast<const QString *>(value.constData()));
            break;
        default:
            rc = bindText(i, value.toString());
            break;
        }
    }
    if (rc != SQLITE_OK)
        fail();
}

int SqliteStatement::bindText(int i, const QString &text)
{
    if (i < 0 || i >= m_texts.size())
        return SQLITE_RANGE;
    QByteArray &utf8 = m_texts[i];
    utf8 = text.toUtf8();
    const int rc = sqlite3_bind_text(m_stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
    if (rc == SQLITE_OK)
        m_boundTexts[i] = text;
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
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, i));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, i)),
                                   sqlite3_column_bytes(m_stmt, i)));
    case SQLITE_NULL: {
        static const QVariant nullText {QMetaType::fromType<QString>()};
        return nullText;
    }
    default: {
        // The database holds UTF-8; converting it here spares SQLite a converted
        // copy of its own.
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i));
        if (!text)
            return QVariant(QString());
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, i)));
    }
    }
}

qint64 SqliteStatement::columnInt64(int i) const
{
    return sqlite3_column_int64(m_stmt, i);
}

void SqliteStatement::fail() const
{
    const QString text = errorText(m_db);
    // Leaves the statement usable for the next call.
    sqlite3_reset(m_stmt);
    throw SqliteError(text);
}

} // namespace tolvimar
