#include "job.h"

#include <QMutexLocker>
#include <QThread>

namespace tolvimar {

JobCancelled::JobCancelled()
    : UserError(QStringLiteral("Abgebrochen."))
{
}

void JobControl::checkCancelled() const
{
    if (isCancelled())
        throw JobCancelled();
}

bool JobControl::requestCancel()
{
    State running = State::Running;
    return m_state.compare_exchange_strong(running, State::Cancelled)
        || running == State::Cancelled;
}

void JobControl::passPointOfNoReturn()
{
    State running = State::Running;
    if (!m_state.compare_exchange_strong(running, State::Committed) && running == State::Cancelled)
        throw JobCancelled();
}

void JobControl::setStep(const QString &text)
{
    {
        QMutexLocker lock(&m_mutex);
        m_progress.step = text;
    }
    progressChanged();
}

void JobControl::setPercent(int percent)
{
    {
        QMutexLocker lock(&m_mutex);
        if (m_progress.percent == percent)
            return;
        m_progress.percent = percent;
    }
    progressChanged();
}

void JobControl::setLine(int line)
{
    {
        QMutexLocker lock(&m_mutex);
        m_progress.line = line;
    }
    progressChanged();
}

void JobControl::setUnitName(const QString &name)
{
    {
        QMutexLocker lock(&m_mutex);
        m_progress.unitName = name;
    }
    progressChanged();
}

JobControl::Progress JobControl::progress() const
{
    QMutexLocker lock(&m_mutex);
    return m_progress;
}

Job::Job(QObject *parent)
    : QObject(parent)
{
}

Job::~Job()
{
    if (m_thread) {
        requestCancel();
        m_thread->wait();
        delete m_thread;
    }
}

void Job::start(Work work)
{
    Q_ASSERT(!m_thread);
    m_running = true;
    m_thread = QThread::create([this, work = std::move(work)] {
        // The work reports its own failures; nothing may escape the thread.
        try {
            work(*this);
        } catch (...) {
        }
    });
    // The thread object lives here, its finished signal is emitted there: queued.
    connect(m_thread, &QThread::finished, this, [this] {
        m_running = false;
        emit progressed();
        emit finished();
    });
    m_thread->start();
}

void Job::cancel()
{
    requestCancel();
}

void Job::wait()
{
    if (m_thread)
        m_thread->wait();
}

void Job::progressChanged()
{
    // A line of the report each time would flood the window's queue: one notice waits
    // at a time, and the window reads the newest values when it comes.
    if (m_noticeWaiting.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_noticeWaiting.store(false);
            emit progressed();
        },
        Qt::QueuedConnection);
}

} // namespace tolvimar
