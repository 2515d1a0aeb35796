#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tolvimar {

class Session;
struct ActiveGame;

// The summaries of the turn on the session's report pages. A failing summary shows
// its message and leaves the total it reached; it never stops its caller.
// afterImport selects the wording the import uses; opening a game uses the other.
bool runIncomeSummary(Session &session, bool afterImport);

// The income total of an income list, computed without a message: the import needs
// it for the status files before it may show anything. failedLine is set when the
// summary stopped at an item it could not read; total is then what it reached.
struct IncomeSummary
{
    QString total;
    std::optional<QString> failedLine;
};
IncomeSummary incomeSummary(const QStringList &income, const ActiveGame &game);
// The message of a failed income summary.
void reportIncomeFailure(Session &session, const QString &line, bool afterImport);
bool runOrcSummary(Session &session, bool afterImport);
bool runProductionSummary(Session &session);

// Fills the points statistics grid of the active game from its faction rows.
void fillPointsStatistics(Session &session);

} // namespace tolvimar
