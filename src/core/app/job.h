#pragma once

#include "../base/errors.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>

class QThread;

namespace tolvimar {

// Thrown by the work of a job at a point where it looks at the cancel flag and finds
// it set; whoever runs the work rolls back what it began, as after any failure.
class JobCancelled : public UserError
{
public:
    JobCancelled();
};

// What a job's work sees of the job: the cancel flag and the progress it reports.
// Called from the worker thread; the window reads the progress on its own thread.
class JobControl
{
public:
    struct Progress
    {
        QString step;
        int percent = 0;
        int line = 0;
        QString unitName;
    };

    virtual ~JobControl() = default;
    bool isCancelled() const { return m_state.load() == State::Cancelled; }
    // Throws JobCancelled once a cancel was asked for.
    void checkCancelled() const;
    // From here on the work cannot stop any more (its commit is under way): a cancel
    // asked for later is ignored, so that nobody is told of a stop that did not happen.
    // Throws JobCancelled when the cancel came first.
    void passPointOfNoReturn();
    // Returns whether the request still counts.
    bool requestCancel();

    void setStep(const QString &text);
    void setPercent(int percent);
    void setLine(int line);
    void setUnitName(const QString &name);
    Progress progress() const;

protected:
    // A value changed; a job tells its observers (at most one notice waits at a time).
    virtual void progressChanged() { }

private:
    enum class State { Running, Cancelled, Committed };
    std::atomic<State> m_state {State::Running};
    mutable QMutex m_mutex;
    Progress m_progress;
};

// Runs one piece of work on a thread of its own and tells the thread that started it
// about its progress and its end by queued signals, so that the window keeps
// answering meanwhile. The work opens what it needs itself (a database connection is
// bound to the thread that opened it). A job runs once.
class Job : public QObject, public JobControl
{
    Q_OBJECT
public:
    using Work = std::function<void(JobControl &control)>;

    explicit Job(QObject *parent = nullptr);
    // Waits for the work to end; a job is only destroyed before it has finished when
    // the program ends, and then it is asked to stop first.
    ~Job() override;

    void start(Work work);
    bool isRunning() const { return m_running; }
    // Asks the work to stop at its next check; finished() follows in any case.
    void cancel();
    // Blocks until the work has ended (the command line and the program's end).
    void wait();

signals:
    // Queued to the starting thread; several changes may arrive as one.
    void progressed();
    // Queued to the starting thread once the work has returned or thrown.
    void finished();

protected:
    void progressChanged() override;

private:
    QThread *m_thread = nullptr;
    bool m_running = false;
    std::atomic<bool> m_noticeWaiting {false};
};

} // namespace tolvimar
