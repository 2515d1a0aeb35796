#include "windowmemory.h"

#include "desktopsettings.h"

#include <QMainWindow>
#include <QSettings>
#include <QSplitter>

namespace tolvimar {

namespace {

const QString kGeometry = QStringLiteral("mainWindow/geometry");
const QString kState = QStringLiteral("mainWindow/state");

QString splitterKey(const QSplitter *splitter)
{
    return QStringLiteral("mainWindow/splitters/") + splitter->objectName();
}

} // namespace

bool WindowMemory::restore(QMainWindow &window)
{
    const std::unique_ptr<QSettings> settings = DesktopSettings::open();
    if (!settings || !window.restoreGeometry(settings->value(kGeometry).toByteArray()))
        return false;
    window.restoreState(settings->value(kState).toByteArray());
    const QList<QSplitter *> splitters = window.findChildren<QSplitter *>();
    for (QSplitter *splitter : splitters) {
        if (!splitter->objectName().isEmpty())
            splitter->restoreState(settings->value(splitterKey(splitter)).toByteArray());
    }
    return true;
}

void WindowMemory::save(const QMainWindow &window)
{
    const std::unique_ptr<QSettings> settings = DesktopSettings::open();
    if (!settings)
        return;
    settings->setValue(kGeometry, window.saveGeometry());
    settings->setValue(kState, window.saveState());
    const QList<QSplitter *> splitters = window.findChildren<QSplitter *>();
    for (const QSplitter *splitter : splitters) {
        if (!splitter->objectName().isEmpty())
            settings->setValue(splitterKey(splitter), splitter->saveState());
    }
}

} // namespace tolvimar
