#include "reportlines.h"

#include "../base/errors.h"

#include <QFile>
#include <QFileInfo>
#include <climits>
#include <optional>

namespace tolvimar {

namespace {

UserError tooLarge(const QString &path, qint64 size, qint64 maxBytes)
{
    return UserError(QStringLiteral("Der CR %1 ist mit %2 MB zu groß: eingelesen werden "
                                    "Berichte bis %3 MB.")
                         .arg(path)
                         .arg(size >> 20)
                         .arg(maxBytes >> 20));
}

// The charset a report names in its first block ("UTF-8";charset), if it names one
// this program knows. Only the first lines are looked at, as bytes: they are ASCII.
std::optional<TextEncoding> declaredEncoding(QByteArrayView bytes)
{
    qsizetype start = 0;
    for (int line = 0; line < 32 && start < bytes.size(); ++line) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QByteArrayView text = bytes.sliced(start, end - start);
        // The first block ends at the next header line (no semicolon).
        if (line > 0 && !text.isEmpty() && !text.contains(';'))
            break;
        const qsizetype semicolon = text.indexOf(';');
        if (semicolon > 0
            && text.sliced(semicolon + 1).trimmed().compare("charset", Qt::CaseInsensitive) == 0) {
            QByteArray value = text.first(semicolon).trimmed().toByteArray().toLower();
            if (value.startsWith('"') && value.endsWith('"') && value.size() >= 2)
                value = value.mid(1, value.size() - 2);
            if (value == "utf-8" || value == "utf8")
                return TextEncoding::Utf8;
            if (value == "iso-8859-1" || value == "iso8859-1" || value == "latin1"
                || value == "latin-1" || value == "windows-1252" || value == "cp1252"
                || value == "iso-8859-15")
                return TextEncoding::Windows1252;
            return std::nullopt;
        }
        start = end + 1;
        if (end < bytes.size() && bytes[end] == '\r' && start < bytes.size()
            && bytes[start] == '\n')
            ++start;
    }
    return std::nullopt;
}

} // namespace

ReportLines ReportLines::load(const QString &path, qint64 maxBytes)
{
    // Only a regular file has an end: a FIFO would wait forever, a device such as
    // /dev/zero would be read until memory runs out. Checked before opening, since
    // opening a FIFO blocks already.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        throw UserError(QStringLiteral("Der CR %1 kann nicht gelesen werden: %2 keine "
                                       "gewöhnliche Datei.")
                            .arg(path,
                                info.isDir() ? QStringLiteral("er ist ein Verzeichnis,")
                                             : QStringLiteral("er ist")));
    }
    if (info.exists() && info.size() > maxBytes)
        throw tooLarge(path, info.size(), maxBytes);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(QStringLiteral("Der CR %1 kann nicht gelesen werden: %2")
                            .arg(path, file.errorString()));
    // Read into a buffer of the file's size; a file that grows meanwhile is read no
    // further than the limit.
    QByteArray bytes(qMin(info.size(), maxBytes), Qt::Uninitialized);
    qint64 got = 0;
    while (got < bytes.size()) {
        const qint64 n = file.read(bytes.data() + got, bytes.size() - got);
        if (n <= 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    char more[65536];
    for (qint64 n; (n = file.read(more, qMin<qint64>(sizeof more, maxBytes + 1 - got))) > 0;) {
        bytes.append(more, n);
        got += n;
        if (got > maxBytes)
            throw tooLarge(path, got, maxBytes);
    }
    return fromBytes(std::move(bytes), path);
}

ReportLines ReportLines::fromBytes(QByteArray bytes, const QString &fileName)
{
    ReportLines r;
    r.m_fileName = fileName;
    r.m_byteSize = bytes.size();
    if (const std::optional<TextEncoding> declared = declaredEncoding(bytes)) {
        r.m_encoding = *declared;
        r.m_text = decodeTextAs(bytes, *declared, &r.m_repairs);
    } else {
        r.m_text = decodeText(bytes, &r.m_encoding, &r.m_repairs);
    }
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
            // CR LF ends one line, and so does CR CR LF (a line that ended in a carriage
            // return before it was written with CR LF).
            if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n')
                ++i;
            else if (c == u'\r' && i + 2 < n && data[i + 1] == u'\r' && data[i + 2] == u'\n')
                i += 2;
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
    // The first "\";" (a plain scan: the general search prepares for long texts).
    const char16_t *t = line.utf16();
    qsizetype end = -1;
    for (qsizetype i = 0, last = line.size() - 2; i <= last; ++i) {
        if (t[i] == u'"' && t[i + 1] == u';') {
            end = i;
            break;
        }
    }
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
