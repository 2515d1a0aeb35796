#include "regionentry.h"

#include "../db/database.h"
#include "../db/schema.h"
#include "../db/table.h"

namespace tolvimar {

RegionEntry::RegionEntry(Database &db, int game)
    : m_db(db)
    , m_game(game)
{
}

const QStringList &RegionEntry::terrains()
{
    static const QStringList list {QStringLiteral("Berge"), QStringLiteral("Ebene"),
        QStringLiteral("Gletscher"), QStringLiteral("Hochland"), QStringLiteral("Ozean"),
        QStringLiteral("Sumpf"), QStringLiteral("Wald"), QStringLiteral("Wüste")};
    return list;
}

QString RegionEntry::storedTerrain(const QString &terrain)
{
    return terrain == u"Wüste" ? QStringLiteral("Desert") : terrain;
}

bool RegionEntry::save(const EnteredRegion &region)
{
    Transaction transaction(m_db);
    Table regions(m_db, schema::regionen());
    const bool existed = regions.editOrAppend({m_game, region.x, region.y, region.level});
    // A name is one line of the map data file and of the region page.
    QString name = region.name;
    name.replace(u'\r', u' ').replace(u'\n', u' ');
    regions.setValue(u"Spiel", m_game);
    regions.setValue(u"Regionname", name);
    regions.setValue(u"Breite", region.x);
    regions.setValue(u"Länge", region.y);
    regions.setValue(u"Ebene", region.level);
    regions.setValue(u"Regiontyp", storedTerrain(region.terrain));
    regions.setValue(u"Angebot", region.exportGood);
    regions.setValue(u"Info Datum", 0);
    regions.post();
    transaction.commit();
    return existed;
}

} // namespace tolvimar
