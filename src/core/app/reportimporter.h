#pragma once

#include <QString>

namespace tolvimar {

class ImportProgress;
class Session;
struct ImportOutcome;

// "&CR einlesen": imports a computer report into the active game. The report is
// read into the tables in one transaction; on any failure nothing of it stays and
// the previous pages and template remain. After the commit the session takes the
// new values and the configuration, the summaries, the status files, the points
// statistics and the order file follow.
class ReportImporter
{
public:
    struct Result
    {
        enum Status { Imported, Cancelled, Refused, Failed };
        Status status = Cancelled;
        QString message; // the failure as shown to the user
        qint64 dateCode = 0;
        QString dateText;
        int regions = 0;
        int units = 0;
        double seconds = 0;
    };

    ReportImporter(Session &session, ImportProgress &progress);

    // Asks for the file ("Textdateien", "Alle"), then imports it.
    Result Neu1Click();
    Result importFile(const QString &path);

private:
    Result run(const QString &path);
    void finish(const ImportOutcome &outcome);

    Session &m_session;
    ImportProgress &m_progress;
};

} // namespace tolvimar
