#include "templatelines.h"

#include "../base/identifiers.h"
#include "orderline.h"
#include "ordertemplate.h"

#include <QTextBlock>
#include <QTextDocument>

namespace tolvimar {

int DocumentTemplateLines::count() const
{
    return m_document.blockCount();
}

QString DocumentTemplateLines::line(int index) const
{
    // A walk over the lines asks for the next one or the same again: no search.
    if (m_last.isValid() && index == m_lastIndex + 1)
        m_last = m_last.next();
    else if (!m_last.isValid() || index != m_lastIndex)
        m_last = m_document.findBlockByNumber(index);
    m_lastIndex = index;
    return m_last.text();
}

namespace {

int blockEnd(const TemplateLines &lines, int header)
{
    const int count = lines.count();
    int end = header + 1;
    while (end < count && !endsUnitBlock(lines.line(end)))
        ++end;
    return end;
}

UnitBlock blockFrom(const TemplateLines &lines, int header, const QString &headerLine)
{
    return UnitBlock {header, blockEnd(lines, header), unitTextOfHeaderLine(headerLine)};
}

bool isTarget(const TemplateLines &lines, const UnitBlock &block, const ReviewTargets &targets)
{
    const std::optional<qint64> number
        = numberOfText(block.unitText, targets.gameType, targets.base);
    return (number && targets.unitsWithProblems.contains(*number))
        || (targets.withoutOrders && !hasOrders(lines, block));
}

} // namespace

std::optional<UnitBlock> unitBlockAt(const TemplateLines &lines, int line)
{
    if (line < 0 || line >= lines.count())
        return std::nullopt;
    for (int i = line; i >= 0; --i) {
        const QString text = lines.line(i);
        if (isUnitHeaderLine(text))
            return blockFrom(lines, i, text);
        if (endsUnitBlock(text))
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<UnitBlock> unitBlockOf(const TemplateLines &lines, const QString &unitText)
{
    const int count = lines.count();
    for (int i = 0; i < count; ++i) {
        const QString text = lines.line(i);
        if (isUnitHeaderLine(text)
            && unitTextOfHeaderLine(text).compare(unitText, Qt::CaseInsensitive) == 0)
            return blockFrom(lines, i, text);
    }
    return std::nullopt;
}

bool hasOrders(const TemplateLines &lines, const UnitBlock &block)
{
    for (int i = block.header + 1; i < block.end; ++i) {
        if (holdsOrder(lines.line(i)))
            return true;
    }
    return false;
}

std::optional<int> nextUnitToReview(
    const TemplateLines &lines, int line, bool forward, const ReviewTargets &targets)
{
    const int count = lines.count();
    if (count == 0)
        return std::nullopt;
    line = qBound(0, line, count - 1);
    const std::optional<UnitBlock> current = unitBlockAt(lines, line);
    // Every line once, starting behind (or before) the current block and coming back
    // to it last.
    int start = forward ? (current ? current->end : line + 1)
                        : (current ? current->header - 1 : line - 1);
    for (int step = 0; step < count; ++step) {
        const int i = ((forward ? start + step : start - step) % count + count) % count;
        const QString text = lines.line(i);
        if (!isUnitHeaderLine(text))
            continue;
        const UnitBlock block = blockFrom(lines, i, text);
        if (isTarget(lines, block, targets))
            return block.header;
    }
    return std::nullopt;
}

} // namespace tolvimar
