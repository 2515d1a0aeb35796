#pragma once

#include "../base/filebatch.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tolvimar {

class Database;

// The files that change with a transaction (a FileBatch), guarded against the program
// being stopped between the commit and the last rename. Before the commit a journal
// beside the database names each temporary with its target and the folders to
// remove, and the transaction writes the journal's token into `file_steps`. After
// the renames the journal goes. The next program that opens the workspace finds a
// journal left behind: with its token in the database (the commit happened) it
// finishes the renames and removals; without (the transaction was rolled back) it
// removes the temporaries. Database and files then show the same state again.
class FileStepJournal
{
public:
    FileStepJournal(Database &db, const QString &workspaceDir);
    ~FileStepJournal();
    FileStepJournal(const FileStepJournal &) = delete;
    FileStepJournal &operator=(const FileStepJournal &) = delete;

    // A folder removed once the files are replaced (a kept import no longer kept).
    void removeAfterCommit(const QString &folder);
    // A folder made for the transaction only, removed if it is rolled back.
    void removeAfterRollback(const QString &folder);
    // Inside the transaction, once every file is staged and right before the commit.
    // Throws UserError when the journal cannot be written.
    void prepare(const FileBatch &batch);
    // After the commit: replaces the files, removes the folders, then the journal.
    QList<FileBatch::Failure> publish(FileBatch &batch);

    // Under the workspace lock, when a program opens the workspace: finishes or
    // clears what a stopped program left. Returns what was done, for the player;
    // empty when nothing was left. Throws UserError when the journal is unreadable.
    static QString recover(Database &db, const QString &workspaceDir);
    static QString journalPath(const QString &workspaceDir);

private:
    Database &m_db;
    QString m_path;
    QString m_token;
    QStringList m_afterCommit;
    QStringList m_afterRollback;
    bool m_prepared = false;
    bool m_published = false;
};

} // namespace tolvimar
