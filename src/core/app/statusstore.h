#pragma once

namespace tolvimar {

class Session;

// The report pages, status values and order template of a game's newest import,
// kept on disk so that opening the game shows them without the report.
class StatusStore
{
public:
    explicit StatusStore(Session &session);

    void saveStatusData();
    void loadStatusData();

private:
    Session &m_session;
};

} // namespace tolvimar
