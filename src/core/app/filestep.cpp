#include "filestep.h"

#include "../base/errors.h"
#include "../base/textfile.h"
#include "../db/boundquery.h"
#include "../db/database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace tolvimar {

namespace {

constexpr qint64 kMaxJournalBytes = qint64(16) << 20;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool committedToken(Database &db, const QString &token)
{
    QSqlQuery q(db.connection());
    q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"));
    q.addBindValue(QStringLiteral("file_steps"));
    if (!q.exec() || !q.next())
        return false;
    QSqlQuery t(db.connection());
    t.prepare(QStringLiteral("SELECT 1 FROM file_steps WHERE token = ?"));
    t.addBindValue(token);
    return t.exec() && t.next();
}

QJsonArray strings(const QStringList &list)
{
    QJsonArray array;
    for (const QString &s : list)
        array.append(s);
    return array;
}

// Only what a step of this program can have written is touched: a temporary is named
// after its target, and a folder removed is a kept import's, a plain name inside a
// real "undo" folder.
bool ownTemporary(const FileBatch::Step &step)
{
    return step.removal ? step.temporary.isEmpty()
                        : step.temporary.startsWith(step.target + QStringLiteral(".tmp-"));
}

bool ownFolder(const QString &folder)
{
    const QFileInfo info(folder);
    const QFileInfo parent(info.absolutePath());
    return !info.fileName().isEmpty() && info.fileName() != u".." && info.fileName() != u"."
        && parent.fileName() == u"undo" && parent.isDir() && !parent.isSymLink();
}

QStringList removeFolders(const QJsonArray &folders)
{
    QStringList failures;
    for (const QJsonValue &v : folders) {
        const QString folder = v.toString();
        if (!ownFolder(folder))
            continue;
        const QString reason = removeTree(folder);
        if (!reason.isEmpty())
            failures.append(QStringLiteral("  %1: %2").arg(shown(folder), reason));
    }
    return failures;
}

} // namespace

FileStepJournal::FileStepJournal(Database &db, const QString &workspaceDir)
    : m_db(db)
    , m_path(journalPath(workspaceDir))
    , m_token(QUuid::createUuid().toString(QUuid::Id128))
{
}

FileStepJournal::~FileStepJournal()
{
    // Not published: the transaction did not commit (or publish() was never
    // reached), and the batch removes its temporaries itself.
    if (m_prepared && !m_published)
        QFile::remove(m_path);
}

QString FileStepJournal::journalPath(const QString &workspaceDir)
{
    return QDir(workspaceDir).filePath(QStringLiteral("dateischritt.journal"));
}

void FileStepJournal::removeAfterCommit(const QString &folder)
{
    m_afterCommit.append(QFileInfo(folder).absoluteFilePath());
}

void FileStepJournal::removeAfterRollback(const QString &folder)
{
    m_afterRollback.append(QFileInfo(folder).absoluteFilePath());
}

void FileStepJournal::prepare(const FileBatch &batch)
{
    execBound(
        m_db, QStringLiteral("CREATE TABLE IF NOT EXISTS file_steps (token TEXT PRIMARY KEY)"));
    // Under the workspace lock no other step is under way: a token left by a step that
    // ended between removing its journal and its token means nothing any more.
    execBound(m_db, QStringLiteral("DELETE FROM file_steps"));
    execBound(m_db, QStringLiteral("INSERT INTO file_steps (token) VALUES (?)"), {m_token});
    QJsonArray steps;
    for (const FileBatch::Step &s : batch.steps()) {
        steps.append(QJsonObject {{QStringLiteral("target"), s.target},
            {QStringLiteral("temporary"), s.temporary}, {QStringLiteral("path"), s.path},
            {QStringLiteral("afterPrevious"), s.afterPrevious},
            {QStringLiteral("removal"), s.removal}});
    }
    const QJsonObject journal {{QStringLiteral("token"), m_token}, {QStringLiteral("steps"), steps},
        {QStringLiteral("afterCommit"), strings(m_afterCommit)},
        {QStringLiteral("afterRollback"), strings(m_afterRollback)}};
    m_prepared = true;
    writeFileAtomically(m_path, QJsonDocument(journal).toJson(QJsonDocument::Compact));
}

QList<FileBatch::Failure> FileStepJournal::publish(FileBatch &batch)
{
    QList<FileBatch::Failure> failures = batch.publish();
    for (const QString &folder : m_afterCommit) {
        const QString reason = removeTree(folder);
        Q_UNUSED(reason); // a kept import's folder that stays harms nothing
    }
    // The journal first: a token without its journal is dropped by the next step.
    m_published = true;
    if (m_prepared) {
        QFile::remove(m_path);
        try {
            execBound(m_db, QStringLiteral("DELETE FROM file_steps WHERE token = ?"), {m_token});
        } catch (const UserError &) {
        }
    }
    return failures;
}

QString FileStepJournal::recover(Database &db, const QString &workspaceDir)
{
    const QString path = journalPath(workspaceDir);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return QString();
    const QByteArray bytes = readRegularFile(path, kMaxJournalBytes);
    QJsonParseError error;
    const QJsonObject journal = QJsonDocument::fromJson(bytes, &error).object();
    const QString token = journal.value(QStringLiteral("token")).toString();
    if (error.error != QJsonParseError::NoError || token.isEmpty()) {
        // Never completely written: the step it began never reached its commit.
        QFile::remove(path);
        return QString();
    }
    QList<FileBatch::Step> steps;
    for (const QJsonValue &v : journal.value(QStringLiteral("steps")).toArray()) {
        const QJsonObject o = v.toObject();
        const FileBatch::Step step {o.value(QStringLiteral("target")).toString(),
            o.value(QStringLiteral("temporary")).toString(),
            o.value(QStringLiteral("path")).toString(),
            o.value(QStringLiteral("afterPrevious")).toBool(),
            o.value(QStringLiteral("removal")).toBool()};
        if (!step.target.isEmpty() && ownTemporary(step))
            steps.append(step);
    }

    QStringList text;
    if (committedToken(db, token)) {
        FileBatch batch;
        batch.resume(steps);
        const QList<FileBatch::Failure> failures = batch.publish();
        const QStringList folders
            = removeFolders(journal.value(QStringLiteral("afterCommit")).toArray());
        text.append(QStringLiteral("Ein Programm wurde beendet, nachdem es die Datenbank geändert "
                                   "hatte und bevor alle Dateien ersetzt waren; die Dateien "
                                   "wurden jetzt nachgezogen."));
        if (!failures.isEmpty()) {
            text.append(QStringLiteral("Diese Dateien konnten nicht ersetzt werden:"));
            for (const FileBatch::Failure &f : failures)
                text.append(QStringLiteral("  %1: %2").arg(shown(f.path), f.error));
        }
        Q_UNUSED(folders);
    } else {
        for (const FileBatch::Step &s : steps) {
            if (!s.removal)
                QFile::remove(s.temporary);
        }
        removeFolders(journal.value(QStringLiteral("afterRollback")).toArray());
    }
    if (!QFile::remove(path))
        throw UserError(
            QStringLiteral("Die Datei %1 kann nicht entfernt werden.").arg(shown(path)));
    execBound(db, QStringLiteral("CREATE TABLE IF NOT EXISTS file_steps (token TEXT PRIMARY KEY)"));
    execBound(db, QStringLiteral("DELETE FROM file_steps"));
    return text.join(u'\n');
}

} // namespace tolvimar
