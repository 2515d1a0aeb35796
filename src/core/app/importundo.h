#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace tolvimar {

class ChangeRecorder;
class Configuration;
class Database;
class FileBatch;
class FileStepJournal;
class Session;

// What one import changed, kept so that the import can be taken back: the changes
// of the slot's rows, the files the import replaced (linked away before they are
// replaced, so keeping them copies nothing) or created, the slot's configuration
// block before and after it, and the hashes of the files the import wrote. The last
// three imports of each slot are kept.
class ImportUndoRecord
{
public:
    static constexpr int kKeptPerSlot = 3;

    // Begins inside the import's transaction, before anything is written. Throws
    // UserError when the slot's folder of kept imports is a symbolic link or no folder.
    // db is the connection the import writes through.
    ImportUndoRecord(Session &session, Database &db, const QString &reportPath);
    ~ImportUndoRecord();
    ImportUndoRecord(const ImportUndoRecord &) = delete;
    ImportUndoRecord &operator=(const ImportUndoRecord &) = delete;

    // After the import staged a file: keeps what is there now (through a symbolic
    // link, the file it names) and the hash of what the import writes there (a
    // different file at undo was changed since and is kept as a backup).
    void keepFile(const QString &path, const QByteArray &writtenSha1);
    // The order file as the import writes it: a different one at undo was edited.
    void setWrittenOrders(const QString &path, const QByteArray &bytes);
    // The configuration as the import writes it: a line of the slot's block that
    // differs at undo was changed by the player since and stays.
    void setWrittenConfiguration(const Configuration &config);
    // Still inside the transaction: writes the record and drops the slot's records
    // beyond the last three, whose folders the journal removes after the commit (and
    // this record's own if the transaction is rolled back). Returns the bytes kept
    // (rows and files).
    qint64 finish(FileStepJournal &journal);
    // After the commit: the record's folder now belongs to it.
    void committed();

private:
    struct KeptFile
    {
        QString path; // relative to the workspace
        bool existed = false;
        qint64 size = 0; // of the kept content
        QByteArray writtenSha1; // of what the import writes
    };
    QString keptDir() const;

    Session &m_session;
    Database &m_db;
    QString m_reportPath;
    QString m_token; // the folder of the kept files, under the slot's "undo" folder
    QStringList m_configurationBlock;
    QStringList m_writtenBlock;
    QList<KeptFile> m_files;
    QString m_ordersPath;
    QByteArray m_ordersHash;
    std::unique_ptr<ChangeRecorder> m_recorder;
    bool m_finished = false;
    bool m_committed = false;
};

// "Letzten Import rückgängig machen": the slot's rows, the files and the configuration
// block become what they were before its last import, under the workspace lock, in one
// transaction, with the files written after the commit as an import writes them.
class ImportUndo
{
public:
    struct Result
    {
        enum Status { Undone, NothingToUndo, Failed };
        Status status = NothingToUndo;
        QString message; // what was done, or why not
    };

    explicit ImportUndo(Session &session);
    // How many imports of the active slot can be taken back.
    int available();
    // Whether the order file differs from the one the last import of its turn wrote
    // (the player edited it since); false when no kept import wrote it.
    bool ordersEditedSinceImport(const QString &orderPath);
    Result undoLastImport();

private:
    Result run();
    Session &m_session;
};

} // namespace tolvimar
