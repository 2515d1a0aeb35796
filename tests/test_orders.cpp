#include "aboutbox.h"
#include "appwindows.h"
#include "base/gamefiles.h"
#include "checkeroutputwindow.h"
#include "guisupport.h"
#include "ordereditorwindow.h"
#include "orders/checker.h"
#include "orders/orderfile.h"
#include "progresswindow.h"
#include "regionentrydialog.h"
#include "statusindicator.h"
#include "testsupport.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

QStringList report()
{
    QStringList lines = reportHeader(QStringLiteral("Kalmora"), 31);
    lines << QStringLiteral("REGION 1 1") << QStringLiteral("\"Mark\";Name")
          << QStringLiteral("EINHEIT 7") << QStringLiteral("\"Bauern\";Name")
          << QStringLiteral("4711;Partei") << QStringLiteral("COMMANDS")
          << QStringLiteral("\"ARBEITE\"");
    return lines;
}

// A small shell script as checker; returns its path.
QString writeScript(const QString &path, const QByteArray &body, bool executable = true)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeBytes(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(path,
        executable ? QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                   : QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

struct Gui
{
    ImportHarness h {QStringLiteral("Kalmora"), 2};
    std::unique_ptr<MainWindow> main;
    Gui()
    {
        main = createWindows(*h.session, h.prompter, false);
        main->startGame(2, QStringLiteral("Testspiel"), QStringLiteral("Kalmora"));
        h.import(report());
    }
    QPlainTextEdit *editor() const { return templateEditor(*main); }
    bool green() const
    {
        return main->findChild<StatusIndicator *>(QStringLiteral("Shape1"))->isSaved();
    }
    QString orderFile() const { return h.ws.file(QStringLiteral("spiel2/Zug-Spiel2-3-Juli.txt")); }
};

} // namespace

class TestOrders : public QObject
{
    Q_OBJECT
private slots:
    void orderFileName_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("name");
        QTest::newRow("Maerz 7") << 2 << "Maerz im Jahre 7"
                                 << "Zug-Spiel2-7-Maerz.txt";
        QTest::newRow("empty date") << 2 << ""
                                    << "Zug-Spiel2--.txt";
        QTest::newRow("game 6") << 6 << "Dezember im Jahre 12"
                                << "Zug-Spiel6-12-Dezember.txt";
    }
    void orderFileName()
    {
        QFETCH(int, game);
        QFETCH(QString, date);
        QFETCH(QString, name);
        QCOMPARE(tolvimar::orderFileName(game, date), name);
    }

    void saveReplacesTheFileAndUsesCrLf()
    {
        Gui gui;
        gui.editor()->appendPlainText(QStringLiteral("    ; erste Fassung"));
        gui.main->findChild<QAction *>(QStringLiteral("Speichern1"))->trigger();
        QVERIFY(gui.green());
        gui.editor()->appendPlainText(QStringLiteral("    ; zweite Fassung"));
        QVERIFY(!gui.green());
        gui.main->findChild<QAction *>(QStringLiteral("Speichern1"))->trigger();
        const QByteArray file = readBytes(gui.orderFile());
        QVERIFY(file.contains("; zweite Fassung\r\n"));
        QVERIFY(file.contains("; erste Fassung\r\n"));
        QVERIFY(file.startsWith(" PARTEI 3mv \"geheim\"\r\n"));
        QVERIFY(gui.green());
    }

    void saveAsCancelledChangesNothing()
    {
        Gui gui;
        gui.editor()->appendPlainText(QStringLiteral("    ; ungespeichert"));
        const QStringList before
            = QDir(gui.h.ws.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        gui.main->findChild<QAction *>(QStringLiteral("ZugVorlageSpeichern1"))->trigger();
        QCOMPARE(gui.h.prompter.fileCaptions.size(), 1);
        QVERIFY(!gui.green());
        QCOMPARE(QDir(gui.h.ws.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    }

    void saveAsThenCloseAsksNothing()
    {
        Gui gui;
        gui.editor()->appendPlainText(QStringLiteral("    ; Notiz"));
        const QString chosen = gui.h.ws.file(QStringLiteral("meine-befehle"));
        gui.h.prompter.fileNames.enqueue(chosen);
        gui.main->findChild<QAction *>(QStringLiteral("ZugVorlageSpeichern1"))->trigger();
        QVERIFY(QFileInfo::exists(chosen)); // exactly the chosen name, no extension added
        QVERIFY(readBytes(chosen).contains("; Notiz"));
        QVERIFY(gui.green());
        gui.h.prompter.log.clear();
        QVERIFY(gui.main->close());
        QVERIFY(gui.h.prompter.log.isEmpty());
    }

    void autosaveTimerSavesUnsavedEdits()
    {
        Gui gui;
        auto *autosave = gui.main->findChild<QTimer *>(QStringLiteral("Timer1"));
        QVERIFY(autosave);
        QCOMPARE(autosave->interval(), 300000);
        QVERIFY(gui.green());
        QFile::remove(gui.orderFile());
        autosave->start(20);
        QTest::qWait(60);
        // Saved state: the tick writes nothing.
        QVERIFY(!QFileInfo::exists(gui.orderFile()));
        gui.editor()->appendPlainText(QStringLiteral("    ; getippt"));
        QVERIFY(!gui.green());
        QTRY_VERIFY(gui.green());
        QVERIFY(readBytes(gui.orderFile()).contains("; getippt"));
    }

    void failedSaveKeepsUnsavedAndSaysWhy()
    {
        Gui gui;
        gui.editor()->appendPlainText(QStringLiteral("    ; Notiz"));
        // A directory in the file's place cannot be replaced by the order file.
        QFile::remove(gui.orderFile());
        QDir().mkpath(gui.orderFile() + QStringLiteral("/x"));
        gui.h.prompter.log.clear();
        gui.main->findChild<QAction *>(QStringLiteral("Speichern1"))->trigger();
        QVERIFY(!gui.green());
        QCOMPARE(gui.h.prompter.log.size(), 1);
        QVERIFY(gui.h.prompter.log.first().text.contains(QStringLiteral("Zug-Spiel2-3-Juli.txt")));
        QVERIFY(QFileInfo(gui.orderFile()).isDir());
    }

    void checkerRunsWithArgumentAndWorkingDirectory()
    {
        Gui gui;
        const QString script = writeScript(gui.h.ws.file(QStringLiteral("werkzeug/pruefer.sh")),
            "echo \"Datei: $1\"\necho \"Ort: $(pwd)\"\necho \"Anzahl: $#\"\n"
            "grep -c ARBEITE \"$1\"\necho 'Warnung auf stderr' >&2\n");
        setCheckerPath(*gui.h.session, script);
        gui.editor()->appendPlainText(QStringLiteral("    ARBEITE"));
        QTest::mouseClick(
            gui.main->findChild<QPushButton *>(QStringLiteral("Button6")), Qt::LeftButton);
        QTRY_VERIFY(gui.main->isEnabled()); // the checker runs as a job
        QVERIFY2(gui.h.prompter.log.isEmpty(), qPrintable(gui.h.prompter.texts().join(u'\n')));
        QVERIFY(gui.green()); // saved before the run
        const QString expected
            = QStringLiteral(
                "Datei: Zug-Spiel2-3-Juli.txt\nOrt: %1\nAnzahl: 1\n2\nWarnung auf stderr\n")
                  .arg(QDir(gui.h.ws.file(QStringLiteral("spiel2"))).canonicalPath());
        QCOMPARE(QString::fromUtf8(
                     readBytes(gui.h.ws.file(QStringLiteral("spiel2/status-data/check.txt")))),
            expected);
        auto *window = gui.main->windows().checkerOutput;
        QVERIFY(window->isVisible());
        QCOMPARE(window->output(), expected);
        QVERIFY(gui.main->isEnabled());
    }

    void checkerPathIsNeverAShellCommand()
    {
        ImportHarness h(QStringLiteral("Kalmora"), 2);
        h.import(report());
        const QString dir = h.ws.file(QStringLiteral("mit Leer zeichen; $(touch gehackt) &"));
        const QString script
            = writeScript(dir + QStringLiteral("/prüf `x` ; rm -rf.sh"), "echo lief\n");
        setCheckerPath(*h.session, script);
        const auto result = runChecker(*h.session, 20000);
        QCOMPARE(result.status, OrderChecker::Result::Ran);
        QCOMPARE(result.output, QStringLiteral("lief\n"));
        QVERIFY(!QFileInfo::exists(h.ws.file(QStringLiteral("gehackt"))));
        QVERIFY(!QFileInfo::exists(h.ws.file(QStringLiteral("spiel2/gehackt"))));
    }

    void checkerFailures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("messagePart");
        QTest::newRow("no path") << "empty" << int(OrderChecker::Result::NoPath) << "kein Pfad";
        QTest::newRow("missing") << "missing" << int(OrderChecker::Result::Missing)
                                 << "nicht gefunden";
        QTest::newRow("not executable")
            << "plain" << int(OrderChecker::Result::NotExecutable) << "nicht ausführbar";
        QTest::newRow("hangs") << "hang" << int(OrderChecker::Result::TimedOut)
                               << "nicht geantwortet";
    }
    void checkerFailures()
    {
        QFETCH(QString, kind);
        QFETCH(int, status);
        QFETCH(QString, messagePart);
        ImportHarness h(QStringLiteral("Kalmora"), 2);
        h.import(report());
        QString path;
        if (kind == u"missing")
            path = h.ws.file(QStringLiteral("gibtsnicht.sh"));
        else if (kind == u"plain")
            path = writeScript(h.ws.file(QStringLiteral("plain.sh")), "echo x\n", false);
        else if (kind == u"hang")
            path = writeScript(h.ws.file(QStringLiteral("hang.sh")), "exec sleep 30\n");
        setCheckerPath(*h.session, path);
        QElapsedTimer timer;
        timer.start();
        const auto result = runChecker(*h.session, 500);
        QCOMPARE(int(result.status), status);
        QVERIFY2(result.message.contains(messagePart), qPrintable(result.message));
        QVERIFY(timer.elapsed() < 10000);
    }

    void checkerFailureShownInTheWindow()
    {
        Gui gui;
        setCheckerPath(*gui.h.session, QString());
        QTest::mouseClick(
            gui.main->findChild<QPushButton *>(QStringLiteral("Button6")), Qt::LeftButton);
        QTRY_VERIFY(gui.main->isEnabled()); // the checker runs as a job
        QCOMPARE(gui.h.prompter.log.size(), 1);
        QVERIFY(gui.h.prompter.log.first().text.contains(QStringLiteral("kein Pfad")));
        QVERIFY(!gui.main->windows().checkerOutput->isVisible());
        QVERIFY(gui.main->isEnabled());
    }

    void checkCommand()
    {
        TempWorkspace ws;
        const QString script
            = writeScript(ws.file(QStringLiteral("check.sh")), "echo \"geprüft: $1\"\n");
        ws.setLine(1, Configuration::CheckerPath, script);
        const QString reportPath = ws.file(QStringLiteral("r.cr"));
        writeBytes(reportPath, report().join(QStringLiteral("\n")).toUtf8());
        QCOMPARE(runCli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("import"),
                     QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("--type"),
                     QStringLiteral("Kalmora"), reportPath}),
            0);
        QString out;
        QCOMPARE(runCli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("check"),
                            QStringLiteral("--slot"), QStringLiteral("1")},
                     &out),
            0);
        QCOMPARE(out, QStringLiteral("geprüft: Zug-Spiel1-3-Juli.txt\n"));
        ws.setLine(1, Configuration::CheckerPath, ws.file(QStringLiteral("fehlt")));
        QString err;
        QCOMPARE(runCli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("check"),
                            QStringLiteral("--slot"), QStringLiteral("1")},
                     nullptr, &err),
            2);
        QVERIFY(err.contains(QStringLiteral("nicht gefunden")));
    }
};

QTEST_MAIN(TestOrders)
#include "test_orders.moc"
