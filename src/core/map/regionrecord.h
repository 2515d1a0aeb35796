#pragma once

#include "../base/position.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace tolvimar {

class Database;

// The region row that the region page shows: a field the player changes there is
// stored at once, one write per change.
class RegionRecord
{
public:
    RegionRecord(Database &db, int game, const Position &region);

    // The fields the page lets the player change.
    static const QStringList &editableFields();

    // Stores a value (null for an emptied field) into one editable field of the row;
    // false when the row is gone. Throws UserError for any other field or when the
    // database refuses the write.
    bool store(const QString &field, const QVariant &value);

private:
    Database &m_db;
    int m_game;
    Position m_region;
};

} // namespace tolvimar
