#include "aboutbox.h"
#include "app/session.h"
#include "base/configuration.h"
#include "checkeroutputwindow.h"
#include "guisupport.h"
#include "mainwindow.h"
#include "progresswindow.h"
#include "reportpageswidget.h"
#include "selectiondialog.h"
#include "settingsdialog.h"
#include "statusindicator.h"
#include "translations.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

// What a player expects of a desktop program: keyboard paging, standard keys and the
// unsaved state in sight.
class TestGuiDesktop : public QObject
{
    Q_OBJECT
private slots:
    void keyboardPagingSkipsHiddenPages()
    {
        GuiHarness gui(true);
        gui.start(1);
        gui.prompter.yesNoAnswers.enqueue(true); // the report's faction replaces the game's
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        auto *pages = gui.find<QTabWidget>(QStringLiteral("PageControl1"));
        const QStringList shown = gui.visibleTabs();
        QVERIFY(shown.size() < pages->count()); // some pages are empty and hidden
        pages->setCurrentIndex(0);
        QStringList visited;
        for (int i = 0; i < pages->count(); ++i) {
            QTest::keyClick(pages, Qt::Key_Tab, Qt::ControlModifier);
            QVERIFY2(pages->isTabVisible(pages->currentIndex()),
                qPrintable(pages->tabText(pages->currentIndex())));
            visited.append(pages->tabText(pages->currentIndex()));
        }
        for (const QString &caption : shown)
            QVERIFY2(visited.contains(caption), qPrintable(caption));
        QTest::keyClick(pages, Qt::Key_PageDown, Qt::ControlModifier);
        QVERIFY(pages->isTabVisible(pages->currentIndex()));
    }

    void titleMarksAnUnsavedTemplate()
    {
        GuiHarness gui(true);
        gui.start(1);
        gui.prompter.yesNoAnswers.enqueue(true); // the report's faction replaces the game's
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        QCOMPARE(gui.shownTitle(), QStringLiteral("Kalmora Assistent"));
        QPlainTextEdit *editor = templateEditor(*gui.main);
        editor->appendPlainText(QStringLiteral(";  noch zu klären"));
        QVERIFY(gui.main->isWindowModified());
        QCOMPARE(gui.shownTitle(), QStringLiteral("Kalmora Assistent*"));
        gui.find<QAction>(QStringLiteral("Speichern1"))->trigger();
        QCOMPARE(gui.shownTitle(), QStringLiteral("Kalmora Assistent"));
    }

    void menusCarryTheStandardKeys_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("keys");
        QTest::newRow("CR einlesen") << "Neu1"
                                     << "Ctrl+O";
        QTest::newRow("speichern") << "Speichern1"
                                   << "Ctrl+S";
        QTest::newRow("speichern unter") << "ZugVorlageSpeichern1"
                                         << "Ctrl+Shift+S";
        QTest::newRow("suchen") << "Suchen1"
                                << "Ctrl+F";
        QTest::newRow("beenden") << "Beenden1"
                                 << "Ctrl+Q";
        QTest::newRow("Karte aktualisieren") << "Inselkarteexportieren1"
                                             << "F5";
    }
    void menusCarryTheStandardKeys()
    {
        QFETCH(QString, action);
        QFETCH(QString, keys);
        GuiHarness gui(true);
        QCOMPARE(gui.find<QAction>(action)->shortcut(), QKeySequence(keys));
    }

    void findInTheTemplate()
    {
        GuiHarness gui(true);
        gui.start(1);
        gui.prompter.yesNoAnswers.enqueue(true); // the report's faction replaces the game's
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        gui.main->activateWindow();
        gui.find<QAction>(QStringLiteral("Suchen1"))->trigger();
        auto *pages = gui.find<QTabWidget>(QStringLiteral("PageControl1"));
        QCOMPARE(pages->tabText(pages->currentIndex()), QStringLiteral("Zugvorlage"));
        auto *field = gui.find<QLineEdit>(QStringLiteral("EditSuchen"));
        field->setText(QStringLiteral("LERNE"));
        QTest::keyClick(field, Qt::Key_Return);
        auto *editor = gui.find<QPlainTextEdit>(QStringLiteral("RichEdit4"));
        QCOMPARE(editor->textCursor().selectedText(), QStringLiteral("LERNE"));
        const int first = editor->textCursor().position();
        // Once more wraps round to the same (only) place.
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(editor->textCursor().position(), first);
        field->setText(QStringLiteral("gibt es nicht"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(editor->textCursor().position(), first);
    }

    void templatePageShowsTheSaveLightAndChecks()
    {
        GuiHarness gui(true);
        gui.start(1);
        gui.prompter.yesNoAnswers.enqueue(true); // the report's faction replaces the game's
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        auto *light = gui.find<StatusIndicator>(QStringLiteral("Shape2"));
        QVERIFY(light->isSaved());
        templateEditor(*gui.main)->appendPlainText(QStringLiteral("; neu"));
        QVERIFY(!light->isSaved());
        // No checker is set: the button reports that, as "Zug prüfen lassen" on "Status".
        gui.prompter.log.clear();
        QTest::mouseClick(
            gui.find<QPushButton>(QStringLiteral("ButtonZugPruefen")), Qt::LeftButton);
        QTRY_VERIFY(gui.main->isEnabled()); // the checker runs as a job
        QVERIFY(!gui.prompter.log.isEmpty());
        QVERIFY(light->isSaved()); // the checker run saved the template first
    }

    void qtSpeaksGerman()
    {
        QVERIFY(installGermanTranslations(*QCoreApplication::instance()));
        QMessageBox box(QMessageBox::Question, QStringLiteral("Bestätigung"),
            QStringLiteral("Programm beenden?"), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Ja"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove(u'&'), QStringLiteral("Nein"));
        QLineEdit edit;
        QMenu *menu = edit.createStandardContextMenu();
        QVERIFY(menu->actions().first()->text().contains(QStringLiteral("Rückgängig")));
        delete menu;
    }

    void settingsTakeWholeNumbersOnly()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        GuiHarness gui(true);
        gui.start(2);
        gui.find<QAction>(QStringLiteral("Optionen1"))->trigger();
        auto *settings = gui.main->windows().settings;
        auto *homeX = settings->findChild<QLineEdit *>(QStringLiteral("EditHeimatX"));
        homeX->clear();
        QTest::keyClicks(homeX, QStringLiteral("-1a2"));
        QCOMPARE(homeX->text(), QStringLiteral("-12"));
        // A decimal point is shown as typed and refused, never read as the German
        // thousands mark.
        homeX->clear();
        QTest::keyClicks(homeX, QStringLiteral("7.5"));
        QTest::keyClick(homeX, Qt::Key_Tab);
        QCOMPARE(homeX->text(), QStringLiteral("7.5"));
        gui.prompter.log.clear();
        QTest::mouseClick(
            settings->findChild<QPushButton *>(QStringLiteral("ButtonSpeichern")), Qt::LeftButton);
        QCOMPARE(gui.prompter.log.size(), 1);
        QVERIFY(gui.prompter.log.first().text.contains(QStringLiteral("\"7.5\"")));
        // A value that slips past the field (pasted, set by script) is refused by core.
        homeX->setText(QStringLiteral("12x"));
        const QString before = gui.ws.config().line(2, Configuration::HomeX);
        gui.prompter.log.clear();
        QTest::mouseClick(
            settings->findChild<QPushButton *>(QStringLiteral("ButtonSpeichern")), Qt::LeftButton);
        QCOMPARE(gui.prompter.log.size(), 1);
        QVERIFY(gui.prompter.log.first().text.contains(QStringLiteral("ganze Zahlen")));
        QVERIFY(settings->isVisible());
        QCOMPARE(gui.ws.config().line(2, Configuration::HomeX), before);
    }

    void smallWindowsAreFixedDialogs()
    {
        GuiHarness gui(true);
        const MainWindow::Windows &w = gui.main->windows();
        const QList<QDialog *> dialogs = {w.selection, w.about, w.progress, w.checkerOutput};
        for (QDialog *dialog : dialogs) {
            const Qt::WindowFlags flags = dialog->windowFlags();
            QVERIFY2(flags & Qt::CustomizeWindowHint, qPrintable(dialog->windowTitle()));
            QVERIFY2(!(flags & Qt::WindowMinimizeButtonHint), qPrintable(dialog->windowTitle()));
            QVERIFY2(!(flags & Qt::WindowMaximizeButtonHint), qPrintable(dialog->windowTitle()));
            QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        }
    }

    void returnStartsTheSlotOfTheField_data()
    {
        QTest::addColumn<int>("slot");
        QTest::newRow("slot 1") << 1;
        QTest::newRow("slot 4") << 4;
        QTest::newRow("slot 6") << 6;
    }
    void returnStartsTheSlotOfTheField()
    {
        QFETCH(int, slot);
        Configuration config;
        config.setLines(Configuration::freshLines());
        for (int k = 1; k <= 6; ++k)
            config.setLine(k, Configuration::GameTypeText,
                k % 2 ? QStringLiteral("Kalmora") : QStringLiteral("Sulvitan"));
        SelectionDialog dialog;
        dialog.showSlots(config);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QSignalSpy started(&dialog, &SelectionDialog::startRequested);
        auto *field = dialog.findChild<QLineEdit *>(QStringLiteral("EditName%1").arg(slot));
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("Nordreich"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(started.size(), 1);
        QCOMPARE(started[0][0].toInt(), slot);
        QCOMPARE(started[0][1].toString(), QStringLiteral("Nordreich"));
    }

    void aSlotWithoutGameTypeWaitsForOne()
    {
        Configuration config;
        config.setLines(Configuration::freshLines());
        SelectionDialog dialog;
        dialog.showSlots(config);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QSignalSpy started(&dialog, &SelectionDialog::startRequested);
        auto *start = dialog.findChild<QPushButton *>(QStringLiteral("ButtonStart2"));
        auto *hint = dialog.findChild<QLabel *>(QStringLiteral("LabelTypFehlt2"));
        auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("EditName2"));
        QVERIFY(!start->isEnabled());
        QVERIFY(hint->isVisible());
        QCOMPARE(hint->text(), QStringLiteral("Erst Spieltyp wählen"));
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(started.size(), 0);
        auto *type = dialog.findChild<QComboBox *>(QStringLiteral("ComboBoxTyp2"));
        QVERIFY(type->hasFocus()); // Return leads to the missing choice
        type->setCurrentIndex(1);
        QVERIFY(start->isEnabled());
        QVERIFY(!hint->isVisible());
        QTest::keyClick(type, Qt::Key_Return);
        QCOMPARE(started.size(), 1);
        QCOMPARE(started[0][2].toString(), QStringLiteral("Sulvitan"));
    }
};

QTEST_MAIN(TestGuiDesktop)
#include "test_gui_desktop.moc"
