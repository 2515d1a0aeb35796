#include "app/session.h"
#include "appicon.h"
#include "appwindows.h"
#include "base/errors.h"
#include "translations.h"
#include "uiprompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStatusBar>

using namespace tolvimar;

namespace {

// Where the program works when started from the desktop: a workspace in the user's
// data folder, created on first use.
QString standardWorkspace()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("tolvimar"));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvimar"));
    QApplication::setApplicationVersion(QStringLiteral("3.6.0"));
    QApplication::setDesktopFileName(QStringLiteral("tolvimar"));
    QApplication::setWindowIcon(appIcon());
    installGermanTranslations(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kalmora Assistent"));
    parser.addHelpOption();
    QCommandLineOption workspaceOption(QStringLiteral("workspace"),
        QStringLiteral("Arbeitsverzeichnis (Standard: aktuelles Verzeichnis)"),
        QStringLiteral("DIR"), QDir::currentPath());
    parser.addOption(workspaceOption);
    QCommandLineOption standardOption(QStringLiteral("standard-workspace"),
        QStringLiteral("Das Arbeitsverzeichnis im Datenordner des Benutzers (%1), beim ersten "
                       "Start angelegt")
            .arg(QDir::toNativeSeparators(standardWorkspace())));
    parser.addOption(standardOption);
    parser.process(app);

    const QString workspace
        = parser.isSet(standardOption) ? standardWorkspace() : parser.value(workspaceOption);
    UiPrompter prompter;
    std::unique_ptr<Session> session;
    try {
        session = std::make_unique<Session>(workspace, prompter);
    } catch (const UserError &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Fehler"), e.message());
        return 1;
    }
    prompter.setStartDirectory(session->workspace().dir());
    auto mainWindow = createWindows(*session, prompter);
    prompter.setParent(mainWindow.get());
    prompter.setNoticeSink(
        [w = mainWindow.get()](const QString &text) { w->statusBar()->showMessage(text, 15000); });
    return app.exec();
}
