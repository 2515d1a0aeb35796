#pragma once

#include <QStringView>

#include <initializer_list>

namespace tolvimar {

// A line that begins with a quotation mark carries a value or an order; it is never
// a block header or the end of a block, whatever words its text contains.
inline bool isQuotedLine(QStringView line)
{
    return line.startsWith(u'"');
}

// The line names one of the block keywords (a case-sensitive substring test).
inline bool hasKeyword(QStringView line, std::initializer_list<const char16_t *> keywords)
{
    if (isQuotedLine(line))
        return false;
    for (const char16_t *k : keywords) {
        if (line.contains(QStringView(k)))
            return true;
    }
    return false;
}

inline bool beginsWith(QStringView line, QStringView keyword)
{
    return line.startsWith(keyword);
}

} // namespace tolvimar
