#pragma once

#include "../base/textfile.h"

#include <QString>
#include <QVector>

namespace tolvimar {

// The lines of a report, decoded once into one text; each line is a view into it.
// Reading past the last line gives an empty line, never a crash.
class ReportLines
{
public:
    ReportLines() = default;
    // Reports larger than this are refused (and never read further).
    static constexpr qint64 kMaxBytes = qint64(1) << 30;

    // Reads a regular file of at most maxBytes. Throws UserError naming the file
    // when it cannot be read, is no regular file or is too large.
    static ReportLines load(const QString &path, qint64 maxBytes = kMaxBytes);
    // Takes the bytes by value and lets go of them once decoded.
    static ReportLines fromBytes(QByteArray bytes, const QString &fileName = QString());

    int count() const { return m_count; }
    QStringView line(int index) const
    {
        if (index < 0 || index >= m_count)
            return {};
        // A line ends before the terminator that precedes the next line's start.
        const qsizetype start = m_starts[index];
        qsizetype end = qsizetype(m_starts[index + 1]) - 1;
        if (end < m_text.size() && end > start && m_text[end] == u'\n'
            && m_text[end - 1] == u'\r') {
            --end;
            // A carriage return before CR LF is part of the line end too.
            if (end > start && m_text[end - 1] == u'\r')
                --end;
        }
        return QStringView(m_text).mid(start, end - start);
    }
    QStringView operator[](int index) const { return line(index); }

    const QString &fileName() const { return m_fileName; }
    TextEncoding encoding() const { return m_encoding; }
    // Bad bytes of a UTF-8 report that were replaced while decoding.
    const DecodeRepairs &repairs() const { return m_repairs; }
    // Size of the file as read, in bytes.
    qint64 byteSize() const { return m_byteSize; }

private:
    QString m_text;
    // Where each line starts, and one more entry past the last line: four bytes a
    // line keep the index of a report of millions of lines small.
    QVector<quint32> m_starts;
    int m_count = 0;
    QString m_fileName;
    TextEncoding m_encoding = TextEncoding::Utf8;
    DecodeRepairs m_repairs;
    qint64 m_byteSize = 0;
};

// The two ways a value is written on a report line.
// The text before the first ";" (the whole line without one).
QStringView numberText(QStringView line);
// From the second character up to the first "\";" (empty when there is none).
QString quotedText(QStringView line);
// The number before the first ";" as a strict decimal integer; throws
// ConversionError with the line index otherwise.
int intValue(QStringView line, int lineIndex);
// A text (part of a line) as a strict decimal integer; throws ConversionError.
int toInt(QStringView text, QStringView line, int lineIndex);

} // namespace tolvimar
