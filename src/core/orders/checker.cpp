#include "checker.h"

#include "../base/errors.h"
#include "../base/gamefiles.h"
#include "../base/textfile.h"
#include "../base/workspace.h"
#include "orderfile.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTimer>

namespace tolvimar {

OrderChecker::OrderChecker(const ActiveGame &game)
    : m_game(game)
{
}

QString OrderChecker::checkerProgram() const
{
    const QString path = m_game.checkerPath.trimmed();
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    return joinProgramPath(m_game.programPath, path);
}

OrderChecker::Result OrderChecker::run(OrderFile &orderFile, int timeoutMs)
{
    Result result;
    try {
        orderFile.save();
    } catch (const UserError &e) {
        result.status = Result::SaveFailed;
        result.message = e.message();
        return result;
    }

    const QString program = checkerProgram();
    const QString shown = QDir::toNativeSeparators(program);
    if (program.isEmpty()) {
        result.status = Result::NoPath;
        result.message = QStringLiteral("Es ist kein Pfad zum externen ZugChecker eingestellt "
                                        "(Datei → Optionen → \"Path zum externen ZugChecker:\").");
        return result;
    }
    const QFileInfo info(program);
    if (!info.exists() || info.isDir()) {
        result.status = Result::Missing;
        result.message = QStringLiteral("Der ZugChecker %1 wurde nicht gefunden.").arg(shown);
        return result;
    }
    if (!info.isExecutable()) {
        result.status = Result::NotExecutable;
        result.message = QStringLiteral("Der ZugChecker %1 ist nicht ausführbar.").arg(shown);
        return result;
    }

    const QString programPath = m_game.programPath;
    QProcess process;
    process.setProgram(info.absoluteFilePath());
    process.setArguments({QFileInfo(orderFile.path()).fileName()});
    process.setWorkingDirectory(programPath);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    process.start();
    timer.start(timeoutMs);
    if (process.state() != QProcess::NotRunning || process.error() != QProcess::FailedToStart)
        loop.exec();

    if (process.error() == QProcess::FailedToStart) {
        result.status = Result::NotStarted;
        result.message = QStringLiteral("Der ZugChecker %1 konnte nicht gestartet werden: %2")
                             .arg(shown, process.errorString());
        return result;
    }
    if (timedOut) {
        process.kill();
        process.waitForFinished(5000);
        result.status = Result::TimedOut;
        result.message = QStringLiteral(
            "Der ZugChecker %1 hat nach %2 Sekunden nicht geantwortet und wurde beendet.")
                             .arg(shown)
                             .arg(timeoutMs / 1000.0);
        return result;
    }

    const QByteArray output = process.readAll();
    const QString outputFile = checkerOutputFile(programPath);
    QDir().mkpath(QFileInfo(outputFile).absolutePath());
    QSaveFile file(outputFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(output) != output.size() || !file.commit()) {
        result.status = Result::SaveFailed;
        result.message = QStringLiteral(
            "Die Ausgabe des ZugCheckers kann nicht nach %1 geschrieben werden: %2")
                             .arg(QDir::toNativeSeparators(outputFile), file.errorString());
        return result;
    }
    result.status = Result::Ran;
    result.output = decodeText(output);
    return result;
}

} // namespace tolvimar
