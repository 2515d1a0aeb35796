#include "statusindicator.h"

#include <QPainter>

namespace tolvimar {

StatusIndicator::StatusIndicator(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(16, 16);
}

void StatusIndicator::setSaved(bool saved)
{
    m_saved = saved;
    update();
}

void StatusIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.setBrush(m_saved ? QColor(Qt::green) : QColor(Qt::red));
    painter.drawEllipse(rect().adjusted(1, 1, -2, -2));
}

} // namespace tolvimar
