#include "aboutbox.h"
#include "app/session.h"
#include "appwindows.h"
#include "base/scriptedprompter.h"
#include "checkeroutputwindow.h"
#include "guisupport.h"
#include "ordereditorwindow.h"
#include "progresswindow.h"
#include "regionentrydialog.h"
#include "selectiondialog.h"
#include "settingsdialog.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

struct Gui : GuiHarness
{
    Gui()
        : GuiHarness(true)
    {
    }
};

} // namespace

class TestGuiStartup : public QObject
{
    Q_OBJECT
private slots:
    void selectionOverDisabledMainWindow()
    {
        Gui gui;
        auto *selection = gui.main->windows().selection;
        QVERIFY(selection->isVisible());
        QCOMPARE(selection->windowTitle(), QStringLiteral("Spielwahl"));
        QVERIFY(!gui.main->isEnabled());
        QCOMPARE(gui.shownTitle(), QStringLiteral("Kalmora Assistent"));
        // All eight windows exist with their captions.
        const MainWindow::Windows &w = gui.main->windows();
        QCOMPARE(w.settings->windowTitle(), QStringLiteral("Einstellungen"));
        QCOMPARE(w.regionEntry->windowTitle(), QStringLiteral("Manuelle Regionserfassung"));
        QCOMPARE(w.progress->windowTitle(), QStringLiteral("Einlesen der Auswertung läuft ..."));
        QCOMPARE(w.orderEditor->windowTitle(), QStringLiteral("Befehlseditor"));
        QCOMPARE(w.about->windowTitle(), QStringLiteral("Kalmora Assistent Info"));
        QCOMPARE(w.checkerOutput->windowTitle(), QStringLiteral("Zug Checker Ausgabe"));
    }

    void slotsShowNamesAndLockedTypes_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("typeEnabled");
        QTest::newRow("Kalmora") << 1 << "Nordreich"
                                 << "Kalmora" << false;
        QTest::newRow("Sulvitan") << 2 << "Südmark"
                                  << "Sulvitan" << false;
        QTest::newRow("other case") << 3 << "Kleinschreibung"
                                    << "" << true;
        QTest::newRow("empty") << 5 << ""
                               << "" << true;
    }
    void slotsShowNamesAndLockedTypes()
    {
        QFETCH(int, slot);
        QFETCH(QString, name);
        QFETCH(QString, type);
        QFETCH(bool, typeEnabled);
        Gui gui;
        auto *selection = gui.main->windows().selection;
        auto *nameEdit = selection->findChild<QLineEdit *>(QStringLiteral("EditName%1").arg(slot));
        auto *combo = selection->findChild<QComboBox *>(QStringLiteral("ComboBoxTyp%1").arg(slot));
        QCOMPARE(nameEdit->text(), name);
        QCOMPARE(combo->currentText(), type);
        QCOMPARE(combo->isEnabled(), typeEnabled);
    }

    void startOpensTheGame()
    {
        Gui gui;
        gui.start(1);
        QVERIFY(!gui.main->windows().selection->isVisible());
        QVERIFY(gui.main->isEnabled());
        QCOMPARE(gui.shownTitle(), QStringLiteral("Kalmora Assistent"));
        QCOMPARE(gui.session->game().number, 1);
        QCOMPARE(gui.session->game().type, GameType::Kalmora);
    }

    void chosenTypeOfEmptySlot()
    {
        Gui gui;
        auto *combo
            = gui.main->windows().selection->findChild<QComboBox *>(QStringLiteral("ComboBoxTyp5"));
        combo->setCurrentIndex(1);
        gui.start(5);
        QCOMPARE(gui.shownTitle(), QStringLiteral("Sulvitan Assistent"));
        QCOMPARE(gui.session->game().type, GameType::Sulvitan);
    }

    // A report of the other game type keeps the sentence, names both game types and
    // offers "Spiel wechseln": the selection opens, and the game chosen there reads the
    // report. "OK" leaves the game as it was.
    void otherGameTypeOffersToSwitchTheGame_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("Spiel wechseln") << QStringLiteral("Spiel wechseln");
        QTest::newRow("OK") << QStringLiteral("OK");
    }
    void otherGameTypeOffersToSwitchTheGame()
    {
        QFETCH(QString, answer);
        Gui gui;
        gui.start(2); // "Südmark", Sulvitan
        QCOMPARE(gui.session->game().type, GameType::Sulvitan);
        const qint64 turnBefore = gui.session->game().newestTurn;
        gui.prompter.choiceAnswers.enqueue(answer);
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        QVERIFY2(gui.prompter.hasText(
                     QStringLiteral("Tolvimar wurde nicht mit dem Spieltyp des CR initialisiert. "
                                    "Bitte beenden und neustarten um diesen CR zu lesen.")),
            qPrintable(gui.prompter.texts().join(u'\n')));
        QVERIFY2(gui.prompter.hasText(
                     QStringLiteral("Der CR ist vom Spieltyp Kalmora, Spiel 2 ist vom Spieltyp "
                                    "Sulvitan.")),
            qPrintable(gui.prompter.texts().join(u'\n')));
        QCOMPARE(gui.prompter.choiceButtons.value(0),
            (QStringList {QStringLiteral("Spiel wechseln"), QStringLiteral("OK")}));
        QCOMPARE(gui.session->game().newestTurn, turnBefore);
        auto *selection = gui.main->windows().selection;
        if (answer == QStringLiteral("OK")) {
            QVERIFY(!selection->isVisible());
            QVERIFY(gui.main->isEnabled());
            QCOMPARE(gui.session->game().number, 2);
            return;
        }
        QVERIFY(selection->isVisible());
        QVERIFY(!gui.main->isEnabled());
        gui.start(1); // "Nordreich", Kalmora
        QCOMPARE(gui.session->game().number, 1);
        QCOMPARE(gui.session->game().type, GameType::Kalmora);
        QCOMPARE(gui.session->game().newestTurn, 404);
        // Read once: switching again later reads nothing by itself.
        gui.find<QAction>(QStringLiteral("SpielWechseln1"))->trigger();
        const int asked = int(gui.prompter.log.size());
        gui.start(1);
        QCOMPARE(int(gui.prompter.log.size()), asked);
    }

    void badSlotReportsAndKeepsRunning()
    {
        Gui gui;
        gui.start(4);
        QVERIFY(gui.prompter.hasText(QStringLiteral("Zeile 74")));
        QVERIFY(gui.main->isEnabled());
    }

    void reportTabsHiddenWhileEmpty()
    {
        Gui gui;
        gui.start(1);
        QCOMPARE(gui.visibleTabs(),
            (QStringList {QStringLiteral("Status"), QStringLiteral("Zugvorlage")}));
        auto *editor = gui.find<QPlainTextEdit>(QStringLiteral("RichEdit4"));
        QVERIFY(QFontInfo(editor->font()).fixedPitch());
    }

    void closeAsksOnlyWhenUnsaved()
    {
        Gui gui;
        gui.start(1);
        // Saved: closes without a question.
        QVERIFY(gui.main->close());
        QVERIFY(gui.prompter.log.isEmpty());

        gui.main->show();
        auto *editor = templateEditor(*gui.main);
        editor->setPlainText(QStringLiteral(" PARTEI 3mv \"x\""));
        QVERIFY(!gui.session->orderTemplate().isSaved());
        gui.prompter.choiceAnswers.enqueue(QStringLiteral("Abbrechen"));
        QVERIFY(!gui.main->close());
        QVERIFY(gui.main->isVisible());
        QCOMPARE(gui.prompter.log.last().text,
            QStringLiteral("Zugvorlage wurde noch nicht gespeichert."));
        QCOMPARE(editor->toPlainText(), QStringLiteral(" PARTEI 3mv \"x\""));
        gui.prompter.choiceAnswers.enqueue(QStringLiteral("Verwerfen"));
        QVERIFY(gui.main->close());
    }

    void aboutBox()
    {
        Gui gui;
        gui.start(1);
        gui.main->findChild<QAction *>(QStringLiteral("Info1"))->trigger();
        auto *about = gui.main->windows().about;
        QVERIFY(about->isVisible());
        auto *ok = about->findChild<QPushButton *>(QStringLiteral("OKButton"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!about->isVisible());
        // "Kurz Referenz" shows the guide's short reference (tested with the other views).
        QVERIFY(gui.main->findChild<QAction *>(QStringLiteral("KurzReferenz1"))->isEnabled());
    }

    void settingsDialogWritesAndReturns()
    {
        Gui gui;
        gui.start(2);
        gui.main->findChild<QAction *>(QStringLiteral("Optionen1"))->trigger();
        auto *settings = gui.main->windows().settings;
        QVERIFY(settings->isVisible());
        QVERIFY(!gui.main->isEnabled());
        auto *checker = settings->findChild<QLineEdit *>(QStringLiteral("EditCheckerPath"));
        checker->setText(QStringLiteral("/opt/zugcheck"));
        QTest::mouseClick(
            settings->findChild<QPushButton *>(QStringLiteral("ButtonSpeichern")), Qt::LeftButton);
        QVERIFY(!settings->isVisible());
        QVERIFY(gui.main->isEnabled());
        QCOMPARE(gui.session->game().checkerPath, QStringLiteral("/opt/zugcheck"));
        QCOMPARE(
            gui.ws.config().line(2, Configuration::CheckerPath), QStringLiteral("/opt/zugcheck"));
    }

    // Without a game the main window stays disabled: closing "Spielwahl" (Escape or
    // the close box) ends the program instead of leaving it with no way on.
    void closingSpielwahlEndsTheProgram_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("close box") << false;
    }
    void closingSpielwahlEndsTheProgram()
    {
        QFETCH(bool, escape);
        Gui gui;
        auto *selection = gui.main->windows().selection;
        QVERIFY(selection->isVisible());
        QTimer::singleShot(0, selection, [selection, escape] {
            if (escape)
                QTest::keyClick(selection, Qt::Key_Escape);
            else
                selection->close();
        });
        // Should nothing end the program, the test does after a while (exit code 1).
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
    }
};

QTEST_MAIN(TestGuiStartup)
#include "test_gui_startup.moc"
