#pragma once

#include "../base/activegame.h"

#include <QString>
#include <QStringList>

namespace tolvimar {

class OrderFile;
class WorkspaceLock;

// Runs the external order checker on the saved order file: the checker program
// (the slot's checker path) gets the order file name as its last argument and the
// program path as working directory; what it prints goes to "status-data\check.txt".
// It is started directly, never through a shell, in a process group of its own, and
// waited for without an event loop (so it may run on a worker thread); after the
// timeout, and whenever it has ended, the whole group is stopped, so that nothing it
// started lives on.
class OrderChecker
{
public:
    // Output kept of one run; the rest is read and dropped.
    static constexpr qint64 kMaxOutputBytes = 16 << 20;

    struct Result
    {
        enum Status {
            Ran,
            SaveFailed,
            NoPath,
            Missing,
            NotExecutable,
            NotStarted,
            TimedOut,
            Crashed
        };
        Status status = NotStarted;
        QString output; // what the checker printed (standard output and error)
        QString message; // why it could not run
        bool truncated = false; // the output was longer than kMaxOutputBytes
        int exitCode = 0; // of a checker that ran: not 0 when it found errors
    };

    // The checker line of the configuration as a program and its own arguments.
    struct Command
    {
        QString program; // empty when the line names none
        QStringList arguments;
    };

    explicit OrderChecker(const ActiveGame &game);
    // Saves the order file, then runs the checker on it.
    Result run(OrderFile &orderFile, int timeoutMs = 60000);
    // run() in two steps, for a window that runs the checker on a worker thread: the
    // order file is saved on the template's thread (status Ran, or SaveFailed with the
    // reason), then the checker runs on the file as saved, its output written under
    // the lock.
    static Result saveOrderFile(OrderFile &orderFile);
    Result runOnSavedFile(
        const QString &orderPath, WorkspaceLock *lock, int timeoutMs = 60000) const;
    // A line that names an existing file is that program as it is; any other line is
    // split with shell-like quoting into program and options (no shell runs it). A
    // relative program is looked for in the program path, then on the search path.
    Command command() const;

private:
    QString resolveProgram(const QString &program) const;

    ActiveGame m_game;
};

} // namespace tolvimar
