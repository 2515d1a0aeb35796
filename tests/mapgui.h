#pragma once

#include "appwindows.h"
#include "mainwindow.h"
#include "mapfixture.h"
#include "mapimage.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace tolvimar::test {

// A pointer move delivered straight to the widget: QTest's moves go through the screen's
// cursor, which the offscreen screen clamps to its own size.
inline void movePointer(QWidget *widget, const QPoint &at)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

// The program's windows over a MapGame, started through the selection dialog.
struct MapGui : MapGame
{
    void open(const QSize &windowSize = QSize(1200, 800))
    {
        main = createWindows(*session, prompter, false);
        main->resize(windowSize);
        QTest::mouseClick(
            main->findChild<QPushButton *>(QStringLiteral("ButtonStart1")), Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    template<typename T> T *find(const QString &name) const
    {
        T *widget = main->findChild<T *>(name);
        if (!widget)
            qWarning("no widget %s", qPrintable(name));
        return widget;
    }
    QString panel(int i) const
    {
        return find<QLabel>(QStringLiteral("StatusPanel%1").arg(i))->text();
    }
    MapImage *worldMap() const { return find<MapImage>(QStringLiteral("Image82")); }
    MapImage *smallMap() const { return find<MapImage>(QStringLiteral("Image1")); }
    const MapState &state() const { return session->mapState(); }
    void render()
    {
        QTest::mouseClick(find<QPushButton>(QStringLiteral("Button4")), Qt::LeftButton);
    }

    std::unique_ptr<MainWindow> main;
};

} // namespace tolvimar::test
