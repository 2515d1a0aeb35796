#pragma once

#include "military/recordlist.h"

#include <QTableView>
#include <QVariantList>
#include <memory>

namespace tolvimar {

class GridModel;
class GridRowSource;
class GridSortProxy;

// The grid of a report: the headings in the clickable header, one row per record,
// whole rows selected, nothing editable. A click on a heading sorts by that column;
// the next click on the same heading reverses the order.
class ReportGrid : public QTableView
{
    Q_OBJECT
public:
    ReportGrid(const QString &objectName, const QStringList &headings, QWidget *parent);

    // Shows the rows of a report (the headings first) in the report's order; keys,
    // when given, hold one value per record row.
    void showRows(const GridRows &rows, const QVariantList &keys = {});
    // The same for rows whose cell texts the source makes when they are shown.
    void showRows(const QStringList &headings, std::shared_ptr<const GridRowSource> rows);
    // The texts of a shown row's cells, and the key of its record.
    QStringList rowTexts(int row) const;
    QVariant rowKey(int row) const;
    // The shown row that is current; -1 for none.
    int currentRow() const;
    // Sets a cell of a shown row.
    void setCellText(int row, int column, const QString &text);
    int rowCount() const;

signals:
    // A double click on a row that holds a record.
    void rowActivated(const QVariant &key);

private:
    void sortByHeading(int column);
    // A new report comes in its own order until a heading is clicked again.
    void forgetSort();

    GridModel *m_model;
    GridSortProxy *m_proxy;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace tolvimar
