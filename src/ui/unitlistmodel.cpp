#include "unitlistmodel.h"

namespace tolvimar {

UnitListModel::UnitListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void UnitListModel::setEntries(const QList<ListEntry> &entries)
{
    beginResetModel();
    m_entries = entries;
    endResetModel();
}

int UnitListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant UnitListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return m_entries[index.row()].text;
}

} // namespace tolvimar
