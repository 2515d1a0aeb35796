#include "orderproblems.h"

#include "../base/identifiers.h"
#include "orderline.h"
#include "ordertemplate.h"
#include "ordervocabulary.h"
#include "templatelines.h"

#include <QRegularExpression>
#include <algorithm>

namespace tolvimar {

namespace {

std::optional<int> lineNumber(QStringView digits)
{
    bool ok = false;
    const int n = digits.toInt(&ok);
    return ok && n > 0 ? std::optional<int>(n) : std::nullopt;
}

QString unknownIdHint(ArgumentKind kind, QStringView id)
{
    switch (kind) {
    case ArgumentKind::Ship:
        return QStringLiteral("Hinweis: \"%1\" ist kein bekanntes Schiff.").arg(id);
    case ArgumentKind::Castle:
        return QStringLiteral("Hinweis: \"%1\" ist keine bekannte Burg.").arg(id);
    default:
        return QStringLiteral("Hinweis: \"%1\" ist keine bekannte Einheit.").arg(id);
    }
}

} // namespace

std::optional<int> namedOrderLine(QStringView checkerLine)
{
    // "Zug-Spiel1-3-Juli.txt:12: ..." or "C:\Spiel\Zug.txt:12:": a file name without
    // blanks, a line number between colons.
    static const QRegularExpression fileLine(QStringLiteral(R"(^(?:[A-Za-z]:)?[^\s:]+:(\d+):)"));
    static const QRegularExpression namedLine(
        QStringLiteral(R"(\b(?:line|zeile)\s+(\d+)\b)"), QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = fileLine.match(checkerLine); m.hasMatch())
        return lineNumber(m.capturedView(1));
    if (const QRegularExpressionMatch m = namedLine.match(checkerLine); m.hasMatch())
        return lineNumber(m.capturedView(1));
    return std::nullopt;
}

QList<OrderProblem> checkerProblems(const QString &output, const TemplateLines &lines)
{
    QList<OrderProblem> problems;
    const int count = lines.count();
    for (QStringView line : QStringView(output).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        // A line that names no line of the file ("Password missing!", a line past its
        // end) is still the checker's word: listed on line 0, on no unit.
        OrderProblem p;
        p.text = line.toString();
        const std::optional<int> n = namedOrderLine(line);
        if (n && *n <= count) {
            p.line = *n;
            if (const std::optional<UnitBlock> block = unitBlockAt(lines, *n - 1)) {
                p.unitText = block->unitText;
                p.unitHeader = block->header;
            }
        }
        problems.append(p);
    }
    return problems;
}

QList<OrderProblem> orderHints(const TemplateLines &lines, const OrderVocabulary &vocabulary)
{
    QList<OrderProblem> hints;
    const auto hint = [&hints](int index, const UnitBlock *block, const QString &text) {
        OrderProblem p;
        p.source = OrderProblem::Source::Hint;
        p.line = index + 1;
        p.text = text;
        if (block) {
            p.unitText = block->unitText;
            p.unitHeader = block->header;
        }
        hints.append(p);
    };

    std::optional<UnitBlock> block;
    bool ordersSeen = false;
    const auto closeBlock = [&] {
        if (block && !ordersSeen)
            hint(block->header, &*block,
                QStringLiteral("Hinweis: Einheit %1 hat keine Befehle.").arg(block->unitText));
        block.reset();
    };
    const int count = lines.count();
    for (int i = 0; i < count; ++i) {
        const QString text = lines.line(i);
        if (endsUnitBlock(text))
            closeBlock();
        if (isUnitHeaderLine(text)) {
            block = UnitBlock {i, i + 1, unitTextOfHeaderLine(text)};
            ordersSeen = false;
        } else if (block && holdsOrder(text)) {
            ordersSeen = true;
        }
        const UnitBlock *holder = block ? &*block : nullptr;
        const QList<OrderToken> tokens = readOrderLine(text, vocabulary);
        for (qsizetype t = 0; t < tokens.size(); ++t) {
            const OrderToken &token = tokens[t];
            if (token.type != OrderToken::Type::Word)
                continue;
            const QStringView word = QStringView(text).mid(token.start, token.length);
            if (t == 0) {
                if (!vocabulary.language().knows(word))
                    hint(
                        i, holder, QStringLiteral("Hinweis: unbekannter Befehl \"%1\".").arg(word));
                continue;
            }
            const bool namesRow = token.role == ArgumentKind::Unit
                || token.role == ArgumentKind::Ship || token.role == ArgumentKind::Castle;
            if (namesRow && token.fits && !token.temporary
                && !vocabulary.knowsId(*token.role, word))
                hint(i, holder, unknownIdHint(*token.role, word));
        }
    }
    closeBlock();
    std::stable_sort(hints.begin(), hints.end(),
        [](const OrderProblem &a, const OrderProblem &b) { return a.line < b.line; });
    return hints;
}

QSet<qint64> unitsWithProblems(const QList<OrderProblem> &problems, GameType gameType, int base)
{
    QSet<qint64> units;
    for (const OrderProblem &p : problems) {
        if (const std::optional<qint64> number = numberOfText(p.unitText, gameType, base))
            units.insert(*number);
    }
    return units;
}

int currentLineOf(const OrderProblem &problem, const TemplateLines &lines)
{
    const int named = problem.line - 1;
    if (problem.line <= 0)
        return -1;
    if (problem.unitText.isEmpty() || problem.unitHeader < 0)
        return named;
    // The unit's block where it was, else wherever the unit is now.
    std::optional<UnitBlock> block = unitBlockAt(lines, problem.unitHeader);
    if (!block || block->header != problem.unitHeader
        || block->unitText.compare(problem.unitText, Qt::CaseInsensitive) != 0)
        block = unitBlockOf(lines, problem.unitText);
    if (!block)
        return named;
    return std::min(block->header + (named - problem.unitHeader), block->end - 1);
}

} // namespace tolvimar
