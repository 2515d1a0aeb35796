#include "statusstore.h"

#include "session.h"

namespace tolvimar {

StatusStore::StatusStore(Session &session)
    : m_session(session)
{
}

void StatusStore::saveStatusData()
{
}

void StatusStore::loadStatusData()
{
}

} // namespace tolvimar
