#include "reportgrid.h"

#include <QHeaderView>

namespace tolvimar {

namespace {

// Numbers sort by value, everything else as text regardless of letter case.
class GridItem : public QTableWidgetItem
{
public:
    explicit GridItem(const QString &text)
        : QTableWidgetItem(text)
    {
    }
    bool operator<(const QTableWidgetItem &other) const override
    {
        bool leftIsNumber = false, rightIsNumber = false;
        const qlonglong left = text().toLongLong(&leftIsNumber);
        const qlonglong right = other.text().toLongLong(&rightIsNumber);
        if (leftIsNumber && rightIsNumber)
            return left < right;
        return QString::compare(text(), other.text(), Qt::CaseInsensitive) < 0;
    }
};

} // namespace

ReportGrid::ReportGrid(const QString &objectName, const QStringList &headings, QWidget *parent)
    : QTableWidget(1, int(headings.size()), parent)
{
    setObjectName(objectName);
    setHorizontalHeaderLabels(headings);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    // Compact rows: a report lists hundreds of units.
    verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 2);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSortIndicatorShown(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ReportGrid::sortByHeading);
}

void ReportGrid::showRows(const GridRows &rows)
{
    clearContents();
    if (rows.isEmpty())
        return;
    setHorizontalHeaderLabels(rows.first());
    // A new report comes in its own order until a heading is clicked again.
    m_sortColumn = -1;
    horizontalHeader()->setSortIndicatorShown(false);
    setRowCount(int(rows.size()) - 1);
    for (int r = 1; r < rows.size(); ++r) {
        for (int c = 0; c < columnCount(); ++c)
            setItem(r - 1, c, new GridItem(rows[r].value(c)));
    }
    resizeColumnsToContents();
}

QStringList ReportGrid::rowTexts(int row) const
{
    QStringList texts;
    for (int c = 0; c < columnCount(); ++c) {
        const QTableWidgetItem *cell = item(row, c);
        texts.append(cell ? cell->text() : QString());
    }
    return texts;
}

void ReportGrid::sortByHeading(int column)
{
    m_sortOrder = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                              : Qt::AscendingOrder;
    m_sortColumn = column;
    sortItems(column, m_sortOrder);
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column, m_sortOrder);
}

} // namespace tolvimar
