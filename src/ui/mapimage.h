#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

namespace tolvimar {

class MapLayer;

// A map picture (or an overlay layer) shown at a whole-number zoom, pixel for pixel.
// Pointer positions are reported in the picture's own, unzoomed pixels, which is
// what every pixel-to-region conversion expects.
class MapImage : public QWidget
{
    Q_OBJECT
public:
    MapImage(const QString &objectName, QWidget *parent = nullptr);

    const QImage &image() const { return m_image; }
    // A null image shows the placeholder text (when there is one).
    void setImage(const QImage &image);
    void setPlaceholderText(const QString &text);

    int zoom() const { return m_zoom; }
    void setZoom(int zoom);
    // A picture drawn for the current zoom (zoom times the picture's size), shown instead
    // of the enlarged pixels; a new picture or zoom drops it.
    void setZoomedImage(const QImage &image);
    bool showsZoomedImage() const { return !m_zoomed.isNull(); }

    // A frame drawn around a rectangle of the picture (the selected region); none
    // removes it.
    void setMarker(const std::optional<QRect> &pictureRect);
    const std::optional<QRect> &marker() const { return m_marker; }

    // Layers drawn over the picture at its zoom, in the order added (the widget does
    // not own them); each change of a layer draws the widget again.
    void addLayer(MapLayer *layer);
    const QList<MapLayer *> &layers() const { return m_layers; }

    // The picture pixel under a point of the widget.
    QPoint toPicture(const QPoint &widgetPoint) const;

    QSize sizeHint() const override;

signals:
    void pointerMoved(const QPoint &pixel);
    void pressed(const QPoint &pixel, Qt::MouseButton button);
    // The pointer left the map.
    void pointerLeft();
    // Ctrl + wheel: steps up (positive) or down, at a point of the widget.
    void zoomRequested(int steps, const QPoint &at);
    // An arrow key: dx and dy in map directions (y grows upwards).
    void arrowKey(int dx, int dy, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fitSize();

    QImage m_image;
    QImage m_zoomed;
    QString m_placeholder;
    std::optional<QRect> m_marker;
    QList<MapLayer *> m_layers;
    int m_zoom = 1;
    int m_wheelAngle = 0;
};

} // namespace tolvimar
