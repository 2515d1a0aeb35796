#include "pointspage.h"

#include "pointschart.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tolvimar {

PointsPage::PointsPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheetPunkte"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_grid = new QTableWidget(0, 8, this);
    m_grid->setObjectName(QStringLiteral("StringGridPunkte"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->hide();
    layout->addWidget(m_grid, 1);
    m_chart = new PointsChart(this);
    layout->addWidget(m_chart);
}

void PointsPage::showGrid(const QList<QStringList> &grid)
{
    m_grid->setRowCount(grid.size());
    for (int r = 0; r < grid.size(); ++r) {
        for (int c = 0; c < 8; ++c)
            m_grid->setItem(r, c, new QTableWidgetItem(grid[r].value(c)));
    }
    m_chart->setSeries(pointsSeries(grid));
}

} // namespace tolvimar
