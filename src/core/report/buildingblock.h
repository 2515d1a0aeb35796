#pragma once

#include "blocklines.h"
#include "importcontext.h"

namespace tolvimar {

// What ship and castle blocks share: where a block ends, its header number, the
// table of its key lines, and the rule that keeps newer knowledge.

inline bool endOfBuildingBlock(const ImportContext &ctx)
{
    return ctx.atEnd() || hasKeyword(ctx.line(), {u"BURG", u"SCHIFF", u"EINHEIT", u"REGION"});
}

struct BuildingKeyLine
{
    enum Kind { Text, Number, ShipSize, Damage, Coast };
    const char16_t *key;
    const char16_t *field;
    Kind kind;
};

// The number of a "SCHIFF nr" or "BURG nr" header.
inline int headerNumber(const ImportContext &ctx)
{
    const QStringView header = ctx.line();
    const qsizetype blank = header.indexOf(u' ');
    return toInt(blank < 0 ? QStringView() : header.mid(blank + 1), header, ctx.cursor);
}

// Keeps the row when the report is not older than what it holds.
inline void commitUnlessNewer(ImportContext &ctx, Table &t)
{
    if (t.isNull(u"Info Datum") || t.intValue(u"Info Datum") <= ctx.dateCode) {
        t.setValue(u"Info Datum", ctx.dateCode);
        t.post();
    } else {
        t.cancel();
    }
}

} // namespace tolvimar
