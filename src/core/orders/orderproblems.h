#pragma once

#include "../base/activegame.h"

#include <QList>
#include <QSet>
#include <QString>
#include <optional>

namespace tolvimar {

class OrderVocabulary;
class TemplateLines;

// A problem of the orders: a line of the checker's output, or a hint found without a
// checker; placed on the unit whose block holds the line it names.
struct OrderProblem
{
    enum class Source { Checker, Hint };
    Source source = Source::Checker;
    int line = 0; // 1-based line of the order file; 0 when it names none of the file
    QString unitText; // the unit whose block holds the line; empty when none
    int unitHeader = -1; // 0-based template line of that unit's header; -1 when none
    QString text; // the checker's line, or the hint

    friend bool operator==(const OrderProblem &, const OrderProblem &) = default;
};

// The 1-based line of the order file that a checker line names: "file:N:" at its
// start, else "line N" or "Zeile N" anywhere (any case); nullopt when it names none.
std::optional<int> namedOrderLine(QStringView checkerLine);

// The checker's lines but blank ones, in output order: each that names a line of the
// order file (the template's lines) on the unit whose block holds it, the others
// (no line named, or one outside the file) on line 0 and no unit.
QList<OrderProblem> checkerProblems(const QString &output, const TemplateLines &lines);

// What the program finds itself, in line order: own units without any order, first
// words the language lacks, ids that name no known unit, ship or castle.
QList<OrderProblem> orderHints(const TemplateLines &lines, const OrderVocabulary &vocabulary);

// The numbers of the units the problems are placed on (their texts read as the game
// writes numbers), for the marks of the unit list and the moves between units.
QSet<qint64> unitsWithProblems(const QList<OrderProblem> &problems, GameType gameType, int base);

// The 0-based template line a problem stands on now that the template may have
// changed: the same place in its unit's block (the block's last line at most), or
// the line as named when it is on no unit or the unit has no block any more; -1 for
// a problem on line 0.
int currentLineOf(const OrderProblem &problem, const TemplateLines &lines);

} // namespace tolvimar
