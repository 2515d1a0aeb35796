#pragma once

#include <QByteArray>
#include <QStringList>
#include <QVector>

namespace tolvimar {

// A list of lines kept in one block: one byte a character when every character fits
// (Latin-1), two otherwise, and the end of each line. A list of many short QStrings
// costs about three times its text; this holds the same lines exactly, for a while.
class CompactLines
{
public:
    CompactLines() = default;
    explicit CompactLines(const QStringList &lines);

    QStringList lines() const;
    qsizetype count() const { return m_ends.size(); }

private:
    QByteArray m_data;
    QVector<qsizetype> m_ends; // in characters, one per line
    bool m_wide = false;
};

} // namespace tolvimar
