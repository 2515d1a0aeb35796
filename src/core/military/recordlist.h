#pragma once

#include "../base/position.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace tolvimar {

// The rows of a report grid: the headings first, then one row of cells per record.
using GridRows = QList<QStringList>;

// The unit behind a row of a report: its region and number. The region is none when
// the unit's stored position text does not read as a place.
struct UnitKey
{
    std::optional<Position> place;
    int number = 0;
};

// The key of a unit read from its stored position text and number.
UnitKey unitKey(const QString &storedPosition, int number);

// The places 0 .. count-1 of records in the order of their record texts, as RecordList
// keeps them; textOf writes the text of a record into its second argument.
std::vector<int> recordOrder(int count, const std::function<void(int, QString &)> &textOf);

// The hidden sorted list behind the military reports. A record's text is its fields
// joined by "*1;", "*2;", ...; the list keeps the records in the German order of that
// text (letter case aside), which puts them by their leading fields. The grid takes each
// record's fields as they were, so a name containing a separator cannot shift them.
class RecordList
{
public:
    // The record text of the fields: each but the last followed by "*k;".
    static QString recordText(const QStringList &fields);

    // Adds a record; the first cellCount fields are its grid cells.
    void append(const QStringList &fields, int cellCount);
    void reserve(qsizetype records) { m_records.reserve(records); }
    int size() const { return int(m_records.size()); }
    bool isEmpty() const { return m_records.isEmpty(); }

    // The headings, then the cells of each record in sorted order; without records
    // one empty row follows the headings.
    GridRows gridRows(const QStringList &headings) const;
    // The records' places in the order of append(), in sorted order.
    std::vector<int> sortedOrder() const;
    // The same rows in an order sortedOrder() gave.
    GridRows gridRows(const QStringList &headings, const std::vector<int> &order) const;

private:
    struct Record
    {
        QString text;
        QStringList cells;
    };
    QList<Record> m_records;
};

} // namespace tolvimar
