#include "position.h"

#include "errors.h"

namespace tolvimar {

QString positionText(int x, int y, int level)
{
    QString text = QString::number(x) + u'/' + QString::number(y);
    if (level != 0)
        text += u'/' + QString::number(level);
    return text;
}

std::optional<Position> parsePosition(QStringView text)
{
    const qsizetype first = text.indexOf(u'/');
    if (first < 0)
        return std::nullopt;
    const qsizetype second = text.indexOf(u'/', first + 1);
    Position p;
    const QStringView yText
        = second < 0 ? text.mid(first + 1) : text.mid(first + 1, second - first - 1);
    if (!parseStrictInt(text.left(first), &p.x) || !parseStrictInt(yText, &p.y))
        return std::nullopt;
    if (second >= 0 && !parseStrictInt(text.mid(second + 1), &p.level))
        return std::nullopt;
    return p;
}

} // namespace tolvimar
