#include "pointspage.h"

#include "gridmodel.h"
#include "pointschart.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace tolvimar {

namespace {
constexpr int kColumns = 8;
} // namespace

PointsPage::PointsPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheetPunkte"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_model = new GridModel(this);
    m_grid = new QTableView(this);
    m_model->setRows(QStringList(kColumns, QString()), {});
    m_grid->setModel(m_model);
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
    // The headings are the grid's first row, under a hidden header.
    m_model->setRows(QStringList(kColumns, QString()), grid);
    m_chart->setSeries(pointsSeries(grid));
}

} // namespace tolvimar
