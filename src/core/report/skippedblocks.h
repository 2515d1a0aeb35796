#pragma once

#include <QList>
#include <QString>

namespace tolvimar {

// The blocks an import passed over without reading them, counted by tag, so that the
// import can say that the report held more than it reads.
class SkippedBlocks
{
public:
    void add(QStringView tag);
    bool isEmpty() const { return m_counts.isEmpty(); }
    int count(QStringView tag) const;
    // "Übersprungen: 12 RESOURCE, 3 EFFECTS, 1 TRANSLATION": most first, then by tag;
    // empty when nothing was skipped.
    QString text() const;

private:
    struct Entry
    {
        QString tag;
        int count = 0;
    };
    QList<Entry> m_counts; // few distinct tags: a list beats a hash here
};

} // namespace tolvimar
