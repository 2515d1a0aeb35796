#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tolvimar {

class MainWindow;
class Session;

// The desktop program's command line: tolvimar [--workspace DIR | --standard-workspace]
// [REPORT], and --help and --version.
struct StartOptions
{
    // Where the program works when started from the desktop menu: a workspace in the
    // user's data folder, created on first use.
    static QString standardWorkspace();

    // Reads a command line (the program's own options, after QApplication took its
    // ones). --help and --version are answered on stdout, a wrong command line on
    // stderr; exitStatus is then set.
    static StartOptions read(const QStringList &arguments);
    // --help and --version answered before the program opens a display; returns the
    // exit status then.
    static std::optional<int> answerWithoutDisplay(int argc, char *argv[]);

    std::optional<int> exitStatus;
    QString workspace;
    // A report to import into the game that the user starts (absolute), or empty.
    QString report;
};

// Imports the report into the game once the user has started one in "Spielwahl".
void importWhenGameStarts(Session &session, MainWindow &window, const QString &report);

} // namespace tolvimar
