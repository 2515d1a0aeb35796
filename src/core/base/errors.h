#pragma once

#include <QString>
#include <exception>

namespace tolvimar {

// A failure the user has to read: carries a complete German message.
class UserError : public std::exception
{
public:
    explicit UserError(QString message);
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_messageUtf8.constData(); }

private:
    QString m_message;
    QByteArray m_messageUtf8;
};

// A value of a report line that should have been a number and is not. Knows the
// line (0-based index into the report) and the offending text; the import driver
// adds the file name when it reports it.
class ConversionError : public std::exception
{
public:
    ConversionError(int lineIndex, QString lineText, QString value);
    int lineIndex() const { return m_lineIndex; }
    const QString &lineText() const { return m_lineText; }
    const QString &value() const { return m_value; }
    const char *what() const noexcept override { return "conversion error"; }

private:
    int m_lineIndex;
    QString m_lineText;
    QString m_value;
};

// Strict decimal conversion of a whole text: optional blanks around an optional
// sign and at least one digit; anything else, or a value outside 32 bits, fails.
bool parseStrictInt(QStringView text, int *value);

// The same for 64 bits; overflow tells a number that is too large from no number.
enum class NumberParse { Ok, NotANumber, TooLarge };
NumberParse parseStrictInt64(QStringView text, qint64 *value);

} // namespace tolvimar
