#include "blocklines.h"
#include "buildingblock.h"
#include "extractors.h"
#include "importcontext.h"

#include <cmath>

namespace tolvimar {

namespace {

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

// Key lines of a ship block and the fields they set.
const BuildingKeyLine kShipKeyLines[] = {
    {u"Typ", u"Schiffstyp", BuildingKeyLine::Text},
    {u"Beschr", u"Schiffs Beschreibung", BuildingKeyLine::Text},
    {u"Prozent", u"Prozent", BuildingKeyLine::Number},
    {u"Groesse", u"Prozent", BuildingKeyLine::ShipSize},
    {u"Schaden", u"Prozent", BuildingKeyLine::Damage},
    {u"Kueste", u"Kueste", BuildingKeyLine::Coast},
    {u"Kapitaen", u"Kapitaen", BuildingKeyLine::Number},
    {u"Partei", u"Partei", BuildingKeyLine::Number},
    {u"Ladung", u"Ladung", BuildingKeyLine::Number},
    {u"MaxLadung", u"MaxLadung", BuildingKeyLine::Number},
};

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

} // namespace

void extractShip(ImportContext &ctx)
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

    for (; !ctx.atBlockEnd(); ++ctx.cursor) {
        const QStringView line = ctx.line();
        if (const BuildingKeyLine *k = findKeyLine(kShipKeyLines, line)) {
            const int field = t.field(k->field);
            switch (k->kind) {
            case BuildingKeyLine::Text:
                t.setValue(field, quotedText(line));
                break;
            case BuildingKeyLine::Number:
                t.setValue(field, intValue(line, ctx.cursor));
                break;
            case BuildingKeyLine::ShipSize: {
                const int full = fullShipSize(t.text(u"Schiffstyp"));
                const int size = intValue(line, ctx.cursor);
                if (full > 0)
                    t.setValue(field, int(std::nearbyint(size * 100.0 / full)));
                break;
            }
            case BuildingKeyLine::Damage:
                t.setValue(field, -qint64(intValue(line, ctx.cursor)));
                break;
            case BuildingKeyLine::Coast:
                if (const QString coast = coastName(intValue(line, ctx.cursor)); !coast.isEmpty())
                    t.setValue(field, coast);
                break;
            }
        }
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
    ctx.commitUnlessNewer(t, t.field(u"Info Datum"));
    --ctx.cursor;
}

} // namespace tolvimar
