#include "orderblock.h"

#include "../base/errors.h"
#include "../base/identifiers.h"
#include "../base/workspacelock.h"
#include "../db/database.h"
#include "../db/schema.h"
#include "../db/table.h"
#include "orderedit.h"
#include "ordertemplate.h"
#include "templatelines.h"

namespace tolvimar {

namespace {

QString markLetter(UnitMark mark)
{
    switch (mark) {
    case UnitMark::Plain:
        return QStringLiteral("x");
    case UnitMark::Long:
        return QStringLiteral("X");
    case UnitMark::None:
        break;
    }
    return QString();
}

void removeFirst(QString &text, QChar letter)
{
    const qsizetype at = text.indexOf(letter);
    if (at >= 0)
        text.remove(at, 1);
}

} // namespace

UnitMark markOfFlags(const QString &flags)
{
    if (flags.contains(u'X'))
        return UnitMark::Long;
    if (flags.contains(u'x'))
        return UnitMark::Plain;
    return UnitMark::None;
}

QString flagsWithMark(const QString &flags, UnitMark mark)
{
    const QString letter = markLetter(mark);
    if (flags.isEmpty())
        return letter;
    QString result = flags;
    removeFirst(result, u'x');
    removeFirst(result, u'X');
    return result + letter;
}

bool setflags(Database &db, int game, const QString &position, int number, UnitMark mark)
{
    Table units(db, schema::einheiten());
    Transaction transaction(db);
    if (!units.find({QStringLiteral("Spiel"), QStringLiteral("Einheit Position"),
                        QStringLiteral("Einheit Nr")},
            {game, position, number}))
        return false;
    const QString flags = units.text(u"Flags");
    const QString marked = flagsWithMark(flags, mark);
    if (marked != flags) {
        units.edit();
        units.setValue(u"Flags", marked);
        units.post();
    }
    transaction.commit();
    return true;
}

std::optional<BlockRange> findUnitBlock(const QStringList &lines, const QString &unitText)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (!isUnitHeaderLine(lines[i])
            || unitTextOfHeaderLine(lines[i]).compare(unitText, Qt::CaseInsensitive) != 0)
            continue;
        int end = i + 1;
        while (end < lines.size() && !endsUnitBlock(lines[end]))
            ++end;
        return BlockRange {i, end};
    }
    return std::nullopt;
}

QList<BlockRange> findUnitBlocks(const TemplateLines &lines, const QString &unitText)
{
    QList<BlockRange> blocks;
    const int count = lines.count();
    for (int i = 0; i < count; ++i) {
        const QString line = lines.line(i);
        if (!isUnitHeaderLine(line)
            || unitTextOfHeaderLine(line).compare(unitText, Qt::CaseInsensitive) != 0)
            continue;
        int end = i + 1;
        while (end < count && !endsUnitBlock(lines.line(end)))
            ++end;
        blocks.append({i, end});
        i = end - 1;
    }
    return blocks;
}

bool replaceUnitOrders(QStringList &lines, const QString &unitText, const QStringList &editorLines)
{
    const std::optional<BlockRange> block = findUnitBlock(lines, unitText);
    if (!block)
        return false;
    const qsizetype removed = block->end - block->header - 1;
    const QStringList orders = editorLines.mid(1);
    lines.remove(block->header + 1, removed);
    for (qsizetype i = 0; i < orders.size(); ++i)
        lines.insert(block->header + 1 + i, orders[i]);
    return true;
}

OrderBlock::OrderBlock(OrderTemplate &orders, Database &db, WorkspaceLock *lock)
    : m_orders(orders)
    , m_db(db)
    , m_lock(lock)
{
}

OrderBlock::Opened OrderBlock::open(const ActiveGame &game, const UnitViewTexts &unit)
{
    m_game = game.number;
    m_position = unit.position;
    m_number = unit.number;
    m_unitText = numberText(unit.number, game.type, game.base);
    m_name = unit.name;
    Opened opened;
    opened.mark = markOfFlags(unit.flags);
    const std::unique_ptr<TemplateLines> lines = m_orders.view();
    const QList<BlockRange> blocks = findUnitBlocks(*lines, m_unitText);
    m_headers.clear();
    for (const BlockRange &block : blocks) {
        m_headers.append(block.header);
        for (int i = block.header; i < block.end; ++i)
            opened.lines.append(lines->line(i));
    }
    opened.blocks = int(blocks.size());
    m_length = int(opened.lines.size());
    return opened;
}

QList<BlockRange> OrderBlock::currentBlocks(const TemplateLines &lines) const
{
    QList<BlockRange> blocks;
    const int count = lines.count();
    for (const int header : m_headers) {
        if (header >= count
            || unitTextOfHeaderLine(lines.line(header)).compare(m_unitText, Qt::CaseInsensitive)
                != 0)
            return findUnitBlocks(lines, m_unitText);
        int end = header + 1;
        while (end < count && !endsUnitBlock(lines.line(end)))
            ++end;
        blocks.append({header, end});
    }
    return blocks.isEmpty() ? findUnitBlocks(lines, m_unitText) : blocks;
}

OrderBlock::Applied OrderBlock::apply(const QStringList &editorLines, UnitMark mark)
{
    Applied applied;
    if (!isOpen())
        return applied;
    const std::unique_ptr<TemplateLines> lines = m_orders.view();
    const QList<BlockRange> blocks = currentBlocks(*lines);
    // With several blocks, each part of the editor's lines begins with the unit's
    // header line; the first line always stands for the first block's header.
    QList<QStringList> parts {QStringList()};
    for (qsizetype i = 1; i < editorLines.size(); ++i) {
        const QString &line = editorLines[i];
        if (blocks.size() > 1
            && unitTextOfHeaderLine(line).compare(m_unitText, Qt::CaseInsensitive) == 0) {
            parts.append(QStringList());
            continue;
        }
        // The header line stays as it is; every other line must be an order.
        const QString problem = orderLineProblem(line);
        if (!problem.isEmpty())
            throw UserError(QStringLiteral("Zeile %1 des Befehlseditors: %2\nZeile: %3\nEs "
                                           "wurde nichts geändert.")
                                .arg(i + 1)
                                .arg(problem, line.left(200)));
        parts.last().append(line);
    }
    if (blocks.size() > 1 && parts.size() != blocks.size())
        throw UserError(QStringLiteral("Die Zugvorlage hat %1 Blöcke der Einheit %2, der "
                                       "Befehlseditor %3 Kopfzeilen der Einheit. Es wurde "
                                       "nichts geändert.")
                            .arg(blocks.size())
                            .arg(m_unitText)
                            .arg(parts.size()));
    applied.headerFound = !blocks.isEmpty();

    // From the last block to the first, so that the line numbers of the others hold.
    QList<LineEdit> edits;
    for (qsizetype k = blocks.size() - 1; k >= 0; --k) {
        const BlockRange &block = blocks[k];
        const int first = block.header + 1;
        const int count = block.end - first;
        bool same = count == parts[k].size();
        for (int i = 0; same && i < count; ++i)
            same = lines->line(first + i) == parts[k][i];
        if (!same)
            edits.append({first, count, parts[k]});
    }
    // The mark first, under the workspace lock: when it cannot be stored, the template
    // stays as it was too.
    {
        const WorkspaceWriteScope write(m_lock);
        applied.marked = setflags(m_db, m_game, m_position, m_number, mark);
    }
    if (!edits.isEmpty()) {
        m_orders.editLines(edits);
        applied.templateChanged = true;
    }
    // Where the blocks stand now, and the first one's length as the block rule reads it.
    m_headers.clear();
    int shift = 0;
    for (qsizetype k = 0; k < blocks.size(); ++k) {
        m_headers.append(blocks[k].header + shift);
        shift += int(parts[k].size()) - (blocks[k].end - blocks[k].header - 1);
    }
    if (!blocks.isEmpty()) {
        m_length = 1;
        while (m_length - 1 < parts[0].size() && !endsUnitBlock(parts[0][m_length - 1]))
            ++m_length;
    }
    return applied;
}

} // namespace tolvimar
