#pragma once

#include "../base/activegame.h"

#include <QString>

namespace tolvimar {

class OrderFile;

// Runs the external order checker on the saved order file: the checker program
// (the slot's checker path) gets the order file name as its only argument and the
// program path as working directory; what it prints goes to "status-data\check.txt".
// It is started directly, never through a shell, and waited for while the event
// loop keeps running; it is stopped after the timeout.
class OrderChecker
{
public:
    struct Result
    {
        enum Status { Ran, SaveFailed, NoPath, Missing, NotExecutable, NotStarted, TimedOut };
        Status status = NotStarted;
        QString output; // what the checker printed (standard output and error)
        QString message; // why it could not run
    };

    explicit OrderChecker(const ActiveGame &game);
    // Saves the order file, then runs the checker on it.
    Result run(OrderFile &orderFile, int timeoutMs = 60000);
    // The checker path as a program: absolute, or relative to the program path.
    QString checkerProgram() const;

private:
    ActiveGame m_game;
};

} // namespace tolvimar
