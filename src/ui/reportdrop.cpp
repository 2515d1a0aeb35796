#include "reportdrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

namespace tolvimar {

ReportDrop::ReportDrop(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

QString ReportDrop::reportFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    const QString path = urls.first().toLocalFile();
    return QFileInfo(path).isFile() ? path : QString();
}

bool ReportDrop::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        // A disabled window (no game open, an import running) takes nothing.
        if (m_window->isEnabled() && !reportFile(drag->mimeData()).isEmpty())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = reportFile(drop->mimeData());
        if (!m_window->isEnabled() || path.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        QTimer::singleShot(0, this, [this, path] { emit reportDropped(path); });
        return true;
    }
    default:
        return false;
    }
}

} // namespace tolvimar
