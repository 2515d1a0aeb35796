#include "pointsstatistics.h"

#include "../base/activegame.h"
#include "../base/errors.h"
#include "../db/schema.h"
#include "../db/table.h"

namespace tolvimar {

namespace {

const QStringList kKeyFields = {QStringLiteral("Spiel"), QStringLiteral("Breite"),
    QStringLiteral("Länge"), QStringLiteral("Datum")};

// An empty status value stays an empty field; anything else must be a number.
QVariant statusNumber(const QString &text, const QString &label)
{
    if (text.trimmed().isEmpty())
        return QVariant();
    int value = 0;
    if (!parseStrictInt(text, &value))
        throw UserError(
            QStringLiteral("Der Statuswert \"%1\" ist keine Zahl: \"%2\"").arg(label, text));
    return value;
}

QString cell(const QVariant &v)
{
    return v.isNull() ? QString() : QString::number(v.toLongLong());
}

QString difference(const QString &now, const QString &before)
{
    if (now.isEmpty() || before.isEmpty())
        return QString();
    return QString::number(now.toLongLong() - before.toLongLong());
}

} // namespace

PointsStatistics::PointsStatistics(Database &db)
    : m_db(db)
{
}

void PointsStatistics::writeFactionRow(
    const ActiveGame &game, qint64 dateCode, const StatusValues &status)
{
    Table t(m_db, schema::statistik());
    if (t.find(kKeyFields, {game.number, game.factionNumber, schema::kFactionRowLaenge, dateCode}))
        return;
    const QVariant silver = statusNumber(status[StatusField::Silber], QStringLiteral("Silber"));
    const QVariant persons
        = statusNumber(status[StatusField::Personen], QStringLiteral("Personen"));
    QVariant points, average;
    if (game.isKalmora()) {
        points = statusNumber(status[StatusField::Punkte], QStringLiteral("Punkte :"));
        average = statusNumber(status[StatusField::PunkteMittel], QStringLiteral("Punkte mittel:"));
    }
    t.append();
    t.setValue(u"Spiel", game.number);
    t.setValue(u"Breite", game.factionNumber);
    t.setValue(u"Länge", schema::kFactionRowLaenge);
    t.setValue(u"Datum", dateCode);
    if (game.isKalmora()) {
        t.setValue(u"PunkteNeu", points);
        t.setValue(u"PunkteSchnitt", average);
        if (!points.isNull() && !average.isNull())
            t.setValue(u"PunkteDiv", points.toLongLong() - average.toLongLong());
    }
    t.setValue(u"ParteiSilber", silver);
    t.setValue(u"Personen", persons);
    t.post();
}

QList<QStringList> PointsStatistics::grid(int game, int faction)
{
    QList<QStringList> rows;
    Table t(m_db, schema::statistik());
    bool ok = t.first({QStringLiteral("Spiel"), QStringLiteral("Breite"), QStringLiteral("Länge")},
        {game, faction, schema::kFactionRowLaenge});
    if (!ok)
        return rows;
    rows.append({QStringLiteral("Datum"), QStringLiteral("Eigene"), QStringLiteral("Schnitt"),
        QStringLiteral("Vorsprung"), QStringLiteral("<> Eigene"), QStringLiteral("<> Schnitt"),
        QStringLiteral("Partei Silber"), QStringLiteral("Personen")});
    for (; ok; ok = t.next()) {
        const QString own = cell(t.value(u"PunkteNeu"));
        const QString average = cell(t.value(u"PunkteSchnitt"));
        const bool first = rows.size() == 1;
        rows.append({cell(t.value(u"Datum")), own, average, cell(t.value(u"PunkteDiv")),
            first ? QString() : difference(own, rows.last()[1]),
            first ? QString() : difference(average, rows.last()[2]), cell(t.value(u"ParteiSilber")),
            cell(t.value(u"Personen"))});
    }
    return rows;
}

PointsSeries pointsSeries(const QList<QStringList> &grid)
{
    auto number = [](const QString &cell) -> std::optional<qint64> {
        bool ok = false;
        const qint64 value = cell.toLongLong(&ok);
        return ok ? std::optional<qint64>(value) : std::nullopt;
    };
    PointsSeries series;
    for (int r = 1; r < grid.size(); ++r) {
        const QStringList &row = grid[r];
        const std::optional<qint64> date = number(row.value(0));
        if (!date)
            continue;
        series.dates.append(*date);
        series.points.append(number(row.value(1)));
        series.average.append(number(row.value(2)));
        series.silver.append(number(row.value(6)));
        series.persons.append(number(row.value(7)));
    }
    return series;
}

} // namespace tolvimar
