#include "recordlist.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <algorithm>
#include <numeric>

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

std::vector<int> RecordList::sortedOrder() const
{
    // German order, case-blind ("Händler" before "Holzfäller"); the exact text decides
    // between records that differ only in case. Collation keys are made once per record,
    // so that a hundred thousand records sort without collating texts anew in each
    // comparison.
    QCollator collator {QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(m_records.size()));
    for (const Record &r : m_records)
        keys.push_back(collator.sortKey(r.text));
    std::vector<int> order(size_t(m_records.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this, &keys](int a, int b) {
        const int c = keys[size_t(a)].compare(keys[size_t(b)]);
        return c != 0 ? c < 0 : m_records[a].text < m_records[b].text;
    });
    return order;
}

GridRows RecordList::gridRows(const QStringList &headings) const
{
    return gridRows(headings, sortedOrder());
}

GridRows RecordList::gridRows(const QStringList &headings, const std::vector<int> &order) const
{
    GridRows rows {headings};
    rows.reserve(m_records.size() + 1);
    for (int r : order)
        rows.append(m_records[r].cells);
    if (m_records.isEmpty())
        rows.append(QStringList(headings.size(), QString()));
    return rows;
}

} // namespace tolvimar
