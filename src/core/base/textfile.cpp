#include "textfile.h"

#include "errors.h"
#include "filebatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <climits>

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

// The byte of a character in Windows-1252; -1 when it has none.
int cp1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == c)
            return 0x80 + i;
    }
    return -1;
}

char encodeCp1252Char(char16_t c)
{
    const int b = cp1252Byte(c);
    return b < 0 ? '?' : char(b);
}

// Counts the multi-byte sequences of a text that are valid UTF-8 and the bytes that
// are not, stopping once more than stopAfter bad bytes were seen.
struct Utf8Scan
{
    qsizetype valid = 0;
    int invalid = 0;
    qsizetype firstInvalid = -1;
};

Utf8Scan scanUtf8(QByteArrayView view, int stopAfter)
{
    Utf8Scan scan;
    const auto *p = reinterpret_cast<const unsigned char *>(view.data());
    const qsizetype n = view.size();
    auto cont = [&](qsizetype i) { return i < n && (p[i] & 0xC0) == 0x80; };
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        if (b >= 0xC2 && b <= 0xDF)
            length = cont(i + 1) ? 2 : 0;
        else if (b >= 0xE0 && b <= 0xEF) {
            const bool second = i + 1 < n
                && (b == 0xE0       ? (p[i + 1] >= 0xA0 && p[i + 1] <= 0xBF)
                        : b == 0xED ? (p[i + 1] >= 0x80 && p[i + 1] <= 0x9F)
                                    : cont(i + 1));
            length = second && cont(i + 2) ? 3 : 0;
        } else if (b >= 0xF0 && b <= 0xF4) {
            const bool second = i + 1 < n
                && (b == 0xF0       ? (p[i + 1] >= 0x90 && p[i + 1] <= 0xBF)
                        : b == 0xF4 ? (p[i + 1] >= 0x80 && p[i + 1] <= 0x8F)
                                    : cont(i + 1));
            length = second && cont(i + 2) && cont(i + 3) ? 4 : 0;
        }
        if (length > 0) {
            ++scan.valid;
            i += length;
            continue;
        }
        if (scan.invalid++ == 0)
            scan.firstInvalid = i;
        if (scan.invalid > stopAfter)
            break;
        ++i;
    }
    return scan;
}

// At most this many bad bytes in an otherwise UTF-8 text are taken for damage.
constexpr int kHandful = 5;

bool looksLikeDamagedUtf8(QByteArrayView view)
{
    const Utf8Scan scan = scanUtf8(view, kHandful);
    return scan.invalid <= kHandful && scan.valid >= 2 * qsizetype(scan.invalid);
}

// The 1-based line of a byte offset, with LF, CR LF and CR as line breaks.
int lineOfOffset(QByteArrayView view, qsizetype offset)
{
    if (offset < 0)
        return 0;
    int line = 1;
    for (qsizetype i = 0; i < offset && i < view.size(); ++i) {
        if (view[i] == '\n')
            ++line;
        else if (view[i] == '\r') {
            ++line;
            if (i + 1 < offset && view[i + 1] == '\n')
                ++i;
        }
    }
    return line;
}

} // namespace

QString decodeText(const QByteArray &bytes, TextEncoding *detected, DecodeRepairs *repairs)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    // Checked before decoding: the decoder goes on through the whole text after the
    // first invalid byte, and a Windows-1252 report would be decoded twice.
    const bool utf8 = view.isValidUtf8() || looksLikeDamagedUtf8(view);
    if (detected)
        *detected = utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    return decodeTextAs(bytes, utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252, repairs);
}

QString decodeTextAs(const QByteArray &bytes, TextEncoding encoding, DecodeRepairs *repairs)
{
    if (repairs)
        *repairs = DecodeRepairs();
    if (encoding == TextEncoding::Windows1252)
        return decodeCp1252(bytes);
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(view);
    if (decoder.hasError() && repairs) {
        const Utf8Scan scan = scanUtf8(view, INT_MAX);
        repairs->badBytes = scan.invalid;
        repairs->firstBadLine = lineOfOffset(view, scan.firstInvalid);
    }
    return text;
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

bool isEncodable(QStringView text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return true;
    for (QChar c : text) {
        // The five code points that Windows-1252 leaves undefined read back as themselves.
        if (cp1252Byte(c.unicode()) < 0)
            return false;
    }
    return true;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    // Sized once: a status file has hundreds of thousands of lines, and a list grown
    // by doubling keeps up to half its size unused.
    const qsizetype newlines = text.count(u'\n');
    lines.reserve((newlines > 0 ? newlines : text.count(u'\r')) + 1);
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\n' || c == u'\r') {
            lines.append(text.mid(start, i - start));
            // CR LF, and CR CR LF: a CR LF file whose LF a copy made CR LF once more.
            if (c == u'\r' && i + 2 < n && text[i + 1] == u'\r' && text[i + 2] == u'\n')
                i += 2;
            else if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QByteArray readRegularFile(const QString &path, qint64 maxBytes)
{
    const QString shown = QDir::toNativeSeparators(path);
    auto unreadable = [&](const QString &reason) {
        return UserError(
            QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2").arg(shown, reason));
    };
    // Checked before opening: opening a FIFO blocks already.
    const QFileInfo info(path);
    if (info.isDir())
        throw unreadable(QStringLiteral("sie ist ein Verzeichnis."));
    if (info.exists() && !info.isFile())
        throw unreadable(QStringLiteral("sie ist keine gewöhnliche Datei (eine FIFO oder ein "
                                        "Gerät)."));
    auto sizeText = [](qint64 bytes) {
        return bytes >= (qint64(1) << 20) ? QStringLiteral("%1 MB").arg(bytes >> 20)
                                          : QStringLiteral("%1 KB").arg((bytes + 1023) >> 10);
    };
    auto tooLarge = [&](qint64 size) {
        return UserError(
            QStringLiteral("Die Datei %1 ist mit %2 zu groß: gelesen werden Dateien bis %3.")
                .arg(shown, sizeText(size), sizeText(maxBytes)));
    };
    if (info.size() > maxBytes)
        throw tooLarge(info.size());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw unreadable(file.errorString());
    // Read in pieces: a file that grows meanwhile is read no further than the limit,
    // and no buffer of the limit's size is taken up front.
    QByteArray bytes;
    bytes.reserve(info.size());
    constexpr qint64 kPiece = qint64(1) << 20;
    for (;;) {
        const qsizetype before = bytes.size();
        bytes.resize(before + qsizetype(qMin(kPiece, maxBytes + 1 - before)));
        const qint64 n = file.read(bytes.data() + before, bytes.size() - before);
        if (n < 0)
            throw unreadable(file.errorString());
        bytes.resize(before + n);
        if (n == 0 || bytes.size() > maxBytes)
            break;
    }
    if (bytes.size() > maxBytes)
        throw tooLarge(bytes.size());
    return bytes;
}

QString notTextReason(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return QStringLiteral("sie ist in UTF-16 geschrieben; gelesen werden UTF-8 und "
                              "Windows-1252");
    const qsizetype nul = bytes.indexOf('\0');
    if (nul < 0)
        return QString();
    // Text in UTF-16 without a byte order mark: every other byte of its ASCII is NUL.
    const QByteArrayView head = bytes.first(qMin<qsizetype>(bytes.size(), 64));
    int evenNul = 0;
    int oddNul = 0;
    for (qsizetype i = 0; i < head.size(); ++i) {
        if (head[i] == '\0')
            ++(i % 2 == 0 ? evenNul : oddNul);
    }
    if (head.size() >= 8 && (evenNul >= head.size() * 2 / 5 || oddNul >= head.size() * 2 / 5)
        && qMin(evenNul, oddNul) == 0)
        return QStringLiteral("sie ist in UTF-16 geschrieben; gelesen werden UTF-8 und "
                              "Windows-1252");
    return QStringLiteral("sie ist keine Textdatei (sie enthält Steuerzeichen wie Nullbytes)");
}

QStringList readTextLines(const QString &path, TextEncoding *detected)
{
    const QByteArray bytes = readRegularFile(path);
    const QString notText = notTextReason(bytes);
    if (!notText.isEmpty())
        throw UserError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2.")
                            .arg(QDir::toNativeSeparators(path), notText));
    return splitLines(decodeText(bytes, detected));
}

QByteArray encodeTextLines(const QStringList &lines, TextEncoding encoding, const char *lineEnd)
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
    return data;
}

void writeTextLines(
    const QString &path, const QStringList &lines, TextEncoding encoding, const char *lineEnd)
{
    writeFileAtomically(path, encodeTextLines(lines, encoding, lineEnd));
}

} // namespace tolvimar
