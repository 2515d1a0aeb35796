// Writing orders in a large template: a generated Kalmora template of 30 MB (regions,
// about 8 own units each with 2 to 6 orders) and a vocabulary of all its units,
// castles and ships. Prints:
// - per key press, in the editor's document itself (a QTextDocument holding the
//   template, as the template page's editor does): one character typed at a random
//   line, the colouring of the 60 lines shown around it, the unit block of the line,
//   and the candidates for the word at the cursor; median and worst of many;
// - the same work on a list of lines (no document);
// - the passes over the whole template: the hints, placing 10,000 checker lines on
//   their units, the learning of order words, a move to the next unit that finds
//   none (a walk over every line), and building the vocabulary.
//
//   bench_orders [--size-mb 30] [--presses 500] [--seed 1]

#include "base/identifiers.h"
#include "benchsupport.h"
#include "orders/ordercompletion.h"
#include "orders/orderline.h"
#include "orders/orderproblems.h"
#include "orders/ordertemplate.h"
#include "orders/ordervocabulary.h"
#include "orders/templatelines.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <random>

using namespace tolvimar;
using tolvimar::bench::fastest;
using tolvimar::bench::offscreenApplication;
using tolvimar::bench::option;

namespace {

const int kShownLines = 60;

struct Generated
{
    QStringList lines;
    QList<int> orderLines; // lines that hold an order
    qint64 bytes = 0;
    int units = 0;
};

Generated generate(qint64 targetBytes, quint32 seed, OrderVocabulary &vocabulary)
{
    std::mt19937 random(seed);
    const auto pick = [&random](int n) { return int(random() % quint32(n)); };
    Generated g;
    const auto add = [&g](const QString &line) {
        g.lines.append(line);
        g.bytes += line.toUtf8().size() + 2; // CR LF
    };
    add(QStringLiteral(" PARTEI 3mv \"geheim\""));
    add(QString());
    add(QStringLiteral(" ; ZORBEK -l -w4 -r60"));
    int unit = 1000;
    int building = 100;
    for (int region = 0; g.bytes < targetBytes; ++region) {
        const int x = region % 400 - 200;
        const int y = region / 400 - 100;
        const QString position = QStringLiteral("%1/%2").arg(x).arg(y);
        add(QString());
        add(regionHeaderLine(x, y, std::nullopt, QStringLiteral("Gegend")));
        add(QStringLiteral(" ; Zorbek Lohn 11"));
        add(QString());
        const QString castle = idToStr(++building, 36);
        vocabulary.addId(ArgumentKind::Castle, building, position);
        vocabulary.addId(ArgumentKind::Ship, building, position);
        const int first = unit + 1;
        const int count = 4 + pick(8);
        for (int u = 0; u < count; ++u) {
            const QString id = idToStr(++unit, 36);
            vocabulary.addId(ArgumentKind::Unit, unit, position);
            ++g.units;
            add(unitHeaderLine(id, QStringLiteral("Einheit %1").arg(unit), 10, 500,
                QStringLiteral("$,g%1]").arg(castle)));
            const QString other = idToStr(first + pick(count), 36);
            const QString orders[] = {QStringLiteral("    LERNE Hiebwaffen"),
                QStringLiteral("    GIB %1 50 Silber").arg(other),
                QStringLiteral("    MACHE 5 Schwert ; für die Wache"),
                QStringLiteral("    NACH o no w"),
                QStringLiteral("    BETRETE BURG %1").arg(castle),
                QStringLiteral("    KAUFE 5 Balsam"), QStringLiteral("    ARBEITE"),
                QStringLiteral("    BENENNE EINHEIT \"Die Wache von %1\"").arg(id)};
            for (int o = 2 + pick(5); o > 0; --o) {
                g.orderLines.append(int(g.lines.size()));
                add(orders[pick(8)]);
            }
        }
    }
    add(QString());
    add(QStringLiteral(" NAECHSTER"));
    return g;
}

struct Figures
{
    double median = 0;
    double worst = 0;
};

Figures figures(QList<double> times)
{
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.last()};
}

// The work of one key press after the character is in: colour the shown lines, find
// the unit of the cursor line and the candidates for the word at the cursor.
int keyWork(const TemplateLines &lines, int line, const QString &text, int column,
    const OrderVocabulary &vocabulary)
{
    int spans = 0;
    const int first = std::max(0, line - kShownLines / 2);
    const int last = std::min(lines.count(), first + kShownLines);
    for (int i = first; i < last; ++i)
        spans += int(highlight(lines.line(i), vocabulary).size());
    CompletionPlace place;
    if (const std::optional<UnitBlock> block = unitBlockAt(lines, line)) {
        place.unitText = block->unitText;
        place.position = vocabulary.positionOfUnit(block->unitText);
    }
    return spans + int(candidates(text, column, vocabulary, place).words.size());
}

} // namespace

int main(int argc, char **argv)
{
    const auto app = offscreenApplication<QGuiApplication>(argc, argv);
    const QStringList args = app->arguments();
    const qint64 target = qint64(option(args, QStringLiteral("--size-mb"), 30)) << 20;
    const int presses = option(args, QStringLiteral("--presses"), 500);
    const quint32 seed = quint32(option(args, QStringLiteral("--seed"), 1));

    OrderVocabulary vocabulary(OrderLanguage::builtIn(), GameType::Kalmora, 36);
    QElapsedTimer timer;
    timer.start();
    const Generated g = generate(target, seed, vocabulary);
    std::printf("template: %.1f MB, %lld lines, %d units (generated with the vocabulary in "
                "%.0f ms)\n",
        g.bytes / 1048576.0, qint64(g.lines.size()), g.units, double(timer.elapsed()));

    timer.restart();
    QTextDocument document;
    document.setPlainText(g.lines.join(u'\n'));
    std::printf(
        "document: %d blocks, loaded in %.0f ms\n", document.blockCount(), double(timer.elapsed()));

    std::mt19937 random(seed);
    const DocumentTemplateLines documentLines(document);
    QList<double> typing, work;
    int sink = 0;
    for (int i = 0; i < presses; ++i) {
        const int line = g.orderLines[int(random() % quint32(g.orderLines.size()))];
        QElapsedTimer press;
        press.start();
        QTextCursor cursor(document.findBlockByNumber(line));
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.insertText(QStringLiteral("x"));
        const double typed = press.nsecsElapsed() / 1e6;
        const QString text = cursor.block().text();
        sink += keyWork(documentLines, line, text, int(text.size()), vocabulary);
        typing.append(typed);
        work.append(press.nsecsElapsed() / 1e6);
        cursor.deletePreviousChar();
    }
    const Figures typed = figures(typing);
    const Figures pressed = figures(work);
    std::printf("key press in the document (%d presses): insert median %.3f ms, worst %.3f ms; "
                "with colouring %d lines, unit and candidates: median %.3f ms, worst %.3f ms\n",
        presses, typed.median, typed.worst, kShownLines, pressed.median, pressed.worst);

    const ListTemplateLines listLines(g.lines);
    QList<double> listWork;
    for (int i = 0; i < presses; ++i) {
        const int line = g.orderLines[int(random() % quint32(g.orderLines.size()))];
        const QString text = g.lines[line] + QStringLiteral(" ");
        QElapsedTimer press;
        press.start();
        sink += keyWork(listLines, line, text, int(text.size()), vocabulary);
        listWork.append(press.nsecsElapsed() / 1e6);
    }
    const Figures listed = figures(listWork);
    std::printf("the same work on a list of lines: median %.3f ms, worst %.3f ms\n", listed.median,
        listed.worst);

    // Candidates at their costliest: ids of every unit that begin with one digit.
    const double allIds = fastest(5, [&] {
        sink += int(
            candidates(u"GIB 1", 5, vocabulary, {QStringLiteral("0/0"), QString()}).words.size());
    });
    std::printf("candidates for \"GIB 1\" among %d units: %.3f ms\n", g.units, allIds);

    QList<OrderProblem> hints;
    const double hinting = fastest(3, [&] { hints = orderHints(documentLines, vocabulary); });
    const double hintingList = fastest(3, [&] { hints = orderHints(listLines, vocabulary); });
    std::printf("hints over the whole template: %.0f ms in the document, %.0f ms on a list "
                "(%lld hints)\n",
        hinting, hintingList, qint64(hints.size()));

    QString output;
    for (int i = 0; i < 10000; ++i)
        output
            += QStringLiteral("Zug.txt:%1: Fehler\n").arg(1 + random() % quint32(g.lines.size()));
    QList<OrderProblem> problems;
    const double placing = fastest(3, [&] { problems = checkerProblems(output, documentLines); });
    std::printf("10,000 checker lines placed on their units: %.0f ms\n", placing);

    const double learning = fastest(
        3, [&] { sink += int(unknownOrderWords(g.lines, vocabulary.language()).size()); });
    std::printf("learning pass over the template's orders: %.0f ms\n", learning);

    ReviewTargets none;
    none.withoutOrders = false;
    const double moving
        = fastest(3, [&] { sink += nextUnitToReview(documentLines, 10, true, none).value_or(0); });
    std::printf("next unit to review when there is none (every line read): %.0f ms\n", moving);

    const double building = fastest(3, [&] {
        OrderVocabulary v(OrderLanguage::builtIn(), GameType::Kalmora, 36);
        for (int u = 1; u <= g.units; ++u)
            v.addId(ArgumentKind::Unit, 1000 + u, QStringLiteral("%1/0").arg(u / 8));
        sink += int(v.ids(ArgumentKind::Unit).size());
    });
    std::printf("vocabulary of %d units built in %.0f ms\n", g.units, building);
    return sink == -1 ? 1 : 0;
}
