#pragma once

#include <QString>

namespace tolvimar {

// A test hook: the environment variable TOLVIMAR_TEST_FAULTS lists points at which
// core fails on purpose, so that tests can show how a full disk, a refused rename or
// exhausted memory is handled. The list is comma-separated "kind:name" entries; the
// kinds are "write" and "rename" (name matched against the end of the file path),
// "kill" (the program is killed just before a file batch replaces or removes a file
// whose path ends so), "memory" (name of the point) and "gate" (a file path: a job's
// work waits at its progress reports while that file exists, so that a test can look
// at the window while a job runs, or cancel it midway). Without the variable nothing
// ever fails here.
class FaultInjection
{
public:
    // True when a write of / a rename onto this file is to fail.
    static bool failsWrite(const QString &path);
    static bool failsRename(const QString &path);
    // Kills the program (SIGKILL, as a power cut would stop it) when the file is listed.
    static void killPoint(const QString &path);
    // Throws std::bad_alloc when the named point is listed.
    static void memoryPoint(const char *name);
    // True while a listed gate file exists.
    static bool gateClosed();

private:
    static bool hits(QStringView kind, QStringView name, bool suffix);
};

} // namespace tolvimar
