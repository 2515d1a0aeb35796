#pragma once

#include "../base/filebatch.h"
#include "../report/reportpages.h"
#include "../report/reportreader.h"
#include "turnsummary.h"

#include <QElapsedTimer>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <memory>

namespace tolvimar {

class Database;
class ImportUndoRecord;
class JobControl;
class ReportLines;
class ImportProgress;
class Session;

// "&CR einlesen": imports a computer report into the active game as one unit. Under
// the workspace lock and in one transaction the report is read into the tables and
// the points statistics row is written; the status files, the configuration and the
// order file are written to temporaries beside them. Only after the commit are the
// temporaries renamed and does the session take the new values. A failure before the
// commit leaves everything as it was; one after it is reported as "imported, but"
// with what is missing.
//
// importFile() does all of it at once. The window runs it in three steps instead, so
// that the reading and writing leave its thread free: begin() reads the file and asks
// the questions, work() runs on a worker thread with its own database connection, and
// end() hands the new state to the session on the session's thread and tells the
// outcome.
class ReportImporter
{
public:
    struct Result
    {
        // ImportedIncomplete: the database holds the report, but a file or the
        // display could not follow (message says what is missing).
        enum Status { Imported, Cancelled, Refused, Failed, ImportedIncomplete };
        Status status = Cancelled;
        QString path; // the report, empty when none was chosen
        QString message; // the failure as shown to the user
        QStringList notes; // worth knowing after an import (a backup, a warning)
        qint64 dateCode = 0;
        QString dateText;
        int regions = 0;
        int units = 0;
        double seconds = 0;
        // "Übersprungen: 12 RESOURCE, 3 EFFECTS": blocks the import passed over unread.
        QString skipped;
        // "1 Wert ist keine Zahl: Zeile 1656": words where the import would only have
        // added a number to a total; they added nothing.
        QString wordValues;
        qint64 undoBytes = 0; // kept to take the import back: the rows' changes and files
        // Refused as a report of the other game type; the user asked to switch to a game
        // of the report's type (offered only where the caller can switch).
        bool otherGameType = false;
        bool switchGameWanted = false;

        // "Eingelesen: Mai im Jahre 4 (405), 12 Regionen, 30 Einheiten, 0.20 s" (the
        // seconds of work, without the time questions stood open), then the skipped
        // blocks and the words read as no number, each on a line of its own when there
        // were any.
        QStringList closingLines() const;
    };

    ReportImporter(Session &session, ImportProgress &progress);
    ~ReportImporter();
    // Whether the import keeps what it changes so that it can be taken back (on by
    // default; the benchmark measures the cost against an import without).
    void setUndoKept(bool kept) { m_undoKept = kept; }
    // A report of the other game type is refused with the button "Spiel wechseln"
    // besides "OK" (the window can open another game; the command line cannot).
    void setGameSwitchOffered(bool offered) { m_gameSwitchOffered = offered; }

    // Asks for the file ("Berichte" *.cr and *.txt, or any file), then imports it.
    Result chooseAndImport();
    // The file chosen, empty when the player chose none.
    QString chooseFile();
    Result importFile(const QString &path);

    // On the session's thread: reads the report and asks what the import needs to
    // know. False when the import ends here (end() tells why).
    bool begin(const QString &path);
    // The import proper, under the workspace lock and in one transaction of db, the
    // files published after the commit. It stops with a rollback when control is
    // cancelled before the commit; it touches nothing of the session but its lock.
    void work(Database &db, JobControl *control);
    // As work(), on a connection of its own to the session's database file (for a
    // worker thread).
    void workOnOwnConnection(JobControl *control);
    // On the session's thread: the session takes what was imported; the outcome is
    // told through the prompter as importFile() tells it.
    Result end();

private:
    // The session takes what work() committed (once; nothing when it committed nothing).
    void takeOver();
    // What the import writes besides the tables, prepared inside the transaction.
    struct Staged
    {
        ReportPages pages; // as saved: game 1's income page with the total marker
        IncomeSummary income;
        QStringList orderTemplate; // with the player's edits carried over when asked
    };

    // Runs one step; a failure becomes the result's message.
    template<typename Step> void guarded(Step &&step);
    // Whether the player's edited orders of this report's turn are to be carried over
    // into its new template (asked before the import begins writing).
    bool askCarryOver(const ReportLines &lines);
    // Whether a report of another faction than the game's is to be read all the same.
    bool askOtherFaction(const ReportLines &lines);
    // Runs a question; the time it stands open is no work of the import.
    template<typename Question> auto asked(Question &&question);
    Staged stage(Database &db, const ImportOutcome &outcome, FileBatch &batch, Result &result,
        ImportUndoRecord *undo);
    // Order words of the new template that the game's word lists lack are added to
    // the learnt words of the game folder.
    void stageLearntWords(const ImportOutcome &outcome, FileBatch &batch, Result &result);
    void finish(const ImportOutcome &outcome, const Staged &staged);

    Session &m_session;
    ImportProgress &m_progress;
    bool m_undoKept = true;
    bool m_gameSwitchOffered = false;
    bool m_carryOver = false;
    qint64 m_questionNanoseconds = 0; // time the questions of this import stood open

    // One import's state between its steps.
    struct PreviousOnHold;
    QString m_path;
    QElapsedTimer m_timer;
    Result m_result;
    bool m_working = false; // begin() found nothing against running work()
    std::unique_ptr<ReportLines> m_lines; // from begin() until the reader is done
    ImportStart m_start;
    QString m_databasePath;
    QString m_workspaceDir;
    QPointF m_mapOrigin;
    std::unique_ptr<PreviousOnHold> m_onHold;
    bool m_committed = false;
    ImportOutcome m_outcome;
    Staged m_staged;
    QList<FileBatch::Failure> m_failures; // files the publishing could not replace
    QStringList m_unpublished;
    QString m_afterCommitReason; // why work() after the commit went wrong
};

} // namespace tolvimar
