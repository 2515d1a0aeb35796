#pragma once

#include "analysis/pointsstatistics.h"

#include <QWidget>

namespace tolvimar {

// A small picture of the turns: points and average points, the faction's silver and
// its persons, each in a panel of its own with its own scale.
class PointsChart : public QWidget
{
    Q_OBJECT
public:
    explicit PointsChart(QWidget *parent = nullptr);

    void setSeries(const PointsSeries &series);
    const PointsSeries &series() const { return m_series; }
    QSize sizeHint() const override { return {560, 170}; }
    QSize minimumSizeHint() const override { return {300, 120}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Line
    {
        const QList<std::optional<qint64>> *values;
        QColor colour;
        QString label;
    };
    void paintPanel(
        QPainter &painter, const QRect &area, const QString &title, const QList<Line> &lines) const;

    PointsSeries m_series;
};

} // namespace tolvimar
