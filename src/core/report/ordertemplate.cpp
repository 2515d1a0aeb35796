#include "ordertemplate.h"

namespace tolvimar {

OrderTemplate::OrderTemplate(QObject *parent)
    : QObject(parent)
{
}

QString OrderTemplate::text() const
{
    return m_lines.join(u'\n');
}

void OrderTemplate::setLines(const QStringList &lines)
{
    m_lines = lines;
    emit replaced();
    setSaved(false);
}

void OrderTemplate::setTextFromEditor(const QString &text)
{
    m_lines = text.split(u'\n');
    if (m_lines.size() == 1 && m_lines.first().isEmpty())
        m_lines.clear();
    setSaved(false);
}

void OrderTemplate::setSaved(bool saved)
{
    if (m_saved == saved)
        return;
    m_saved = saved;
    emit savedChanged(saved);
}

} // namespace tolvimar
