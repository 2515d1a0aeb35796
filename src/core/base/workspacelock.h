#pragma once

#include <QMutex>
#include <QString>
#include <memory>

class QLockFile;
class QThread;

namespace tolvimar {

// Guards every write of a workspace (import, template saves, settings) against a
// second program writing at the same time: a lock file in the workspace, held for
// one write operation. A second writer waits a few seconds, then gives up with a
// message and changes nothing. Nested scopes of one lock share the one hold.
class WorkspaceLock
{
public:
    static constexpr int kDefaultWaitMs = 5000;

    explicit WorkspaceLock(const QString &workspaceDir, int waitMs = kDefaultWaitMs);
    ~WorkspaceLock();
    WorkspaceLock(const WorkspaceLock &) = delete;
    WorkspaceLock &operator=(const WorkspaceLock &) = delete;

    QString filePath() const { return m_path; }
    void setWaitMs(int ms) { m_waitMs = ms; }
    bool isHeld() const
    {
        QMutexLocker guard(&m_mutex);
        return m_depth > 0;
    }
    bool isHeldByCurrentThread() const;

    // Throws UserError when another program holds the lock past the wait, or another
    // thread of this program holds it (a running job).
    void lock();
    void unlock();

private:
    QString m_dir;
    QString m_path;
    int m_waitMs;
    mutable QMutex m_mutex;
    int m_depth = 0;
    QThread *m_holder = nullptr; // the thread that holds it, while m_depth > 0
    std::unique_ptr<QLockFile> m_file;
};

// Holds a workspace lock for its lifetime; a null lock guards nothing.
class WorkspaceWriteScope
{
public:
    explicit WorkspaceWriteScope(WorkspaceLock *lock);
    ~WorkspaceWriteScope();
    WorkspaceWriteScope(const WorkspaceWriteScope &) = delete;
    WorkspaceWriteScope &operator=(const WorkspaceWriteScope &) = delete;

private:
    WorkspaceLock *m_lock;
};

} // namespace tolvimar
