#include "buildingblock.h"
#include "extractors.h"

namespace tolvimar {

namespace {

// Key lines of a castle block and the fields they set.
const BuildingKeyLine kCastleKeyLines[] = {
    {u"Beschr", u"Burg Beschreibung", BuildingKeyLine::Text},
    {u"Groesse", u"Burggrösse", BuildingKeyLine::Number},
    {u"Besitzer", u"Besitzer", BuildingKeyLine::Number},
    {u"Partei", u"Partei", BuildingKeyLine::Number},
    {u"Unterhalt", u"Unterhalt", BuildingKeyLine::Number},
    {u"Belagerer", u"Belagerer", BuildingKeyLine::Number},
};

} // namespace

void extractCastle(ImportContext &ctx)
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

    for (; !ctx.atBlockEnd(); ++ctx.cursor) {
        const QStringView line = ctx.line();
        const BuildingKeyLine *k = findKeyLine(kCastleKeyLines, line);
        if (!k)
            continue;
        if (k->kind == BuildingKeyLine::Text)
            t.setValue(t.field(k->field), quotedText(line));
        else
            t.setValue(t.field(k->field), intValue(line, ctx.cursor));
    }

    const int owner = t.intValue(u"Besitzer");
    if (owner > 0)
        ctx.ownerList.insert(ctx.numberText(number) + u';' + ctx.numberText(owner));
    ctx.commitUnlessNewer(t, t.field(u"Info Datum"));
    --ctx.cursor;
}

} // namespace tolvimar
