#include "militaryqueries.h"

#include "../base/errors.h"
#include "database.h"
#include "statementreading.h"

#include <QHash>

namespace tolvimar {

namespace {

// Shapes: the kind of read in the high bits, its optional conditions below.
enum Shape {
    UnitsShape = 0x100,
    ArmyShape = 0x200,
    ShipsShape = 0x300,
    FactionsShape = 0x400,
};

const char *comparisonSql(Comparison c)
{
    switch (c) {
    case Comparison::Greater:
        return R"( AND "Info Datum" > ?)";
    case Comparison::Less:
        return R"( AND "Info Datum" < ?)";
    case Comparison::Equal:
        break;
    }
    return R"( AND "Info Datum" = ?)";
}

const char kUnitColumns[]
    = R"(SELECT "Einheit Nr", "Einheit Position", "Einheit Name", "Gruppe", "Personen",
                "Stangenwaffen", "Hiebwaffen", "Bogenschiessen", "Ausdauer", "Reiten",
                "Unterhaltung", "Speer", "Schwert", "Bogen", "Pferd", "Wagen", "Silber"
         FROM "einheiten" WHERE "Spiel" = ?)";

QVector<MilitaryUnitRow> unitRows(SqliteStatement &s)
{
    StatementReading r(s);
    QVector<MilitaryUnitRow> rows;
    while (r.next()) {
        MilitaryUnitRow u;
        u.number = r.integer(0);
        u.position = r.text(1);
        u.name = r.text(2);
        u.group = r.text(3);
        u.persons = r.value(4);
        u.polearms = r.text(5);
        u.blades = r.text(6);
        u.archery = r.text(7);
        u.stamina = r.text(8);
        u.riding = r.text(9);
        u.entertainment = r.text(10);
        u.spears = r.value(11);
        u.swords = r.value(12);
        u.bows = r.value(13);
        u.horses = r.value(14);
        u.carts = r.value(15);
        u.silver = r.value(16);
        rows.append(std::move(u));
    }
    return rows;
}

} // namespace

MilitaryQueries::MilitaryQueries(Database &db)
    : m_db(db)
{
}

MilitaryQueries::~MilitaryQueries() = default;

SqliteStatement &MilitaryQueries::prepared(int shape, const QByteArray &sql)
{
    std::shared_ptr<SqliteStatement> &slot = m_statements[shape];
    if (!slot) {
        try {
            slot = prepareRead(m_db, QString::fromUtf8(sql));
        } catch (...) {
            m_statements.remove(shape);
            throw;
        }
    }
    return *slot;
}

SqliteStatement &MilitaryQueries::unitsStatement(
    int game, const UnitSelection &selection, bool byNumber)
{
    int shape = UnitsShape | int(selection.date.comparison);
    QByteArray sql = kUnitColumns;
    if (selection.group) {
        shape |= 0x04;
        sql += R"( AND "Gruppe" = ?)";
    }
    if (selection.faction) {
        shape |= 0x08;
        sql += R"( AND "Partei Nr" = ?)";
    }
    if (selection.unitNumber) {
        shape |= 0x10;
        sql += R"( AND "Einheit Nr" = ?)";
    }
    if (selection.unitName) {
        shape |= 0x20;
        sql += R"( AND "Einheit Name" = ?)";
    }
    sql += comparisonSql(selection.date.comparison);
    if (byNumber) {
        shape |= 0x40;
        sql += R"( ORDER BY "Einheit Nr")";
    }

    SqliteStatement &s = prepared(shape, sql);
    int i = 0;
    s.bind(i++, game);
    if (selection.group)
        s.bind(i++, *selection.group);
    if (selection.faction)
        s.bind(i++, *selection.faction);
    if (selection.unitNumber)
        s.bind(i++, *selection.unitNumber);
    if (selection.unitName)
        s.bind(i++, *selection.unitName);
    s.bind(i++, selection.date.date);
    return s;
}

QVector<MilitaryUnitRow> MilitaryQueries::selectedUnits(int game, const UnitSelection &selection)
{
    QVector<MilitaryUnitRow> rows = unitRows(unitsStatement(game, selection, true));
    // Compared here rather than by LIKE, which ignores the case of ASCII letters only.
    if (selection.unitNamePart) {
        rows.removeIf([&](const MilitaryUnitRow &row) {
            return !row.name.contains(*selection.unitNamePart, Qt::CaseInsensitive);
        });
    }
    return rows;
}

std::deque<GroupingUnitRow> MilitaryQueries::groupingUnits(int game, const UnitSelection &selection)
{
    SqliteStatement &s = unitsStatement(game, selection, false);
    StatementReading r(s);
    std::deque<GroupingUnitRow> rows;
    // The group holds a few distinct texts: each is made once.
    QHash<QByteArray, QString> groups;
    while (r.next()) {
        GroupingUnitRow u;
        u.name = s.columnText(2);
        if (selection.unitNamePart
            && !u.name.contains(*selection.unitNamePart, Qt::CaseInsensitive))
            continue;
        u.number = int(s.columnInt64(0));
        u.position = s.columnText(1);
        int bytes = 0;
        const char *group = s.columnIsText(3) ? s.columnUtf8(3, &bytes) : nullptr;
        if (group && bytes > 0) {
            auto it = groups.constFind(QByteArray::fromRawData(group, bytes));
            if (it == groups.constEnd())
                it = groups.insert(QByteArray(group, bytes), s.columnText(3));
            u.group = *it;
        } else {
            u.group = s.columnText(3);
        }
        for (int t = 0; t < GroupingUnitRow::TalentFields; ++t)
            u.talents[size_t(t)] = s.columnText(5 + t);
        // `Personen` in column 4, the others from column 11 on.
        bool odd = false;
        for (int c = 0; c < GroupingUnitRow::CountFields; ++c) {
            const int column = c == 0 ? 4 : 10 + c;
            if (s.columnInteger(column, &u.counts[size_t(c)]))
                u.countIsNumber |= quint8(1u << c);
            else if (!s.columnIsNull(column) && !s.columnText(column).isEmpty())
                odd = true;
        }
        if (odd) {
            for (int c = 0; c < GroupingUnitRow::CountFields; ++c)
                u.oddCounts.append(s.column(c == 0 ? 4 : 10 + c));
        }
        rows.push_back(std::move(u));
    }
    return rows;
}

QVector<MilitaryUnitRow> MilitaryQueries::armyUnits(
    int game, int faction, qint64 date, const QString &army)
{
    SqliteStatement &s = prepared(
        ArmyShape, QByteArray(kUnitColumns) + R"( AND "Partei Nr" = ? AND "Info Datum" = ?
                  AND "Gruppe" <> '' AND instr("Gruppe", ?) > 0 ORDER BY "Einheit Nr")");
    s.bind(0, game);
    s.bind(1, faction);
    s.bind(2, date);
    s.bind(3, army);
    return unitRows(s);
}

QVector<ShipRow> MilitaryQueries::selectedShips(int game, const ShipSelection &selection)
{
    int shape = ShipsShape | int(selection.date.comparison);
    QByteArray sql = R"(SELECT "Schiffs Nr", "Schiffs Name", "Schiffs Position", "Schiffstyp",
                               "Partei", "Kapitaen", "Kueste", "Ladung", "MaxLadung", "Prozent",
                               "Info Datum"
                        FROM "schiffe" WHERE "Spiel" = ?)";
    if (selection.faction) {
        shape |= 0x04;
        sql += R"( AND "Partei" = ?)";
    }
    if (selection.type) {
        shape |= 0x08;
        sql += R"( AND "Schiffstyp" = ?)";
    }
    sql += comparisonSql(selection.date.comparison);
    sql += R"( ORDER BY "Schiffs Nr")";

    SqliteStatement &s = prepared(shape, sql);
    int i = 0;
    s.bind(i++, game);
    if (selection.faction)
        s.bind(i++, *selection.faction);
    if (selection.type)
        s.bind(i++, *selection.type);
    s.bind(i++, selection.date.date);
    StatementReading r(s);
    QVector<ShipRow> rows;
    while (r.next()) {
        ShipRow ship;
        ship.number = r.integer(0);
        ship.name = r.text(1);
        ship.position = r.text(2);
        ship.type = r.text(3);
        ship.faction = r.value(4);
        ship.captain = r.value(5);
        ship.coast = r.text(6);
        ship.load = r.value(7);
        ship.maxLoad = r.value(8);
        ship.percent = r.value(9);
        ship.infoDatum = r.value(10);
        rows.append(ship);
    }
    return rows;
}

QVector<FactionRow> MilitaryQueries::factions(int game)
{
    SqliteStatement &s = prepared(FactionsShape,
        R"(SELECT "Partei Nr", "Partei Name" FROM "parteien" WHERE "Spiel" = ?
           ORDER BY "Partei Name", "Partei Nr")");
    s.bind(0, game);
    StatementReading r(s);
    QVector<FactionRow> rows;
    while (r.next())
        rows.append({r.integer(0), r.text(1)});
    return rows;
}

} // namespace tolvimar
