#pragma once

namespace tolvimar {

class Session;

// The summaries of the turn on the session's report pages. A failing summary shows
// its message and leaves the total it reached; it never stops its caller.
// afterImport selects the wording the import uses; opening a game uses the other.
bool runIncomeSummary(Session &session, bool afterImport);
bool runOrcSummary(Session &session, bool afterImport);
bool runProductionSummary(Session &session);

// Fills the points statistics grid of the active game from its faction rows.
void zeigePunkteStatistik(Session &session);

} // namespace tolvimar
