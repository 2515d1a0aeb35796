#include "checker.h"

#include "../base/errors.h"
#include "../base/faultinjection.h"
#include "../base/filebatch.h"
#include "../base/gamefiles.h"
#include "../base/textfile.h"
#include "../base/workspacelock.h"
#include "orderfile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <new>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace tolvimar {

namespace {

// Stops the checker's process group: the checker and whatever it started.
class ProcessGroup
{
public:
    explicit ProcessGroup(QProcess &process)
        : m_process(process)
    {
#ifdef Q_OS_UNIX
        m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    }
    ~ProcessGroup()
    {
        stop();
    }
    void started()
    {
        m_pid = m_process.processId();
    }
    void stop()
    {
#ifdef Q_OS_UNIX
        if (m_pid > 0)
            ::kill(-pid_t(m_pid), SIGKILL);
#endif
        m_pid = 0;
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

private:
    QProcess &m_process;
    qint64 m_pid = 0;
};

// Keeps the first kMaxOutputBytes of what the checker prints and drops the rest, so
// that a checker that prints without end cannot exhaust the memory.
class BoundedOutput
{
public:
    void take(QProcess &process)
    {
        const QByteArray chunk = process.readAll();
        const qint64 room = OrderChecker::kMaxOutputBytes - m_bytes.size();
        if (chunk.size() > room) {
            m_truncated = true;
            m_bytes.append(chunk.left(qMax<qint64>(room, 0)));
        } else {
            m_bytes.append(chunk);
        }
    }
    const QByteArray &bytes() const { return m_bytes; }
    bool truncated() const { return m_truncated; }

private:
    QByteArray m_bytes;
    bool m_truncated = false;
};

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

OrderChecker::OrderChecker(const ActiveGame &game)
    : m_game(game)
{
}

QString OrderChecker::resolveProgram(const QString &program) const
{
    if (program.isEmpty() || QDir::isAbsolutePath(program))
        return program;
    const QString inProgramPath = joinProgramPath(m_game.programPath, program);
    if (program.contains(u'/') || program.contains(u'\\') || QFileInfo::exists(inProgramPath))
        return inProgramPath;
    const QString onSearchPath = QStandardPaths::findExecutable(program);
    return onSearchPath.isEmpty() ? inProgramPath : onSearchPath;
}

OrderChecker::Command OrderChecker::command() const
{
    const QString line = m_game.checkerPath.trimmed();
    if (line.isEmpty())
        return {};
    const QString asIs = resolveProgram(line);
    if (QFileInfo::exists(asIs))
        return {asIs, {}};
    QStringList parts = QProcess::splitCommand(line);
    if (parts.isEmpty())
        return {};
    const QString program = parts.takeFirst();
    return {resolveProgram(program), parts};
}

OrderChecker::Result OrderChecker::saveOrderFile(OrderFile &orderFile)
{
    Result result;
    try {
        orderFile.save();
        result.status = Result::Ran;
    } catch (const UserError &e) {
        result.status = Result::SaveFailed;
        result.message = e.message();
    }
    return result;
}

OrderChecker::Result OrderChecker::run(OrderFile &orderFile, int timeoutMs)
{
    const Result saved = saveOrderFile(orderFile);
    if (saved.status != Result::Ran)
        return saved;
    return runOnSavedFile(orderFile.path(), orderFile.lock(), timeoutMs);
}

OrderChecker::Result OrderChecker::runOnSavedFile(
    const QString &orderPath, WorkspaceLock *lock, int timeoutMs) const
{
    Result result;

    const Command cmd = command();
    const QString shownProgram = shown(cmd.program);
    if (cmd.program.isEmpty()) {
        result.status = Result::NoPath;
        result.message = QStringLiteral("Es ist kein Pfad zum externen ZugChecker eingestellt "
                                        "(Datei → Optionen → \"Path zum externen ZugChecker:\").");
        return result;
    }
    const QFileInfo info(cmd.program);
    if (!info.exists()) {
        result.status = Result::Missing;
        result.message
            = QStringLiteral("Der ZugChecker %1 wurde nicht gefunden.").arg(shownProgram);
        return result;
    }
    if (info.isDir()) {
        result.status = Result::NotExecutable;
        result.message = QStringLiteral("Der ZugChecker %1 ist ein Verzeichnis, kein ausführbares "
                                        "Programm.")
                             .arg(shownProgram);
        return result;
    }
    if (!info.isExecutable()) {
        result.status = Result::NotExecutable;
        result.message
            = QStringLiteral("Der ZugChecker %1 ist nicht ausführbar.").arg(shownProgram);
        return result;
    }

    const QString programPath = m_game.programPath;
    QProcess process;
    process.setProgram(info.absoluteFilePath());
    process.setArguments(cmd.arguments + QStringList {QFileInfo(orderPath).fileName()});
    process.setWorkingDirectory(programPath);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    ProcessGroup group(process);
    BoundedOutput output;

    try {
        // Waited for in slices without an event loop, so that the caller may run this
        // on any thread (the window runs it as a job); the output is taken as it comes.
        constexpr int kSliceMs = 100;
        process.start();
        group.started();
        bool timedOut = false;
        if (process.waitForStarted(-1)) {
            const QDeadlineTimer deadline(timeoutMs);
            while (process.state() != QProcess::NotRunning) {
                if (deadline.hasExpired()) {
                    timedOut = true;
                    break;
                }
                process.waitForFinished(
                    int(std::clamp<qint64>(deadline.remainingTime(), 1, kSliceMs)));
                output.take(process);
            }
        }

        if (process.error() == QProcess::FailedToStart) {
            result.status = Result::NotStarted;
            result.message = QStringLiteral("Der ZugChecker %1 konnte nicht gestartet werden: %2")
                                 .arg(shownProgram, process.errorString());
            return result;
        }
        // Whatever the checker left running goes with it.
        group.stop();
        output.take(process);
        if (timedOut) {
            result.status = Result::TimedOut;
            result.message = QStringLiteral("Der ZugChecker %1 hat nach %2 Sekunden nicht "
                                            "geantwortet und wurde beendet.")
                                 .arg(shownProgram)
                                 .arg(timeoutMs / 1000.0);
            return result;
        }
        FaultInjection::memoryPoint("checker-output");

        QByteArray bytes = output.bytes();
        result.truncated = output.truncated();
        if (result.truncated) {
            bytes += QStringLiteral("\n[Die Ausgabe des ZugCheckers war länger als %1 MB; der "
                                    "Rest wurde abgeschnitten.]\n")
                         .arg(kMaxOutputBytes >> 20)
                         .toUtf8();
        }
        result.output = decodeText(bytes);
        if (process.exitStatus() == QProcess::CrashExit) {
            result.status = Result::Crashed;
            result.message = QStringLiteral("Der ZugChecker %1 ist abgestürzt (Signal %2).")
                                 .arg(shownProgram)
                                 .arg(process.exitCode());
            return result;
        }

        const QString outputFile = checkerOutputFile(programPath);
        try {
            const WorkspaceWriteScope write(lock);
            writeFileAtomically(outputFile, bytes);
        } catch (const UserError &e) {
            result.status = Result::SaveFailed;
            result.message = QStringLiteral("Die Ausgabe des ZugCheckers kann nicht gespeichert "
                                            "werden: ")
                + e.message();
            return result;
        }
        result.status = Result::Ran;
        result.exitCode = process.exitCode();
        return result;
    } catch (const std::bad_alloc &) {
        group.stop();
        result = Result();
        result.status = Result::NotStarted;
        result.message = QStringLiteral("Für die Ausgabe des ZugCheckers %1 reichte der Speicher "
                                        "nicht; die Prüfung wurde abgebrochen.")
                             .arg(shownProgram);
        return result;
    }
}

} // namespace tolvimar
