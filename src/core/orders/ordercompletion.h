#pragma once

#include <QString>
#include <QStringList>

namespace tolvimar {

class OrderVocabulary;

// Where the orders being written stand: the region's position text (its units,
// ships and castles are offered first) and the unit itself (never offered).
struct CompletionPlace
{
    QString position;
    QString unitText;
};

// The words offered for the word before the cursor.
struct Completion
{
    qsizetype start = 0; // where the word being typed begins in the line
    QString prefix; // what of it is typed (may be empty)
    QStringList words; // whole words, best first
    // What the list shows for each word: an id with its name ("3mw Holzfäller"),
    // any other word as it is.
    QStringList labels;
};

// The candidates for the word that ends at the cursor: order words for the first
// word; then what the order's forms expect next: its own words, skills, items,
// luxury goods, directions, or the ids of units, ships, castles and factions (those
// of the region first). Matching ignores case. None in a comment or a string. Pure.
Completion candidates(QStringView line, qsizetype cursor, const OrderVocabulary &vocabulary,
    const CompletionPlace &place, int limit = 100);

} // namespace tolvimar
