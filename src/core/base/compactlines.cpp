#include "compactlines.h"

#include <cstring>

namespace tolvimar {

namespace {

bool fitsLatin1(const QString &line)
{
    for (QChar c : line) {
        if (c.unicode() > 0xff)
            return false;
    }
    return true;
}

} // namespace

CompactLines::CompactLines(const QStringList &lines)
{
    qsizetype chars = 0;
    m_wide = false;
    for (const QString &line : lines) {
        chars += line.size();
        if (!m_wide && !fitsLatin1(line))
            m_wide = true;
    }
    m_data.resize(chars * (m_wide ? 2 : 1));
    m_ends.reserve(lines.size());
    char *out = m_data.data();
    qsizetype end = 0;
    for (const QString &line : lines) {
        if (m_wide) {
            std::memcpy(out, line.constData(), size_t(line.size()) * 2);
            out += line.size() * 2;
        } else {
            for (QChar c : line)
                *out++ = char(c.unicode());
        }
        end += line.size();
        m_ends.append(end);
    }
}

QStringList CompactLines::lines() const
{
    QStringList result;
    result.reserve(m_ends.size());
    qsizetype start = 0;
    for (qsizetype end : m_ends) {
        const qsizetype size = end - start;
        if (m_wide) {
            result.append(
                QString(reinterpret_cast<const QChar *>(m_data.constData()) + start, size));
        } else {
            result.append(QString::fromLatin1(m_data.constData() + start, size));
        }
        start = end;
    }
    return result;
}

} // namespace tolvimar
