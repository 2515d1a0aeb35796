#include "pointsstatistics.h"

#include "../base/activegame.h"
#include "../base/errors.h"
#include "../db/schema.h"
#include "../db/table.h"

namespace tolvimar {

namespace {

const QStringList kKeyFields = {QStringLiteral("Spiel"), QStringLiteral("Breite"),
    QStringLiteral("Länge"), QStringLiteral("Datum")};

// An empty status value stays an empty field, and so does one that is no number or
// too large for a 64-bit field; those are named in the warnings.
QVariant statusNumber(const QString &text, const QString &label, QStringList &warnings)
{
    if (text.trimmed().isEmpty())
        return QVariant();
    qint64 value = 0;
    switch (parseStrictInt64(text, &value)) {
    case NumberParse::Ok:
        return value;
    case NumberParse::TooLarge:
        warnings.append(QStringLiteral("Der Statuswert \"%1\" ist zu groß für die "
                                       "Punktestatistik: \"%2\"; das Feld bleibt leer.")
                            .arg(label, text.left(80)));
        return QVariant();
    case NumberParse::NotANumber:
        break;
    }
    warnings.append(QStringLiteral("Der Statuswert \"%1\" ist keine Zahl: \"%2\"; das Feld "
                                   "der Punktestatistik bleibt leer.")
                        .arg(label, text.left(80)));
    return QVariant();
}

QString cell(const QVariant &v)
{
    return v.isNull() ? QString() : QString::number(v.toLongLong());
}

QString difference(const QString &now, const QString &before)
{
    qint64 change = 0;
    if (now.isEmpty() || before.isEmpty()
        || __builtin_sub_overflow(now.toLongLong(), before.toLongLong(), &change))
        return QString();
    return QString::number(change);
}

} // namespace

PointsStatistics::PointsStatistics(Database &db)
    : m_db(db)
{
}

QStringList PointsStatistics::writeFactionRow(
    const ActiveGame &game, qint64 dateCode, const StatusValues &status)
{
    QStringList warnings;
    Table t(m_db, schema::statistik());
    if (t.find(kKeyFields, {game.number, game.factionNumber, schema::kFactionRowLaenge, dateCode}))
        return warnings;
    const QVariant silver
        = statusNumber(status[StatusField::Silber], QStringLiteral("Silber"), warnings);
    const QVariant persons
        = statusNumber(status[StatusField::Personen], QStringLiteral("Personen"), warnings);
    QVariant points, average, lead;
    if (game.isKalmora()) {
        points = statusNumber(status[StatusField::Punkte], QStringLiteral("Punkte :"), warnings);
        average = statusNumber(
            status[StatusField::PunkteMittel], QStringLiteral("Punkte mittel:"), warnings);
        qint64 gap = 0;
        if (!points.isNull() && !average.isNull()) {
            if (__builtin_sub_overflow(points.toLongLong(), average.toLongLong(), &gap))
                warnings.append(QStringLiteral("Der Vorsprung ist zu groß für die "
                                               "Punktestatistik; das Feld bleibt leer."));
            else
                lead = gap;
        }
    }
    t.append();
    t.setValue(u"Spiel", game.number);
    t.setValue(u"Breite", game.factionNumber);
    t.setValue(u"Länge", schema::kFactionRowLaenge);
    t.setValue(u"Datum", dateCode);
    if (game.isKalmora()) {
        t.setValue(u"PunkteNeu", points);
        t.setValue(u"PunkteSchnitt", average);
        t.setValue(u"PunkteDiv", lead);
    }
    t.setValue(u"ParteiSilber", silver);
    t.setValue(u"Personen", persons);
    t.post();
    return warnings;
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
