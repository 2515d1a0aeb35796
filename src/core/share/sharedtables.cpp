#include "sharedtables.h"

namespace tolvimar {

FieldType SharedTable::type(int column) const
{
    return local->fields[local->fieldIndex(columns[column])].type;
}

QStringList SharedTable::keyNames() const
{
    QStringList key;
    for (int k : keyColumns)
        key.append(columns[k]);
    return key;
}

QStringList SharedTable::takeIncoming() const
{
    const QString table = sqlQuote(name());
    QStringList updates;
    for (const QString &c : columns) {
        const QString q = sqlQuote(c);
        updates.append(keepWhenEmpty.contains(c)
                ? QStringLiteral("%1 = COALESCE(NULLIF(excluded.%1, ''), %2.%1)").arg(q, table)
                : QStringLiteral("%1 = excluded.%1").arg(q));
    }
    return updates;
}

namespace shared {

QString quotedList(const QStringList &names, const QString &prefix)
{
    QStringList quoted;
    for (const QString &n : names)
        quoted.append(prefix + sqlQuote(n));
    return quoted.join(QStringLiteral(", "));
}

namespace {

SharedTable sharedTable(const TableDef &def, const QString &caption, const QStringList &excluded,
    const QStringList &keepWhenEmpty = {})
{
    SharedTable t;
    t.local = &def;
    t.caption = caption;
    for (const FieldDef &f : def.fields) {
        if (f.name != u"Spiel" && !excluded.contains(f.name))
            t.columns.append(f.name);
    }
    for (const QString &k : def.key) {
        if (k != u"Spiel")
            t.keyColumns.append(int(t.columns.indexOf(k)));
    }
    t.dateColumn = int(t.columns.indexOf(QStringLiteral("Info Datum")));
    t.keepWhenEmpty = keepWhenEmpty;
    return t;
}

} // namespace

const QStringList &ownUnitFields()
{
    // The marks of the order editor, the grouping (armies included), the private note and
    // the orders the player writes for the unit.
    static const QStringList fields = {QStringLiteral("Flags"), QStringLiteral("Gruppe"),
        QStringLiteral("Privat"), QStringLiteral("Default Befehl")};
    return fields;
}

const QList<SharedTable> &tables()
{
    static const QList<SharedTable> list = {
        sharedTable(
            schema::regionen(), QStringLiteral("Regionen"), {}, {QStringLiteral("Angebot")}),
        sharedTable(schema::burgen(), QStringLiteral("Burgen"), {}),
        sharedTable(schema::schiffe(), QStringLiteral("Schiffe"), {}),
        sharedTable(schema::einheiten(), QStringLiteral("Einheiten"), ownUnitFields()),
    };
    return list;
}

} // namespace shared
} // namespace tolvimar
