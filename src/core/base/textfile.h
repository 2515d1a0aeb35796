#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tolvimar {

enum class TextEncoding { Utf8, Windows1252 };

// Game files come as UTF-8 or as Windows-1252: valid UTF-8 is taken as UTF-8,
// anything else as Windows-1252, so umlauts survive either way.
QString decodeText(const QByteArray &bytes, TextEncoding *detected = nullptr);
QByteArray encodeText(QStringView text, TextEncoding encoding);

// Splits into lines at LF, CR LF or CR; a final line break does not start a new line.
QStringList splitLines(const QString &text);

// Reads a whole text file; throws UserError naming the file when it cannot be read.
QStringList readTextLines(const QString &path, TextEncoding *detected = nullptr);

// Writes the lines atomically (temporary file, then replace), each followed by
// lineEnd. Throws UserError naming the file when it cannot be written; the previous
// content then stays.
void writeTextLines(const QString &path, const QStringList &lines,
    TextEncoding encoding = TextEncoding::Utf8, const char *lineEnd = "\n");

} // namespace tolvimar
