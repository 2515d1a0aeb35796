#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

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

    FileBatch() = default;
    ~FileBatch();
    FileBatch(const FileBatch &) = delete;
    FileBatch &operator=(const FileBatch &) = delete;

    // Writes the bytes to a temporary beside path, creating the folder when missing.
    // When afterPrevious is set, the file is published only if the one staged before
    // it was (a backup before the file it saves). Throws UserError naming the file
    // and the system's reason.
    void stage(const QString &path, const QByteArray &bytes, bool afterPrevious = false);
    // Removes the file when the batch is published (a missing file is no failure);
    // afterPrevious as for stage().
    void stageRemoval(const QString &path, bool afterPrevious = false);
    // Removes the temporaries that were not published.
    void discard();
    // Renames every temporary onto its target, in the order staged. Returns the
    // targets that could not be replaced; their temporaries are removed.
    QList<Failure> publish();
    // Targets staged and not yet published.
    QStringList pending() const;
    bool isEmpty() const { return m_entries.isEmpty(); }

private:
    struct Entry
    {
        QString target;
        QString temporary;
        bool afterPrevious = false;
        bool done = false;
        bool removal = false;
    };
    QList<Entry> m_entries;
};

// Writes one file atomically: a temporary beside it, then the rename. Throws
// UserError naming the file and the system's reason; the previous content then stays.
void writeFileAtomically(const QString &path, const QByteArray &bytes);

// Creates a folder and its parents. Throws UserError naming the folder and the
// reason (a file in its place, no permission, ...).
void makeDirectory(const QString &dir);

} // namespace tolvimar
