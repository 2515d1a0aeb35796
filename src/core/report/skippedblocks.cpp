#include "skippedblocks.h"

#include <algorithm>

namespace tolvimar {

void SkippedBlocks::add(QStringView tag)
{
    for (Entry &e : m_counts) {
        if (e.tag == tag) {
            ++e.count;
            return;
        }
    }
    m_counts.append({tag.toString(), 1});
}

int SkippedBlocks::count(QStringView tag) const
{
    for (const Entry &e : m_counts) {
        if (e.tag == tag)
            return e.count;
    }
    return 0;
}

QString SkippedBlocks::text() const
{
    if (m_counts.isEmpty())
        return QString();
    QList<Entry> sorted = m_counts;
    std::sort(sorted.begin(), sorted.end(), [](const Entry &a, const Entry &b) {
        return a.count != b.count ? a.count > b.count : a.tag < b.tag;
    });
    QStringList parts;
    for (const Entry &e : sorted)
        parts.append(QString::number(e.count) + u' ' + e.tag);
    return QStringLiteral("Übersprungen: ") + parts.join(QStringLiteral(", "));
}

} // namespace tolvimar
