#include "filebatch.h"

#include "errors.h"
#include "faultinjection.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
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

// What lies in a path's place when it is no regular file or folder; empty otherwise.
QString specialKind(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return QString();
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("eine FIFO");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("ein Gerät");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("ein Socket");
    return QString();
#else
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir() ? QStringLiteral("ein Gerät")
                                                            : QString();
#endif
}

// The file a path names: a symbolic link is followed to its target (which may not
// exist yet), so that the write replaces the target and the link stays.
QString resolvedTarget(const QString &path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        current = info.symLinkTarget();
        if (current.isEmpty())
            break;
    }
    throw writeError(path, QStringLiteral("zu viele symbolische Verknüpfungen hintereinander"));
}

// Throws when the target cannot be replaced by a regular file.
void checkTarget(const QString &shownPath, const QString &target)
{
    const QFileInfo info(target);
    if (info.isDir())
        throw writeError(shownPath, QStringLiteral("an ihrer Stelle liegt ein Verzeichnis"));
    const QString kind = specialKind(target);
    if (!kind.isEmpty())
        throw writeError(shownPath,
            QStringLiteral("an ihrer Stelle liegt %1, keine gewöhnliche Datei; sie wird nicht "
                           "ersetzt")
                .arg(kind));
}

// Writes straight to a file's descriptor and keeps the system's reason when the disk
// refuses: QFile takes a short write for success and, after it, has no reason to give.
class FileSink : public QIODevice
{
public:
    explicit FileSink(QFile &file)
        : m_file(file)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    const QString &failure() const { return m_failure; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        if (!m_failure.isEmpty())
            return -1;
#ifdef Q_OS_UNIX
        qint64 done = 0;
        while (done < length) {
            const ssize_t n = ::write(m_file.handle(), data + done, size_t(length - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                fail(QString::fromLocal8Bit(std::strerror(n < 0 ? errno : ENOSPC)));
                return -1;
            }
            done += n;
        }
        return done;
#else
        if (m_file.write(data, length) != length) {
            fail(m_file.errorString());
            return -1;
        }
        return length;
#endif
    }

private:
    void fail(const QString &reason)
    {
        m_failure = reason;
        setErrorString(reason);
    }

    QFile &m_file;
    QString m_failure;
};

void writeTemporary(const QString &shownPath, const QString &target, const QString &temporary,
    const FileBatch::Writer &writer)
{
    checkTarget(shownPath, target);
    makeDirectory(QFileInfo(target).absolutePath());
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        throw writeError(shownPath, file.errorString());
    FileSink sink(file);
    QString reason = writer(sink);
    bool ok = reason.isEmpty() && sink.failure().isEmpty();
    // The disk's reason says more than a writer's "device error".
    if (!sink.failure().isEmpty())
        reason = sink.failure();
    if (ok && FaultInjection::failsWrite(target)) {
        ok = false;
        reason = QString::fromLocal8Bit(std::strerror(ENOSPC));
    }
    if (ok) {
        reason = syncToDisk(file);
        ok = reason.isEmpty();
    }
    file.close();
    if (ok && file.error() != QFileDevice::NoError) {
        ok = false;
        reason = file.errorString();
    }
    if (!ok) {
        QFile::remove(temporary);
        if (reason.isEmpty() || reason == u"Unknown error")
            reason = QStringLiteral("unbekannter Fehler beim Schreiben");
        throw writeError(shownPath, reason);
    }
}

FileBatch::Writer bytesWriter(const QByteArray &bytes)
{
    return [&bytes](QIODevice &device) {
        return device.write(bytes) == bytes.size() ? QString() : device.errorString();
    };
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
    const QString target = resolvedTarget(path);
    Entry entry {target, temporaryName(target), afterPrevious, false, path};
    writeTemporary(path, entry.target, entry.temporary, bytesWriter(bytes));
    entry.sha1 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
    m_entries.append(entry);
}

void FileBatch::stageWith(const QString &path, const Writer &writer)
{
    const QString target = resolvedTarget(path);
    Entry entry {target, temporaryName(target), false, false, path};
    writeTemporary(path, entry.target, entry.temporary, writer);
    m_entries.append(entry);
}

void FileBatch::stageRemoval(const QString &path, bool afterPrevious)
{
    Entry entry {path, QString(), afterPrevious, false, path};
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
        FaultInjection::killPoint(e.target);
        QString error;
        if (e.afterPrevious && !previousPublished)
            error = QStringLiteral("nicht ersetzt, weil die Datei davor fehlt");
        else if (e.removal)
            error = removeTarget(e.target);
        else if (e.resumed && !QFileInfo::exists(e.temporary))
            error = QString(); // renamed before the program was stopped
        else
            error = renameOnto(e.temporary, e.target);
        e.done = true;
        previousPublished = error.isEmpty();
        if (!error.isEmpty()) {
            if (!e.removal)
                QFile::remove(e.temporary);
            failures.append({e.path, error});
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
            targets.append(e.path);
    }
    return targets;
}

QByteArray FileBatch::stagedHash(const QString &path) const
{
    for (const Entry &e : m_entries) {
        if (!e.done && !e.removal && e.path == path)
            return e.sha1;
    }
    return QByteArray();
}

QList<FileBatch::Step> FileBatch::steps() const
{
    QList<Step> list;
    for (const Entry &e : m_entries) {
        if (!e.done)
            list.append({e.target, e.temporary, e.path, e.afterPrevious, e.removal});
    }
    return list;
}

void FileBatch::resume(const QList<Step> &steps)
{
    for (const Step &s : steps) {
        Entry entry {s.target, s.temporary, s.afterPrevious, false, s.path};
        entry.removal = s.removal;
        entry.resumed = true;
        m_entries.append(entry);
    }
}

QString unusedBackupPath(const QString &path, const QStringList &taken)
{
    const QString base = path + QStringLiteral(".bak");
    auto used = [&](const QString &name) {
        const QFileInfo info(name);
        return info.exists() || info.isSymLink() || taken.contains(name);
    };
    if (!used(base))
        return base;
    for (int n = 1;; ++n) {
        const QString numbered = base + QStringLiteral(".%1").arg(n);
        if (!used(numbered))
            return numbered;
    }
}

QString removeTree(const QString &dir)
{
    // remove_all removes a symbolic link itself and does not descend through one.
    std::error_code ec;
    std::filesystem::remove_all(fsPath(dir), ec);
    return ec ? systemText(ec) : QString();
}

void writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    writeFileAtomically(path, bytesWriter(bytes));
}

void writeFileAtomically(const QString &path, const FileBatch::Writer &writer)
{
    FileBatch batch;
    batch.stageWith(path, writer);
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
