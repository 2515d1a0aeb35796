#pragma once

#include "base/position.h"
#include "orders/checker.h"
#include "orders/orderproblems.h"

#include <QObject>
#include <QSet>

class QWidget;

namespace tolvimar {

class CheckerOutputWindow;
class DetailPages;
class OrderEditorWindow;
class ReportPagesWidget;
class Session;

// Writing orders in the template: the game's order words for colours and completion,
// the checker and the program's own hints with their problem list, the moves to the
// next unit to review.
class OrderWriting : public QObject
{
    Q_OBJECT
public:
    // window: disabled while the checker runs.
    OrderWriting(Session &session, QWidget *window, ReportPagesWidget *reportPages,
        DetailPages *detailPages);

    void setWindows(OrderEditorWindow *orderEditor, CheckerOutputWindow *checkerOutput);

    // Saves the template and starts the checker on it as a job (the window disabled,
    // but painting, meanwhile); at its end its problems are listed with the hints.
    void runChecker();
    // The program's hints without a checker.
    void reviewOrders();
    // The next or previous unit with problems or without orders (F8, Shift+F8).
    void moveToUnitToReview(bool forward);
    // A problem chosen in the problem list: its line on the template page, its unit.
    void showProblem(const tolvimar::OrderProblem &problem);
    // Hands the game's order vocabulary to the template page and the order editor.
    void applyOrderVocabulary();

    // Saves the template to its file, or under a name asked for; false when it failed.
    bool save();
    void saveAs();
    // Saves a changed template; a failure is only noted, so that typing goes on.
    void autosave();
    // Before the template is left (the program closed): an unsaved one is saved,
    // discarded or kept as the player chooses. False when the player stays.
    bool settleBeforeLeaving();

signals:
    // A region to show, before its unit is selected.
    void regionToShow(const tolvimar::Position &place);
    // A note for the status bar.
    void notice(const QString &text);

private:
    void showCheckerResult(const OrderChecker::Result &result);
    // Lists the problems and marks their units in the unit list.
    void showProblems(const QList<OrderProblem> &problems, const QString &output);
    // Shows the unit's region and selects the unit in the unit list.
    void selectUnitInRegion(const QString &unitText);

    Session &m_session;
    QWidget *m_window;
    ReportPagesWidget *m_reportPages;
    DetailPages *m_detailPages;
    OrderEditorWindow *m_orderEditor = nullptr;
    CheckerOutputWindow *m_checkerOutput = nullptr;
    QSet<qint64> m_problemUnits; // numbers of the units with problems
};

} // namespace tolvimar
