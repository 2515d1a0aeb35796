#pragma once

#include <QObject>

class QMimeData;
class QWidget;

namespace tolvimar {

// Lets a report file be dropped onto the main window: one local file is taken, and
// reported after the drop has ended, so that the import does not run inside the
// drag-and-drop of the file manager.
class ReportDrop : public QObject
{
    Q_OBJECT
public:
    explicit ReportDrop(QWidget *window);

    // The local file a drag carries; empty unless it is exactly one file.
    static QString reportFile(const QMimeData *data);

signals:
    void reportDropped(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
};

} // namespace tolvimar
