#pragma once

#include "../base/activegame.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tolvimar {

class Table;

// What a line of the region's unit list stands for.
enum class ListEntryKind { Castle, Ship, Unit };

// An entry of the region's unit list: the castle, ship or unit by its number, and the
// line that the list shows for it.
struct ListEntry
{
    ListEntryKind kind = ListEntryKind::Unit;
    int number = 0;
    QString text;
};

// Reads a line of the unit list as the region view writes it (entries carry their
// kind and number, so the program itself needs no reading back): a "-Burg" line carries its
// castle's number in "( )", a "-Schi" line its ship's number in "[ ]" (decimal in Sulvitan, base-N
// text in Kalmora), any other line a unit's base-N text in "( )". The number is taken from the
// bracket the line form ends with, so a name holding brackets does not mislead.
// nullopt when the line has no such bracket or a decimal number is not one.
std::optional<ListEntry> parseListEntry(QStringView line, GameType type, int base);

// The pieces of a star list ("*" piece "*" piece "*"), one line each: the first
// character is dropped, then each piece up to the next "*", the rest trimmed before
// each step; a well-formed list therefore ends with an empty line.
QStringList starListPieces(const QString &list);

// numerator / denominator rounded to the nearest integer, halves to the even
// neighbour; denominator must not be 0.
qint64 roundHalfEven(qint64 numerator, qint64 denominator);

// A skill line: name + " [" + points per person + "] " + level, from a stored
// "points level". With no persons, or points that are not a number, the stored
// value follows the name as it is.
QString skillLine(const QString &name, const QString &stored, int persons);

// The faction number box: " ---- " for -1, base-N text in Kalmora, decimal in Sulvitan.
QString factionNumberText(const QVariant &faction, GameType type, int base);

// Everything the unit view shows for one unit.
struct UnitViewTexts
{
    int number = 0;
    QString position; // `Einheit Position`
    QString name; // DBEdit1
    QString numberField; // DBEdit5: `Einheit Nr` as stored
    QString description; // DBMemo1
    QString factionNumber; // Edit29
    QString factionName; // DBEdit2
    bool camouflageEnabled = false; // CheckBox3 "getarnt?": own units only
    bool camouflaged = false;
    QString persons; // DBEdit23
    QString silver; // DBEdit22
    QString status; // DBEdit21
    QString hitpoints; // DBEdit31
    QStringList items; // Memo2
    QStringList skills; // Memo3
    QString flags;
};

// The unit view of the units table's current row; factionName is the looked-up
// `Partei Name`.
UnitViewTexts unitViewTexts(const Table &units, const QString &factionName, const ActiveGame &game);

} // namespace tolvimar
