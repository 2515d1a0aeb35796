#include "testsupport.h"

#include <QRegularExpression>
#include <QtTest>

using namespace tolvimar::test;

namespace {

// The commands as `tolvimar-cli --help` lists them.
QStringList listedCommands()
{
    QString out;
    runCli({QStringLiteral("--help")}, &out);
    QStringList commands;
    static const QRegularExpression line(
        QStringLiteral("^  ([a-z][a-z-]*)"), QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(out); it.hasNext();)
        commands.append(it.next().captured(1));
    return commands;
}

// The options that a command's help names in its own (indented) lines.
QStringList optionsOfCommand(const QString &help)
{
    QStringList options;
    static const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*"));
    for (const QString &line : help.split(u'\n')) {
        if (!line.startsWith(u' '))
            continue;
        for (auto it = option.globalMatch(line); it.hasNext();)
            options.append(it.next().captured());
    }
    options.removeDuplicates();
    return options;
}

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// The desktop program without any display: no X, no Wayland, no Qt platform chosen.
Run runGuiWithoutDisplay(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TOLVIMAR_GUI), arguments);
    process.waitForFinished(60000);
    Run run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// What bash completion offers for the words typed so far (the last one is completed),
// with the built tolvimar-cli first on PATH, as the installed one would be.
QStringList complete(const QString &script, const QString &function, const QStringList &words)
{
    QString array;
    for (const QString &word : words)
        array += QStringLiteral(" '") + word + u'\'';
    const QString program
        = QStringLiteral("PATH='%5':$PATH; source '%1'; COMP_WORDS=(%2); COMP_CWORD=%3; %4; "
                         "printf '%s\\n' \"${COMPREPLY[@]}\"")
              .arg(script, array)
              .arg(words.size() - 1)
              .arg(function, QFileInfo(QStringLiteral(TOLVIMAR_CLI)).absolutePath());
    QProcess bash;
    bash.start(QStringLiteral("bash"), {QStringLiteral("-c"), program});
    bash.waitForFinished(60000);
    QStringList offered
        = QString::fromUtf8(bash.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    offered.sort();
    return offered;
}

const QString kCompletion = QStringLiteral(TOLVIMAR_SOURCE_DIR "/data/completion/");

} // namespace

// The conventions of a Linux program: help and version on stdout with exit status 0,
// help for each command, manual pages and shell completion that match the commands.
class TestConventions : public QObject
{
    Q_OBJECT
private slots:
    void cliAnswersHelpAndVersion_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("--help") << QStringList {QStringLiteral("--help")} << "Befehle:";
        QTest::newRow("-h") << QStringList {QStringLiteral("-h")} << "Befehle:";
        QTest::newRow("--version")
            << QStringList {QStringLiteral("--version")} << "tolvimar-cli " TOLVIMAR_VERSION "\n";
        QTest::newRow("after --workspace") << QStringList {QStringLiteral("--workspace"),
            QStringLiteral("WS"), QStringLiteral("--version")}
                                           << "tolvimar-cli " TOLVIMAR_VERSION "\n";
        QTest::newRow("command --help") << QStringList {QStringLiteral("--workspace"),
            QStringLiteral("WS"), QStringLiteral("import"), QStringLiteral("--slot"),
            QStringLiteral("1"),
            QStringLiteral("--help")} << "import --slot K [--type Kalmora|Sulvitan] [--yes] DATEI";
    }
    void cliAnswersHelpAndVersion()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString ws = dir.filePath(QStringLiteral("nicht-angelegt"));
        arguments.replaceInStrings(QStringLiteral("WS"), ws);
        QString out, err;
        QCOMPARE(runCli(arguments, &out, &err), 0);
        QVERIFY2(out.contains(expected), qPrintable(out));
        QVERIFY2(err.isEmpty(), qPrintable(err));
        if (expected.endsWith(u'\n'))
            QCOMPARE(out, expected);
        // Help opens no workspace: nothing is created.
        QVERIFY(!QFileInfo::exists(ws));
    }

    void everyCommandTakesHelp()
    {
        const QStringList commands = listedCommands();
        QVERIFY2(commands.contains(QStringLiteral("init"))
                && commands.contains(QStringLiteral("add-region")),
            qPrintable(commands.join(u' ')));
        for (const QString &command : commands) {
            QString out, err;
            QCOMPARE(runCli({command, QStringLiteral("--help")}, &out, &err), 0);
            QVERIFY2(out.startsWith(QStringLiteral("Aufruf: tolvimar-cli")), qPrintable(out));
            QVERIFY2(out.contains(QStringLiteral("\n  ") + command), qPrintable(out));
            QVERIFY2(err.isEmpty(), qPrintable(command + u' ' + err));
        }
    }

    void helpKeepsUsageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown command")
            << QStringList {QStringLiteral("zaubern"), QStringLiteral("--help")};
        QTest::newRow("unknown option before --help")
            << QStringList {QStringLiteral("--farbe"), QStringLiteral("--help")};
    }
    void helpKeepsUsageErrors()
    {
        QFETCH(QStringList, arguments);
        QString out, err;
        QCOMPARE(runCli(arguments, &out, &err), 2);
        QVERIFY(out.isEmpty());
        QVERIFY(err.contains(QStringLiteral("Aufruf:")));
    }

    void desktopProgramAnswersWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("--version")
            << QStringList {QStringLiteral("--version")}
            << QStringList {QStringLiteral("tolvimar " TOLVIMAR_VERSION "\n")};
        QTest::newRow("-v") << QStringList {QStringLiteral("-v")}
                            << QStringList {QStringLiteral("tolvimar " TOLVIMAR_VERSION "\n")};
        QTest::newRow("--help") << QStringList {QStringLiteral("--help")}
                                << QStringList {QStringLiteral("--workspace <DIR>"),
                                       QStringLiteral("--standard-workspace"),
                                       QStringLiteral("[DATEI]"), QStringLiteral("--version")};
        QTest::newRow("--help with a report") << QStringList {QStringLiteral("bericht.cr"),
            QStringLiteral("--help")} << QStringList {QStringLiteral("--workspace <DIR>")};
    }
    void desktopProgramAnswersWithoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, expected);
        const Run run = runGuiWithoutDisplay(arguments);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        for (const QString &part : expected)
            QVERIFY2(run.out.contains(part), qPrintable(run.out));
        if (arguments.contains(QStringLiteral("--version")))
            QCOMPARE(run.out, expected.first());
    }

    void desktopProgramNamesAWrongCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::newRow("unknown option") << QStringList {QStringLiteral("--farbe")} << "farbe";
        QTest::newRow("two reports")
            << QStringList {QStringLiteral("a.cr"), QStringLiteral("b.cr")} << "nur ein CR";
    }
    void desktopProgramNamesAWrongCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        QProcess process;
        process.start(QStringLiteral(TOLVIMAR_GUI), arguments); // offscreen, from CTest
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 1);
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(err.contains(named), qPrintable(err));
    }

    // The manual page describes every command with each of its options.
    void manualPageCoversEveryCommand()
    {
        QFile file(QStringLiteral(TOLVIMAR_SOURCE_DIR "/data/man/tolvimar-cli.1.in"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString page
            = QString::fromUtf8(file.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
        for (const QString &command : listedCommands()) {
            const QRegularExpression heading(QStringLiteral("^(\\.B |\\\\fB)%1( |\\\\fR|$)")
                                                 .arg(QRegularExpression::escape(command)),
                QRegularExpression::MultilineOption);
            const QRegularExpressionMatch match = heading.match(page);
            QVERIFY2(match.hasMatch(), qPrintable(command));
            QString out;
            runCli({command, QStringLiteral("--help")}, &out);
            const int end = page.indexOf(QStringLiteral("\n.TP"), match.capturedEnd());
            const QString entry = page.mid(match.capturedStart(), end - match.capturedStart());
            for (const QString &option : optionsOfCommand(out))
                QVERIFY2(entry.contains(option), qPrintable(command + u' ' + option));
        }
    }

    void completionOffersCommandsAndOptions_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("commands starting im")
            << QStringList {QStringLiteral("im")}
            << QStringList {QStringLiteral("import"), QStringLiteral("import-map")};
        QTest::newRow("global options")
            << QStringList {QStringLiteral("--")}
            << QStringList {QStringLiteral("--help"), QStringLiteral("--version"),
                   QStringLiteral("--workspace")};
        QTest::newRow("options of import")
            << QStringList {QStringLiteral("import"), QStringLiteral("--")}
            << QStringList {QStringLiteral("--help"), QStringLiteral("--slot"),
                   QStringLiteral("--type"), QStringLiteral("--yes")};
        QTest::newRow("command after --workspace") << QStringList {QStringLiteral("--workspace"),
            QStringLiteral("/tmp"), QStringLiteral("set-orders"), QStringLiteral("--m")}
                                                   << QStringList {QStringLiteral("--mark")};
        QTest::newRow("game types")
            << QStringList {QStringLiteral("import"), QStringLiteral("--type"), QString()}
            << QStringList {QStringLiteral("Kalmora"), QStringLiteral("Sulvitan")};
        QTest::newRow("marks") << QStringList {QStringLiteral("set-orders"),
            QStringLiteral("--mark"), QString()}
                               << QStringList {QStringLiteral("X"), QStringLiteral("none"),
                                      QStringLiteral("x")};
        QTest::newRow("slots") << QStringList {QStringLiteral("status"), QStringLiteral("--slot"),
            QStringLiteral("4")}
                               << QStringList {QStringLiteral("4")};
        QTest::newRow("overlays") << QStringList {QStringLiteral("overlay"),
            QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("s")}
                                  << QStringList {QStringLiteral("ships")};
    }
    void completionOffersCommandsAndOptions()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, offered);
        QCOMPARE(
            complete(kCompletion + QStringLiteral("tolvimar-cli"), QStringLiteral("_tolvimar_cli"),
                QStringList {QStringLiteral(TOLVIMAR_CLI)} + typed),
            offered);
    }

    // The first word of the line may name any program (a "tolvimar-cli" in a folder just
    // unpacked): completing runs none of it.
    void completionRunsNoProgramOfTheLine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QStringList>("typed");
        QTest::newRow("commands") << "tolvimar-cli"
                                  << "_tolvimar_cli" << QStringList {"im"};
        QTest::newRow("options of a command") << "tolvimar-cli"
                                              << "_tolvimar_cli" << QStringList {"import", "--"};
        QTest::newRow("desktop options") << "tolvimar"
                                         << "_tolvimar" << QStringList {"--"};
    }
    void completionRunsNoProgramOfTheLine()
    {
        QFETCH(QString, name);
        QFETCH(QString, function);
        QFETCH(QStringList, typed);
        QTemporaryDir dir;
        const QString marker = dir.filePath(QStringLiteral("ran"));
        const QString program = dir.filePath(name);
        writeBytes(program, "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
        QFile::setPermissions(
            program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QStringList offered
            = complete(kCompletion + name, function, QStringList {program} + typed);
        QVERIFY2(!QFileInfo::exists(marker), qPrintable(offered.join(u' ')));
        QVERIFY2(!offered.isEmpty(), "the options come from elsewhere");
    }

    void completionOfTheDesktopProgram()
    {
        const QString script = kCompletion + QStringLiteral("tolvimar");
        const QStringList options = complete(script, QStringLiteral("_tolvimar"),
            {QStringLiteral(TOLVIMAR_GUI), QStringLiteral("--")});
        for (const char *option : {"--help", "--standard-workspace", "--version", "--workspace"})
            QVERIFY2(options.contains(QLatin1String(option)), qPrintable(options.join(u' ')));
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("spiele")));
        writeBytes(dir.filePath(QStringLiteral("spiel.cr")), "x");
        // A folder after --workspace, a report file otherwise.
        QCOMPARE(complete(script, QStringLiteral("_tolvimar"),
                     {QStringLiteral(TOLVIMAR_GUI), QStringLiteral("--workspace"),
                         dir.filePath(QStringLiteral("sp"))}),
            QStringList {dir.filePath(QStringLiteral("spiele"))});
        QCOMPARE(complete(script, QStringLiteral("_tolvimar"),
                     {QStringLiteral(TOLVIMAR_GUI), dir.filePath(QStringLiteral("sp"))}),
            (QStringList {
                dir.filePath(QStringLiteral("spiel.cr")), dir.filePath(QStringLiteral("spiele"))}));
    }
};

QTEST_GUILESS_MAIN(TestConventions)
#include "test_conventions.moc"
