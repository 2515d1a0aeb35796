#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tolvimar {

enum class TextEncoding { Utf8, Windows1252 };

// Bytes of a UTF-8 text that were not UTF-8 and were replaced by U+FFFD.
struct DecodeRepairs
{
    int badBytes = 0;
    int firstBadLine = 0; // 1-based; 0 when nothing was replaced
};

// Game files come as UTF-8 or as Windows-1252. Valid UTF-8 is taken as UTF-8; so is
// a text whose non-ASCII sequences are all but a handful valid UTF-8 (one damaged
// byte must not turn every umlaut into two characters), with the bad bytes replaced
// and counted in repairs. Anything else is Windows-1252, so umlauts survive.
QString decodeText(
    const QByteArray &bytes, TextEncoding *detected = nullptr, DecodeRepairs *repairs = nullptr);
// Decodes in a known encoding (a report that declares its charset).
QString decodeTextAs(
    const QByteArray &bytes, TextEncoding encoding, DecodeRepairs *repairs = nullptr);
QByteArray encodeText(QStringView text, TextEncoding encoding);
// True when every character of the text has a byte in the encoding (Windows-1252 has
// no "?" for a character outside it).
bool isEncodable(QStringView text, TextEncoding encoding);

// Splits into lines at LF, CR LF, CR CR LF or CR; a final line break does not start a new line.
QStringList splitLines(const QString &text);

// Files larger than this are not read as text.
constexpr qint64 kMaxTextFileBytes = qint64(1) << 30;

// Reads a regular file of at most maxBytes whole. A FIFO would be read without end
// and a device such as /dev/zero until memory runs out, so neither is opened. Throws
// UserError naming the file when it is no regular file, too large or unreadable.
QByteArray readRegularFile(const QString &path, qint64 maxBytes = kMaxTextFileBytes);

// Why bytes cannot be read as text ("UTF-16", NUL bytes); empty when they can.
QString notTextReason(QByteArrayView bytes);

// Reads a whole text file; throws UserError naming the file when it cannot be read or
// is no text (notTextReason).
QStringList readTextLines(const QString &path, TextEncoding *detected = nullptr);

// The lines as the bytes of a file, each followed by lineEnd.
QByteArray encodeTextLines(const QStringList &lines, TextEncoding encoding = TextEncoding::Utf8,
    const char *lineEnd = "\n");

// Writes the lines atomically (temporary file, then replace), each followed by
// lineEnd. Throws UserError naming the file when it cannot be written; the previous
// content then stays.
void writeTextLines(const QString &path, const QStringList &lines,
    TextEncoding encoding = TextEncoding::Utf8, const char *lineEnd = "\n");

} // namespace tolvimar
