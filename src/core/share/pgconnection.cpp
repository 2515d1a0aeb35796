#include "pgconnection.h"

#include <QLibrary>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <libpq-fe.h>
#include <poll.h>
#include <type_traits>
#include <utility>

namespace tolvimar {

namespace {

// PostgreSQL's client library, loaded when the first connection is made: a program
// that never syncs does not map it and the two dozen libraries it brings.
struct LibPq
{
    decltype(&::PQclear) PQclear = nullptr;
    decltype(&::PQcmdTuples) PQcmdTuples = nullptr;
    decltype(&::PQconnectPoll) PQconnectPoll = nullptr;
    decltype(&::PQconnectStartParams) PQconnectStartParams = nullptr;
    decltype(&::PQconnectionNeedsPassword) PQconnectionNeedsPassword = nullptr;
    decltype(&::PQconnectionUsedPassword) PQconnectionUsedPassword = nullptr;
    decltype(&::PQconninfo) PQconninfo = nullptr;
    decltype(&::PQconninfoFree) PQconninfoFree = nullptr;
    decltype(&::PQconninfoParse) PQconninfoParse = nullptr;
    decltype(&::PQconsumeInput) PQconsumeInput = nullptr;
    decltype(&::PQdb) PQdb = nullptr;
    decltype(&::PQerrorMessage) PQerrorMessage = nullptr;
    decltype(&::PQfinish) PQfinish = nullptr;
    decltype(&::PQflush) PQflush = nullptr;
    decltype(&::PQfreemem) PQfreemem = nullptr;
    decltype(&::PQgetResult) PQgetResult = nullptr;
    decltype(&::PQgetisnull) PQgetisnull = nullptr;
    decltype(&::PQgetlength) PQgetlength = nullptr;
    decltype(&::PQgetvalue) PQgetvalue = nullptr;
    decltype(&::PQhost) PQhost = nullptr;
    decltype(&::PQisBusy) PQisBusy = nullptr;
    decltype(&::PQnfields) PQnfields = nullptr;
    decltype(&::PQntuples) PQntuples = nullptr;
    decltype(&::PQport) PQport = nullptr;
    decltype(&::PQputCopyData) PQputCopyData = nullptr;
    decltype(&::PQputCopyEnd) PQputCopyEnd = nullptr;
    decltype(&::PQresultErrorMessage) PQresultErrorMessage = nullptr;
    decltype(&::PQresultStatus) PQresultStatus = nullptr;
    decltype(&::PQsendQueryParams) PQsendQueryParams = nullptr;
    decltype(&::PQsetNoticeProcessor) PQsetNoticeProcessor = nullptr;
    decltype(&::PQsetnonblocking) PQsetnonblocking = nullptr;
    decltype(&::PQsocket) PQsocket = nullptr;
    decltype(&::PQstatus) PQstatus = nullptr;
    decltype(&::PQuser) PQuser = nullptr;
    bool complete = false; // loaded, every function found
};

const LibPq &pq()
{
    static QLibrary library(QStringLiteral("pq"), 5);
    static const LibPq api = [] {
        LibPq api;
        if (!library.load())
            return api;
        bool all = true;
        auto resolve = [&all](auto *function, const char *name) {
            *function = reinterpret_cast<std::remove_pointer_t<decltype(function)>>(
                library.resolve(name));
            all = all && *function;
        };
        resolve(&api.PQclear, "PQclear");
        resolve(&api.PQcmdTuples, "PQcmdTuples");
        resolve(&api.PQconnectPoll, "PQconnectPoll");
        resolve(&api.PQconnectStartParams, "PQconnectStartParams");
        resolve(&api.PQconnectionNeedsPassword, "PQconnectionNeedsPassword");
        resolve(&api.PQconnectionUsedPassword, "PQconnectionUsedPassword");
        resolve(&api.PQconninfo, "PQconninfo");
        resolve(&api.PQconninfoFree, "PQconninfoFree");
        resolve(&api.PQconninfoParse, "PQconninfoParse");
        resolve(&api.PQconsumeInput, "PQconsumeInput");
        resolve(&api.PQdb, "PQdb");
        resolve(&api.PQerrorMessage, "PQerrorMessage");
        resolve(&api.PQfinish, "PQfinish");
        resolve(&api.PQflush, "PQflush");
        resolve(&api.PQfreemem, "PQfreemem");
        resolve(&api.PQgetResult, "PQgetResult");
        resolve(&api.PQgetisnull, "PQgetisnull");
        resolve(&api.PQgetlength, "PQgetlength");
        resolve(&api.PQgetvalue, "PQgetvalue");
        resolve(&api.PQhost, "PQhost");
        resolve(&api.PQisBusy, "PQisBusy");
        resolve(&api.PQnfields, "PQnfields");
        resolve(&api.PQntuples, "PQntuples");
        resolve(&api.PQport, "PQport");
        resolve(&api.PQputCopyData, "PQputCopyData");
        resolve(&api.PQputCopyEnd, "PQputCopyEnd");
        resolve(&api.PQresultErrorMessage, "PQresultErrorMessage");
        resolve(&api.PQresultStatus, "PQresultStatus");
        resolve(&api.PQsendQueryParams, "PQsendQueryParams");
        resolve(&api.PQsetNoticeProcessor, "PQsetNoticeProcessor");
        resolve(&api.PQsetnonblocking, "PQsetnonblocking");
        resolve(&api.PQsocket, "PQsocket");
        resolve(&api.PQstatus, "PQstatus");
        resolve(&api.PQuser, "PQuser");
        api.complete = all;
        return api;
    }();
    if (!api.complete)
        throw ShareError(ShareError::Kind::Connect,
            QStringLiteral("Die Bibliothek von PostgreSQL (libpq.so.5) fehlt oder ist zu alt: %1. "
                           "Unter Debian bringt sie das Paket libpq5.")
                .arg(library.errorString()));
    return api;
}

QString libpqText(const char *text)
{
    return QString::fromUtf8(text).trimmed();
}

// A failure told in German (what failed, what to check), with PostgreSQL's own words
// kept below it unchanged: they are what a server's administrator can look up.
QString explained(const QString &sentence, const QString &original)
{
    return sentence + QStringLiteral("\nUrsprüngliche Meldung: ") + original;
}

// A value of a connection string, quoted where libpq's syntax needs it.
QString conninfoValue(const QString &value)
{
    bool plain = !value.isEmpty();
    for (const QChar c : value) {
        if (c.isSpace() || c == u'\'' || c == u'\\' || c == u'=')
            plain = false;
    }
    if (plain)
        return value;
    QString quoted = value;
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + quoted + u'\'';
}

} // namespace

void PgParams::clear()
{
    m_arena.clear();
    m_offsets.clear();
}

void PgParams::reserve(int count, qsizetype bytes)
{
    m_offsets.reserve(size_t(count));
    m_arena.reserve(bytes);
}

void PgParams::add(const char *utf8, qsizetype bytes)
{
    m_offsets.push_back(m_arena.size());
    m_arena.append(utf8, bytes);
    m_arena.append('\0');
}

void PgParams::addNull()
{
    m_offsets.push_back(-1);
}

const char *const *PgParams::values() const
{
    m_pointers.resize(m_offsets.size());
    const char *base = m_arena.constData();
    for (size_t i = 0; i < m_offsets.size(); ++i)
        m_pointers[i] = m_offsets[i] < 0 ? nullptr : base + m_offsets[i];
    return m_pointers.data();
}

PgResult::~PgResult()
{
    pq().PQclear(m_result);
}

PgResult::PgResult(PgResult &&other) noexcept
    : m_result(std::exchange(other.m_result, nullptr))
{
}

PgResult &PgResult::operator=(PgResult &&other) noexcept
{
    if (this != &other) {
        pq().PQclear(m_result);
        m_result = std::exchange(other.m_result, nullptr);
    }
    return *this;
}

int PgResult::rows() const
{
    return m_result ? pq().PQntuples(m_result) : 0;
}

int PgResult::columns() const
{
    return m_result ? pq().PQnfields(m_result) : 0;
}

bool PgResult::isNull(int row, int column) const
{
    return pq().PQgetisnull(m_result, row, column);
}

const char *PgResult::value(int row, int column) const
{
    return pq().PQgetvalue(m_result, row, column);
}

int PgResult::length(int row, int column) const
{
    return pq().PQgetlength(m_result, row, column);
}

QString PgResult::text(int row, int column) const
{
    if (isNull(row, column))
        return QString();
    return QString::fromUtf8(value(row, column), length(row, column));
}

qint64 PgResult::integer(int row, int column) const
{
    if (isNull(row, column))
        return 0;
    return QByteArray::fromRawData(value(row, column), length(row, column)).toLongLong();
}

qint64 PgResult::affectedRows() const
{
    return m_result ? QByteArray(pq().PQcmdTuples(m_result)).toLongLong() : 0;
}

void PgNotices::add(const QString &text)
{
    if (texts.size() >= kKept) {
        ++dropped;
        return;
    }
    texts.append(text.size() > kLength ? text.left(kLength) + QStringLiteral(" …") : text);
}

PgConnection::PgConnection(const QString &conninfo, const QString &password, const Options &options)
    : m_options(options)
    , m_deadline(options.totalTimeoutMs)
{
    try {
        connect(conninfo, password.toUtf8());
    } catch (...) {
        // No destructor runs for a connection that was never made.
        if (m_conn)
            pq().PQfinish(m_conn);
        m_conn = nullptr;
        throw;
    }
}

void PgConnection::connect(const QString &conninfo, const QByteArray &password)
{
    QString shown;
    try {
        shown = withoutPassword(conninfo);
    } catch (const ShareError &) {
        shown = QStringLiteral("Verbindungsangabe nicht lesbar");
    }
    m_where = shown;
    // The string comes after the defaults, so that its own connect_timeout wins; the
    // encoding and a typed password come after it, so that they win.
    const QByteArray info = conninfo.toUtf8();
    const QByteArray timeout = QByteArray::number(m_options.connectTimeoutSeconds);
    std::vector<const char *> keys
        = {"connect_timeout", "fallback_application_name", "dbname", "client_encoding"};
    std::vector<const char *> values = {timeout.constData(), "tolvimar", info.constData(), "UTF8"};
    if (!password.isEmpty()) {
        keys.push_back("password");
        values.push_back(password.constData());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    // Connected step by step, so that every wait is bounded by our clock and the
    // server's notices are caught from the first message on.
    m_conn = pq().PQconnectStartParams(keys.data(), values.data(), 1);
    if (!m_conn)
        throw ShareError(ShareError::Kind::Connect,
            QStringLiteral("Keine Verbindung zum Allianzserver: zu wenig Speicher."));
    pq().PQsetNoticeProcessor(m_conn, &PgConnection::onNotice, this);
    if (pq().PQstatus(m_conn) == CONNECTION_BAD)
        connectFailed(shown);

    // connect_timeout as the string or the default sets it (libpq waits at least 2 s;
    // 0 or less waits without limit) bounds the whole connecting.
    int connectSeconds = 0;
    if (PQconninfoOption *settings = pq().PQconninfo(m_conn)) {
        for (PQconninfoOption *o = settings; o->keyword; ++o) {
            if (qstrcmp(o->keyword, "connect_timeout") == 0 && o->val)
                connectSeconds = QByteArray(o->val).trimmed().toInt();
        }
        pq().PQconninfoFree(settings);
    }
    const QDeadlineTimer connecting = connectSeconds > 0
        ? QDeadlineTimer(qint64(std::max(connectSeconds, 2)) * 1000)
        : QDeadlineTimer(QDeadlineTimer::Forever);

    PostgresPollingStatusType state = PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK) {
        if (state == PGRES_POLLING_FAILED)
            connectFailed(shown);
        const qint64 left = connecting.remainingTime();
        if (left == 0)
            throw ShareError(ShareError::Kind::Timeout,
                QStringLiteral("Der Allianzserver (%1) hat nicht rechtzeitig geantwortet "
                               "(Verbindung nach %2 s nicht hergestellt).")
                    .arg(shown)
                    .arg(std::max(connectSeconds, 2)));
        bool last = false;
        const int wait = waitLimit(left < 0 || left > INT_MAX ? INT_MAX : int(left), &last);
        pollfd p {};
        p.fd = pq().PQsocket(m_conn);
        p.events = short(state == PGRES_POLLING_READING ? POLLIN : POLLOUT);
        int rc = 0;
        do {
            rc = ::poll(&p, 1, wait);
        } while (rc < 0 && errno == EINTR);
        if (rc == 0 && last)
            overdue();
        if (rc < 0 || p.fd < 0)
            connectFailed(shown);
        state = pq().PQconnectPoll(m_conn);
    }
    m_where
        = QStringLiteral("host=%1 port=%2 dbname=%3 user=%4")
              .arg(QString::fromUtf8(pq().PQhost(m_conn)), QString::fromUtf8(pq().PQport(m_conn)),
                  QString::fromUtf8(pq().PQdb(m_conn)), QString::fromUtf8(pq().PQuser(m_conn)));
    // Waits are ours, bounded by the reply timeout.
    pq().PQsetnonblocking(m_conn, 1);
}

void PgConnection::connectFailed(const QString &shown)
{
    const QString reason = libpqText(pq().PQerrorMessage(m_conn));
    const bool needsPassword = pq().PQconnectionNeedsPassword(m_conn);
    const bool refused = pq().PQconnectionUsedPassword(m_conn)
        && reason.contains(QStringLiteral("password authentication failed"));
    pq().PQfinish(m_conn);
    m_conn = nullptr;
    if (needsPassword)
        throw ShareError(ShareError::Kind::Password,
            QStringLiteral("Der Allianzserver (%1) verlangt ein Passwort. Bitte das Passwort "
                           "eingeben (es wird nicht gespeichert) oder in der Passwortdatei "
                           "von PostgreSQL (~/.pgpass) hinterlegen.")
                .arg(shown));
    if (refused)
        throw ShareError(ShareError::Kind::Password,
            explained(QStringLiteral("Der Allianzserver (%1) hat das Passwort abgelehnt. "
                                     "Bitte Benutzername und Passwort prüfen.")
                          .arg(shown),
                reason));
    if (reason.contains(QStringLiteral("timeout expired")))
        throw ShareError(ShareError::Kind::Timeout,
            explained(QStringLiteral("Der Allianzserver (%1) hat nicht rechtzeitig "
                                     "geantwortet. Bitte prüfen, ob der Rechner erreichbar "
                                     "ist und der Server läuft.")
                          .arg(shown),
                reason));
    throw ShareError(ShareError::Kind::Connect,
        explained(QStringLiteral("Keine Verbindung zum Allianzserver (%1). Bitte Rechner "
                                 "(host), Port, Datenbank (dbname) und Benutzer (user) "
                                 "prüfen und ob der Server läuft und erreichbar ist.")
                      .arg(shown),
            reason));
}

void PgConnection::onNotice(void *connection, const char *message)
{
    const auto *self = static_cast<const PgConnection *>(connection);
    if (self->m_options.notices)
        self->m_options.notices->add(libpqText(message));
}

PgConnection::~PgConnection()
{
    // An open transaction of the server ends with the connection, unfinished.
    pq().PQfinish(m_conn);
}

QString PgConnection::withoutPassword(const QString &conninfo)
{
    char *error = nullptr;
    PQconninfoOption *options = pq().PQconninfoParse(conninfo.toUtf8().constData(), &error);
    if (!options) {
        const QString reason = error ? libpqText(error) : QStringLiteral("zu wenig Speicher");
        pq().PQfreemem(error);
        throw ShareError(ShareError::Kind::Connect,
            explained(QStringLiteral("Die Angabe des Allianzservers ist nicht lesbar. Bitte sie "
                                     "als Einträge name=wert mit Leerzeichen dazwischen "
                                     "schreiben, z. B. \"host=karte.example.org dbname=allianz "
                                     "user=name\"."),
                reason));
    }
    QStringList parts;
    for (PQconninfoOption *o = options; o->keyword; ++o) {
        if (!o->val || qstrcmp(o->keyword, "password") == 0)
            continue;
        parts.append(
            QString::fromUtf8(o->keyword) + u'=' + conninfoValue(QString::fromUtf8(o->val)));
    }
    pq().PQconninfoFree(options);
    return parts.join(u' ');
}

int PgConnection::waitLimit(int limitMs, bool *last)
{
    const qint64 left = m_deadline.remainingTime();
    if (left == 0)
        overdue();
    *last = left >= 0 && left <= limitMs;
    return *last ? int(left) : limitMs;
}

void PgConnection::waitForSocket(bool forWrite)
{
    bool last = false;
    const int wait = waitLimit(m_options.replyTimeoutMs, &last);
    pollfd p {};
    p.fd = pq().PQsocket(m_conn);
    p.events = short(POLLIN | (forWrite ? POLLOUT : 0));
    int rc = 0;
    do {
        rc = ::poll(&p, 1, wait);
    } while (rc < 0 && errno == EINTR);
    if (rc == 0) {
        if (last)
            overdue();
        timedOut();
    }
    if (rc < 0 || p.fd < 0)
        fail(QStringLiteral("die Verbindung ist unterbrochen"));
    if ((p.revents & POLLIN) && !pq().PQconsumeInput(m_conn))
        fail(libpqText(pq().PQerrorMessage(m_conn)));
}

void PgConnection::flushAll()
{
    for (;;) {
        const int flushed = pq().PQflush(m_conn);
        if (flushed == 0)
            return;
        if (flushed < 0)
            fail(libpqText(pq().PQerrorMessage(m_conn)));
        waitForSocket(true);
    }
}

void PgConnection::send(const QByteArray &sql, const PgParams &params)
{
    if (!pq().PQsendQueryParams(
            m_conn, sql.constData(), params.size(), nullptr, params.values(), nullptr, nullptr, 0))
        fail(libpqText(pq().PQerrorMessage(m_conn)));
    flushAll();
}

pg_result *PgConnection::nextResult()
{
    while (pq().PQisBusy(m_conn))
        waitForSocket(false);
    return pq().PQgetResult(m_conn);
}

void PgConnection::startCopy(const QByteArray &sql)
{
    send(sql, PgParams());
    pg_result *r = nextResult();
    const PgResult result(r);
    if (!r || pq().PQresultStatus(r) != PGRES_COPY_IN) {
        const QString error = r ? libpqText(pq().PQresultErrorMessage(r)) : QString();
        collectResults();
        fail(error.isEmpty() ? QStringLiteral("COPY wurde nicht begonnen") : error);
    }
}

void PgConnection::putCopyData(const QByteArray &data)
{
    for (;;) {
        const int put = pq().PQputCopyData(m_conn, data.constData(), int(data.size()));
        if (put == 1)
            break;
        if (put < 0)
            fail(libpqText(pq().PQerrorMessage(m_conn)));
        waitForSocket(true);
    }
    flushAll();
}

PgResult PgConnection::endCopy()
{
    for (;;) {
        const int ended = pq().PQputCopyEnd(m_conn, nullptr);
        if (ended == 1)
            break;
        if (ended < 0)
            fail(libpqText(pq().PQerrorMessage(m_conn)));
        waitForSocket(true);
    }
    flushAll();
    return collectResults();
}

PgResult PgConnection::collectResults()
{
    PgResult last;
    QString error;
    while (pg_result *r = nextResult()) {
        const ExecStatusType status = pq().PQresultStatus(r);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && error.isEmpty())
            error = libpqText(pq().PQresultErrorMessage(r));
        last = PgResult(r);
    }
    if (!error.isEmpty())
        fail(error);
    return last;
}

PgResult PgConnection::exec(const QByteArray &sql, const PgParams &params)
{
    send(sql, params);
    return collectResults();
}

void PgConnection::post(const QByteArray &sql, const PgParams &params)
{
    send(sql, params);
}

PgResult PgConnection::awaitResult()
{
    return collectResults();
}

void PgConnection::fail(const QString &what)
{
    throw ShareError(ShareError::Kind::Query,
        explained(QStringLiteral("Der Allianzserver (%1) meldet einen Fehler; der Abgleich "
                                 "wurde abgebrochen. Bitte prüfen, ob der Benutzer die Tabellen "
                                 "der Allianz lesen und schreiben darf, und es später erneut "
                                 "versuchen.")
                      .arg(m_where),
            what));
}

void PgConnection::timedOut()
{
    throw ShareError(ShareError::Kind::Timeout,
        QStringLiteral("Der Allianzserver (%1) hat innerhalb von %2 s nicht geantwortet; der "
                       "Abgleich wurde abgebrochen.")
            .arg(m_where)
            .arg(m_options.replyTimeoutMs / 1000.0));
}

void PgConnection::overdue()
{
    throw ShareError(ShareError::Kind::Timeout,
        QStringLiteral("Der Abgleich mit dem Allianzserver (%1) dauerte länger als %2 s und "
                       "wurde abgebrochen.")
            .arg(m_where)
            .arg(m_options.totalTimeoutMs / 1000.0));
}

} // namespace tolvimar
