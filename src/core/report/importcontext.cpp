#include "importcontext.h"

#include "../base/errors.h"
#include "../base/identifiers.h"
#include "../db/schema.h"

#include <QDir>
#include <cmath>

namespace tolvimar {

ImportContext::ImportContext(
    const ReportLines &lines, Database &db, const ActiveGame &game, ImportProgress &progress)
    : lines(lines)
    , db(db)
    , progress(progress)
    , game(game)
{
}

void ImportContext::openTables()
{
    if (!regionen)
        regionen = std::make_unique<Table>(db, schema::regionen());
    if (!ebenen)
        ebenen = std::make_unique<Table>(db, schema::ebenen());
    if (!schiffe)
        schiffe = std::make_unique<Table>(db, schema::schiffe());
    if (!burgen)
        burgen = std::make_unique<Table>(db, schema::burgen());
    if (!einheiten)
        einheiten = std::make_unique<Table>(db, schema::einheiten());
    if (!parteien)
        parteien = std::make_unique<Table>(db, schema::parteien());
    if (!statistik)
        statistik = std::make_unique<Table>(db, schema::statistik());
}

int ImportContext::percent() const
{
    if (lines.count() == 0)
        return 0;
    // Rounded to the nearest integer, halves to the even neighbour.
    return int(std::nearbyint(100.0 * cursor / lines.count()));
}

QString ImportContext::numberText(qint64 value) const
{
    return tolvimar::numberText(value, game.type, game.base);
}

void ImportContext::addToStatus(StatusField field, qint64 amount)
{
    status[field] = QString::number(status[field].toLongLong() + amount);
}

void ImportContext::refuseAt(int lineIndex, const QString &reason) const
{
    throw UserError(QStringLiteral("Fehler beim Einlesen von %1, Zeile %2: %3\nZeile: %4")
                        .arg(QDir::toNativeSeparators(lines.fileName()))
                        .arg(lineIndex + 1)
                        .arg(reason, lines.line(lineIndex).left(200).toString()));
}

bool ImportContext::takesReport(const Table &row, int infoDatum) const
{
    if (row.isNull(infoDatum))
        return true;
    const qint64 date = row.intValue(infoDatum);
    return date <= dateCode || date > newestReadDate;
}

void ImportContext::commitUnlessNewer(Table &row, int infoDatum) const
{
    if (!takesReport(row, infoDatum)) {
        row.cancel();
        return;
    }
    row.setValue(infoDatum, dateCode);
    row.post();
}

} // namespace tolvimar
