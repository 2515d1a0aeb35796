#include "recordlist.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace tolvimar {

QString RecordList::recordText(const QStringList &fields)
{
    QString text;
    for (int k = 0; k < fields.size(); ++k) {
        if (k > 0)
            text += u'*' + QString::number(k) + u';';
        text += fields[k];
    }
    return text;
}

void RecordList::append(const QStringList &fields, int cellCount)
{
    m_records.append({recordText(fields), fields.mid(0, cellCount)});
}

GridRows RecordList::gridRows(const QStringList &headings) const
{
    // German order, case-blind ("Händler" before "Holzfäller"); the exact text decides
    // between records that differ only in case.
    QCollator collator {QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<const Record *> sorted;
    sorted.reserve(m_records.size());
    for (const Record &r : m_records)
        sorted.push_back(&r);
    std::stable_sort(sorted.begin(), sorted.end(), [&collator](const Record *a, const Record *b) {
        const int c = collator.compare(a->text, b->text);
        return c != 0 ? c < 0 : a->text < b->text;
    });
    GridRows rows {headings};
    for (const Record *r : sorted)
        rows.append(r->cells);
    if (sorted.empty())
        rows.append(QStringList(headings.size(), QString()));
    return rows;
}

} // namespace tolvimar
