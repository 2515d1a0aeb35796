#include "app/session.h"
#include "appwindows.h"
#include "base/errors.h"
#include "translations.h"
#include "uiprompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QStatusBar>

using namespace tolvimar;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvimar"));
    QApplication::setApplicationVersion(QStringLiteral("3.6.0"));
    installGermanTranslations(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kalmora Assistent"));
    parser.addHelpOption();
    QCommandLineOption workspaceOption(QStringLiteral("workspace"),
        QStringLiteral("Arbeitsverzeichnis (Standard: aktuelles Verzeichnis)"),
        QStringLiteral("DIR"), QDir::currentPath());
    parser.addOption(workspaceOption);
    parser.process(app);

    UiPrompter prompter;
    std::unique_ptr<Session> session;
    try {
        session = std::make_unique<Session>(parser.value(workspaceOption), prompter);
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
