#pragma once

#include <QAbstractTableModel>
#include <QCollator>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <vector>

namespace tolvimar {

// The rows of a report grid as core returns them: the headings, one list of cell texts
// per row and, where the page needs it, each row's key (a typed value for the record
// behind the row, read back through Qt::UserRole instead of parsing cells).
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit GridModel(QObject *parent = nullptr);

    // New headings and rows; keys, when given, hold one value per row.
    void setRows(const QStringList &headings, QList<QStringList> rows, QVariantList keys = {});
    void setCell(int row, int column, const QString &text);
    QString cell(int row, int column) const;
    QVariant key(int row) const { return m_keys.value(row); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headings;
    QList<QStringList> m_rows;
    QVariantList m_keys;
};

// Sorts a grid by one column: cells that both read as whole numbers by value, all
// others in German order (umlauts by their letter, letter case aside). Equal cells
// keep their previous order.
class GridSortProxy : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit GridSortProxy(QObject *parent = nullptr);

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    // One column's cells made comparable once per sort: their number, and their rank
    // in German order among the column's distinct texts.
    struct SortCell
    {
        qlonglong number = 0;
        bool isNumber = false;
        int rank = 0;
    };
    void prepareColumn(int column);

    QCollator m_collator;
    std::vector<SortCell> m_cells;
};

} // namespace tolvimar
