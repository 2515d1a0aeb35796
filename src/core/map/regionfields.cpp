#include "regionfields.h"

namespace tolvimar {

using namespace Qt::StringLiterals;

const QList<RegionField> &regionFields()
{
    using R = const RegionRow &;
    static const QList<RegionField> fields = {
        {u"Regionname"_s, u"Region Name"_s, true, false, [](R r) { return QVariant(r.name); }},
        {u"Regiontyp"_s, u"Region Typ"_s, false, false, [](R r) { return QVariant(r.terrain); }},
        {u"Breite"_s, u"X / Y"_s, false, true, [](R r) { return QVariant(r.x); }},
        {u"Länge"_s, u"X / Y"_s, false, true, [](R r) { return QVariant(r.y); }, u" / "_s},
        {u"Holzstämme"_s, u"Bäume"_s, false, true, [](R r) { return r.trees; }},
        {u"Bauern"_s, u"Bauern"_s, false, true, [](R r) { return r.peasants; }},
        {u"Pferde"_s, u"Pferde"_s, false, true, [](R r) { return r.horses; }},
        {u"Eisen"_s, u"Eisen"_s, false, true, [](R r) { return r.iron; }},
        // The regions table spells the field of laen so.
        {u"Lean"_s, u"Laen"_s, false, true, [](R r) { return r.laen; }},
        {u"Mallorn"_s, u"Mallorn"_s, false, true, [](R r) { return r.mallorn; }},
        {u"Arbeitslohn"_s, u"Lohn"_s, false, true, [](R r) { return r.wage; }},
        {u"VermögenBauern"_s, u"Bauern Silber"_s, false, true, [](R r) { return r.peasantSilver; }},
        {u"Unterhaltung max"_s, u"Unterhaltung"_s, false, true,
            [](R r) { return r.entertainment; }},
        {u"Rekrutieren"_s, u"rekrutieren"_s, true, true, [](R r) { return r.recruits; }},
        {u"Luxusgüter"_s, u"Luxusgüter zum Preis"_s, true, true, [](R r) { return r.luxury; }},
        {u"Balsam"_s, u"Balsam"_s, true, true, [](R r) { return r.prices[0]; }},
        {u"Gewuerz"_s, u"Gewürze"_s, true, true, [](R r) { return r.prices[1]; }},
        {u"Juwel"_s, u"Juwelen"_s, true, true, [](R r) { return r.prices[2]; }},
        {u"Myrrhe"_s, u"Myrrhe"_s, true, true, [](R r) { return r.prices[3]; }},
        {u"Oel"_s, u"Oel"_s, true, true, [](R r) { return r.prices[4]; }},
        {u"Seide"_s, u"Seide"_s, true, true, [](R r) { return r.prices[5]; }},
        {u"Weihrauch"_s, u"Weihrauch"_s, true, true, [](R r) { return r.prices[6]; }},
        // The six roads around the region: upper left, upper right, right, lower right,
        // lower left, left.
        {u"Strasse"_s, u"Straße"_s, false, true, [](R r) { return r.roads[0]; }},
        {u"Strasse1"_s, u"Straße"_s, false, true, [](R r) { return r.roads[1]; }, u", "_s},
        {u"Strasse2"_s, u"Straße"_s, false, true, [](R r) { return r.roads[2]; }, u", "_s},
        {u"Strasse3"_s, u"Straße"_s, false, true, [](R r) { return r.roads[3]; }, u", "_s},
        {u"Strasse4"_s, u"Straße"_s, false, true, [](R r) { return r.roads[4]; }, u", "_s},
        {u"Strasse5"_s, u"Straße"_s, false, true, [](R r) { return r.roads[5]; }, u", "_s},
        {u"Beschreibung"_s, u"Region Beschreibung"_s, true, false,
            [](R r) { return QVariant(r.description); }},
    };
    return fields;
}

const RegionField *findRegionField(QStringView column)
{
    for (const RegionField &field : regionFields()) {
        if (field.column == column)
            return &field;
    }
    return nullptr;
}

} // namespace tolvimar
