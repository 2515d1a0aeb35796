#include "reportlines.h"

#include "../base/errors.h"

#include <QFile>
#include <climits>

namespace tolvimar {

ReportLines ReportLines::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(QStringLiteral("Der CR %1 kann nicht gelesen werden: %2")
                            .arg(path, file.errorString()));
    return fromBytes(file.readAll(), path);
}

ReportLines ReportLines::fromBytes(QByteArray bytes, const QString &fileName)
{
    ReportLines r;
    r.m_fileName = fileName;
    r.m_byteSize = bytes.size();
    r.m_text = decodeText(bytes, &r.m_encoding);
    bytes = QByteArray();
    const QChar *data = r.m_text.constData();
    const qsizetype n = r.m_text.size();
    if (n >= qsizetype(UINT32_MAX) - 1)
        throw UserError(QStringLiteral("Der CR %1 ist zu groß.").arg(fileName));
    r.m_starts.reserve(n / 12 + 16);
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c == u'\n' || c == u'\r') {
            r.m_starts.append(quint32(start));
            if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n) {
        r.m_starts.append(quint32(start));
        start = n + 1; // no terminator: the line runs to the end of the text
    }
    if (r.m_starts.size() > INT_MAX - 1)
        throw UserError(QStringLiteral("Der CR %1 hat zu viele Zeilen.").arg(fileName));
    r.m_count = int(r.m_starts.size());
    r.m_starts.append(quint32(start));
    return r;
}

QStringView numberText(QStringView line)
{
    const qsizetype semicolon = line.indexOf(u';');
    return semicolon < 0 ? line : line.left(semicolon);
}

QString quotedText(QStringView line)
{
    const qsizetype end = line.indexOf(u"\";");
    if (end < 1)
        return QString();
    return line.mid(1, end - 1).toString();
}

int toInt(QStringView text, QStringView line, int lineIndex)
{
    int value = 0;
    if (!parseStrictInt(text, &value))
        throw ConversionError(lineIndex, line.left(200).toString(), text.left(200).toString());
    return value;
}

int intValue(QStringView line, int lineIndex)
{
    return toInt(numberText(line), line, lineIndex);
}

} // namespace tolvimar
