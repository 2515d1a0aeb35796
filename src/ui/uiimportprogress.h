#pragma once

#include "report/importprogress.h"

#include <QObject>

class QWidget;

namespace tolvimar {

class Job;
class ProgressWindow;

// Shows a short import that runs on the window's thread (the map data) in the progress
// window while the main window is disabled; the window is painted when the import has
// ended, as nothing turns the event loop meanwhile.
class UiImportProgress : public ImportProgress
{
public:
    UiImportProgress(QWidget *mainWindow, ProgressWindow *window);
    void begin() override;
    void setStep(const QString &text) override;
    void setLine(int line) override;
    void setUnitName(const QString &name) override;
    void setPercent(int percent) override;
    void end() override;

private:
    QWidget *m_mainWindow;
    ProgressWindow *m_window;
};

// Shows a job's progress in the progress window while it runs: the window is updated
// when the job reports (queued), its button "Abbrechen" asks the job to stop, and it
// hides when the job has finished. The main window stays usable.
class JobProgressView : public QObject
{
    Q_OBJECT
public:
    JobProgressView(Job *job, ProgressWindow *window);

private:
    void show();

    Job *m_job;
    ProgressWindow *m_window;
};

} // namespace tolvimar
