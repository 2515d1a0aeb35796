#include "importjob.h"

namespace tolvimar {

ImportJob::ImportJob(Session &session, QObject *parent)
    : Job(parent)
    , m_progress(*this)
    , m_importer(session, m_progress)
{
}

ImportJob::~ImportJob()
{
    cancel();
    wait();
}

bool ImportJob::start(const QString &path)
{
    if (!m_importer.begin(path))
        return false;
    Job::start([this](JobControl &control) { m_importer.workOnOwnConnection(&control); });
    return true;
}

} // namespace tolvimar
