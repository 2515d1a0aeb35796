#include "orderedit.h"

#include "../base/errors.h"
#include "../base/filebatch.h"
#include "../base/workspacelock.h"
#include "../db/database.h"
#include "../db/schema.h"
#include "../db/table.h"
#include "orderfile.h"
#include "ordertemplate.h"

#include <QDir>

namespace tolvimar {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString firstWord(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    qsizetype end = 0;
    while (end < trimmed.size() && !trimmed[end].isSpace() && trimmed[end] != u';')
        ++end;
    return trimmed.left(end).toString().toUpper();
}

UserError lineError(const QString &fileName, int index, QStringView line, const QString &problem)
{
    return UserError(QStringLiteral("Die Befehle in %1, Zeile %2: %3\nZeile: %4\nEs wurde nichts "
                                    "geändert.")
                         .arg(shown(fileName))
                         .arg(index + 1)
                         .arg(problem, line.left(200).toString()));
}

} // namespace

QString orderLineProblem(QStringView line)
{
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t') || u == 0x7F)
            return QStringLiteral("sie enthält Steuerzeichen (%1).")
                .arg(QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0')));
    }
    const QString word = firstWord(line);
    if (word == u"NAECHSTER")
        return QStringLiteral("NAECHSTER beendet die Befehle für das Spiel; alles danach ginge "
                              "verloren.");
    if (word == u"PARTEI" || word == u"REGION" || word == u"EINHEIT")
        return QStringLiteral("eine Zeile, die mit %1 beginnt, gliedert die Zugdatei und ist "
                              "kein Befehl.")
            .arg(word);
    return QString();
}

QStringList withMoveOrder(const QStringList &orders, const QString &moveOrder)
{
    // The new line takes the indentation of the line it replaces, or of the last order.
    const auto indentation = [](const QString &line) {
        qsizetype end = 0;
        while (end < line.size() && line[end].isSpace())
            ++end;
        return line.left(end);
    };
    QStringList result = orders;
    for (QString &line : result) {
        const QString word = firstWord(line);
        if (word == u"NACH" || word == u"ROUTE") {
            line = indentation(line) + moveOrder;
            return result;
        }
    }
    // Trailing blank lines stay after the orders.
    qsizetype at = result.size();
    while (at > 0 && result[at - 1].trimmed().isEmpty())
        --at;
    result.insert(at, (at > 0 ? indentation(result[at - 1]) : QString()) + moveOrder);
    return result;
}

QStringList ordersOfFile(const QByteArray &bytes, const QString &unitText, const QString &fileName)
{
    const QString notText = notTextReason(bytes);
    if (!notText.isEmpty())
        throw UserError(QStringLiteral("Die Befehle in %1 können nicht gelesen werden: %2. Es "
                                       "wurde nichts geändert.")
                            .arg(shown(fileName), notText));
    const QStringList lines = splitLines(decodeText(bytes));
    QStringList orders;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        // Blank lines stay where they stand, as the order editor writes them.
        if (line.trimmed().isEmpty()) {
            orders.append(line);
            continue;
        }
        if (i == 0 && firstWord(line) == u"EINHEIT") {
            // The header, with or without the rest "orders" prints after the number.
            QString named = line.trimmed().mid(7).trimmed();
            named = named.left(named.indexOf(u';')).trimmed();
            if (named.compare(unitText, Qt::CaseInsensitive) == 0)
                continue;
            throw lineError(fileName, i, line,
                QStringLiteral("der Kopf nennt die Einheit %1, die Befehle sind für %2.")
                    .arg(named.left(40), unitText));
        }
        const QString problem = orderLineProblem(line);
        if (!problem.isEmpty())
            throw lineError(fileName, i, line, problem);
        orders.append(line);
    }
    return orders;
}

UnitOrdersResult writeUnitOrders(Database &db, WorkspaceLock *lock, const UnitOrdersEdit &edit)
{
    const WorkspaceWriteScope write(lock);
    TextEncoding encoding = TextEncoding::Utf8;
    const QByteArray previous = readRegularFile(edit.orderFile);
    QStringList lines = splitLines(decodeText(previous, &encoding));
    const std::optional<BlockRange> block = findUnitBlock(lines, edit.unitText);
    if (!block)
        return UnitOrdersResult::NoBlock;
    for (const QString &order : edit.orders) {
        if (!isEncodable(order, encoding))
            throw UserError(QStringLiteral("Der Befehl \"%1\" enthält Zeichen, die die Zugdatei %2 "
                                           "(Windows-1252) nicht fassen kann. Es wurde nichts "
                                           "geändert.")
                                .arg(order.left(200), shown(edit.orderFile)));
    }

    Transaction transaction(db);
    Table units(db, schema::einheiten());
    if (!units.find({QStringLiteral("Spiel"), QStringLiteral("Einheit Position"),
                        QStringLiteral("Einheit Nr")},
            {edit.game, edit.position, edit.number}))
        return UnitOrdersResult::NoUnit;
    if (edit.mark) {
        const QString flags = units.text(u"Flags");
        const QString marked = flagsWithMark(flags, *edit.mark);
        if (marked != flags) {
            units.edit();
            units.setValue(u"Flags", marked);
            units.post();
        }
    }
    replaceUnitOrders(lines, edit.unitText, QStringList {lines[block->header]} + edit.orders);
    const QByteArray bytes = OrderFile::bytes(lines, encoding);
    const bool fileChanges = bytes != previous;
    if (fileChanges) {
        // A file that cannot be written leaves the mark unstored (the rollback).
        FileBatch batch;
        batch.stage(edit.orderFile, bytes);
        const QList<FileBatch::Failure> failures = batch.publish();
        if (!failures.isEmpty())
            throw UserError(QStringLiteral("Die Zugdatei %1 kann nicht geschrieben werden: %2. Es "
                                           "wurde nichts geändert.")
                                .arg(shown(edit.orderFile), failures.first().error));
    }
    try {
        transaction.commit();
    } catch (const UserError &e) {
        if (!fileChanges)
            throw;
        // The orders go back to what they were, so that neither change stays.
        try {
            writeFileAtomically(edit.orderFile, previous);
        } catch (const UserError &restore) {
            throw UserError(e.message()
                + QStringLiteral("\nDie Markierung wurde nicht gespeichert, die Befehle aber schon "
                                 "(%1).")
                      .arg(restore.message()));
        }
        throw UserError(e.message() + QStringLiteral("\nEs wurde nichts geändert."));
    }
    return UnitOrdersResult::Written;
}

} // namespace tolvimar
