#include "importundo.h"

#include "../base/configuration.h"
#include "../base/errors.h"
#include "../base/filebatch.h"
#include "../base/workspacelock.h"
#include "../db/changelog.h"
#include "../db/database.h"
#include "../orders/orderfile.h"
#include "../orders/ordertemplate.h"
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

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tolvimar {

namespace {

const QString kTable = QStringLiteral("undo_imports");

void ensureTable(Database &db)
{
    db.exec(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS undo_imports (id INTEGER PRIMARY KEY, \"Spiel\" INTEGER NOT "
        "NULL, imported TEXT, report TEXT, folder TEXT, files TEXT, configuration TEXT, "
        "orders TEXT, orders_sha1 BLOB, changes BLOB)"));
}

bool tableExists(Database &db)
{
    QSqlQuery q(db.connection());
    q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"));
    q.addBindValue(kTable);
    return q.exec() && q.next();
}

QSqlQuery exec(Database &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db.connection());
    if (!q.prepare(sql))
        throw UserError(QStringLiteral("Datenbankfehler: %1").arg(q.lastError().text()));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw UserError(QStringLiteral("Datenbankfehler: %1").arg(q.lastError().text()));
    return q;
}

QString undoRoot(const QString &programPath)
{
    return QDir(programPath).filePath(QStringLiteral("undo"));
}

QByteArray sha1(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

// A second name for the file's content: the import then replaces the name, and the
// content stays here without a copy. Where the file system has no such names, a copy.
bool keepContent(const QString &source, const QString &target)
{
#ifdef Q_OS_UNIX
    if (::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
#endif
    return QFile::copy(source, target);
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString nothingMessage(int game)
{
    return QStringLiteral("Für Spiel %1 gibt es keinen Import, der rückgängig gemacht werden "
                          "kann.")
        .arg(game);
}

} // namespace

ImportUndoRecord::ImportUndoRecord(Session &session, const QString &reportPath)
    : m_session(session)
    , m_reportPath(reportPath)
    , m_token(QUuid::createUuid().toString(QUuid::Id128))
{
    const int game = session.game().number;
    const Configuration config = session.loadConfiguration();
    for (int offset = 0; offset < Configuration::kBlockLines; ++offset)
        m_configurationBlock.append(config.line(game, offset));
    ensureTable(session.database());
    m_recorder = std::make_unique<ChangeRecorder>(session.database());
}

ImportUndoRecord::~ImportUndoRecord()
{
    // Kept for an import that did not happen: nothing refers to them.
    if (!m_committed)
        QDir(keptDir()).removeRecursively();
}

QString ImportUndoRecord::keptDir() const
{
    return QDir(undoRoot(m_session.game().programPath)).filePath(m_token);
}

void ImportUndoRecord::keepFile(const QString &path)
{
    const QString relative = QDir(m_session.workspace().dir()).relativeFilePath(path);
    for (const KeptFile &f : m_files) {
        if (f.path == relative)
            return;
    }
    KeptFile kept {relative, QFileInfo(path).isFile()};
    if (kept.existed) {
        makeDirectory(keptDir());
        const QString target = QDir(keptDir()).filePath(QString::number(m_files.size()));
        if (!keepContent(path, target))
            throw UserError(QStringLiteral("Die Datei %1 kann für das Rückgängigmachen nicht "
                                           "aufbewahrt werden (%2).")
                                .arg(shown(path), shown(target)));
    }
    m_files.append(kept);
}

void ImportUndoRecord::setWrittenOrders(const QString &path, const QByteArray &bytes)
{
    m_ordersPath = QDir(m_session.workspace().dir()).relativeFilePath(path);
    m_ordersHash = sha1(bytes);
}

qint64 ImportUndoRecord::finish()
{
    Database &db = m_session.database();
    const QByteArray changes = m_recorder->finish();
    m_recorder.reset();
    QJsonArray files;
    qint64 bytes = changes.size();
    for (int i = 0; i < m_files.size(); ++i) {
        files.append(QJsonObject {{QStringLiteral("path"), m_files[i].path},
            {QStringLiteral("existed"), m_files[i].existed}});
        if (m_files[i].existed)
            bytes += QFileInfo(QDir(keptDir()).filePath(QString::number(i))).size();
    }
    const int game = m_session.game().number;
    exec(db,
        QStringLiteral("INSERT INTO undo_imports (\"Spiel\", imported, report, folder, files, "
                       "configuration, orders, orders_sha1, changes) VALUES (?, ?, ?, ?, ?, ?, ?, "
                       "?, ?)"),
        {game, QDateTime::currentDateTime().toString(Qt::ISODate),
            QFileInfo(m_reportPath).fileName(), m_token,
            QString::fromUtf8(QJsonDocument(files).toJson(QJsonDocument::Compact)),
            m_configurationBlock.join(u'\n'), m_ordersPath, m_ordersHash, changes});

    QSqlQuery older = exec(db,
        QStringLiteral("SELECT id, folder FROM undo_imports WHERE \"Spiel\" = ? ORDER BY id DESC"),
        {game});
    QVariantList dropped;
    for (int n = 0; older.next(); ++n) {
        if (n < kKeptPerSlot)
            continue;
        dropped.append(older.value(0));
        m_droppedTokens.append(older.value(1).toString());
    }
    for (const QVariant &id : dropped)
        exec(db, QStringLiteral("DELETE FROM undo_imports WHERE id = ?"), {id});
    m_finished = true;
    return bytes;
}

void ImportUndoRecord::committed()
{
    m_committed = m_finished;
    const QString root = undoRoot(m_session.game().programPath);
    for (const QString &token : m_droppedTokens) {
        if (!token.isEmpty())
            QDir(QDir(root).filePath(token)).removeRecursively();
    }
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
    QSqlQuery q = exec(db, QStringLiteral("SELECT count(*) FROM undo_imports WHERE \"Spiel\" = ?"),
        {m_session.game().number});
    return q.next() ? q.value(0).toInt() : 0;
}

bool ImportUndo::ordersEditedSinceImport(const QString &orderPath)
{
    Database &db = m_session.database();
    if (!QFileInfo(orderPath).isFile() || !tableExists(db))
        return false;
    const QString relative = QDir(m_session.workspace().dir()).relativeFilePath(orderPath);
    QSqlQuery q = exec(db,
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
    QSqlQuery last = exec(db,
        QStringLiteral("SELECT id, imported, report, folder, files, configuration, orders, "
                       "orders_sha1, changes FROM undo_imports WHERE \"Spiel\" = ? ORDER BY id "
                       "DESC LIMIT 1"),
        {game.number});
    if (!last.next())
        return {Result::NothingToUndo, nothingMessage(game.number)};
    const QVariant id = last.value(0);
    const QString when = QDateTime::fromString(last.value(1).toString(), Qt::ISODate)
                             .toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    const QString report = last.value(2).toString();
    const QString keptDir = QDir(undoRoot(game.programPath)).filePath(last.value(3).toString());
    const QJsonArray files = QJsonDocument::fromJson(last.value(4).toString().toUtf8()).array();
    const QStringList block = last.value(5).toString().split(u'\n');
    const QString ordersRelative = last.value(6).toString();
    const QByteArray ordersHash = last.value(7).toByteArray();
    const QByteArray changes = last.value(8).toByteArray();
    last.finish();

    // The rows first; then the files are staged beside their targets, which they
    // replace only after the commit.
    Transaction transaction(db);
    revertChanges(db, changes);
    exec(db, QStringLiteral("DELETE FROM undo_imports WHERE id = ?"), {id});

    const QDir workspace(m_session.workspace().dir());
    FileBatch batch;
    QStringList notes;
    QString handledBackup;
    // An order file changed since the import keeps the player's work beside it.
    const QString ordersPath
        = ordersRelative.isEmpty() ? QString() : workspace.absoluteFilePath(ordersRelative);
    bool ordersBackedUp = false;
    if (!ordersPath.isEmpty() && QFileInfo(ordersPath).isFile()) {
        QFile current(ordersPath);
        if (!current.open(QIODevice::ReadOnly))
            throw UserError(QStringLiteral("Die Zugvorlage %1 kann nicht gelesen werden: %2")
                                .arg(shown(ordersPath), current.errorString()));
        const QByteArray bytes = current.readAll();
        if (sha1(bytes) != ordersHash) {
            handledBackup = ordersPath + QStringLiteral(".bak");
            batch.stage(handledBackup, bytes);
            ordersBackedUp = true;
            notes.append(QStringLiteral("Die nach dem Import bearbeitete Zugvorlage %1 wurde als "
                                        "%2 aufbewahrt.")
                             .arg(shown(ordersPath), shown(handledBackup)));
        }
    }
    auto restore = [&](int index, const QString &path, bool existed, bool afterPrevious) {
        if (!existed) {
            batch.stageRemoval(path, afterPrevious);
            return;
        }
        QFile kept(QDir(keptDir).filePath(QString::number(index)));
        if (!kept.open(QIODevice::ReadOnly))
            throw UserError(QStringLiteral("Die aufbewahrte Fassung von %1 fehlt (%2).")
                                .arg(shown(path), kept.errorString()));
        batch.stage(path, kept.readAll(), afterPrevious);
    };
    // The order file right after its backup: it is replaced only if the backup was.
    for (int i = 0; i < files.size(); ++i) {
        const QJsonObject f = files[i].toObject();
        const QString path = workspace.absoluteFilePath(f.value(QStringLiteral("path")).toString());
        if (path == ordersPath)
            restore(i, path, f.value(QStringLiteral("existed")).toBool(), ordersBackedUp);
    }
    for (int i = 0; i < files.size(); ++i) {
        const QJsonObject f = files[i].toObject();
        const QString path = workspace.absoluteFilePath(f.value(QStringLiteral("path")).toString());
        if (path != ordersPath && path != handledBackup)
            restore(i, path, f.value(QStringLiteral("existed")).toBool(), false);
    }
    Configuration config = m_session.loadConfiguration();
    for (int offset = 0; offset < block.size() && offset < Configuration::kBlockLines; ++offset)
        config.setLine(game.number, offset, block[offset]);
    batch.stage(config.filePath(), config.fileBytes());
    transaction.commit();

    const QList<FileBatch::Failure> failures = batch.publish();
    QDir(keptDir).removeRecursively();
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
