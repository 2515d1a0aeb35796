#pragma once

#include "job.h"
#include "jobprogress.h"
#include "reportimporter.h"

namespace tolvimar {

class Session;

// "CR einlesen" as the window runs it: the questions on the window's thread, the
// reading and writing on a worker thread with a database connection of its own, and
// the session takes the new turn on the window's thread again when finished() came.
class ImportJob : public Job
{
    Q_OBJECT
public:
    explicit ImportJob(Session &session, QObject *parent = nullptr);
    // A job still running is asked to stop and waited for: its work uses the members.
    ~ImportJob() override;

    ReportImporter &importer() { return m_importer; }
    // Reads the report and asks the import's questions, then starts the work. False
    // when nothing is left to run; end() tells why.
    bool start(const QString &path);
    // After finished() (or a false start()): the session takes the new turn and the
    // outcome is told.
    ReportImporter::Result end() { return m_importer.end(); }

private:
    JobImportProgress m_progress;
    ReportImporter m_importer;
};

} // namespace tolvimar
