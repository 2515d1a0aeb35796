#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tolvimar {

enum class FieldType { Int, Text, Memo };

struct FieldDef
{
    QString name;
    FieldType type;
    int size = 0; // characters of a text field; 0 for int, memo and unsized text
};

struct TableDef
{
    QString name; // SQL table name
    QList<FieldDef> fields; // in stored order
    QStringList key; // unique key, in key order
    QList<QStringList> indexes; // further lookups

    int fieldIndex(QStringView field) const; // -1 when missing
};

namespace schema {

const TableDef &regionen();
const TableDef &ebenen();
const TableDef &schiffe();
const TableDef &burgen();
const TableDef &einheiten();
const TableDef &parteien();
const TableDef &statistik();
const QList<const TableDef *> &allTables();

// The units table's item fields (`Holz` to `Drachenkopf`) and skill fields
// (`Ausdauer` to `Alchemie`), in stored order.
const QStringList &itemFieldNames();
const QStringList &skillFieldNames();

// Marks faction rows of the statistics table in `Länge`.
constexpr int kFactionRowLaenge = 5000;

} // namespace schema

// "name" for SQL text; field names carry blanks and umlauts.
QString sqlQuote(const QString &identifier);

} // namespace tolvimar
