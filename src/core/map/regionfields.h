#pragma once

#include "../db/gamequeries.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace tolvimar {

// A field of the region row as the page "Region Info" and `tolvimar-cli region` show it.
struct RegionField
{
    QString column; // the field of the regions table
    QString caption; // the caption above it; fields of one caption follow each other
    bool editable = false; // the player may change it on the page
    bool number = true; // a whole number (else a text)
    QVariant (*value)(const RegionRow &) = nullptr;
    // Between this value and the one before it under the same caption ("1 / 2").
    QString joiner;
};

// Every field the page shows, in the order the command line lists them.
const QList<RegionField> &regionFields();
// The entry of a column; null for a column the page does not show.
const RegionField *findRegionField(QStringView column);

} // namespace tolvimar
