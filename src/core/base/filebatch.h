#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;

namespace tolvimar {

// Files that change together with a database transaction. Each is first written to a
// temporary file beside its target (stage); only after the commit are the
// temporaries renamed onto their targets (publish). A failed write therefore leaves
// every target as it was, and discard() (or the destructor) removes the temporaries.
class FileBatch
{
public:
    struct Failure
    {
        QString path; // the target that still holds its previous content
        QString error; // the system's reason
    };

    // One replacement or removal as a journal keeps it (see app/filestep).
    struct Step
    {
        QString target; // the file replaced or removed
        QString temporary; // empty for a removal
        QString path; // as the caller named it
        bool afterPrevious = false;
        bool removal = false;
    };

    FileBatch() = default;
    ~FileBatch();
    FileBatch(const FileBatch &) = delete;
    FileBatch &operator=(const FileBatch &) = delete;

    // Writes the bytes to a temporary beside path, creating the folder when missing.
    // When afterPrevious is set, the file is published only if the one staged before
    // it was (a backup before the file it saves). A symbolic link is written through
    // to the file it names; a FIFO or a device in the path's place is refused, never
    // replaced. Throws UserError naming the file and the system's reason.
    void stage(const QString &path, const QByteArray &bytes, bool afterPrevious = false);
    // Removes the file when the batch is published (a missing file is no failure);
    // afterPrevious as for stage().
    void stageRemoval(const QString &path, bool afterPrevious = false);
    // The same for content that a writer produces on the temporary file itself (a
    // picture); the writer returns its error text, empty when it succeeded.
    using Writer = std::function<QString(QIODevice &)>;
    void stageWith(const QString &path, const Writer &writer);
    // Removes the temporaries that were not published.
    void discard();
    // Renames every temporary onto its target, in the order staged. Returns the
    // targets that could not be replaced; their temporaries are removed.
    QList<Failure> publish();
    // Targets staged and not yet published.
    QStringList pending() const;
    // The SHA-1 of the bytes staged for a target (as named to stage()); empty when none.
    QByteArray stagedHash(const QString &path) const;
    // The replacements and removals not yet published, in their order.
    QList<Step> steps() const;
    // Takes up the steps of a batch that a killed program began to publish: a
    // temporary that is gone was renamed already and counts as published.
    void resume(const QList<Step> &steps);
    bool isEmpty() const { return m_entries.isEmpty(); }

private:
    struct Entry
    {
        QString target; // the file replaced: a symbolic link's target
        QString temporary;
        bool afterPrevious = false;
        bool done = false;
        QString path; // as the caller named it
        bool removal = false;
        bool resumed = false;
        QByteArray sha1;
    };
    QList<Entry> m_entries;
};

// Writes one file atomically: a temporary beside it, then the rename. Throws
// UserError naming the file and the system's reason; the previous content then stays.
void writeFileAtomically(const QString &path, const QByteArray &bytes);
void writeFileAtomically(const QString &path, const FileBatch::Writer &writer);

// A name for a backup of the file that names nothing yet (a symbolic link counts):
// "name.bak", else "name.bak.1", "name.bak.2", ... so that no older backup is ever
// overwritten. Names in `taken` count as used too.
QString unusedBackupPath(const QString &path, const QStringList &taken = {});

// Removes a folder with everything in it without following any symbolic link: a link
// in the folder's place, or inside it, is removed itself, never what it names.
// Returns the system's reason when something stays; empty when all is gone.
QString removeTree(const QString &dir);

// Creates a folder and its parents. Throws UserError naming the folder and the
// reason (a file in its place, no permission, ...).
void makeDirectory(const QString &dir);

} // namespace tolvimar
