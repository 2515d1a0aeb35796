#include "datecode.h"

#include <QStringList>

namespace tolvimar {

QString monthName(int month)
{
    static const QStringList names = {
        QStringLiteral("Januar"),
        QStringLiteral("Februar"),
        QStringLiteral("Maerz"),
        QStringLiteral("April"),
        QStringLiteral("Mai"),
        QStringLiteral("Juni"),
        QStringLiteral("Juli"),
        QStringLiteral("August"),
        QStringLiteral("September"),
        QStringLiteral("Oktober"),
        QStringLiteral("November"),
        QStringLiteral("Dezember"),
    };
    return month >= 1 && month <= 12 ? names[month - 1] : QString();
}

GameDate dateFromTurn(int turn)
{
    GameDate d;
    // Year = turn / 12 rounded up, also for turns below 1.
    const qint64 t = turn;
    qint64 year = t / 12;
    if (t % 12 > 0)
        ++year;
    d.year = int(year);
    d.month = int(t - 12 * (year - 1));
    // Formed as year's digits followed by the two-digit month.
    d.code = year < 0 ? year * 100 - d.month : year * 100 + d.month;
    d.text = monthName(d.month) + QStringLiteral(" im Jahre ") + QString::number(d.year);
    return d;
}

} // namespace tolvimar
