#include "mapimage.h"

#include "maplayer.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace tolvimar {

MapImage::MapImage(const QString &objectName, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setMouseTracking(true);
}

void MapImage::setImage(const QImage &image)
{
    // The same picture again keeps its zoomed drawing.
    if (!image.isNull() && image.cacheKey() == m_image.cacheKey())
        return;
    m_image = image;
    m_zoomed = QImage();
    fitSize();
    update();
}

void MapImage::setPlaceholderText(const QString &text)
{
    m_placeholder = text;
    fitSize();
    update();
}

void MapImage::setZoom(int zoom)
{
    if (zoom == m_zoom || zoom < 1)
        return;
    m_zoom = zoom;
    m_zoomed = QImage();
    fitSize();
    update();
}

void MapImage::setZoomedImage(const QImage &image)
{
    m_zoomed = image.size() == m_image.size() * m_zoom ? image : QImage();
    update();
}

void MapImage::setMarker(const std::optional<QRect> &pictureRect)
{
    if (pictureRect == m_marker)
        return;
    m_marker = pictureRect;
    update();
}

void MapImage::addLayer(MapLayer *layer)
{
    m_layers.append(layer);
    connect(layer, &MapLayer::changed, this, qOverload<>(&QWidget::update));
    connect(layer, &QObject::destroyed, this, [this, layer] { m_layers.removeOne(layer); });
    update();
}

QPoint MapImage::toPicture(const QPoint &widgetPoint) const
{
    // Floor division, so that the pixel left of or above the picture stays outside.
    auto down = [this](int v) { return v >= 0 ? v / m_zoom : -((-v + m_zoom - 1) / m_zoom); };
    return {down(widgetPoint.x()), down(widgetPoint.y())};
}

QSize MapImage::sizeHint() const
{
    if (m_image.isNull())
        return m_placeholder.isEmpty() ? QSize(0, 0) : QSize(200, 60);
    return m_image.size() * m_zoom;
}

void MapImage::fitSize()
{
    // Inside a scroll box the widget is the picture's size; in a layout it asks for it.
    updateGeometry();
    if (!parentWidget() || !parentWidget()->layout())
        resize(sizeHint());
}

void MapImage::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_image.isNull()) {
        if (!m_placeholder.isEmpty())
            painter.drawText(rect(), Qt::AlignCenter, m_placeholder);
        return;
    }
    // Only the exposed part, scaled by whole pixels without smoothing.
    const QRect exposed = event->rect().intersected(QRect(QPoint(0, 0), sizeHint()));
    if (exposed.isEmpty())
        return;
    const QPoint first = toPicture(exposed.topLeft());
    const QPoint last = toPicture(exposed.bottomRight());
    const QRect source(first, last);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!m_zoomed.isNull())
        painter.drawImage(exposed, m_zoomed, exposed);
    else
        painter.drawImage(
            QRect(source.topLeft() * m_zoom, source.size() * m_zoom), m_image, source);
    for (const MapLayer *layer : std::as_const(m_layers)) {
        if (layer->isVisible())
            layer->paint(painter, exposed, m_zoom);
    }
    if (m_marker) {
        // Yellow inside black, visible on every terrain.
        const QRect frame(m_marker->topLeft() * m_zoom, m_marker->size() * m_zoom);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(frame.adjusted(-2, -2, 1, 1));
        painter.setPen(QPen(Qt::yellow, 2));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
    }
}

void MapImage::mouseMoveEvent(QMouseEvent *event)
{
    emit pointerMoved(toPicture(event->position().toPoint()));
}

void MapImage::mousePressEvent(QMouseEvent *event)
{
    if (focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    emit pressed(toPicture(event->position().toPoint()), event->button());
}

void MapImage::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    emit pointerLeft();
}

void MapImage::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    // A wheel notch is 120; finer wheels add up to whole steps.
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / 120;
    m_wheelAngle -= steps * 120;
    if (steps != 0)
        emit zoomRequested(steps, event->position().toPoint());
    event->accept();
}

void MapImage::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        emit arrowKey(0, 1, event->modifiers());
        return;
    case Qt::Key_Down:
        emit arrowKey(0, -1, event->modifiers());
        return;
    case Qt::Key_Left:
        emit arrowKey(-1, 0, event->modifiers());
        return;
    case Qt::Key_Right:
        emit arrowKey(1, 0, event->modifiers());
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace tolvimar
