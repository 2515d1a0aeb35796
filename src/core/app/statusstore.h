#pragma once

#include "../base/activegame.h"
#include "../report/reportpages.h"

#include <QStringList>

namespace tolvimar {

class Configuration;
class FileBatch;
class Session;

// The report pages, status values and order template of a game's newest import,
// kept on disk so that opening the game shows them without the report.
class StatusStore
{
public:
    explicit StatusStore(Session &session);

    // The import saves the newest import's state as one unit with its transaction:
    // the pages go to temporaries of the batch (published after the commit), the
    // status values into the configuration it writes the same way. Game 1's income
    // page carries the total marker ("zzzz" + total).
    static ReportPages pagesToSave(const ActiveGame &game, ReportPages pages, const QString &total);
    // Throws UserError naming the file that could not be written.
    static void stageStatusFiles(
        FileBatch &batch, const ActiveGame &game, const ReportPages &pages);
    // Lines 1, 2 and 13 to 21 of the game's block.
    static void setStatusLines(
        Configuration &config, const ActiveGame &game, const StatusValues &status);

    // Restores them when a game is opened; missing files leave empty pages, files
    // that cannot be read are reported once.
    void loadStatusData();
    QStringList fileNames() const;
    static QStringList fileNames(const ActiveGame &game);

private:
    Session &m_session;
};

} // namespace tolvimar
