#pragma once

#include <QStringList>

namespace tolvimar {

class Session;

// The report pages, status values and order template of a game's newest import,
// kept on disk so that opening the game shows them without the report.
class StatusStore
{
public:
    explicit StatusStore(Session &session);

    // Writes the pages, the status values, the template copy and the faction's
    // statistics row of the newest import. Throws UserError when a file cannot be
    // written; what was written before stays.
    void saveStatusData();
    // Restores them when a game is opened; missing files leave empty pages, files
    // that cannot be read are reported once.
    void loadStatusData();
    QStringList fileNames() const;

private:
    Session &m_session;
};

} // namespace tolvimar
