#include "ordercommands.h"

#include "app/session.h"
#include "base/errors.h"
#include "base/position.h"
#include "cliutil.h"
#include "orders/checker.h"
#include "orders/ordercompletion.h"
#include "orders/orderproblems.h"
#include "orders/ordervocabulary.h"
#include "orders/templatelines.h"
#include "base/identifiers.h"

namespace tolvimar::cli {

namespace {

void printProblems(const QList<OrderProblem> &problems)
{
    for (const OrderProblem &p : problems)
        out() << p.line << '\t' << p.unitText << '\t' << p.text << '\n';
}

void printVocabularyProblems(Session &session)
{
    for (const QString &problem : session.orderVocabularyProblems())
        err() << problem << '\n';
}

} // namespace

int problems(const Arguments &args)
{
    OpenedSlot opened;
    if (const int exitCode = openSlotCommand(args, &opened); exitCode >= 0)
        return exitCode;
    Session &session = *opened.session;
    OrderFile orderFile = session.orderFile();
    const OrderChecker::Result result = OrderChecker(session.game()).run(orderFile);
    int exitCode = 0;
    if (result.status == OrderChecker::Result::NoPath) {
        // Without a checker the hints are still worth having.
        err() << result.message << " Es folgen nur die Hinweise.\n";
    } else if (result.status != OrderChecker::Result::Ran) {
        err() << result.message << '\n';
        exitCode = 2;
    }
    const QStringList &lines = session.orderTemplate().lines();
    const ListTemplateLines templateLines(lines);
    printProblems(checkerProblems(result.output, templateLines));
    const std::shared_ptr<const OrderVocabulary> vocabulary = session.orderVocabulary();
    printVocabularyProblems(session);
    printProblems(orderHints(templateLines, *vocabulary));
    return exitCode;
}

int complete(const Arguments &args)
{
    CommandOptions options;
    QString problem;
    if (!parseCommandOptions(args.rest, {QStringLiteral("--slot"), QStringLiteral("--level")}, {},
            &options, &problem))
        return usage(problem);
    const int slot = slotOption(options, &problem);
    if (slot == 0)
        return usage(problem);
    const QStringList &p = options.positional;
    if (p.size() != 4)
        return usage(QStringLiteral("complete braucht X, Y, die Einheit NR und den TEXT."));
    int x = 0;
    int y = 0;
    int level = 0;
    if (!parseStrictInt(p[0], &x) || !parseStrictInt(p[1], &y))
        return usage(QStringLiteral("X und Y müssen Zahlen sein."));
    if (!parseStrictInt(
            options.values.value(QStringLiteral("--level"), QStringLiteral("0")), &level))
        return usage(QStringLiteral("--level braucht eine Zahl."));

    ScriptedPrompter prompter;
    echoToStderr(prompter);
    Session session(args.workspace, prompter);
    openSlot(session, slot, QString());
    const ActiveGame &game = session.game();
    const std::shared_ptr<const OrderVocabulary> vocabulary = session.orderVocabulary();
    // Identifier text in Kalmora, decimal in Sulvitan, as the template writes it.
    const int number = strToId(p[2], game.isKalmora() ? game.base : 10);
    if (!vocabulary->looksLikeId(p[2]) || number <= 0)
        return usage(p[2] + QStringLiteral(" ist keine Einheitennummer."));
    printVocabularyProblems(session);
    const QString &text = p[3];
    const CompletionPlace place {positionText(x, y, level), vocabulary->idText(number)};
    for (const QString &word : candidates(text, text.size(), *vocabulary, place).words)
        out() << word << '\n';
    return 0;
}

} // namespace tolvimar::cli
