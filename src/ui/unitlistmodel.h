#pragma once

#include "orders/unitview.h"

#include <QAbstractListModel>

namespace tolvimar {

// The region's unit list as the region view returns it: each entry's line shown, the
// entry itself kept for the selection.
class UnitListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit UnitListModel(QObject *parent = nullptr);

    void setEntries(const QList<ListEntry> &entries);
    const QList<ListEntry> &entries() const { return m_entries; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QList<ListEntry> m_entries;
};

} // namespace tolvimar
