#include "workspace.h"

#include "configuration.h"
#include "filebatch.h"

#include <QDir>
#include <QFileInfo>

namespace tolvimar {

Workspace::Workspace(const QString &dir)
    : m_dir(QDir(dir).absolutePath())
{
}

QString Workspace::configPath() const
{
    return QDir(m_dir).filePath(QStringLiteral("tolvimar.cfg"));
}

QString Workspace::databasePath() const
{
    return QDir(m_dir).filePath(QStringLiteral("kalmora.sqlite"));
}

bool Workspace::ensure() const
{
    makeDirectory(m_dir);
    if (QFileInfo::exists(configPath()))
        return false;
    Configuration config(configPath());
    config.createFresh();
    return true;
}

QString Workspace::resolveProgramPath(const QString &stored) const
{
    QString path = stored.trimmed();
    path.replace(u'\\', u'/');
    if (path.isEmpty())
        path = m_dir;
    else if (QDir::isRelativePath(path))
        path = QDir(m_dir).filePath(path);
    path = QDir::cleanPath(path);
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

} // namespace tolvimar
