#include "ordertemplate.h"

#include "templatelines.h"

namespace tolvimar {

OrderTemplate::OrderTemplate(QObject *parent)
    : QObject(parent)
{
}

QString OrderTemplate::text() const
{
    return lines().join(u'\n');
}

void OrderTemplate::setLines(const QStringList &lines)
{
    m_held.reset();
    m_editedInEditor = false;
    m_lines = lines;
    emit replaced();
    setSaved(false);
}

void OrderTemplate::setTextFromEditor(const QString &text)
{
    m_held.reset();
    m_editedInEditor = false;
    m_lines = text.split(u'\n');
    if (m_lines.size() == 1 && m_lines.first().isEmpty())
        m_lines.clear();
    setSaved(false);
}

void OrderTemplate::editedInEditor()
{
    if (m_editorReader) {
        m_held.reset();
        m_editedInEditor = true;
    }
    setSaved(false);
}

std::unique_ptr<TemplateLines> OrderTemplate::view() const
{
    if (m_editedInEditor && m_editorLines) {
        if (std::unique_ptr<TemplateLines> held = m_editorLines())
            return held;
    }
    return std::make_unique<OwnedTemplateLines>(lines());
}

void OrderTemplate::editLines(const QList<LineEdit> &edits)
{
    if (edits.isEmpty())
        return;
    if (m_editorWriter && m_editorWriter(edits)) {
        editedInEditor();
        return;
    }
    restoreHeldLines();
    readEditedLines();
    for (const LineEdit &edit : edits) {
        m_lines.remove(edit.first, edit.count);
        for (qsizetype i = 0; i < edit.lines.size(); ++i)
            m_lines.insert(edit.first + i, edit.lines[i]);
    }
    emit replaced();
    setSaved(false);
}

void OrderTemplate::readEditedLines() const
{
    if (!m_editedInEditor)
        return;
    m_editedInEditor = false;
    m_lines = m_editorReader();
    if (m_lines.size() == 1 && m_lines.first().isEmpty())
        m_lines.clear();
}

void OrderTemplate::holdLines()
{
    readEditedLines();
    if (m_held)
        return; // held already, and not brought back since
    m_held.emplace(m_lines);
    m_lines = QStringList();
}

void OrderTemplate::restoreHeldLines() const
{
    if (!m_held)
        return;
    m_lines = m_held->lines();
    m_held.reset();
}

void OrderTemplate::setSaved(bool saved)
{
    if (m_saved == saved)
        return;
    m_saved = saved;
    emit savedChanged(saved);
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
