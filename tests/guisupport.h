#pragma once

#include "appwindows.h"
#include "testsupport.h"

#include <QStringList>

class QPlainTextEdit;

namespace tolvimar::test {

// The one part of type T inside window (the maps, the region pages, the report pages,
// the recent reports): the window hands out none, tests find them by type.
template<typename T> T *partOf(const QObject &window)
{
    T *part = window.findChild<T *>();
    if (!part)
        qWarning("no %s", T::staticMetaObject.className());
    return part;
}

// The template editor ("RichEdit4"), its page "Zugvorlage" brought to the front.
QPlainTextEdit *templateEditor(MainWindow &window);

// The program's windows over a temporary workspace, answered by script.
class GuiHarness
{
public:
    // With fixtureConfig the workspace gets the configuration fixture.
    explicit GuiHarness(bool fixtureConfig = false);

    // Presses "Start" of a slot in the selection dialog.
    void start(int slot);
    // "CR einlesen" through the menu, the file dialog answered with path.
    void importThroughMenu(const QString &path);
    // Returns once an import the window runs has ended.
    void waitForImport();
    // Captions of the report tabs that are shown.
    QStringList visibleTabs() const;
    // The main window's title as the title bar shows it ("[*]" resolved).
    QString shownTitle() const;
    // The rows of a list view.
    QStringList listRows(const QString &objectName) const;

    template<typename T> T *find(const QString &name) const
    {
        T *widget = main->findChild<T *>(name);
        if (!widget)
            qWarning("no widget %s", qPrintable(name));
        return widget;
    }

    TempWorkspace ws;
    ScriptedPrompter prompter;
    std::unique_ptr<Session> session;
    std::unique_ptr<MainWindow> main;
};

} // namespace tolvimar::test
