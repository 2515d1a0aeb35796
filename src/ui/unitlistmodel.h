#pragma once

#include "orders/unitview.h"

#include <QAbstractListModel>
#include <QSet>

namespace tolvimar {

// The region's unit list as the region view returns it: each entry's line shown, the
// entry itself kept for the selection; units with problems marked (UnitsPage::ProblemRole).
class UnitListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit UnitListModel(QObject *parent = nullptr);

    void setEntries(const QList<ListEntry> &entries);
    const QList<ListEntry> &entries() const { return m_entries; }
    // Units whose orders have problems: their rows carry a red dot and a tip.
    void setMarkedUnits(const QSet<int> &numbers);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    bool isMarked(int row) const;

    QList<ListEntry> m_entries;
    QSet<int> m_marked;
};

} // namespace tolvimar
