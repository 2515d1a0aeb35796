#pragma once

#include <QObject>
#include <QRect>

class QPainter;

namespace tolvimar {

// A layer of a map picture: something drawn over the terrain at the zoom the map
// shows, and only where the map is exposed. A layer asks to be drawn again by changed().
class MapLayer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible)
    {
        if (visible == m_visible)
            return;
        m_visible = visible;
        emit changed();
    }

    // Draws the part of the layer in `exposed` (widget pixels, the picture enlarged by
    // zoom) with the painter of the map widget.
    virtual void paint(QPainter &painter, const QRect &exposed, int zoom) const = 0;

signals:
    void changed();

private:
    bool m_visible = true;
};

} // namespace tolvimar
