#pragma once

#include "orderlanguage.h"

#include <QList>
#include <QStringView>
#include <optional>

namespace tolvimar {

class OrderVocabulary;

// A piece of an order line: a word, a quoted string or the comment from ";" (or a
// word beginning with "//") on.
struct OrderToken
{
    enum class Type { Word, String, Comment };
    Type type = Type::Word;
    qsizetype start = 0;
    qsizetype length = 0;
    // What the order's forms expect at this place (Literal: it is one of the order's
    // own words); nullopt for the order word itself, a comment, or where no form fits.
    std::optional<ArgumentKind> role;
    // The word fits its role: a known name, a number where one is wanted, a word that
    // can be an id where an id is wanted.
    bool fits = false;
    // A new unit's number after "TEMP", which no row can know yet.
    bool temporary = false;
};

// Whether a line holds an order: more than blanks and a comment.
bool holdsOrder(QStringView line);

// Splits an order line into its pieces and gives each argument the role that the
// forms of its order word expect there. Pure: the same line and vocabulary give the
// same tokens.
QList<OrderToken> readOrderLine(QStringView line, const OrderVocabulary &vocabulary);

// The roles the forms of an order word expect for the argument after the given
// arguments (the words of the line after the order word).
QList<ArgumentChoice> expectedChoices(
    const OrderWord &word, const QList<QStringView> &arguments, const OrderVocabulary &vocabulary);

// How the editor colours a piece of an order line.
enum class SpanKind {
    Keyword, // a known order word or one of an order's own words
    UnknownWord, // a first word the language lacks (underlined)
    Id, // a unit, ship, castle or faction number
    Number,
    Name, // a skill, item, luxury good or direction
    String,
    Comment
};

struct HighlightSpan
{
    qsizetype start = 0;
    qsizetype length = 0;
    SpanKind kind = SpanKind::Keyword;

    friend bool operator==(const HighlightSpan &, const HighlightSpan &) = default;
};

// The coloured pieces of one line, left to right; the rest stays plain.
QList<HighlightSpan> highlight(QStringView line, const OrderVocabulary &vocabulary);

} // namespace tolvimar
