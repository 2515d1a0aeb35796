#include "appwindows.h"

#include "aboutbox.h"
#include "app/session.h"
#include "checkeroutputwindow.h"
#include "ordereditorwindow.h"
#include "progresswindow.h"
#include "regionentrydialog.h"
#include "selectiondialog.h"
#include "settingsdialog.h"
#include "windowmemory.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

namespace tolvimar {

std::unique_ptr<MainWindow> createWindows(Session &session, Prompter &prompter, bool showMaximized)
{
    auto main = std::make_unique<MainWindow>(session, prompter);
    // Where the last run left the window, else maximised as at the first start.
    if (WindowMemory::restore(*main))
        main->show();
    else if (showMaximized) {
        // Without a window manager "maximised" means nothing; fill the screen anyway.
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            main->setGeometry(screen->availableGeometry());
        main->showMaximized();
    } else
        main->show();

    MainWindow::Windows w;
    w.settings = new SettingsDialog(session, main.get());
    w.selection = new SelectionDialog(main.get());
    // Closing "Spielwahl" without a game (Escape, the close box) would leave a disabled
    // main window with no way on: it ends the program instead. Opened by "Spiel
    // wechseln", it returns to the game still open.
    MainWindow *window = main.get();
    QObject::connect(w.selection, &QDialog::rejected, window, [&session, window] {
        if (session.game().isOpen())
            window->setEnabled(true);
        else
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    w.selection->showSlots(session.selection());
    w.selection->show();
    w.regionEntry = new RegionEntryDialog(session, main.get());
    w.progress = new ProgressWindow(main.get());
    w.orderEditor = new OrderEditorWindow(main.get());
    w.about = new AboutBox(main.get());
    w.checkerOutput = new CheckerOutputWindow(main.get());
    main->setWindows(w);

    // Until a game is opened the main window's functions must not be used.
    main->setEnabled(false);
    w.selection->setEnabled(true);
    w.selection->raise();
    w.selection->activateWindow();
    return main;
}

} // namespace tolvimar
