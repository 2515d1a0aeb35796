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

// Splits into lines at LF, CR LF or CR; a final line break does not start a new line.
QStringList splitLines(const QString &text);

// Reads a whole text file; throws UserError naming the file when it cannot be read.
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
