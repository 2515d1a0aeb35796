#include "identifiers.h"

#include "errors.h"

#include <algorithm>

namespace tolvimar {

namespace {
constexpr char16_t kOutputDigits[] = u"0123456789abcdefghijkLmnopqrstuvwxyz";
constexpr char16_t kInputDigits[] = u"0123456789abcdefghijklmnopqrstuvwxyz";
} // namespace

QString idToStr(qint64 value, int base)
{
    if (base < 2 || base > 36)
        base = 36;
    // Written from the last digit backwards: 64 digits hold any value in base 2.
    char16_t digits[64];
    int first = 64;
    while (value > 0) {
        digits[--first] = kOutputDigits[value % base];
        value /= base;
    }
    if (first == 64)
        return QString();
    return QString(reinterpret_cast<const QChar *>(digits + first), 64 - first);
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

namespace {
// The points of a talent text "points level"; false where it has no such number.
bool talentPoints(QStringView talent, qsizetype *blank, int *points)
{
    *blank = talent.indexOf(u' ');
    return *blank >= 0 && parseStrictInt(talent.left(*blank), points);
}
} // namespace

bool talentHasNumber(QStringView talent)
{
    qsizetype blank = 0;
    int points = 0;
    return talentPoints(talent, &blank, &points);
}

QString formatTalent(const QString &talent, int persons)
{
    qsizetype blank = 0;
    int points = 0;
    if (!talentPoints(talent, &blank, &points))
        throw ConversionError(-1, talent, blank < 0 ? talent : talent.left(blank));
    const int perPerson = persons == 0 ? 0 : points / persons;
    return u'[' + QString::number(perPerson) + QStringLiteral("] ") + talent.mid(blank + 1);
}

QString numberText(qint64 value, GameType gameType, int base)
{
    return gameType == GameType::Kalmora ? idToStr(value, base) : QString::number(value);
}

std::optional<qint64> numberOfText(QStringView text, GameType gameType, int base)
{
    // Digits and letters only: no sign, no blanks, no base prefix.
    const bool plain = std::all_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
    });
    if (text.isEmpty() || !plain)
        return std::nullopt;
    if (base < 2 || base > 36)
        base = 36; // as idToStr() writes it
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, gameType == GameType::Kalmora ? base : 10);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

} // namespace tolvimar
