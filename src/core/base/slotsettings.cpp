#include "slotsettings.h"

#include "textfile.h"
#include "workspace.h"
#include "workspacelock.h"

#include <QDir>
#include <QFileInfo>

namespace tolvimar {

SlotSettings::SlotSettings(const Workspace &workspace, int game)
    : m_path(QDir(workspace.dir()).filePath(QStringLiteral("tolvimar-spiel%1.ini").arg(game)))
{
}

QString SlotSettings::value(const QString &name) const
{
    if (!QFileInfo::exists(m_path))
        return QString();
    const QString prefix = name + u'=';
    for (const QString &line : readTextLines(m_path)) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return QString();
}

void SlotSettings::setValue(const QString &name, const QString &value, WorkspaceLock *lock)
{
    const WorkspaceWriteScope write(lock);
    QStringList lines;
    if (QFileInfo::exists(m_path))
        lines = readTextLines(m_path);
    const QString prefix = name + u'=';
    QString flat = value;
    flat.replace(u'\r', u' ').replace(u'\n', u' ');
    bool replaced = false;
    for (QString &line : lines) {
        if (line.startsWith(prefix)) {
            line = prefix + flat;
            replaced = true;
        }
    }
    if (!replaced)
        lines.append(prefix + flat);
    writeTextLines(m_path, lines);
}

} // namespace tolvimar
