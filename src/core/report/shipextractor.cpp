#include "blocklines.h"
#include "extractors.h"
#include "importcontext.h"

#include <cmath>

namespace tolvimar {

namespace {

bool endOfBuildingBlock(const ImportContext &ctx)
{
    return ctx.atEnd() || hasKeyword(ctx.line(), {u"BURG", u"SCHIFF", u"EINHEIT", u"REGION"});
}

int fullShipSize(const QString &type)
{
    if (type == u"Boot")
        return 5;
    if (type == u"Langboot")
        return 50;
    if (type == u"Drachenschiff")
        return 100;
    if (type == u"Karavelle")
        return 250;
    if (type == u"Trireme")
        return 200;
    return 0;
}

QString coastName(int code)
{
    switch (code) {
    case 0:
        return QStringLiteral("Nordwestküste");
    case 1:
        return QStringLiteral("Nordostküste");
    case 2:
        return QStringLiteral("Ostküste");
    case 3:
        return QStringLiteral("Südostküste");
    case 4:
        return QStringLiteral("Südwestküste");
    case 5:
        return QStringLiteral("Westküste");
    default:
        return QString();
    }
}

int headerNumber(const ImportContext &ctx)
{
    const QStringView header = ctx.line();
    const qsizetype blank = header.indexOf(u' ');
    return toInt(blank < 0 ? QStringView() : header.mid(blank + 1), header, ctx.cursor);
}

// Keeps the row when the report is not older than what it holds.
void commitUnlessNewer(ImportContext &ctx, Table &t)
{
    if (t.isNull(u"Info Datum") || t.intValue(u"Info Datum") <= ctx.dateCode) {
        t.setValue(u"Info Datum", ctx.dateCode);
        t.post();
    } else {
        t.cancel();
    }
}

} // namespace

void getSchiffInfo(ImportContext &ctx)
{
    Table &t = *ctx.schiffe;
    const int game = ctx.game.number;
    const int number = headerNumber(ctx);
    t.editOrAppend({game, number});
    t.setValue(u"Schiffs Position", ctx.regionPosition);
    ++ctx.cursor;
    t.setValue(u"Schiffs Name", quotedText(ctx.line()));
    t.setValue(u"Prozent", 100);
    t.setValue(u"Kueste", QStringLiteral("keine Küste"));
    t.setValue(u"Partei", -1);
    t.setValue(u"Kapitaen", 0);
    t.setValue(u"Ladung", 0);
    t.setValue(u"MaxLadung", 0);
    ++ctx.cursor;

    while (!endOfBuildingBlock(ctx)) {
        const QStringView line = ctx.line();
        const int i = ctx.cursor;
        if (containsText(line, u"\";Typ"))
            t.setValue(u"Schiffstyp", quotedText(line));
        if (containsText(line, u"\";Beschr"))
            t.setValue(u"Schiffs Beschreibung", quotedText(line));
        if (containsText(line, u";Prozent"))
            t.setValue(u"Prozent", intValue(line, i));
        if (containsText(line, u";Groesse")) {
            const int full = fullShipSize(t.text(u"Schiffstyp"));
            const int size = intValue(line, i);
            if (full > 0)
                t.setValue(u"Prozent", int(std::nearbyint(size * 100.0 / full)));
        }
        if (containsText(line, u";Schaden"))
            t.setValue(u"Prozent", -qint64(intValue(line, i)));
        if (containsText(line, u";Kueste")) {
            const QString coast = coastName(intValue(line, i));
            if (!coast.isEmpty())
                t.setValue(u"Kueste", coast);
        }
        if (containsText(line, u";Kapitaen"))
            t.setValue(u"Kapitaen", intValue(line, i));
        if (containsText(line, u";Partei"))
            t.setValue(u"Partei", intValue(line, i));
        if (containsText(line, u";Ladung"))
            t.setValue(u"Ladung", intValue(line, i));
        if (containsText(line, u";MaxLadung"))
            t.setValue(u"MaxLadung", intValue(line, i));
        ++ctx.cursor;
    }

    const int captain = t.intValue(u"Kapitaen");
    if (captain > 0) {
        ctx.captainList.insert(ctx.numberText(number) + u';' + ctx.numberText(captain));
        if (t.intValue(u"Partei") == -1) {
            Table &units = *ctx.einheiten;
            t.setValue(
                u"Partei", units.findKey({game, captain}) ? units.intValue(u"Partei Nr") : -1);
        }
    }
    commitUnlessNewer(ctx, t);
    --ctx.cursor;
}

void getBurgInfo(ImportContext &ctx)
{
    Table &t = *ctx.burgen;
    const int game = ctx.game.number;
    const int number = headerNumber(ctx);
    t.editOrAppend({game, number});
    t.setValue(u"Burg Position", ctx.regionPosition);
    t.setValue(u"Besitzer", 0);
    t.setValue(u"Partei", -1);
    t.setValue(u"Unterhalt", 0);
    t.setValue(u"Belagerer", 0);
    ++ctx.cursor;
    t.setValue(u"Typ", quotedText(ctx.line()));
    ++ctx.cursor;
    t.setValue(u"Burg Name", quotedText(ctx.line()));
    ++ctx.cursor;

    while (!endOfBuildingBlock(ctx)) {
        const QStringView line = ctx.line();
        const int i = ctx.cursor;
        if (containsText(line, u"\";Beschr"))
            t.setValue(u"Burg Beschreibung", quotedText(line));
        if (containsText(line, u";Groesse"))
            t.setValue(u"Burggrösse", intValue(line, i));
        if (containsText(line, u";Besitzer"))
            t.setValue(u"Besitzer", intValue(line, i));
        if (containsText(line, u";Partei"))
            t.setValue(u"Partei", intValue(line, i));
        if (containsText(line, u";Unterhalt"))
            t.setValue(u"Unterhalt", intValue(line, i));
        if (containsText(line, u";Belagerer"))
            t.setValue(u"Belagerer", intValue(line, i));
        ++ctx.cursor;
    }

    const int owner = t.intValue(u"Besitzer");
    if (owner > 0)
        ctx.ownerList.insert(ctx.numberText(number) + u';' + ctx.numberText(owner));
    commitUnlessNewer(ctx, t);
    --ctx.cursor;
}

} // namespace tolvimar
