#include "uiimportprogress.h"

#include "aboutbox.h"
#include "checkeroutputwindow.h"
#include "ordereditorwindow.h"
#include "progresswindow.h"
#include "regionentrydialog.h"

#include <QApplication>

namespace tolvimar {

UiImportProgress::UiImportProgress(QWidget *mainWindow, ProgressWindow *window)
    : m_mainWindow(mainWindow)
    , m_window(window)
{
}

void UiImportProgress::begin()
{
    m_mainWindow->setEnabled(false);
    if (m_window) {
        m_window->reset();
        m_window->setEnabled(true);
        m_window->show();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_sinceRepaint.start();
    repaintSometimes(true);
}

void UiImportProgress::setStep(const QString &text)
{
    if (m_window)
        m_window->setStep(text);
    repaintSometimes();
}

void UiImportProgress::setLine(int line)
{
    m_line = line;
}

void UiImportProgress::setUnitName(const QString &name)
{
    m_unitName = name;
}

void UiImportProgress::setPercent(int percent)
{
    m_percent = percent;
    repaintSometimes();
}

void UiImportProgress::repaintSometimes(bool force)
{
    if (!m_window || (!force && m_sinceRepaint.elapsed() < 100))
        return;
    m_sinceRepaint.restart();
    m_window->setLine(QString::number(m_line));
    m_window->setUnitName(m_unitName);
    m_window->setPercent(m_percent);
    // A turn of the event loop lets the window appear, paint and follow the window
    // manager; the user's input waits, and the main window is disabled meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void UiImportProgress::end()
{
    QApplication::restoreOverrideCursor();
    if (m_window)
        m_window->hide();
    m_mainWindow->setEnabled(true);
}

} // namespace tolvimar
