#include "identifiertext.h"

#include <climits>

namespace tolvimar {

bool parseIdentifierText(QStringView text, int base, int *value)
{
    if (text.isEmpty() || base < 2 || base > 36)
        return false;
    qint64 result = 0;
    for (const QChar c : text) {
        const char16_t u = c.toLower().unicode();
        int digit = 36;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'z')
            digit = 10 + (u - u'a');
        if (digit >= base)
            return false;
        result = result * base + digit;
        if (result > INT_MAX)
            return false;
    }
    if (result == 0)
        return false;
    *value = int(result);
    return true;
}

} // namespace tolvimar
