#include "orderwriting.h"

#include "app/job.h"
#include "app/session.h"
#include "attempt.h"
#include "base/position.h"
#include "checkeroutputwindow.h"
#include "detailpages.h"
#include "ordereditorwindow.h"
#include "orders/checker.h"
#include "orders/ordertemplate.h"
#include "orders/ordervocabulary.h"
#include "orders/templatelines.h"
#include "reportpageswidget.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <memory>

namespace tolvimar {

OrderWriting::OrderWriting(
    Session &session, QWidget *window, ReportPagesWidget *reportPages, DetailPages *detailPages)
    : QObject(window)
    , m_session(session)
    , m_window(window)
    , m_reportPages(reportPages)
    , m_detailPages(detailPages)
{
    connect(m_reportPages, &QTabWidget::currentChanged, this, [this] {
        if (m_reportPages->isShowingTemplate())
            applyOrderVocabulary();
    });
    connect(&m_session, &Session::gameChanged, this, [this] {
        if (m_reportPages->isShowingTemplate())
            applyOrderVocabulary();
        showProblems({}, QString());
    });
    // The editor gets the game's order words as it opens on a unit.
    connect(m_detailPages, &DetailPages::editorOpening, this, &OrderWriting::applyOrderVocabulary);
}

void OrderWriting::setWindows(OrderEditorWindow *orderEditor, CheckerOutputWindow *checkerOutput)
{
    m_orderEditor = orderEditor;
    m_checkerOutput = checkerOutput;
    if (m_orderEditor) {
        m_orderEditor->setPrompter(&m_session.prompter());
        connect(m_orderEditor, &OrderEditorWindow::saveRequested, this, &OrderWriting::save,
            Qt::UniqueConnection);
    }
    if (m_checkerOutput) {
        connect(m_checkerOutput, &CheckerOutputWindow::problemChosen, this,
            &OrderWriting::showProblem, Qt::UniqueConnection);
    }
}

bool OrderWriting::save()
{
    return attempt(m_session.prompter(), QStringLiteral("Zugvorlage speichern"),
        [this] { m_session.orderFile().save(); });
}

void OrderWriting::saveAs()
{
    const QString path
        = m_session.prompter().saveFileName(QStringLiteral("Zugvorlage speichern unter"),
            {QStringLiteral("Alle (*.*)"), QStringLiteral("Textdateien (*.txt)")}, 1, true);
    if (path.isEmpty())
        return;
    attempt(m_session.prompter(), QStringLiteral("Zugvorlage speichern"),
        [&] { m_session.orderFile().saveAs(path); });
}

void OrderWriting::autosave()
{
    attempt([this] { m_session.orderFile().saveIfChanged(); },
        [this](const QString &message) {
            m_session.prompter().notice(
                QStringLiteral("Automatisches Speichern fehlgeschlagen: ") + message);
        });
}

bool OrderWriting::settleBeforeLeaving()
{
    // Orders still pending in the order editor belong into the template first.
    if (m_orderEditor && !m_orderEditor->settleChanges())
        return false;
    if (m_session.orderTemplate().isSaved())
        return true;
    const int choice = m_session.prompter().askChoice(Prompter::Kind::Confirmation,
        QStringLiteral("Bestätigung"), QStringLiteral("Zugvorlage wurde noch nicht gespeichert."),
        {QStringLiteral("Speichern"), QStringLiteral("Verwerfen"), QStringLiteral("Abbrechen")});
    // A template that could not be saved keeps the player where he is.
    return choice == 1 || (choice == 0 && save() && m_session.orderTemplate().isSaved());
}

void OrderWriting::runChecker()
{
    OrderFile orderFile = m_session.orderFile();
    const OrderChecker::Result saved = OrderChecker::saveOrderFile(orderFile);
    if (saved.status != OrderChecker::Result::Ran) {
        m_session.prompter().message(
            Prompter::Kind::Error, QStringLiteral("Zug Checker"), saved.message);
        return;
    }
    // The checker runs as a job: the window keeps painting, but takes no input until
    // it has ended.
    m_window->setEnabled(false);
    m_session.prompter().setBusy(true);
    auto *job = new Job(this);
    auto result = std::make_shared<OrderChecker::Result>();
    connect(job, &Job::finished, this, [this, job, result] {
        job->deleteLater();
        m_session.prompter().setBusy(false);
        m_window->setEnabled(true);
        showCheckerResult(*result);
    });
    job->start(
        [checker = OrderChecker(m_session.game()), path = orderFile.path(), lock = orderFile.lock(),
            result](JobControl &) { *result = checker.runOnSavedFile(path, lock); });
}

void OrderWriting::showCheckerResult(const OrderChecker::Result &result)
{
    if (result.status != OrderChecker::Result::Ran) {
        m_session.prompter().message(
            Prompter::Kind::Error, QStringLiteral("Zug Checker"), result.message);
        return;
    }
    const std::unique_ptr<TemplateLines> lines = m_session.orderTemplate().view();
    QList<OrderProblem> problems = checkerProblems(result.output, *lines);
    attempt([&] { problems.append(orderHints(*lines, *m_session.orderVocabulary())); },
        [this](const QString &message) { emit notice(message); });
    showProblems(problems, result.output);
}

void OrderWriting::applyOrderVocabulary()
{
    if (m_session.game().number == 0)
        return;
    std::shared_ptr<const OrderVocabulary> vocabulary;
    if (!attempt([&] { vocabulary = m_session.orderVocabulary(); },
            [this](const QString &message) { emit notice(message); }))
        return;
    m_reportPages->setOrderVocabulary(vocabulary);
    if (m_orderEditor)
        m_orderEditor->setVocabulary(vocabulary);
}

void OrderWriting::showProblems(const QList<OrderProblem> &problems, const QString &output)
{
    m_problemUnits = unitsWithProblems(problems, m_session.game().type, m_session.game().base);
    m_detailPages->setProblemUnits(m_problemUnits);
    if (!m_checkerOutput || (problems.isEmpty() && output.isEmpty()))
        return;
    m_checkerOutput->setEnabled(true);
    m_checkerOutput->showOutput(output);
    m_checkerOutput->showProblems(problems);
}

void OrderWriting::reviewOrders()
{
    if (m_session.game().number == 0)
        return;
    const std::unique_ptr<TemplateLines> lines = m_session.orderTemplate().view();
    QList<OrderProblem> hints;
    if (!attempt(m_session.prompter(), QStringLiteral("Befehle durchsehen"),
            [&] { hints = orderHints(*lines, *m_session.orderVocabulary()); }))
        return;
    showProblems(hints, QStringLiteral("(Hinweise des Programms, ohne Checker)"));
    emit notice(QStringLiteral("%1 Hinweise zu den Befehlen").arg(hints.size()));
}

void OrderWriting::showProblem(const OrderProblem &problem)
{
    // A checker line that names no line of the file leads nowhere.
    if (problem.line <= 0)
        return;
    m_reportPages->goToTemplateLine(currentLineOf(problem, *m_session.orderTemplate().view()));
    if (!problem.unitText.isEmpty())
        selectUnitInRegion(problem.unitText);
    // The list stays on top; the template takes the keys.
    m_reportPages->focusTemplate();
}

void OrderWriting::selectUnitInRegion(const QString &unitText)
{
    std::optional<Position> at;
    if (!attempt([&] { at = m_session.orderVocabulary()->placeOfUnit(unitText); },
            [this](const QString &message) { emit notice(message); }))
        return;
    if (!at)
        return;
    // The unit's region on its own level, as the search and the report rows show it.
    emit regionToShow(*at);
    m_detailPages->showListedUnit(unitText);
}

void OrderWriting::moveToUnitToReview(bool forward)
{
    if (m_session.game().number == 0)
        return;
    m_reportPages->showTemplatePage();
    const std::unique_ptr<TemplateLines> lines = m_session.orderTemplate().view();
    const std::optional<int> header
        = nextUnitToReview(*lines, m_reportPages->templateCursorLine(), forward,
            ReviewTargets {m_problemUnits, true, m_session.game().type, m_session.game().base});
    if (!header) {
        emit notice(QStringLiteral("Keine andere Einheit mit Problemen oder ohne Befehle"));
        return;
    }
    m_reportPages->goToTemplateLine(*header);
    const QString unitText = unitTextOfHeaderLine(lines->line(*header));
    emit notice(QStringLiteral("Einheit %1").arg(unitText));
    selectUnitInRegion(unitText);
    m_reportPages->focusTemplate();
}

} // namespace tolvimar
