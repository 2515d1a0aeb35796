#include "pointschart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace tolvimar {

namespace {

// The date code as the grid shows it.
QString turnLabel(qint64 date)
{
    return QString::number(date);
}

} // namespace

PointsChart::PointsChart(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PointsChart"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void PointsChart::setSeries(const PointsSeries &series)
{
    m_series = series;
    update();
}

void PointsChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (m_series.isEmpty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(
            rect(), Qt::AlignCenter, QStringLiteral("Noch keine Runden aufgezeichnet"));
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const int gap = 8;
    const int width = (rect().width() - 4 * gap) / 3;
    QRect area(gap, gap, width, rect().height() - 2 * gap);
    paintPanel(painter, area, QStringLiteral("Punkte"),
        {{&m_series.points, QColor(0x1f, 0x6f, 0xc0), QStringLiteral("eigene")},
            {&m_series.average, QColor(0xd0, 0x7a, 0x10), QStringLiteral("Schnitt")}});
    area.translate(width + gap, 0);
    paintPanel(painter, area, QStringLiteral("Partei Silber"),
        {{&m_series.silver, QColor(0x7a, 0x7a, 0x7a), QString()}});
    area.translate(width + gap, 0);
    paintPanel(painter, area, QStringLiteral("Personen"),
        {{&m_series.persons, QColor(0x2e, 0x8b, 0x3e), QString()}});
}

void PointsChart::paintPanel(
    QPainter &painter, const QRect &area, const QString &title, const QList<Line> &lines) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = metrics.height();

    std::optional<qint64> low, high;
    for (const Line &line : lines) {
        for (const std::optional<qint64> &v : *line.values) {
            if (!v)
                continue;
            low = low ? qMin(*low, *v) : *v;
            high = high ? qMax(*high, *v) : *v;
        }
    }
    // Room left of the plot for the largest and smallest value.
    int labelWidth = metrics.horizontalAdvance(QStringLiteral("0000"));
    if (low)
        labelWidth = std::max({labelWidth, metrics.horizontalAdvance(QString::number(*low)),
            metrics.horizontalAdvance(QString::number(*high))});
    const QRect plot = area.adjusted(labelWidth + 6, lineHeight + 4, -4, -lineHeight - 2);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(plot.left(), area.top() + metrics.ascent(), title);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(plot);
    const int count = m_series.dates.size();
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRect(area.left(), plot.bottom() + 2, area.width(), lineHeight), Qt::AlignLeft,
        turnLabel(m_series.dates.first()));
    if (count > 1)
        painter.drawText(QRect(area.left(), plot.bottom() + 2, area.width(), lineHeight),
            Qt::AlignRight, turnLabel(m_series.dates.last()));
    if (!low)
        return;
    painter.drawText(
        QRect(area.left(), plot.top() - lineHeight / 2, plot.left() - area.left() - 3, lineHeight),
        Qt::AlignRight, QString::number(*high));
    painter.drawText(QRect(area.left(), plot.bottom() - lineHeight / 2,
                         plot.left() - area.left() - 3, lineHeight),
        Qt::AlignRight, QString::number(*low));

    const double span = *high == *low ? 1.0 : double(*high - *low);
    auto pointAt = [&](int i, qint64 v) {
        const double x
            = count == 1 ? plot.center().x() : plot.left() + double(plot.width()) * i / (count - 1);
        const double y = plot.bottom() - double(plot.height()) * double(v - *low) / span;
        return QPointF(x, y);
    };
    int legendX = area.right();
    for (const Line &line : lines) {
        QPainterPath path;
        bool drawing = false;
        painter.setPen(QPen(line.colour, 2));
        painter.setBrush(line.colour);
        for (int i = 0; i < line.values->size(); ++i) {
            const std::optional<qint64> &v = line.values->at(i);
            if (!v) {
                drawing = false; // an empty cell breaks the line
                continue;
            }
            const QPointF p = pointAt(i, *v);
            if (drawing)
                path.lineTo(p);
            else
                path.moveTo(p);
            drawing = true;
            painter.drawEllipse(p, 2, 2);
        }
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        if (!line.label.isEmpty()) {
            legendX -= metrics.horizontalAdvance(line.label);
            painter.drawText(legendX, area.top() + metrics.ascent(), line.label);
            legendX -= 10;
        }
    }
}

} // namespace tolvimar
