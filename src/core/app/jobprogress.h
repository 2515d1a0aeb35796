#pragma once

#include "../base/faultinjection.h"
#include "../base/workspacelock.h"
#include "../report/importprogress.h"
#include "../share/mapsharing.h"
#include "job.h"

#include <QThread>

namespace tolvimar {

// The import's progress as a job reports it. Each report is also where the work looks
// at the cancel flag: the reader reports every line, so a cancel is seen at once.
class JobImportProgress : public ImportProgress
{
public:
    explicit JobImportProgress(JobControl &control)
        : m_control(control)
    {
    }
    void setStep(const QString &text) override
    {
        m_control.checkCancelled();
        m_control.setStep(text);
    }
    void setLine(int line) override
    {
        m_control.setLine(line);
        while (FaultInjection::gateClosed() && !m_control.isCancelled())
            QThread::msleep(10);
        m_control.checkCancelled();
    }
    void setUnitName(const QString &name) override { m_control.setUnitName(name); }
    void setPercent(int percent) override
    {
        m_control.checkCancelled();
        m_control.setPercent(percent);
    }

private:
    JobControl &m_control;
};

// The same for the alliance sync. The test gate holds it only where it writes, inside
// the workspace lock (the pull's local transaction).
class JobShareProgress : public ShareProgress
{
public:
    JobShareProgress(JobControl &control, const WorkspaceLock &lock)
        : m_control(control)
        , m_lock(lock)
    {
    }
    void setStep(const QString &text) override
    {
        m_control.checkCancelled();
        m_control.setStep(text);
    }
    void setPercent(int percent) override
    {
        m_control.setPercent(percent);
        while (FaultInjection::gateClosed() && m_lock.isHeldByCurrentThread()
            && !m_control.isCancelled())
            QThread::msleep(10);
        m_control.checkCancelled();
    }

private:
    JobControl &m_control;
    const WorkspaceLock &m_lock;
};

} // namespace tolvimar
