#include "filebatch.h"

#include "errors.h"
#include "faultinjection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tolvimar {

namespace {

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString systemText(const std::error_code &ec)
{
    return QString::fromLocal8Bit(ec.message());
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

UserError writeError(const QString &path, const QString &reason)
{
    return UserError(
        QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2").arg(shown(path), reason));
}

// A name beside the target that no other writer uses.
QString temporaryName(const QString &target)
{
    static std::atomic<int> counter {0};
    return target
        + QStringLiteral(".tmp-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

// A full disk may show only here, when the data is really written; returns the reason.
QString syncToDisk(QFile &file)
{
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
#else
    Q_UNUSED(file);
#endif
    return QString();
}

void writeTemporary(const QString &target, const QString &temporary, const QByteArray &bytes)
{
    const QFileInfo info(target);
    if (info.isDir())
        throw writeError(target, QStringLiteral("an ihrer Stelle liegt ein Verzeichnis"));
    makeDirectory(info.absolutePath());
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw writeError(target, file.errorString());
    bool ok = file.write(bytes) == bytes.size() && file.flush();
    QString reason = file.errorString();
    if (ok && FaultInjection::failsWrite(target)) {
        ok = false;
        reason = QString::fromLocal8Bit(std::strerror(ENOSPC));
    }
    if (ok) {
        reason = syncToDisk(file);
        ok = reason.isEmpty();
    }
    file.close();
    if (!ok) {
        QFile::remove(temporary);
        throw writeError(target, reason);
    }
}

// Replaces the target by the temporary; an empty result means it worked.
QString renameOnto(const QString &temporary, const QString &target)
{
    if (FaultInjection::failsRename(target))
        return QString::fromLocal8Bit(std::strerror(EIO));
    std::error_code ec;
    std::filesystem::rename(fsPath(temporary), fsPath(target), ec);
    return ec ? systemText(ec) : QString();
}

// Removes the target; an empty result means it is gone (or was never there).
QString removeTarget(const QString &target)
{
    std::error_code ec;
    std::filesystem::remove(fsPath(target), ec);
    return ec ? systemText(ec) : QString();
}

} // namespace

FileBatch::~FileBatch()
{
    discard();
}

void FileBatch::stage(const QString &path, const QByteArray &bytes, bool afterPrevious)
{
    Entry entry {path, temporaryName(path), afterPrevious};
    writeTemporary(entry.target, entry.temporary, bytes);
    m_entries.append(entry);
}

void FileBatch::stageRemoval(const QString &path, bool afterPrevious)
{
    Entry entry {path, QString(), afterPrevious};
    entry.removal = true;
    m_entries.append(entry);
}

void FileBatch::discard()
{
    for (Entry &e : m_entries) {
        if (!e.done && !e.removal)
            QFile::remove(e.temporary);
        e.done = true;
    }
    m_entries.clear();
}

QList<FileBatch::Failure> FileBatch::publish()
{
    QList<Failure> failures;
    bool previousPublished = true;
    for (Entry &e : m_entries) {
        if (e.done)
            continue;
        QString error;
        if (e.afterPrevious && !previousPublished)
            error = QStringLiteral("nicht ersetzt, weil die Datei davor fehlt");
        else if (e.removal)
            error = removeTarget(e.target);
        else
            error = renameOnto(e.temporary, e.target);
        e.done = true;
        previousPublished = error.isEmpty();
        if (!error.isEmpty()) {
            if (!e.removal)
                QFile::remove(e.temporary);
            failures.append({e.target, error});
        }
    }
    m_entries.clear();
    return failures;
}

QStringList FileBatch::pending() const
{
    QStringList targets;
    for (const Entry &e : m_entries) {
        if (!e.done)
            targets.append(e.target);
    }
    return targets;
}

void writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    FileBatch batch;
    batch.stage(path, bytes);
    const QList<FileBatch::Failure> failures = batch.publish();
    if (!failures.isEmpty())
        throw writeError(path, failures.first().error);
}

void makeDirectory(const QString &dir)
{
    const QFileInfo info(dir);
    if (info.isDir())
        return;
    std::error_code ec;
    std::filesystem::create_directories(fsPath(dir), ec);
    if (!ec && QFileInfo(dir).isDir())
        return;
    QString reason = ec ? systemText(ec) : QString();
    // The first part of the path that exists and is not a folder is the usual cause.
    for (QFileInfo part(dir); !part.isRoot() && !part.filePath().isEmpty();
         part = QFileInfo(part.absolutePath())) {
        if (part.exists() && !part.isDir()) {
            reason = QStringLiteral("an der Stelle von %1 liegt eine Datei")
                         .arg(shown(part.absoluteFilePath()));
            break;
        }
        if (part.exists())
            break;
    }
    throw UserError(
        QStringLiteral("Der Ordner %1 kann nicht angelegt werden: %2")
            .arg(shown(dir), reason.isEmpty() ? QStringLiteral("unbekannter Grund") : reason));
}

} // namespace tolvimar
