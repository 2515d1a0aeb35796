#include "recordlist.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>

namespace tolvimar {

QString RecordList::recordText(const QStringList &fields)
{
    // One allocation per record: a report builds a hundred thousand of them.
    qsizetype length = 0;
    for (const QString &field : fields)
        length += field.size() + 4;
    QString text;
    text.reserve(length);
    for (int k = 0; k < fields.size(); ++k) {
        if (k > 0) {
            text += u'*';
            if (k >= 10)
                text += QChar(u'0' + k / 10);
            text += QChar(u'0' + k % 10);
            text += u';';
        }
        text += fields[k];
    }
    return text;
}

void RecordList::append(const QStringList &fields, int cellCount)
{
    m_records.append({recordText(fields), fields.mid(0, cellCount)});
}

void RecordList::append(const QStringList &fields, int cellCount, int leadingFields)
{
    m_records.append({recordText(fields.mid(0, leadingFields)), fields.mid(0, cellCount)});
}

std::vector<int> RecordList::sortedOrder() const
{
    // German order, case-blind ("Händler" before "Holzfäller"); the exact text decides
    // between records that differ only in case. The records are sorted by their places,
    // so no record is moved.
    QCollator collator {QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<int> order(size_t(m_records.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this, &collator](int a, int b) {
        const int c = collator.compare(m_records[a].text, m_records[b].text);
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
