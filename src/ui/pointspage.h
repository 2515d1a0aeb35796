#pragma once

#include <QStringList>
#include <QWidget>

class QTableView;

namespace tolvimar {

class GridModel;
class PointsChart;

// "Punkte Statistik": the faction's points, silver and persons over the turns.
class PointsPage : public QWidget
{
    Q_OBJECT
public:
    explicit PointsPage(QWidget *parent = nullptr);

    // Rows of the grid, headings first; an empty list empties the grid.
    void showGrid(const QList<QStringList> &grid);

private:
    QTableView *m_grid;
    GridModel *m_model;
    PointsChart *m_chart;
};

} // namespace tolvimar
