#include "sharedtables.h"

namespace tolvimar {

FieldType SharedTable::type(int column) const
{
    return local->fields[local->fieldIndex(columns[column])].type;
}

namespace shared {

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
    // The marks of the order editor, the grouping (armies included) and the private note.
    static const QStringList fields
        = {QStringLiteral("Flags"), QStringLiteral("Gruppe"), QStringLiteral("Privat")};
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
