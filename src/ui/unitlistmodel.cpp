#include "unitlistmodel.h"

#include "unitspage.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>

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

void UnitListModel::setMarkedUnits(const QSet<int> &numbers)
{
    if (numbers == m_marked)
        return;
    m_marked = numbers;
    if (!m_entries.isEmpty()) {
        emit dataChanged(index(0), index(int(m_entries.size()) - 1),
            {Qt::DecorationRole, Qt::ToolTipRole, UnitsPage::ProblemRole});
    }
}

bool UnitListModel::isMarked(int row) const
{
    const ListEntry &entry = m_entries[row];
    return entry.kind == ListEntryKind::Unit && m_marked.contains(entry.number);
}

QVariant UnitListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_entries[index.row()].text;
    case UnitsPage::ProblemRole:
        return isMarked(index.row());
    case Qt::DecorationRole:
        if (isMarked(index.row())) {
            static const QPixmap dot = [] {
                QPixmap p(10, 10);
                p.fill(Qt::transparent);
                QPainter painter(&p);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setBrush(QColor(210, 0, 0));
                painter.setPen(Qt::NoPen);
                painter.drawEllipse(1, 1, 8, 8);
                return p;
            }();
            return dot;
        }
        return {};
    case Qt::ToolTipRole:
        if (isMarked(index.row()))
            return QStringLiteral("Die Befehle dieser Einheit haben Probleme (F8: nächste)");
        return {};
    default:
        return {};
    }
}

} // namespace tolvimar
