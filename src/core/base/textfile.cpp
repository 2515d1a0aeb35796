#include "textfile.h"

#include "errors.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace tolvimar {

namespace {

// Windows-1252 code points 0x80..0x9F; the rest of the range is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

QString decodeCp1252(const QByteArray &bytes)
{
    QString result(bytes.size(), Qt::Uninitialized);
    QChar *out = result.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return result;
}

char encodeCp1252Char(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == c)
            return char(0x80 + i);
    }
    return '?';
}

} // namespace

QString decodeText(const QByteArray &bytes, TextEncoding *detected)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    // Checked before decoding: the decoder goes on through the whole text after the
    // first invalid byte, and a Windows-1252 report would be decoded twice.
    if (view.isValidUtf8()) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(view);
        if (!utf8.hasError()) {
            if (detected)
                *detected = TextEncoding::Utf8;
            return text;
        }
    }
    if (detected)
        *detected = TextEncoding::Windows1252;
    return decodeCp1252(bytes);
}

QByteArray encodeText(QStringView text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return text.toUtf8();
    QByteArray out(text.size(), Qt::Uninitialized);
    char *p = out.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        p[i] = encodeCp1252Char(text[i].unicode());
    return out;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\n' || c == u'\r') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QStringList readTextLines(const QString &path, TextEncoding *detected)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                            .arg(path, file.errorString()));
    return splitLines(decodeText(file.readAll(), detected));
}

void writeTextLines(
    const QString &path, const QStringList &lines, TextEncoding encoding, const char *lineEnd)
{
    // Encoded straight into one buffer: status files of a large report have many
    // thousand lines.
    const QByteArray end(lineEnd);
    const qsizetype bytesPerChar = encoding == TextEncoding::Utf8 ? 3 : 1;
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() * bytesPerChar + end.size();
    QByteArray data(size, Qt::Uninitialized);
    char *out = data.data();
    QStringEncoder utf8(QStringEncoder::Utf8);
    for (const QString &line : lines) {
        if (encoding == TextEncoding::Utf8) {
            out = utf8.appendToBuffer(out, line);
        } else {
            for (QChar c : line)
                *out++ = encodeCp1252Char(c.unicode());
        }
        out = std::copy(end.cbegin(), end.cend(), out);
    }
    data.truncate(out - data.data());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw UserError(QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2")
                            .arg(path, file.errorString()));
}

} // namespace tolvimar
