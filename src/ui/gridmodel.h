#pragma once

#include <QAbstractTableModel>
#include <QCollator>
#include <QHash>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <memory>
#include <vector>

namespace tolvimar {

// Rows of a grid that make a cell's text only when it is shown or sorted by.
class GridRowSource
{
public:
    virtual ~GridRowSource() = default;
    virtual int rowCount() const = 0;
    virtual QString cellText(int row, int column) const = 0;
    // The cell as a whole number, as its text reads; false for a text that is none.
    virtual bool cellNumber(int row, int column, qlonglong *number) const;
    // The typed value for the record behind the row.
    virtual QVariant key(int row) const = 0;
};

// The rows of a report grid as core returns them: the headings, one list of cell texts
// per row (or a source that makes them) and, where the page needs it, each row's key
// (a typed value for the record behind the row, read back through Qt::UserRole instead
// of parsing cells).
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // A cell as a whole number for sorting (a qlonglong), or no value for a text.
    static constexpr int SortNumberRole = Qt::UserRole + 1;

    explicit GridModel(QObject *parent = nullptr);

    // New headings and rows; keys, when given, hold one value per row.
    void setRows(const QStringList &headings, QList<QStringList> rows, QVariantList keys = {});
    // New headings and rows whose texts the source makes.
    void setSource(const QStringList &headings, std::shared_ptr<const GridRowSource> source);
    void setCell(int row, int column, const QString &text);
    QString cell(int row, int column) const;
    QVariant key(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headings;
    QList<QStringList> m_rows;
    QVariantList m_keys;
    std::shared_ptr<const GridRowSource> m_source;
    // Cells of the source's rows set since, by row and column.
    QHash<QPair<int, int>, QString> m_changed;
};

// Sorts a grid by one column: cells that both read as whole numbers by value, position
// texts by level, x and y, all others in German order (umlauts by their letter, letter
// case aside). Equal cells keep their previous order.
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
