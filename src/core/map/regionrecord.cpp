#include "regionrecord.h"

#include "../base/errors.h"
#include "../db/schema.h"
#include "../db/table.h"
#include "regionfields.h"

namespace tolvimar {

using namespace Qt::StringLiterals;

RegionRecord::RegionRecord(Database &db, int game, const Position &region)
    : m_db(db)
    , m_game(game)
    , m_region(region)
{
}

const QStringList &RegionRecord::editableFields()
{
    static const QStringList fields = [] {
        QStringList editable;
        for (const RegionField &f : regionFields()) {
            if (f.editable)
                editable.append(f.column);
        }
        return editable;
    }();
    return fields;
}

bool RegionRecord::store(const QString &field, const QVariant &value)
{
    if (!editableFields().contains(field))
        throw UserError(u"Das Feld %1 der Region kann nicht geändert werden."_s.arg(field));
    Table regions(m_db, schema::regionen());
    if (!regions.findKey({m_game, m_region.x, m_region.y, m_region.level}))
        return false;
    regions.edit();
    regions.setValue(field, value);
    regions.post();
    return true;
}

} // namespace tolvimar
