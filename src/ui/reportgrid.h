#pragma once

#include "military/recordlist.h"

#include <QTableWidget>

namespace tolvimar {

// The grid of a military report: the headings in the clickable header, one row per
// record, whole rows selected, nothing editable. A click on a heading sorts by that
// column; the next click on the same heading reverses the order.
class ReportGrid : public QTableWidget
{
    Q_OBJECT
public:
    ReportGrid(const QString &objectName, const QStringList &headings, QWidget *parent);

    // Shows the rows of a report (the headings first) in the report's order.
    void showRows(const GridRows &rows);
    // The texts of a row's cells.
    QStringList rowTexts(int row) const;

private:
    void sortByHeading(int column);

    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace tolvimar
