#include "calculator.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace tolvimar {

bool startCalculator(QString *lookedFor)
{
    const QStringList candidates = {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
        QStringLiteral("qalculate-gtk"), QStringLiteral("galculator"), QStringLiteral("mate-calc"),
        QStringLiteral("speedcrunch"), QStringLiteral("xcalc")};
    if (lookedFor)
        *lookedFor = candidates.join(QStringLiteral(", "));
    for (const QString &name : candidates) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty() && QProcess::startDetached(path, {}))
            return true;
    }
    return false;
}

} // namespace tolvimar
