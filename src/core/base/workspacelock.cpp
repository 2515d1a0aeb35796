#include "workspacelock.h"

#include "errors.h"

#include <QDir>
#include <QLockFile>
#include <QMutexLocker>
#include <QThread>

namespace tolvimar {

WorkspaceLock::WorkspaceLock(const QString &workspaceDir, int waitMs)
    : m_dir(workspaceDir)
    , m_path(QDir(workspaceDir).filePath(QStringLiteral("tolvimar.lock")))
    , m_waitMs(waitMs)
{
}

WorkspaceLock::~WorkspaceLock()
{
    if (m_file)
        m_file->unlock();
}

void WorkspaceLock::lock()
{
    QMutexLocker guard(&m_mutex);
    if (m_depth > 0) {
        // Nesting shares the hold only within one thread: a job's worker holds it while
        // the window's thread goes on, and the window must not write meanwhile.
        if (m_holder != QThread::currentThread())
            throw UserError(QStringLiteral("Das Arbeitsverzeichnis %1 wird gerade von einer "
                                           "laufenden Arbeit (Einlesen, Abgleich, Zug Checker) "
                                           "geändert; es wurde nichts geändert. Bitte warten, "
                                           "bis sie beendet ist.")
                                .arg(QDir::toNativeSeparators(m_dir)));
        ++m_depth;
        return;
    }
    m_file = std::make_unique<QLockFile>(m_path);
    // A long import must not count as stale; a holder that died is still noticed.
    m_file->setStaleLockTime(0);
    if (m_file->tryLock(m_waitMs)) {
        m_depth = 1;
        m_holder = QThread::currentThread();
        return;
    }
    const QLockFile::LockError error = m_file->error();
    m_file.reset();
    const QString dir = QDir::toNativeSeparators(m_dir);
    const QString file = QDir::toNativeSeparators(m_path);
    if (error == QLockFile::LockFailedError) {
        throw UserError(QStringLiteral("Das Arbeitsverzeichnis %1 ist gesperrt: es wird gerade "
                                       "von einem anderen Tolvimar-Programm geändert (Sperrdatei "
                                       "%2). Nach %3 Sekunden Warten wurde abgebrochen; es wurde "
                                       "nichts geändert. Bitte später noch einmal versuchen.")
                            .arg(dir, file)
                            .arg(m_waitMs / 1000.0));
    }
    throw UserError(
        QStringLiteral("Im Arbeitsverzeichnis %1 kann die Sperrdatei %2 nicht angelegt "
                       "werden%3; es wurde nichts geändert.")
            .arg(dir, file,
                error == QLockFile::PermissionError ? QStringLiteral(" (keine Berechtigung)")
                                                    : QString()));
}

bool WorkspaceLock::isHeldByCurrentThread() const
{
    QMutexLocker guard(&m_mutex);
    return m_depth > 0 && m_holder == QThread::currentThread();
}

void WorkspaceLock::unlock()
{
    QMutexLocker guard(&m_mutex);
    if (m_depth == 0 || m_holder != QThread::currentThread())
        return;
    if (--m_depth == 0) {
        m_file->unlock();
        m_file.reset();
        m_holder = nullptr;
    }
}

WorkspaceWriteScope::WorkspaceWriteScope(WorkspaceLock *lock)
    : m_lock(lock)
{
    if (m_lock)
        m_lock->lock();
}

WorkspaceWriteScope::~WorkspaceWriteScope()
{
    if (m_lock)
        m_lock->unlock();
}

} // namespace tolvimar
