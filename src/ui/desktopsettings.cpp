#include "desktopsettings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace tolvimar {

namespace {

QString &chosenFile()
{
    static QString path;
    return path;
}

} // namespace

QString DesktopSettings::userFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("tolvimar/tolvimar.conf"));
}

void DesktopSettings::setFile(const QString &path)
{
    chosenFile() = path;
}

QString DesktopSettings::file()
{
    return chosenFile();
}

std::unique_ptr<QSettings> DesktopSettings::open()
{
    if (chosenFile().isEmpty())
        return nullptr;
    return std::make_unique<QSettings>(chosenFile(), QSettings::IniFormat);
}

} // namespace tolvimar
