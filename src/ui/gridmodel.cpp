#include "gridmodel.h"

#include "base/position.h"

#include <QHash>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <optional>
#include <tuple>

namespace tolvimar {

namespace {
bool wholeNumber(const QString &text, qlonglong *number)
{
    bool ok = false;
    *number = text.toLongLong(&ok);
    return ok;
}
} // namespace

bool GridRowSource::cellNumber(int row, int column, qlonglong *number) const
{
    return wholeNumber(cellText(row, column), number);
}

GridModel::GridModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void GridModel::setRows(const QStringList &headings, QList<QStringList> rows, QVariantList keys)
{
    beginResetModel();
    m_headings = headings;
    m_rows = std::move(rows);
    m_keys = std::move(keys);
    m_source.reset();
    m_changed.clear();
    endResetModel();
}

void GridModel::setSource(const QStringList &headings, std::shared_ptr<const GridRowSource> source)
{
    beginResetModel();
    m_headings = headings;
    m_rows.clear();
    m_keys.clear();
    m_source = std::move(source);
    m_changed.clear();
    endResetModel();
}

void GridModel::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_headings.size())
        return;
    if (m_source) {
        m_changed.insert({row, column}, text);
        const QModelIndex at = index(row, column);
        emit dataChanged(at, at, {Qt::DisplayRole});
        return;
    }
    QStringList &cells = m_rows[row];
    while (cells.size() <= column)
        cells.append(QString());
    cells[column] = text;
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

QString GridModel::cell(int row, int column) const
{
    if (m_source) {
        if (row < 0 || row >= m_source->rowCount() || column < 0 || column >= m_headings.size())
            return QString();
        if (!m_changed.isEmpty()) {
            const auto changed = m_changed.constFind({row, column});
            if (changed != m_changed.constEnd())
                return *changed;
        }
        return m_source->cellText(row, column);
    }
    return row >= 0 && row < m_rows.size() ? m_rows[row].value(column) : QString();
}

QVariant GridModel::key(int row) const
{
    if (m_source)
        return row >= 0 && row < m_source->rowCount() ? m_source->key(row) : QVariant();
    return m_keys.value(row);
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_source ? m_source->rowCount() : int(m_rows.size());
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headings.size());
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cell(index.row(), index.column());
    if (role == Qt::UserRole)
        return key(index.row());
    if (role == SortNumberRole) {
        qlonglong number = 0;
        const int row = index.row(), column = index.column();
        const bool isNumber = m_source && !m_changed.contains({row, column})
            ? m_source->cellNumber(row, column, &number)
            : wholeNumber(cell(row, column), &number);
        return isNumber ? QVariant(number) : QVariant();
    }
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_headings.value(section);
    return section + 1;
}

GridSortProxy::GridSortProxy(QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_collator(QLocale(QLocale::German, QLocale::Germany))
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    // A changed cell (a unit's new group) stays where it is until the next sort.
    setDynamicSortFilter(false);
}

void GridSortProxy::sort(int column, Qt::SortOrder order)
{
    if (column >= 0 && sourceModel())
        prepareColumn(column);
    QSortFilterProxyModel::sort(column, order);
    m_cells.clear();
    m_cells.shrink_to_fit();
}

void GridSortProxy::prepareColumn(int column)
{
    const QAbstractItemModel *model = sourceModel();
    const int rows = model->rowCount();
    m_cells.assign(size_t(rows), SortCell());
    bool allNumbers = true;
    for (int r = 0; r < rows; ++r) {
        SortCell &cell = m_cells[size_t(r)];
        const QVariant number = model->index(r, column).data(GridModel::SortNumberRole);
        cell.isNumber = number.isValid();
        cell.number = number.toLongLong();
        allNumbers = allNumbers && cell.isNumber;
    }
    // Numbers alone compare by value; a text compares by its rank with any other cell.
    if (allNumbers)
        return;
    // The German order is worked out once among the distinct texts.
    QHash<QString, int> distinct;
    QStringList texts;
    std::vector<int> textOfRow(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        const QString text = model->index(r, column).data().toString();
        auto it = distinct.constFind(text);
        if (it == distinct.constEnd()) {
            it = distinct.insert(text, int(texts.size()));
            texts.append(text);
        }
        textOfRow[size_t(r)] = *it;
    }
    // Position texts (x/y or x/y/level) go by level, then x, then y, before any other
    // text: "-14/-13" before "-1/5" before "-12/4/1".
    std::vector<std::optional<Position>> places(size_t(texts.size()));
    for (qsizetype t = 0; t < texts.size(); ++t)
        places[size_t(t)] = parsePosition(texts[t]);
    const auto compare = [&](int a, int b) {
        const std::optional<Position> &p = places[size_t(a)], &q = places[size_t(b)];
        if (p && q) {
            const std::strong_ordering order = *p <=> *q;
            return order < 0 ? -1 : (order > 0 ? 1 : 0);
        }
        if (p || q)
            return p ? -1 : 1;
        return m_collator.compare(texts[a], texts[b]);
    };
    std::vector<int> order(size_t(texts.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return compare(a, b) < 0; });
    // Texts the comparison holds equal share a rank, so that they keep their order.
    std::vector<int> rankOfText(order.size());
    int rank = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && compare(order[i - 1], order[i]) != 0)
            ++rank;
        rankOfText[size_t(order[i])] = rank;
    }
    for (int r = 0; r < rows; ++r)
        m_cells[size_t(r)].rank = rankOfText[size_t(textOfRow[size_t(r)])];
}

bool GridSortProxy::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const size_t l = size_t(left.row()), r = size_t(right.row());
    if (l < m_cells.size() && r < m_cells.size()) {
        const SortCell &a = m_cells[l], &b = m_cells[r];
        if (a.isNumber && b.isNumber)
            return a.number < b.number;
        return a.rank < b.rank;
    }
    // Outside a sort (the proxy asked on its own): the same rule on the texts.
    const QString a = left.data().toString(), b = right.data().toString();
    qlonglong x = 0, y = 0;
    if (wholeNumber(a, &x) && wholeNumber(b, &y))
        return x < y;
    return m_collator.compare(a, b) < 0;
}

} // namespace tolvimar
