#pragma once

#include "../base/textsearch.h"

#include <QStringView>
#include <initializer_list>

namespace tolvimar {

// How a report line is recognised. A line that opens a block is a tag word in
// capitals, optionally followed by numbers, and holds no ";" and no quotation mark;
// every other line belongs to the block before it. A value line is matched by its
// key, the text after its last ";", never by a word somewhere in the line, so that a
// name or a translation entry never reads as a key or a block.

// A line that begins with a quotation mark carries a value or an order; it is never
// a block header or the end of a block, whatever words its text contains.
inline bool isQuotedLine(QStringView line)
{
    return line.startsWith(u'"');
}

// A header line without the blanks, tabs and carriage returns that hand-edited or
// merged reports leave at its end: "REGION -11 8 " reads as "REGION -11 8".
inline QStringView headerText(QStringView line)
{
    qsizetype n = line.size();
    while (n > 0) {
        const char16_t c = line[n - 1].unicode();
        if (c != u' ' && c != u'\t' && c != u'\r')
            break;
        --n;
    }
    return line.first(n);
}

// Whether a tag is one that the import reads somewhere (the header of its reader
// checks the numbers that follow it); all other blocks are passed over whole.
bool isKnownBlockTag(QStringView tag);

// The tag word of a line that opens a block ("REGION" of "REGION 3 -4"); empty for
// every other line. After the tag come blanks and decimal numbers only, except that
// a known tag takes any text without ";" and quotation marks, so that a damaged
// number in "EINHEIT x1" is reported by the block's reader rather than passed over.
// Blanks, tabs and carriage returns at the end of the line are not part of it.
inline QStringView blockTag(QStringView fullLine)
{
    const QStringView line = headerText(fullLine);
    const qsizetype n = line.size();
    if (n == 0 || line[0].unicode() < u'A' || line[0].unicode() > u'Z')
        return {};
    qsizetype i = 1;
    for (; i < n; ++i) {
        const char16_t c = line[i].unicode();
        if (!((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_'))
            break;
    }
    const QStringView tag = line.first(i);
    if (i == n)
        return tag;
    if (line[i] != u' ')
        return {};
    bool numbers = true;
    for (qsizetype j = i; j < n; ++j) {
        const char16_t c = line[j].unicode();
        if (c == u';' || c == u'"')
            return {};
        if (c == u' ' || (c >= u'0' && c <= u'9'))
            continue;
        if (c == u'-' && j + 1 < n && line[j + 1].unicode() >= u'0' && line[j + 1].unicode() <= u'9'
            && line[j - 1] == u' ')
            continue;
        numbers = false;
    }
    return numbers || isKnownBlockTag(tag) ? tag : QStringView();
}

inline bool isBlockHeader(QStringView line)
{
    return !blockTag(line).isEmpty();
}

// The header opens a block of this tag, followed by at least a blank ("MESSAGE 12").
inline bool opensBlockWithNumber(QStringView line, QStringView tag)
{
    return line.size() > tag.size() && line[tag.size()] == u' ' && blockTag(line) == tag;
}

// The key of a value line: the text after its last ";" (empty when there is none).
inline QStringView lineKey(QStringView line)
{
    const qsizetype semicolon = line.lastIndexOf(u';');
    return semicolon < 0 ? QStringView() : line.mid(semicolon + 1);
}

inline bool hasKey(QStringView line, QStringView key)
{
    return lineKey(line) == key;
}

// A quoted value with this key: "text";key.
inline bool hasTextKey(QStringView line, QStringView key)
{
    const qsizetype semicolon = line.lastIndexOf(u';');
    return semicolon >= 1 && line[semicolon - 1] == u'"' && line.mid(semicolon + 1) == key;
}

} // namespace tolvimar
