#include "recordlist.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>

namespace tolvimar {

UnitKey unitKey(const QString &storedPosition, int number)
{
    return UnitKey {parsePosition(storedPosition), number};
}

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

namespace {

// The order of record texts: German, case-blind ("Händler" before "Holzfäller"); the
// exact text decides between records that differ only in case.
class TextOrder
{
public:
    TextOrder()
        : m_collator(QLocale(QLocale::German, QLocale::Germany))
    {
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    }
    bool less(const QString &a, const QString &b) const
    {
        const int c = m_collator.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    }
    const QCollator &collator() const { return m_collator; }

private:
    QCollator m_collator;
};

// A cheap guess at the collator's first level: each character as its base letter's
// rank among the ASCII characters, accents and ignorable characters left out. Where it
// differs from the collator, the check of the sorted records notices.
class PrimaryGuess
{
public:
    explicit PrimaryGuess(const QCollator &collator)
    {
        // The ASCII characters ranked by the collator; those it ignores are left out.
        std::vector<char16_t> printable;
        const QString a = QStringLiteral("a");
        for (char16_t c = 0; c < 0x80; ++c) {
            if (collator.compare(a + QChar(c), a) != 0)
                printable.push_back(c);
        }
        std::stable_sort(printable.begin(), printable.end(), [&](char16_t x, char16_t y) {
            return collator.compare(QString(QChar(x)), QString(QChar(y))) < 0;
        });
        uchar rank = 0;
        for (size_t i = 0; i < printable.size(); ++i) {
            if (i == 0
                || collator.compare(QString(QChar(printable[i - 1])), QString(QChar(printable[i])))
                    != 0)
                ++rank;
            m_rank[printable[i]] = rank;
        }
        // Latin letters with accents as their base letter.
        for (char16_t c = 0x80; c < kLatin; ++c) {
            const QChar ch(c);
            const QString base = ch.decomposition();
            m_rank[c] = ch.decompositionTag() == QChar::Canonical && !base.isEmpty()
                    && base[0].unicode() < 0x80
                ? m_rank[base[0].unicode()]
                : kOther;
        }
    }

    // Each character's rank as one byte; any other character as 0xff and its code, so
    // that keys compare as bytes.
    void append(QStringView text, std::vector<uchar> &key) const
    {
        const size_t start = key.size();
        key.resize(start + 3 * size_t(text.size()) + 3);
        uchar *out = key.data() + start;
        for (const QChar ch : text) {
            const char16_t c = ch.unicode();
            if (c == u'ß') {
                *out++ = m_rank[u's'];
                *out++ = m_rank[u's'];
            } else if (c < kLatin && m_rank[c] != kOther) {
                if (m_rank[c] != 0)
                    *out++ = m_rank[c];
            } else if (c < 0x300 || c >= 0x370) { // combining accents are left out
                *out++ = kOther;
                *out++ = uchar(c >> 8);
                *out++ = uchar(c);
            }
        }
        key.resize(size_t(out - key.data()));
    }

private:
    static constexpr char16_t kLatin = 0x250;
    static constexpr uchar kOther = 0xff; // above every ASCII rank
    std::array<uchar, kLatin> m_rank {};
};

} // namespace

std::vector<int> recordOrder(int count, const std::function<void(int, QString &)> &textOf)
{
    const TextOrder textOrder;
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    QString left, right;
    auto textLess = [&](int a, int b) {
        left.truncate(0);
        right.truncate(0);
        textOf(a, left);
        textOf(b, right);
        return textOrder.less(left, right);
    };

    // Sorted by the guessed first level, the collator deciding where that is equal.
    const PrimaryGuess guess(textOrder.collator());
    std::vector<uchar> keys;
    keys.reserve(size_t(count) * 48);
    std::vector<size_t> keyStart(order.size() + 1);
    QString text;
    for (int i = 0; i < count; ++i) {
        keyStart[size_t(i)] = keys.size();
        text.truncate(0);
        textOf(i, text);
        guess.append(text, keys);
    }
    keyStart[order.size()] = keys.size();
    // The first 16 bytes of each key as two numbers decide most comparisons without
    // reaching into the keys; a shorter key is padded with zeros, below every rank.
    struct Entry
    {
        quint64 head[2];
        int record;
    };
    std::vector<Entry> entries(order.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const uchar *key = keys.data() + keyStart[i];
        const size_t length = keyStart[i + 1] - keyStart[i];
        Entry &e = entries[i];
        e.record = int(i);
        for (size_t k = 0; k < 16; ++k)
            e.head[k / 8] = e.head[k / 8] << 8 | (k < length ? key[k] : 0);
    }
    std::sort(entries.begin(), entries.end(), [&](const Entry &x, const Entry &y) {
        if (x.head[0] != y.head[0])
            return x.head[0] < y.head[0];
        if (x.head[1] != y.head[1])
            return x.head[1] < y.head[1];
        const size_t a = size_t(x.record), b = size_t(y.record);
        const size_t aLength = keyStart[a + 1] - keyStart[a];
        const size_t bLength = keyStart[b + 1] - keyStart[b];
        const size_t common = std::min(aLength, bLength);
        const int c = common > 16 ? std::memcmp(keys.data() + keyStart[a] + 16,
                          keys.data() + keyStart[b] + 16, common - 16)
                                  : 0;
        if (c != 0)
            return c < 0;
        return aLength != bLength ? aLength < bLength : textLess(x.record, y.record);
    });
    for (size_t i = 0; i < entries.size(); ++i)
        order[i] = entries[i].record;
    entries = {};
    keys = {};
    left.truncate(0);
    right.truncate(0);

    // Sorted if each record comes before the next by the collator itself; otherwise
    // the guess was wrong for some text, and the collator sorts them all.
    bool sorted = true;
    if (count > 0)
        textOf(order[0], right);
    for (size_t i = 1; i < order.size() && sorted; ++i) {
        std::swap(left, right);
        right.truncate(0);
        textOf(order[i], right);
        sorted = textOrder.less(left, right);
    }
    if (sorted)
        return order;
    std::vector<QString> texts(order.size());
    for (int i = 0; i < count; ++i)
        textOf(i, texts[size_t(i)]);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
        [&](int a, int b) { return textOrder.less(texts[size_t(a)], texts[size_t(b)]); });
    return order;
}

std::vector<int> RecordList::sortedOrder() const
{
    return recordOrder(
        int(m_records.size()), [this](int r, QString &text) { text = m_records[r].text; });
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
