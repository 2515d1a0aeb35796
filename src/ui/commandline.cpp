#include "commandline.h"

#include "app/session.h"
#include "mainwindow.h"
#include "translations.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <cstdio>

namespace tolvimar {

namespace {

struct Parser
{
    Parser()
    {
        parser.setApplicationDescription(QStringLiteral("Kalmora Assistent"));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(workspace);
        parser.addOption(standard);
        parser.addPositionalArgument(QStringLiteral("DATEI"),
            QStringLiteral("Ein CR, der nach dem Start des gewählten Spiels eingelesen wird"),
            QStringLiteral("[DATEI]"));
    }

    QCommandLineParser parser;
    QCommandLineOption workspace {QStringLiteral("workspace"),
        QStringLiteral("Arbeitsverzeichnis (Standard: aktuelles Verzeichnis)"),
        QStringLiteral("DIR"), QDir::currentPath()};
    QCommandLineOption standard {QStringLiteral("standard-workspace"),
        QStringLiteral("Das Arbeitsverzeichnis im Datenordner des Benutzers (%1), beim ersten "
                       "Start angelegt")
            .arg(QDir::toNativeSeparators(StartOptions::standardWorkspace()))};
};

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    fflush(stream);
}

} // namespace

QString StartOptions::standardWorkspace()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("tolvimar"));
}

StartOptions StartOptions::read(const QStringList &arguments)
{
    Parser p;
    StartOptions options;
    if (!p.parser.parse(arguments)) {
        print(stderr,
            QStringLiteral("tolvimar: %1\nMehr dazu: tolvimar --help\n").arg(p.parser.errorText()));
        options.exitStatus = 1;
    } else if (p.parser.positionalArguments().size() > 1) {
        print(stderr, QStringLiteral("tolvimar: nur ein CR kann eingelesen werden.\n"));
        options.exitStatus = 1;
    } else if (p.parser.isSet(QStringLiteral("version"))) {
        print(stdout, QStringLiteral("tolvimar " TOLVIMAR_VERSION "\n"));
        options.exitStatus = 0;
    } else if (p.parser.isSet(QStringLiteral("help"))
        || p.parser.isSet(QStringLiteral("help-all"))) {
        print(stdout, p.parser.helpText());
        options.exitStatus = 0;
    } else {
        options.workspace
            = p.parser.isSet(p.standard) ? standardWorkspace() : p.parser.value(p.workspace);
        if (!p.parser.positionalArguments().isEmpty()) {
            options.report
                = QDir::current().absoluteFilePath(p.parser.positionalArguments().first());
        }
    }
    return options;
}

std::optional<int> StartOptions::answerWithoutDisplay(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // Qt's own options (-platform, -display, ...) are unknown here: such a command line
    // is read again once QApplication has taken them.
    Parser p;
    if (!p.parser.parse(arguments)
        || !(p.parser.isSet(QStringLiteral("help")) || p.parser.isSet(QStringLiteral("help-all"))
            || p.parser.isSet(QStringLiteral("version"))))
        return std::nullopt;
    // The help names the program and speaks German, as the program does.
    QCoreApplication app(argc, argv);
    installGermanTranslations(app);
    return read(QCoreApplication::arguments()).exitStatus;
}

void importWhenGameStarts(Session &session, MainWindow &window, const QString &report)
{
    // Queued: the import starts once "Start" has finished opening the game.
    QObject::connect(
        &session, &Session::gameOpened, &window, [&window, report] { window.importReport(report); },
        Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
}

} // namespace tolvimar
