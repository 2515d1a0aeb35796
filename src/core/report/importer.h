#pragma once

#include <QString>

namespace tolvimar {

class ImportProgress;
class Session;
struct ImportContext;

// Imports a computer report into the active game: checks version and game type,
// reads the faction header, renders the report pages, writes the tables and builds
// the order template. All database writes of one import form one transaction; on
// any failure nothing of it stays and the previous pages and template remain.
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

    // Called with the cursor on the ";Runde" line / the ";Punkte" line.
    static void getDatum(ImportContext &ctx);
    static void getPunkte(ImportContext &ctx);

private:
    Result run(const QString &path);
    bool readHeader(ImportContext &ctx);
    void writeTemplateHead(ImportContext &ctx);
    void writeOwnFactionRow(ImportContext &ctx);
    void extract(ImportContext &ctx, Result &result);
    void finish(ImportContext &ctx, Result &result);

    Session &m_session;
    ImportProgress &m_progress;
};

} // namespace tolvimar
