#include "carryover.h"

#include "ordertemplate.h"

#include <QHash>

namespace tolvimar {

namespace {

struct Block
{
    QString header;
    QStringList orders;
    bool used = false;
};

// The unit blocks of a template by lower-case unit text, in template order.
QHash<QString, Block> unitBlocks(const QStringList &lines, QStringList *order)
{
    QHash<QString, Block> blocks;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!isUnitHeaderLine(lines[i]))
            continue;
        Block block {lines[i], {}, false};
        qsizetype end = i + 1;
        while (end < lines.size() && !endsUnitBlock(lines[end]))
            block.orders.append(lines[end++]);
        const QString key = unitTextOfHeaderLine(lines[i]).toLower();
        if (!blocks.contains(key)) {
            order->append(key);
            blocks.insert(key, block);
        }
        i = end - 1;
    }
    return blocks;
}

} // namespace

CarriedOverOrders carryOverEditedOrders(const QStringList &previous, QStringList &fresh)
{
    CarriedOverOrders result;
    QStringList previousOrder;
    QHash<QString, Block> edited = unitBlocks(previous, &previousOrder);
    if (edited.isEmpty())
        return result;

    QStringList merged;
    merged.reserve(fresh.size());
    for (qsizetype i = 0; i < fresh.size(); ++i) {
        merged.append(fresh[i]);
        if (!isUnitHeaderLine(fresh[i]))
            continue;
        qsizetype end = i + 1;
        while (end < fresh.size() && !endsUnitBlock(fresh[end]))
            ++end;
        const QStringList orders = fresh.mid(i + 1, end - i - 1);
        const auto it = edited.find(unitTextOfHeaderLine(fresh[i]).toLower());
        if (it != edited.end() && !it->used) {
            it->used = true;
            if (it->orders != orders) {
                merged += it->orders;
                ++result.units;
                i = end - 1;
                continue;
            }
        }
        merged += orders;
        i = end - 1;
    }

    QStringList comment;
    for (const QString &key : previousOrder) {
        const Block &block = edited[key];
        if (block.used)
            continue;
        result.gone.append(unitTextOfHeaderLine(block.header));
        comment.append(QStringLiteral("; ") + block.header.trimmed());
        for (const QString &order : block.orders) {
            if (!order.trimmed().isEmpty())
                comment.append(QStringLiteral(";     ") + order.trimmed());
        }
    }
    if (!comment.isEmpty()) {
        comment.prepend(QStringLiteral("; Befehle von Einheiten, die dieser Report nicht mehr "
                                       "zeigt:"));
        comment.append(QString());
        qsizetype at = merged.lastIndexOf(QStringLiteral(" NAECHSTER"));
        if (at < 0)
            at = merged.size();
        for (qsizetype k = 0; k < comment.size(); ++k)
            merged.insert(at + k, comment[k]);
    }
    fresh = merged;
    return result;
}

} // namespace tolvimar
