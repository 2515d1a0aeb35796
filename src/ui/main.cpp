#include "app/session.h"
#include "appicon.h"
#include "appwindows.h"
#include "base/errors.h"
#include "commandline.h"
#include "desktopsettings.h"
#include "passwordstore.h"
#include "translations.h"
#include "uiprompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QStatusBar>

using namespace tolvimar;

int main(int argc, char *argv[])
{
    if (const std::optional<int> answered = StartOptions::answerWithoutDisplay(argc, argv))
        return *answered;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvimar"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVIMAR_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tolvimar"));
    QApplication::setWindowIcon(appIcon());
    installGermanTranslations(app);

    const StartOptions options = StartOptions::read(QApplication::arguments());
    if (options.exitStatus)
        return *options.exitStatus;
    DesktopSettings::setFile(DesktopSettings::userFile());
    PasswordStore::enable(true);
    UiPrompter prompter;
    std::unique_ptr<Session> session;
    try {
        session = std::make_unique<Session>(options.workspace, prompter);
    } catch (const UserError &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Fehler"), e.message());
        return 1;
    }
    prompter.setStartDirectory(session->workspace().dir());
    auto mainWindow = createWindows(*session, prompter);
    prompter.setParent(mainWindow.get());
    prompter.setNoticeSink(
        [w = mainWindow.get()](const QString &text) { w->statusBar()->showMessage(text, 15000); });
    if (!options.report.isEmpty())
        importWhenGameStarts(*session, *mainWindow, options.report);
    return app.exec();
}
