#include "alliancesyncdialog.h"
#include "app/alliancesync.h"
#include "app/session.h"
#include "appwindows.h"
#include "base/errors.h"
#include "base/scriptedprompter.h"
#include "gamefixture.h"
#include "guisupport.h"
#include "pgtestserver.h"
#include "progresswindow.h"

#include <QAction>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// Every file of the workspace but the lock file, with a hash of its bytes.
QMap<QString, QByteArray> workspaceFiles(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String("tolvimar.lock")))
            continue;
        files.insert(QDir(dir).relativeFilePath(path),
            QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha1));
    }
    return files;
}

void addRegion(Session &session, int x, int y, int date)
{
    GameRows(session.database(), 1, date)
        .region(x, y, 0,
            {{QStringLiteral("Regionname"), QStringLiteral("Feld")},
                {QStringLiteral("Regiontyp"), QStringLiteral("Ebene")}});
}

} // namespace

// The import runs on a worker thread: the window answers meanwhile, a cancel changes
// nothing, and what writes the game waits. The worker waits at its progress reports
// while the gate file exists (the test hook of core/base/faultinjection).
class TestGuiJobs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_gateDir.isValid());
        m_gate = m_gateDir.filePath(QStringLiteral("gate"));
        qputenv("TOLVIMAR_TEST_FAULTS", "gate:" + m_gate.toUtf8());
    }

    void theWindowAnswersWhileAnImportRuns()
    {
        GuiHarness gui;
        gui.main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora"));
        closeGate();
        QSignalSpy ended(gui.main.get(), &MainWindow::importEnded);
        gui.prompter.fileNames.enqueue(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        gui.find<QAction>(QStringLiteral("Neu1"))->trigger();
        QVERIFY(gui.main->isImportRunning());
        QVERIFY(gui.main->isEnabled());
        QVERIFY(gui.main->windows().progress->isVisible());
        QVERIFY(gui.main->windows()
                    .progress->findChild<QPushButton *>(QStringLiteral("AbbrechenButton"))
                    ->isVisible());

        // The event loop runs: a timer fires and the progress reaches the window.
        bool fired = false;
        QTimer::singleShot(20, gui.main.get(), [&fired] { fired = true; });
        QTRY_VERIFY(fired);
        // The worker holds the lock and waits at the gate inside its transaction.
        QTRY_VERIFY(gui.session->workspaceLock().isHeld());
        auto *line = gui.main->windows().progress->findChild<QLineEdit *>(QStringLiteral("Edit2"));
        QTRY_VERIFY(!line->text().isEmpty());
        QVERIFY(ended.isEmpty());

        // What writes the game waits: the entries are off, a second import is refused
        // with a message, and a write of this thread does not slip under the job's lock.
        QVERIFY(!gui.find<QAction>(QStringLiteral("Neu1"))->isEnabled());
        QVERIFY(!gui.find<QAction>(QStringLiteral("ImportRueckgaengig1"))->isEnabled());
        QVERIFY(!gui.find<QAction>(QStringLiteral("MitAllianzabgleichen1"))->isEnabled());
        gui.main->importReport(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        QCOMPARE(gui.prompter.log.size(), 1);
        QVERIFY(gui.prompter.log.first().text.contains(QStringLiteral("gerade eingelesen")));
        QVERIFY_THROWS_EXCEPTION(UserError, gui.session->workspaceLock().lock());

        openGate();
        QVERIFY(ended.wait(60000));
        QVERIFY(!gui.main->isImportRunning());
        QVERIFY(!gui.main->windows().progress->isVisible());
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("Edit6"))->text(),
            QStringLiteral("April im Jahre 4"));
        QVERIFY(gui.main->statusBar()->currentMessage().startsWith(QStringLiteral("Eingelesen:")));
        QVERIFY(gui.find<QAction>(QStringLiteral("Neu1"))->isEnabled());
        QVERIFY(gui.session->orderTemplate().isSaved());
        // The lock is free again for the window's own writes.
        gui.session->workspaceLock().lock();
        gui.session->workspaceLock().unlock();
    }

    // "Abbrechen" in the middle of the report: the database and every file of the
    // workspace stay as they were, and the window shows the turn before.
    void cancelLeavesEverythingAsItWas()
    {
        GuiHarness gui;
        gui.main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora"));
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("Edit6"))->text(),
            QStringLiteral("April im Jahre 4"));
        const QString templateBefore = templateEditor(*gui.main)->toPlainText();
        const QStringList rowsBefore = tableRows(gui.session->database().path());
        const QMap<QString, QByteArray> filesBefore = workspaceFiles(gui.ws.path());

        writeBytes(gui.ws.file(QStringLiteral("runde41.cr")),
            replaced(kalmoraReportBytes(), "40;Runde", "41;Runde"));
        const QMap<QString, QByteArray> filesWithReport = workspaceFiles(gui.ws.path());
        closeGate();
        QSignalSpy ended(gui.main.get(), &MainWindow::importEnded);
        gui.prompter.fileNames.enqueue(gui.ws.file(QStringLiteral("runde41.cr")));
        gui.find<QAction>(QStringLiteral("Neu1"))->trigger();
        QTRY_VERIFY(gui.session->workspaceLock().isHeld());
        QTest::mouseClick(gui.main->windows().progress->findChild<QPushButton *>(
                              QStringLiteral("AbbrechenButton")),
            Qt::LeftButton);
        QVERIFY(ended.wait(60000));
        openGate();

        QVERIFY2(gui.prompter.log.isEmpty(), qPrintable(gui.prompter.texts().join(u'\n')));
        QVERIFY(gui.main->statusBar()->currentMessage().contains(QStringLiteral("abgebrochen")));
        QCOMPARE(tableRows(gui.session->database().path()), rowsBefore);
        QCOMPARE(workspaceFiles(gui.ws.path()), filesWithReport);
        QCOMPARE(filesWithReport.size(), filesBefore.size() + 1);
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("Edit6"))->text(),
            QStringLiteral("April im Jahre 4"));
        QCOMPARE(templateEditor(*gui.main)->toPlainText(), templateBefore);

        // The same report goes in afterwards.
        gui.importThroughMenu(gui.ws.file(QStringLiteral("runde41.cr")));
        QCOMPARE(
            gui.find<QLineEdit>(QStringLiteral("Edit6"))->text(), QStringLiteral("Mai im Jahre 4"));
    }

    // "Nur holen" stopped with "Abbrechen" in the middle of the pull: the sync ran on
    // its worker (the dialog answered meanwhile), and the player's database is as it was.
    void cancelledSyncChangesNothing()
    {
        if (TestPostgres::binDir().isEmpty())
            QSKIP(TestPostgres::kNotInstalled);
        TestPostgres postgres;
        QString problem;
        QVERIFY2(postgres.start(&problem), qPrintable(problem));
        const QString server = postgres.conninfo(postgres.createDatabase());
        {
            ImportHarness other;
            addRegion(*other.session, 4, 4, 302);
            addRegion(*other.session, 5, 4, 302);
            ShareProgress quiet;
            QCOMPARE(AllianceSync(*other.session, quiet)
                         .run(AllianceSync::Direction::Push, server, QString())
                         .status,
                AllianceSync::Result::Done);
        }
        GuiHarness gui;
        gui.main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora"));
        addRegion(*gui.session, 0, 0, 301);
        const QStringList rowsBefore = tableRows(gui.session->database().path());

        AllianceSyncDialog dialog(*gui.session, gui.main.get());
        dialog.show();
        dialog.findChild<QLineEdit *>(QStringLiteral("ServerEdit"))->setText(server);
        auto *direction = dialog.findChild<QComboBox *>(QStringLiteral("RichtungBox"));
        direction->setCurrentIndex(direction->findText(QStringLiteral("Nur holen")));
        closeGate();
        QSignalSpy ended(&dialog, &AllianceSyncDialog::syncEnded);
        dialog.AbgleichenClick();
        QVERIFY(dialog.isSyncRunning());
        auto *step = dialog.findChild<QLabel *>(QStringLiteral("SchrittLabel"));
        // Held inside the pull's local transaction, under the workspace lock.
        QTRY_VERIFY(gui.session->workspaceLock().isHeld());
        QTRY_VERIFY(step->text().startsWith(QStringLiteral("Herunterladen")));
        QVERIFY(ended.isEmpty());
        QTest::mouseClick(
            dialog.findChild<QPushButton *>(QStringLiteral("AbbrechenButton")), Qt::LeftButton);
        QVERIFY(ended.wait(60000));
        openGate();

        const QString text
            = dialog.findChild<QPlainTextEdit *>(QStringLiteral("ErgebnisText"))->toPlainText();
        QVERIFY2(
            text.contains(QStringLiteral("abgebrochen"), Qt::CaseInsensitive), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("nichts geändert")), qPrintable(text));
        QCOMPARE(step->text(), QStringLiteral("Abgleich fehlgeschlagen"));
        QCOMPARE(tableRows(gui.session->database().path()), rowsBefore);

        // Run to its end, the same pull brings the two regions.
        dialog.AbgleichenClick();
        QVERIFY(ended.wait(60000));
        QVERIFY(tableRows(gui.session->database().path()).size() >= rowsBefore.size() + 2);
        postgres.stop();
    }

private:
    void closeGate() { writeBytes(m_gate, "zu"); }
    void openGate() { QFile::remove(m_gate); }

    QTemporaryDir m_gateDir;
    QString m_gate;
};

QTEST_MAIN(TestGuiJobs)
#include "test_gui_jobs.moc"
