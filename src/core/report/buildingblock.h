#pragma once

#include "blocklines.h"
#include "importcontext.h"

namespace tolvimar {

// What ship and castle blocks share: where a block ends, its header number, the
// table of its key lines.

struct BuildingKeyLine
{
    enum Kind { Text, Number, ShipSize, Damage, Coast };
    const char16_t *key; // a Text key follows a quoted value: "text";key
    const char16_t *field;
    Kind kind;
};

// The number of a "SCHIFF nr" or "BURG nr" header.
inline int headerNumber(const ImportContext &ctx)
{
    const QStringView header = headerText(ctx.line());
    const qsizetype blank = header.indexOf(u' ');
    return toInt(blank < 0 ? QStringView() : header.mid(blank + 1), header, ctx.cursor);
}

// The key line's entry in the table, or null.
template<size_t N>
const BuildingKeyLine *findKeyLine(const BuildingKeyLine (&table)[N], QStringView line)
{
    const qsizetype semicolon = line.lastIndexOf(u';');
    if (semicolon < 0)
        return nullptr;
    const QStringView key = line.mid(semicolon + 1);
    const bool quoted = semicolon >= 1 && line[semicolon - 1] == u'"';
    for (const BuildingKeyLine &k : table) {
        if (key == QStringView(k.key) && (k.kind != BuildingKeyLine::Text || quoted))
            return &k;
    }
    return nullptr;
}

} // namespace tolvimar
