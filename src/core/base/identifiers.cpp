#include "identifiers.h"

#include "errors.h"

namespace tolvimar {

namespace {
constexpr char16_t kOutputDigits[] = u"0123456789abcdefghijkLmnopqrstuvwxyz";
constexpr char16_t kInputDigits[] = u"0123456789abcdefghijklmnopqrstuvwxyz";
} // namespace

QString idToStr(qint64 value, int base)
{
    if (base < 2 || base > 36)
        base = 36;
    QString result;
    while (value > 0) {
        result.prepend(QChar(kOutputDigits[value % base]));
        value /= base;
    }
    return result;
}

int strToId(QStringView text, int base)
{
    // Wraps like 32-bit arithmetic instead of overflowing on absurdly long texts.
    quint32 result = 0;
    quint32 power = 1;
    for (qsizetype k = text.size() - 1; k >= 0; --k) {
        const char16_t c = text[k].toLower().unicode();
        int digit = -1;
        for (int d = 0; d < 36; ++d) {
            if (kInputDigits[d] == c) {
                digit = d;
                break;
            }
        }
        result += quint32(qint32(digit)) * power;
        power *= quint32(base);
    }
    return qint32(result);
}

QString formatTalent(const QString &talent, int persons)
{
    const qsizetype blank = talent.indexOf(u' ');
    const QString pointsText = blank < 0 ? talent : talent.left(blank);
    const QString rest = blank < 0 ? QString() : talent.mid(blank + 1);
    int points = 0;
    if (blank < 0 || !parseStrictInt(pointsText, &points))
        throw ConversionError(-1, talent, pointsText);
    const int perPerson = persons == 0 ? 0 : points / persons;
    return u'[' + QString::number(perPerson) + QStringLiteral("] ") + rest;
}

QString numberText(qint64 value, GameType gameType, int base)
{
    return gameType == GameType::Kalmora ? idToStr(value, base) : QString::number(value);
}

} // namespace tolvimar
