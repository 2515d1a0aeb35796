#include "carryover.h"

#include "ordertemplate.h"

#include <QHash>
#include <algorithm>

namespace tolvimar {

namespace {

// A piece of a template: a header line (unit, region or " NAECHSTER"; none for the
// lines before the first) and every line up to the next header. In the order file
// a line belongs to the header above it, blank lines or not, so a piece is what the
// game reads as one unit's orders, one region's lines or the lines of the head.
struct Piece
{
    QString key; // "" the head, "u:" + unit, "r:" + region, "end" from NAECHSTER on
    qsizetype header = -1; // index of the header line; -1 for the head
    qsizetype from = 0; // first line after the header
    qsizetype to = 0; // end of the lines that count (trailing blank lines excluded)
    qsizetype end = 0; // end of the piece
    bool used = false;
};

bool isClosingLine(QStringView line)
{
    return line.trimmed().compare(u"NAECHSTER", Qt::CaseInsensitive) == 0;
}

QString pieceKey(const QString &line)
{
    if (isUnitHeaderLine(line))
        return QStringLiteral("u:") + unitTextOfHeaderLine(line).toLower();
    if (isRegionHeaderLine(line)) {
        // The place, not the name after " ; ", which a report may spell anew.
        const qsizetype name = line.indexOf(QStringLiteral(" ; "));
        return QStringLiteral("r:") + (name < 0 ? line : line.left(name)).trimmed();
    }
    return QStringLiteral("end");
}

QList<Piece> pieces(const QStringList &lines)
{
    QList<Piece> result;
    Piece current;
    const auto close = [&](qsizetype end) {
        current.end = end;
        current.to = end;
        while (current.to > current.from && lines[current.to - 1].trimmed().isEmpty())
            --current.to;
        result.append(current);
    };
    bool closed = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (closed
            || (!isUnitHeaderLine(line) && !isRegionHeaderLine(line) && !isClosingLine(line)))
            continue;
        close(i);
        current = Piece {pieceKey(line), i, i + 1, 0, 0, false};
        // What follows NAECHSTER is one piece: the game reads no further.
        closed = current.key == u"end";
    }
    close(lines.size());
    return result;
}

QStringList linesOf(const QStringList &lines, qsizetype from, qsizetype to)
{
    return lines.mid(from, to - from);
}

// A piece as comment lines: its header, then each line that is not blank.
QStringList commented(const QStringList &lines, const Piece &piece)
{
    QStringList comment {QStringLiteral("; ") + lines[piece.header].trimmed()};
    for (qsizetype i = piece.from; i < piece.to; ++i) {
        if (!lines[i].trimmed().isEmpty())
            comment.append(QStringLiteral(";     ") + lines[i].trimmed());
    }
    return comment;
}

} // namespace

CarriedOverOrders carryOverEditedOrders(const QStringList &previous, QStringList &fresh)
{
    CarriedOverOrders result;
    QList<Piece> before = pieces(previous);
    if (std::none_of(
            before.cbegin(), before.cend(), [](const Piece &p) { return p.key.startsWith(u"u:"); }))
        return result;
    // The first piece of each key; a later one with the same header is kept as well,
    // after the first.
    QHash<QString, QList<qsizetype>> byKey;
    for (qsizetype i = 0; i < before.size(); ++i)
        byKey[before[i].key].append(i);

    QStringList merged;
    merged.reserve(fresh.size());
    QStringList deleted;
    QStringList end;
    for (const Piece &piece : pieces(fresh)) {
        QStringList *out = piece.key == u"end" ? &end : &merged;
        const auto found = byKey.constFind(piece.key);
        if (found == byKey.cend()) {
            if (piece.key.startsWith(u"u:")) {
                // The player deleted the block (or the unit is new): it stays out,
                // shown as a comment.
                result.deleted.append(unitTextOfHeaderLine(fresh[piece.header]));
                deleted += commented(fresh, piece);
                continue;
            }
            *out += linesOf(fresh, piece.header < 0 ? 0 : piece.header, piece.end);
            continue;
        }
        if (piece.header >= 0)
            out->append(fresh[piece.header]);
        QStringList kept;
        for (const qsizetype index : *found) {
            Piece &old = before[index];
            old.used = true;
            kept += linesOf(previous, old.from, old.to);
        }
        const QStringList made = linesOf(fresh, piece.from, piece.to);
        if (kept != made) {
            ++(piece.key.startsWith(u"u:") ? result.units : result.places);
            *out += kept;
        } else {
            *out += made;
        }
        *out += linesOf(fresh, piece.to, piece.end);
    }

    QStringList comment;
    for (const Piece &piece : std::as_const(before)) {
        if (piece.used || piece.header < 0)
            continue;
        if (piece.key.startsWith(u"u:"))
            result.gone.append(unitTextOfHeaderLine(previous[piece.header]));
        else if (piece.from == piece.to)
            continue;
        comment += commented(previous, piece);
    }
    if (!comment.isEmpty()) {
        merged.append(QStringLiteral("; Befehle von Einheiten, die dieser Report nicht mehr "
                                     "zeigt:"));
        merged += comment;
        merged.append(QString());
    }
    if (!deleted.isEmpty()) {
        merged.append(QStringLiteral("; Einheiten, deren Block in der bearbeiteten Zugvorlage "
                                     "fehlte (Befehle aus dem Report):"));
        merged += deleted;
        merged.append(QString());
    }
    fresh = merged + end;
    return result;
}

} // namespace tolvimar
