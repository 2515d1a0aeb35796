#include "importundo.h"

#include "../base/configuration.h"
#include "../base/errors.h"
#include "../base/filebatch.h"
#include "../base/textfile.h"
#include "../base/workspacelock.h"
#include "../db/boundquery.h"
#include "../db/changelog.h"
#include "../db/database.h"
#include "../orders/orderfile.h"
#include "../orders/ordertemplate.h"
#include "filestep.h"
#include "session.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tolvimar {

namespace {

const QString kTable = QStringLiteral("undo_imports");

bool hasColumn(Database &db, const QString &column)
{
    QSqlQuery q(db.connection());
    if (!q.exec(QStringLiteral("PRAGMA table_info(undo_imports)")))
        return false;
    while (q.next()) {
        if (q.value(1).toString() == column)
            return true;
    }
    return false;
}

void ensureTable(Database &db)
{
    db.exec(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS undo_imports (id INTEGER PRIMARY KEY, \"Spiel\" INTEGER NOT "
        "NULL, imported TEXT, report TEXT, folder TEXT, files TEXT, configuration TEXT, "
        "orders TEXT, orders_sha1 BLOB, changes BLOB, configuration_after TEXT)"));
    // Records written before the block after the import was kept lack its column.
    if (!hasColumn(db, QStringLiteral("configuration_after")))
        db.exec(QStringLiteral("ALTER TABLE undo_imports ADD COLUMN configuration_after TEXT"));
}

bool tableExists(Database &db)
{
    QSqlQuery q(db.connection());
    q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"));
    q.addBindValue(kTable);
    return q.exec() && q.next();
}

QString undoRoot(const QString &programPath)
{
    return QDir(programPath).filePath(QStringLiteral("undo"));
}

QByteArray sha1(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A folder of kept imports is the program's own: a real folder, no symbolic link to
// somewhere else (whose files an undo would read and delete). Empty when it is; else
// why not. A missing folder is its own.
QString notOwnFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isSymLink())
        return QStringLiteral("%1 ist eine symbolische Verknüpfung").arg(shown(folder));
    if (info.exists() && !info.isDir())
        return QStringLiteral("an der Stelle von %1 liegt kein Ordner").arg(shown(folder));
    return QString();
}

// A folder name of a record: a plain name inside the undo folder.
bool plainName(const QString &token)
{
    return !token.isEmpty() && token != u"." && token != u".." && !token.contains(u'/')
        && !token.contains(u'\\');
}

// A second name for the file's content (through a symbolic link, of the file it
// names): the import then replaces the file, and the content stays here without a
// copy. Where the file system has no such names, a copy.
bool keepContent(const QString &source, const QString &target)
{
#ifdef Q_OS_UNIX
    if (::linkat(AT_FDCWD, QFile::encodeName(source).constData(), AT_FDCWD,
            QFile::encodeName(target).constData(), AT_SYMLINK_FOLLOW)
        == 0)
        return true;
#endif
    return QFile::copy(source, target);
}

// Reads a kept file: only a regular file that is no symbolic link, of the size it had
// when kept (anything else was put there by someone else). A FIFO or a device is
// not even opened for reading.
QByteArray readKeptFile(const QString &keptPath, const QString &forPath, qint64 size)
{
    auto refused = [&](const QString &reason) {
        return UserError(QStringLiteral("Die aufbewahrte Fassung von %1 kann nicht gelesen "
                                        "werden: %2 (%3).")
                             .arg(shown(forPath), reason, shown(keptPath)));
    };
    const qint64 limit = size >= 0 ? size : kMaxTextFileBytes;
    QFile file;
#ifdef Q_OS_UNIX
    const int fd = ::open(
        QFile::encodeName(keptPath).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP)
            throw refused(QStringLiteral("sie ist eine symbolische Verknüpfung"));
        if (errno == ENOENT)
            throw refused(QStringLiteral("sie fehlt"));
        throw refused(QString::fromLocal8Bit(std::strerror(errno)));
    }
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw refused(QStringLiteral("sie ist keine gewöhnliche Datei"));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw refused(file.errorString());
    }
#else
    if (QFileInfo(keptPath).isSymLink())
        throw refused(QStringLiteral("sie ist eine symbolische Verknüpfung"));
    file.setFileName(keptPath);
    if (!QFileInfo(keptPath).isFile() || !file.open(QIODevice::ReadOnly))
        throw refused(QStringLiteral("sie fehlt oder ist keine gewöhnliche Datei"));
#endif
    if (file.size() > limit || (size >= 0 && file.size() != size))
        throw refused(QStringLiteral("sie wurde seit dem Import verändert"));
    const QByteArray bytes = file.read(limit + 1);
    if (bytes.size() > limit || (size >= 0 && bytes.size() != size))
        throw refused(QStringLiteral("sie wurde seit dem Import verändert"));
    return bytes;
}

QStringList configurationBlock(const Configuration &config, int game)
{
    QStringList block;
    for (int offset = 0; offset < Configuration::kBlockLines; ++offset)
        block.append(config.line(game, offset));
    return block;
}

QString nothingMessage(int game)
{
    return QStringLiteral("Für Spiel %1 gibt es keinen Import, der rückgängig gemacht werden "
                          "kann.")
        .arg(game);
}

} // namespace

ImportUndoRecord::ImportUndoRecord(Session &session, Database &db, const QString &reportPath)
    : m_session(session)
    , m_db(db)
    , m_reportPath(reportPath)
    , m_token(QUuid::createUuid().toString(QUuid::Id128))
{
    const QString root = undoRoot(session.game().programPath);
    if (const QString reason = notOwnFolder(root); !reason.isEmpty())
        throw UserError(QStringLiteral("Der Ordner der aufbewahrten Importe ist nicht der eigene: "
                                       "%1. Ohne ihn kann der Import nicht rückgängig gemacht "
                                       "werden; bitte die Verknüpfung entfernen.")
                            .arg(reason));
    m_configurationBlock = configurationBlock(session.loadConfiguration(), session.game().number);
    ensureTable(db);
    m_recorder = std::make_unique<ChangeRecorder>(db);
}

ImportUndoRecord::~ImportUndoRecord()
{
    // Kept for an import that did not happen: nothing refers to them.
    if (!m_committed)
        removeTree(keptDir());
}

QString ImportUndoRecord::keptDir() const
{
    return QDir(undoRoot(m_session.game().programPath)).filePath(m_token);
}

void ImportUndoRecord::keepFile(const QString &path, const QByteArray &writtenSha1)
{
    const QString relative = QDir(m_session.workspace().dir()).relativeFilePath(path);
    for (const KeptFile &f : m_files) {
        if (f.path == relative)
            return;
    }
    const QFileInfo info(path);
    KeptFile kept {relative, info.isFile(), info.isFile() ? info.size() : 0, writtenSha1};
    if (kept.existed) {
        makeDirectory(keptDir());
        const QString target = QDir(keptDir()).filePath(QString::number(m_files.size()));
        if (!keepContent(path, target))
            throw UserError(QStringLiteral("Die Datei %1 kann für das Rückgängigmachen nicht "
                                           "aufbewahrt werden (%2).")
                                .arg(shown(path), shown(target)));
        kept.size = QFileInfo(target).size();
    }
    m_files.append(kept);
}

void ImportUndoRecord::setWrittenOrders(const QString &path, const QByteArray &bytes)
{
    m_ordersPath = QDir(m_session.workspace().dir()).relativeFilePath(path);
    m_ordersHash = sha1(bytes);
}

void ImportUndoRecord::setWrittenConfiguration(const Configuration &config)
{
    m_writtenBlock = configurationBlock(config, m_session.game().number);
}

qint64 ImportUndoRecord::finish(FileStepJournal &journal)
{
    Database &db = m_db;
    const QByteArray changes = m_recorder->finish();
    m_recorder.reset();
    QJsonArray files;
    qint64 bytes = changes.size();
    for (const KeptFile &f : m_files) {
        QJsonObject file {{QStringLiteral("path"), f.path}, {QStringLiteral("existed"), f.existed}};
        if (f.existed)
            file.insert(QStringLiteral("size"), f.size);
        if (!f.writtenSha1.isEmpty())
            file.insert(QStringLiteral("sha1"), QString::fromLatin1(f.writtenSha1.toHex()));
        files.append(file);
        bytes += f.size;
    }
    const int game = m_session.game().number;
    execBound(db,
        QStringLiteral("INSERT INTO undo_imports (\"Spiel\", imported, report, folder, files, "
                       "configuration, orders, orders_sha1, changes, configuration_after) VALUES "
                       "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {game, QDateTime::currentDateTime().toString(Qt::ISODate),
            QFileInfo(m_reportPath).fileName(), m_token,
            QString::fromUtf8(QJsonDocument(files).toJson(QJsonDocument::Compact)),
            m_configurationBlock.join(u'\n'), m_ordersPath, m_ordersHash, changes,
            m_writtenBlock.isEmpty() ? QVariant() : QVariant(m_writtenBlock.join(u'\n'))});

    QSqlQuery older = execBound(db,
        QStringLiteral("SELECT id, folder FROM undo_imports WHERE \"Spiel\" = ? ORDER BY id DESC"),
        {game});
    QVariantList dropped;
    const QString root = undoRoot(m_session.game().programPath);
    for (int n = 0; older.next(); ++n) {
        if (n < kKeptPerSlot)
            continue;
        dropped.append(older.value(0));
        const QString token = older.value(1).toString();
        if (plainName(token))
            journal.removeAfterCommit(QDir(root).filePath(token));
    }
    for (const QVariant &id : dropped)
        execBound(db, QStringLiteral("DELETE FROM undo_imports WHERE id = ?"), {id});
    journal.removeAfterRollback(keptDir());
    m_finished = true;
    return bytes;
}

void ImportUndoRecord::committed()
{
    m_committed = m_finished;
}

ImportUndo::ImportUndo(Session &session)
    : m_session(session)
{
}

int ImportUndo::available()
{
    Database &db = m_session.database();
    if (!tableExists(db))
        return 0;
    QSqlQuery q
        = execBound(db, QStringLiteral("SELECT count(*) FROM undo_imports WHERE \"Spiel\" = ?"),
            {m_session.game().number});
    return q.next() ? q.value(0).toInt() : 0;
}

bool ImportUndo::ordersEditedSinceImport(const QString &orderPath)
{
    Database &db = m_session.database();
    if (!QFileInfo(orderPath).isFile() || !tableExists(db))
        return false;
    const QString relative = QDir(m_session.workspace().dir()).relativeFilePath(orderPath);
    QSqlQuery q = execBound(db,
        QStringLiteral("SELECT orders_sha1 FROM undo_imports WHERE \"Spiel\" = ? AND orders = ? "
                       "ORDER BY id DESC LIMIT 1"),
        {m_session.game().number, relative});
    if (!q.next())
        return false;
    const QByteArray written = q.value(0).toByteArray();
    QFile file(orderPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return sha1(file.readAll()) != written;
}

ImportUndo::Result ImportUndo::undoLastImport()
{
    try {
        return run();
    } catch (const UserError &e) {
        return {Result::Failed,
            e.message() + QStringLiteral("\nDer Import wurde nicht rückgängig gemacht.")};
    } catch (const std::bad_alloc &) {
        return {Result::Failed,
            QStringLiteral("Der Speicher reichte nicht; der Import wurde nicht rückgängig "
                           "gemacht.")};
    }
}

ImportUndo::Result ImportUndo::run()
{
    const ActiveGame game = m_session.game();
    // Orders edited in the window go to their file first, so that they are kept below.
    if (!m_session.orderTemplate().isSaved() && !m_session.orderTemplate().isEmpty())
        m_session.orderFile().save();

    const WorkspaceWriteScope write(&m_session.workspaceLock());
    Database &db = m_session.database();
    if (!tableExists(db))
        return {Result::NothingToUndo, nothingMessage(game.number)};
    ensureTable(db);
    QSqlQuery last = execBound(db,
        QStringLiteral("SELECT id, imported, report, folder, files, configuration, orders, "
                       "orders_sha1, changes, configuration_after FROM undo_imports WHERE "
                       "\"Spiel\" = ? ORDER BY id DESC LIMIT 1"),
        {game.number});
    if (!last.next())
        return {Result::NothingToUndo, nothingMessage(game.number)};
    const QVariant id = last.value(0);
    const QString when = QDateTime::fromString(last.value(1).toString(), Qt::ISODate)
                             .toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    const QString report = last.value(2).toString();
    const QString token = last.value(3).toString();
    const QString root = undoRoot(game.programPath);
    const QString keptDir = QDir(root).filePath(token);
    const QJsonArray files = QJsonDocument::fromJson(last.value(4).toString().toUtf8()).array();
    const QStringList block = last.value(5).toString().split(u'\n');
    const QString ordersRelative = last.value(6).toString();
    const QByteArray ordersHash = last.value(7).toByteArray();
    const QByteArray changes = last.value(8).toByteArray();
    const QStringList writtenBlock
        = last.value(9).isNull() ? QStringList() : last.value(9).toString().split(u'\n');
    last.finish();

    // The kept files are read only from the record's own folder.
    if (!plainName(token))
        throw UserError(QStringLiteral("Die aufbewahrte Fassung des Imports von %1 hat keinen "
                                       "gültigen Ordner (\"%2\").")
                            .arg(report, token));
    for (const QString &folder : {root, keptDir}) {
        if (const QString reason = notOwnFolder(folder); !reason.isEmpty())
            throw UserError(QStringLiteral("Die aufbewahrte Fassung des Imports von %1 liegt nicht "
                                           "im eigenen Ordner: %2.")
                                .arg(report, reason));
    }

    // The rows first; then the files are staged beside their targets, which they
    // replace only after the commit.
    Transaction transaction(db);
    FileStepJournal journal(db, m_session.workspace().dir());
    revertChanges(db, changes);
    execBound(db, QStringLiteral("DELETE FROM undo_imports WHERE id = ?"), {id});

    const QDir workspace(m_session.workspace().dir());
    Configuration config = m_session.loadConfiguration();
    const QString configPath = QDir::cleanPath(QFileInfo(config.filePath()).absoluteFilePath());
    const QString ordersPath = ordersRelative.isEmpty()
        ? QString()
        : QDir::cleanPath(workspace.absoluteFilePath(ordersRelative));
    QStringList listed;
    for (const QJsonValue &v : files)
        listed.append(QDir::cleanPath(
            workspace.absoluteFilePath(v.toObject().value(QStringLiteral("path")).toString())));

    FileBatch batch;
    QStringList notes;
    // A file changed since the import (the order file edited, a status file by hand)
    // is kept beside it under a backup name that overwrites nothing; the file is then
    // replaced only if its backup was written.
    auto keepChanged = [&](const QString &path, const QByteArray &written) {
        if (written.isEmpty() || !QFileInfo(path).isFile())
            return false;
        const QByteArray bytes = readRegularFile(path);
        if (sha1(bytes) == written)
            return false;
        const QString backup = unusedBackupPath(path, listed);
        batch.stage(backup, bytes);
        listed.append(backup);
        notes.append(
            (path == ordersPath ? QStringLiteral("Die nach dem Import bearbeitete Zugvorlage %1 "
                                                 "wurde als %2 aufbewahrt.")
                                : QStringLiteral("Die nach dem Import geänderte Datei %1 wurde als "
                                                 "%2 aufbewahrt."))
                .arg(shown(path), shown(backup)));
        return true;
    };
    for (int i = 0; i < files.size(); ++i) {
        const QJsonObject f = files[i].toObject();
        const QString &path = listed[i];
        // The configuration file is written below, with the slot's block only.
        if (path == configPath)
            continue;
        QByteArray written
            = QByteArray::fromHex(f.value(QStringLiteral("sha1")).toString().toLatin1());
        if (written.isEmpty() && path == ordersPath)
            written = ordersHash;
        const bool backedUp = keepChanged(path, written);
        if (!f.value(QStringLiteral("existed")).toBool()) {
            batch.stageRemoval(path, backedUp);
            continue;
        }
        const qint64 size = f.contains(QStringLiteral("size"))
            ? qint64(f.value(QStringLiteral("size")).toDouble())
            : -1;
        batch.stage(
            path, readKeptFile(QDir(keptDir).filePath(QString::number(i)), path, size), backedUp);
    }
    // The slot's block as before the import, except lines the player changed since.
    for (int offset = 0; offset < block.size() && offset < Configuration::kBlockLines; ++offset) {
        if (offset < writtenBlock.size()
            && config.line(game.number, offset) != writtenBlock[offset])
            continue;
        config.setLine(game.number, offset, block[offset]);
    }
    batch.stage(config.filePath(), config.fileBytes());
    journal.removeAfterCommit(keptDir);
    journal.prepare(batch);
    transaction.commit();

    const QList<FileBatch::Failure> failures = journal.publish(batch);
    QStringList text {QStringLiteral("Der Import von %1 (eingelesen am %2) wurde rückgängig "
                                     "gemacht.")
                          .arg(report, when)};
    if (!failures.isEmpty()) {
        text.append(QStringLiteral("Diese Dateien zeigen noch den Stand nach dem Import:"));
        for (const FileBatch::Failure &f : failures)
            text.append(QStringLiteral("  %1: %2").arg(shown(f.path), f.error));
    }
    text += notes;
    m_session.reopenGame();
    return {Result::Undone, text.join(u'\n')};
}

} // namespace tolvimar
