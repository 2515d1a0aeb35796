#include "errors.h"

#include <climits>

namespace tolvimar {

UserError::UserError(QString message)
    : m_message(std::move(message))
    , m_messageUtf8(m_message.toUtf8())
{
}

ConversionError::ConversionError(int lineIndex, QString lineText, QString value)
    : m_lineIndex(lineIndex)
    , m_lineText(std::move(lineText))
    , m_value(std::move(value))
{
}

bool parseStrictInt(QStringView text, int *value)
{
    qint64 wide = 0;
    if (parseStrictInt64(text, &wide) != NumberParse::Ok || wide > INT_MAX || wide < INT_MIN)
        return false;
    *value = int(wide);
    return true;
}

NumberParse parseStrictInt64(QStringView text, qint64 *value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype digitsStart = i;
    quint64 magnitude = 0;
    bool overflow = false;
    // The largest magnitude: 2^63 for a negative number, 2^63 - 1 otherwise.
    const quint64 limit = negative ? quint64(1) << 63 : (quint64(1) << 63) - 1;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        const quint64 digit = text[i].unicode() - u'0';
        if (!overflow && magnitude > (limit - digit) / 10)
            overflow = true;
        if (!overflow)
            magnitude = magnitude * 10 + digit;
        ++i;
    }
    if (i == digitsStart)
        return NumberParse::NotANumber;
    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return NumberParse::NotANumber;
    if (overflow)
        return NumberParse::TooLarge;
    *value = negative ? qint64(0 - magnitude) : qint64(magnitude);
    return NumberParse::Ok;
}

} // namespace tolvimar
