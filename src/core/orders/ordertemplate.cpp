#include "ordertemplate.h"

#include "templatelines.h"

namespace tolvimar {

OrderTemplate::OrderTemplate(QObject *parent)
    : QObject(parent)
{
    connect(&m_document, &TemplateDocument::savedChanged, this, &OrderTemplate::savedChanged);
}

std::unique_ptr<TemplateLines> OrderTemplate::view() const
{
    return m_document.view();
}

QString OrderTemplate::text() const
{
    return lines().join(u'\n');
}

namespace {
const QString kUnitHeader = QStringLiteral(" EINHEIT ");
const QString kRegionHeader = QStringLiteral(" REGION ");
} // namespace

QString unitHeaderLine(
    const QString &unitText, const QString &name, int persons, qint64 silver, const QString &tail)
{
    return kUnitHeader + unitText + QStringLiteral(";\t") + name + QStringLiteral(" [")
        + QString::number(persons) + u',' + QString::number(silver) + tail;
}

bool isUnitHeaderLine(QStringView line)
{
    return line.startsWith(kUnitHeader);
}

QString unitTextOfHeaderLine(QStringView line)
{
    if (!isUnitHeaderLine(line))
        return QString();
    const QStringView rest = line.mid(kUnitHeader.size());
    const qsizetype end = rest.indexOf(u';');
    return (end < 0 ? rest : rest.left(end)).trimmed().toString();
}

QString regionHeaderLine(int x, int y, std::optional<int> level, const QString &name)
{
    QString line = kRegionHeader + QString::number(x) + u',' + QString::number(y);
    if (level)
        line += u',' + QString::number(*level);
    return line + QStringLiteral(" ; ") + name;
}

bool isRegionHeaderLine(QStringView line)
{
    return line.startsWith(kRegionHeader);
}

bool endsUnitBlock(QStringView line)
{
    return line.isEmpty() || isUnitHeaderLine(line) || isRegionHeaderLine(line);
}

} // namespace tolvimar
