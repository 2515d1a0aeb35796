#include "reportgrid.h"

#include "gridmodel.h"

#include <QHeaderView>

namespace tolvimar {

ReportGrid::ReportGrid(const QString &objectName, const QStringList &headings, QWidget *parent)
    : QTableView(parent)
    , m_model(new GridModel(this))
    , m_proxy(new GridSortProxy(this))
{
    setObjectName(objectName);
    // Without headings the grid waits empty for its first rows.
    if (!headings.isEmpty())
        m_model->setRows(headings, {QStringList(headings.size(), QString())});
    m_proxy->setSourceModel(m_model);
    setModel(m_proxy);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    // Compact rows of one fixed height: a report lists up to a hundred thousand units,
    // and the view must not measure each of them.
    verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 2);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSortIndicatorShown(false);
    // Column widths follow the first rows only.
    horizontalHeader()->setResizeContentsPrecision(200);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ReportGrid::sortByHeading);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        const QVariant key = rowKey(index.row());
        if (key.isValid())
            emit rowActivated(key);
    });
}

void ReportGrid::forgetSort()
{
    m_sortColumn = -1;
    horizontalHeader()->setSortIndicatorShown(false);
    m_proxy->sort(-1);
}

void ReportGrid::showRows(const QStringList &headings, std::shared_ptr<const GridRowSource> rows)
{
    forgetSort();
    m_model->setSource(headings, std::move(rows));
    resizeColumnsToContents();
}

void ReportGrid::showRows(const GridRows &rows, const QVariantList &keys)
{
    forgetSort();
    if (rows.isEmpty()) {
        // Nothing to show: the headings stay over one empty row.
        const int columns = m_model->columnCount();
        QStringList headings;
        for (int c = 0; c < columns; ++c)
            headings.append(m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
        m_model->setRows(headings, {QStringList(columns, QString())});
        return;
    }
    m_model->setRows(rows.first(), rows.mid(1), keys);
    resizeColumnsToContents();
}

QStringList ReportGrid::rowTexts(int row) const
{
    QStringList texts;
    for (int c = 0; c < m_proxy->columnCount(); ++c)
        texts.append(m_proxy->index(row, c).data().toString());
    return texts;
}

QVariant ReportGrid::rowKey(int row) const
{
    return m_proxy->index(row, 0).data(Qt::UserRole);
}

int ReportGrid::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ReportGrid::setCellText(int row, int column, const QString &text)
{
    const QModelIndex source = m_proxy->mapToSource(m_proxy->index(row, column));
    if (source.isValid())
        m_model->setCell(source.row(), source.column(), text);
}

int ReportGrid::rowCount() const
{
    return m_proxy->rowCount();
}

void ReportGrid::sortByHeading(int column)
{
    m_sortOrder = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                              : Qt::AscendingOrder;
    m_sortColumn = column;
    m_proxy->sort(column, m_sortOrder);
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column, m_sortOrder);
}

} // namespace tolvimar
