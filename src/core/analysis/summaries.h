#pragma once

#include <QString>
#include <QStringList>

namespace tolvimar {

// A summary that met a number it could not read. Carries the item being read (as
// the shared current-line buffer holds it) and what the total showed so far.
struct SummaryError
{
    QString line;
    QString partialText;
    QStringList partialList;
};

// Holds the item a summary is reading, at most 81 characters, so that an error
// message can name it.
class CurrentLine
{
public:
    void set(const QString &item) { m_text = item.left(81); }
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

// The text of "Gesamteinkommen :" for the income list. Game 1 from date code 1604
// on shows the total saved with the list ("zzzz" marker) instead of recomputing.
// Throws SummaryError.
QString incomeTotal(const QStringList &income, int game, qint64 newestTurn, CurrentLine &buffer);

// The eleven lines of "Gesamtproduktion" for the production list. Throws SummaryError.
QStringList productionTotals(const QStringList &production, CurrentLine &buffer);

// The text of "Ork Vermehrung" for the events list. Throws SummaryError.
QString orcGrowthTotal(const QStringList &events);

// Labels of the production totals, padded to align.
const QStringList &productionLabels();

} // namespace tolvimar
