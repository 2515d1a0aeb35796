#include "gamefixture.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace tolvimar::test {

namespace {

QSqlQuery run(Database &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db.connection());
    if (!q.prepare(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return q;
}

} // namespace

void execute(Database &db, const QString &sql, const QVariantList &values)
{
    run(db, sql, values);
}

void insertRow(Database &db, const QString &table, const QVariantMap &fields)
{
    QStringList names, marks;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        names.append(u'"' + it.key() + u'"');
        marks.append(QStringLiteral("?"));
    }
    run(db,
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
        fields.values());
}

QVariant queryValue(Database &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db.connection());
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec() || !q.next())
        return QVariant();
    return q.value(0);
}

QVariant queryValue(const QString &databaseFile, const QString &sql)
{
    Database db(databaseFile);
    return queryValue(db, sql);
}

QStringList queryRows(Database &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q = run(db, sql, values);
    QStringList rows;
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields.append(q.value(i).isNull() ? QStringLiteral("NULL") : q.value(i).toString());
        rows.append(fields.join(u'|'));
    }
    return rows;
}

GameRows::GameRows(Database &db, int game, const QVariant &date)
    : m_db(db)
    , m_game(game)
    , m_date(date)
{
}

GameRows &GameRows::region(int x, int y, int level, const QVariantMap &more)
{
    insert(QStringLiteral("regionen"),
        {{QStringLiteral("Breite"), x}, {QStringLiteral("Länge"), y},
            {QStringLiteral("Ebene"), level}},
        QStringLiteral("Info Datum"), more);
    return *this;
}

GameRows &GameRows::unit(int number, const QString &position, const QVariantMap &more)
{
    insert(QStringLiteral("einheiten"),
        {{QStringLiteral("Einheit Nr"), number}, {QStringLiteral("Einheit Position"), position}},
        QStringLiteral("Info Datum"), more);
    return *this;
}

GameRows &GameRows::ship(int number, const QString &position, const QVariantMap &more)
{
    insert(QStringLiteral("schiffe"),
        {{QStringLiteral("Schiffs Nr"), number}, {QStringLiteral("Schiffs Position"), position}},
        QStringLiteral("Info Datum"), more);
    return *this;
}

GameRows &GameRows::castle(int number, const QString &position, const QVariantMap &more)
{
    insert(QStringLiteral("burgen"),
        {{QStringLiteral("Burg Nr"), number}, {QStringLiteral("Burg Position"), position}},
        QStringLiteral("Info Datum"), more);
    return *this;
}

GameRows &GameRows::statistics(int x, int y, int level, const QVariantMap &more)
{
    insert(QStringLiteral("statistik"),
        {{QStringLiteral("Breite"), x}, {QStringLiteral("Länge"), y},
            {QStringLiteral("Ebene"), level}},
        QStringLiteral("Datum"), more);
    return *this;
}

GameRows &GameRows::faction(int number, const QString &name)
{
    insert(QStringLiteral("parteien"),
        {{QStringLiteral("Partei Nr"), number}, {QStringLiteral("Partei Name"), name}}, QString(),
        {});
    return *this;
}

GameRows &GameRows::level(int level, const QString &name)
{
    insert(QStringLiteral("ebenen"),
        {{QStringLiteral("Ebene"), level}, {QStringLiteral("Name"), name}}, QString(), {});
    return *this;
}

void GameRows::insert(
    const QString &table, QVariantMap fields, const QString &dateField, const QVariantMap &more)
{
    fields.insert(QStringLiteral("Spiel"), m_game);
    if (!dateField.isEmpty() && m_date.isValid())
        fields.insert(dateField, m_date);
    fields.insert(more);
    insertRow(m_db, table, fields);
}

} // namespace tolvimar::test
