#pragma once

#include "../base/textsearch.h"

#include <QStringView>
#include <initializer_list>

namespace tolvimar {

// A line that begins with a quotation mark carries a value or an order; it is never
// a block header or the end of a block, whatever words its text contains.
inline bool isQuotedLine(QStringView line)
{
    return line.startsWith(u'"');
}

// Whether the text holds four capital letters (A to Z) in a row.
inline bool hasCapitalRun(QStringView text)
{
    int run = 0;
    for (const QChar c : text) {
        if (c.unicode() >= u'A' && c.unicode() <= u'Z') {
            if (++run == 4)
                return true;
        } else {
            run = 0;
        }
    }
    return false;
}

inline bool beginsWithCapitalRun(QStringView keyword)
{
    if (keyword.size() < 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        if (keyword[i] < u'A' || keyword[i] > u'Z')
            return false;
    }
    return true;
}

// The line names one of the block keywords (a case-sensitive substring test). The
// keywords are views, so that a literal's length is known where it is written.
inline bool hasKeyword(QStringView line, std::initializer_list<QStringView> keywords)
{
    if (isQuotedLine(line))
        return false;
    // Block keywords begin with four capitals; most lines are key lines without such
    // a run, and one pass over them settles the test.
    bool allCapitalKeywords = true;
    for (QStringView k : keywords)
        allCapitalKeywords = allCapitalKeywords && beginsWithCapitalRun(k);
    if (allCapitalKeywords && !hasCapitalRun(line))
        return false;
    for (QStringView k : keywords) {
        if (containsText(line, k))
            return true;
    }
    return false;
}

inline bool beginsWith(QStringView line, QStringView keyword)
{
    return line.startsWith(keyword);
}

} // namespace tolvimar
