#pragma once

#include "db/database.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

namespace tolvimar::test {

// Runs one statement with its values bound; a statement the database refuses ends the
// test program with the database's message (the fixture is broken, not the code).
void execute(Database &db, const QString &sql, const QVariantList &values = {});
// Inserts one row: the fields by name with their values, every value bound.
void insertRow(Database &db, const QString &table, const QVariantMap &fields);

// The first column of the first row of a query with bound values; invalid when none.
QVariant queryValue(Database &db, const QString &sql, const QVariantList &values = {});
// The same in the database file, opened for this one query.
QVariant queryValue(const QString &databaseFile, const QString &sql);
// Every row of a query, its fields joined by '|' and NULL written "NULL".
QStringList queryRows(Database &db, const QString &sql, const QVariantList &values = {});

// Rows of one game written straight into its tables. Each row gets the game's number
// and the builder's date, if it has one ("Info Datum", for the statistics "Datum");
// `more` adds fields or overrides these; every field left out stays NULL.
class GameRows
{
public:
    GameRows(Database &db, int game, const QVariant &date = QVariant());

    GameRows &region(int x, int y, int level, const QVariantMap &more = {});
    GameRows &unit(int number, const QString &position, const QVariantMap &more = {});
    GameRows &ship(int number, const QString &position, const QVariantMap &more = {});
    GameRows &castle(int number, const QString &position, const QVariantMap &more = {});
    GameRows &statistics(int x, int y, int level, const QVariantMap &more = {});
    GameRows &faction(int number, const QString &name);
    GameRows &level(int level, const QString &name);

private:
    void insert(const QString &table, QVariantMap fields, const QString &dateField,
        const QVariantMap &more);

    Database &m_db;
    int m_game;
    QVariant m_date;
};

} // namespace tolvimar::test
