#include "uiimportprogress.h"

#include "app/job.h"
#include "progresswindow.h"

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
        m_window->setCancellable(false);
        m_window->setEnabled(true);
        m_window->show();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void UiImportProgress::setStep(const QString &text)
{
    if (m_window)
        m_window->setStep(text);
}

void UiImportProgress::setLine(int line)
{
    if (m_window)
        m_window->setLine(QString::number(line));
}

void UiImportProgress::setUnitName(const QString &name)
{
    if (m_window)
        m_window->setUnitName(name);
}

void UiImportProgress::setPercent(int percent)
{
    if (m_window)
        m_window->setPercent(percent);
}

void UiImportProgress::end()
{
    QApplication::restoreOverrideCursor();
    if (m_window)
        m_window->hide();
    m_mainWindow->setEnabled(true);
}

JobProgressView::JobProgressView(Job *job, ProgressWindow *window)
    : QObject(job)
    , m_job(job)
    , m_window(window)
{
    if (!m_window)
        return;
    m_window->reset();
    m_window->setCancellable(true);
    m_window->setEnabled(true);
    m_window->show();
    connect(job, &Job::progressed, this, &JobProgressView::show);
    connect(m_window, &ProgressWindow::cancelRequested, job, &Job::cancel);
    connect(job, &Job::finished, this, [this] {
        m_window->setCancellable(false);
        m_window->hide();
    });
}

void JobProgressView::show()
{
    const JobControl::Progress progress = m_job->progress();
    m_window->setStep(progress.step);
    m_window->setLine(QString::number(progress.line));
    m_window->setUnitName(progress.unitName);
    m_window->setPercent(progress.percent);
}

} // namespace tolvimar
