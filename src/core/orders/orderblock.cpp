#include "orderblock.h"

#include "../base/errors.h"
#include "../base/identifiers.h"
#include "../base/workspacelock.h"
#include "../db/database.h"
#include "../db/schema.h"
#include "../db/table.h"
#include "orderedit.h"
#include "ordertemplate.h"

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

bool replaceUnitOrders(QStringList &lines, const QString &unitText, const QStringList &editorLines)
{
    const std::optional<BlockRange> block = findUnitBlock(lines, unitText);
    if (!block)
        return false;
    qsizetype last = editorLines.size();
    while (last > 1 && editorLines[last - 1].isEmpty())
        --last;
    QStringList result = lines.mid(0, block->header + 1);
    for (qsizetype i = 1; i < last; ++i)
        result.append(editorLines[i]);
    result += lines.mid(block->end);
    lines = result;
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
    const QStringList &lines = m_orders.lines();
    if (const std::optional<BlockRange> block = findUnitBlock(lines, m_unitText))
        opened.lines = lines.mid(block->header, block->end - block->header);
    m_length = int(opened.lines.size());
    return opened;
}

OrderBlock::Applied OrderBlock::apply(const QStringList &editorLines, UnitMark mark)
{
    Applied applied;
    if (!isOpen())
        return applied;
    // The header line stays as it is; every other line must be an order.
    for (qsizetype i = 1; i < editorLines.size(); ++i) {
        const QString problem = orderLineProblem(editorLines[i]);
        if (!problem.isEmpty())
            throw UserError(QStringLiteral("Zeile %1 des Befehlseditors: %2\nZeile: %3\nEs "
                                           "wurde nichts geändert.")
                                .arg(i + 1)
                                .arg(problem, editorLines[i].left(200)));
    }
    QStringList lines = m_orders.lines();
    applied.headerFound = replaceUnitOrders(lines, m_unitText, editorLines);
    // The mark first, under the workspace lock: when it cannot be stored, the template
    // stays as it was too.
    {
        const WorkspaceWriteScope write(m_lock);
        applied.marked = setflags(m_db, m_game, m_position, m_number, mark);
    }
    if (applied.headerFound && lines != m_orders.lines()) {
        m_orders.setLines(lines);
        applied.templateChanged = true;
    }
    if (const std::optional<BlockRange> block = findUnitBlock(lines, m_unitText))
        m_length = block->end - block->header;
    return applied;
}

} // namespace tolvimar
