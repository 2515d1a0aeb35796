#include "recentreports.h"

#include "desktopsettings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace tolvimar {

namespace {

const QString kKey = QStringLiteral("recentReports");

// "&1 bericht.cr  (~/spiele)": the number as the key, the folder to tell equal names
// apart; an ampersand in a name is shown, not taken as a key.
QString entryText(int number, const QString &path)
{
    const QFileInfo info(path);
    QString folder = QDir::toNativeSeparators(info.absolutePath());
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (folder == home || folder.startsWith(home + QDir::separator()))
        folder = u'~' + folder.mid(home.size());
    QString text = QStringLiteral("%1 %2  (%3)").arg(number).arg(info.fileName(), folder);
    text.replace(u'&', QStringLiteral("&&"));
    return u'&' + text;
}

} // namespace

RecentReports::RecentReports(QMenu *datei, QObject *parent)
    : QObject(parent)
    , m_menu(datei->addMenu(QStringLiteral("&Zuletzt eingelesen")))
{
    m_menu->setObjectName(QStringLiteral("ZuletztEingelesen1"));
    m_menu->setToolTipsVisible(true);
    if (const std::unique_ptr<QSettings> settings = DesktopSettings::open())
        m_files = settings->value(kKey).toStringList().mid(0, kMaximum);
    // A file may have gone since the menu was last shown.
    connect(m_menu, &QMenu::aboutToShow, this, &RecentReports::rebuild);
    rebuild();
}

void RecentReports::setEnabled(bool enabled)
{
    m_menu->setEnabled(enabled);
}

void RecentReports::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    m_files = m_files.mid(0, kMaximum);
    store();
    rebuild();
}

void RecentReports::clear()
{
    m_files.clear();
    store();
    rebuild();
}

void RecentReports::store()
{
    if (const std::unique_ptr<QSettings> settings = DesktopSettings::open())
        settings->setValue(kKey, m_files);
}

void RecentReports::rebuild()
{
    // The entry that started an import or the clearing may still be on the stack.
    const QList<QAction *> previous = m_menu->actions();
    for (QAction *action : previous) {
        m_menu->removeAction(action);
        action->setObjectName(QString());
        action->deleteLater();
    }
    for (int i = 0; i < m_files.size(); ++i) {
        const QString path = m_files[i];
        QAction *action = m_menu->addAction(entryText(i + 1, path));
        action->setObjectName(QStringLiteral("Zuletzt%1").arg(i + 1));
        const bool exists = QFileInfo(path).isFile();
        action->setEnabled(exists);
        action->setToolTip(exists ? QDir::toNativeSeparators(path)
                                  : QDir::toNativeSeparators(path) + QStringLiteral(" (fehlt)"));
        connect(action, &QAction::triggered, this, [this, path] { emit importRequested(path); });
    }
    m_menu->addSeparator();
    QAction *clearAction = m_menu->addAction(QStringLiteral("Liste &leeren"));
    clearAction->setObjectName(QStringLiteral("ZuletztLeeren1"));
    clearAction->setEnabled(!m_files.isEmpty());
    connect(clearAction, &QAction::triggered, this, &RecentReports::clear);
    m_menu->menuAction()->setEnabled(!m_files.isEmpty());
}

} // namespace tolvimar
