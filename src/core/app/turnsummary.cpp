#include "turnsummary.h"

#include "../analysis/pointsstatistics.h"
#include "../analysis/summaries.h"
#include "../base/prompter.h"
#include "session.h"

namespace tolvimar {

namespace {

const QString kContact = QStringLiteral("tolvimar@example.org");

void showFailure(Session &session, const QString &text)
{
    session.prompter().message(Prompter::Kind::Error, QStringLiteral("Fehler"), text);
}

QString pleaseSend(const QString &file)
{
    return QStringLiteral(
        "\nBitte die Datei \"%1\" an %2 schicken, damit der Fehler behoben werden kann.")
        .arg(file, kContact);
}

} // namespace

void fillPointsStatistics(Session &session)
{
    session.setPointsGrid(PointsStatistics(session.database())
                              .grid(session.game().number, session.game().factionNumber));
}

IncomeSummary incomeSummary(const QStringList &income, const ActiveGame &game)
{
    CurrentLine buffer;
    try {
        return {incomeTotal(income, game.number, game.newestTurn, buffer), std::nullopt};
    } catch (const SummaryError &e) {
        return {e.partialText, e.line};
    }
}

void reportIncomeFailure(Session &session, const QString &line, bool afterImport)
{
    QString text = QStringLiteral("Fehler bei Einkommenssummierung in Zeile: ") + line;
    if (afterImport)
        text += pleaseSend(QStringLiteral("~/status-data/x-einkommen.txt"));
    showFailure(session, text);
}

bool runIncomeSummary(Session &session, bool afterImport)
{
    const IncomeSummary summary = incomeSummary(session.pages()[Page::Einkommen], session.game());
    session.setStatusValue(StatusField::Gesamteinkommen, summary.total);
    if (summary.failedLine)
        reportIncomeFailure(session, *summary.failedLine, afterImport);
    return !summary.failedLine;
}

bool runOrcSummary(Session &session, bool afterImport)
{
    try {
        session.setStatusValue(
            StatusField::OrkVermehrung, orcGrowthTotal(session.pages()[Page::Ereignisse]));
        return true;
    } catch (const SummaryError &e) {
        session.setStatusValue(StatusField::OrkVermehrung, e.partialText);
        showFailure(session,
            afterImport ? QStringLiteral("Fehler bei Orkberechnung.")
                        : QStringLiteral("Fehler bei Orksummierung"));
        return false;
    }
}

bool runProductionSummary(Session &session)
{
    CurrentLine buffer;
    StatusValues status = session.status();
    bool ok = true;
    try {
        status.gesamtproduktion = productionTotals(session.pages()[Page::Produktion], buffer);
    } catch (const SummaryError &e) {
        status.gesamtproduktion = e.partialList;
        ok = false;
        session.setStatus(status);
        showFailure(session,
            QStringLiteral("Fehler bei Produktionssummierung in Zeile: ") + e.line
                + pleaseSend(QStringLiteral("~/status-data/x-produktion.txt")));
        return ok;
    }
    session.setStatus(status);
    return ok;
}

} // namespace tolvimar
