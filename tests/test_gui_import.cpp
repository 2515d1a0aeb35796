#include "aboutbox.h"
#include "app/session.h"
#include "appwindows.h"
#include "base/scriptedprompter.h"
#include "checkeroutputwindow.h"
#include "guisupport.h"
#include "ordereditorwindow.h"
#include "progresswindow.h"
#include "regionentrydialog.h"
#include "statusindicator.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

struct Gui : GuiHarness
{
    explicit Gui(const QString &type) { main->startGame(1, QStringLiteral("Test"), type); }
};

} // namespace

class TestGuiImport : public QObject
{
    Q_OBJECT
private slots:
    void importThroughTheMenu()
    {
        Gui gui(QStringLiteral("Kalmora"));
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        QCOMPARE(gui.prompter.fileCaptions.size(), 1);
        QVERIFY2(gui.prompter.log.isEmpty(), qPrintable(gui.prompter.texts().join(u'\n')));
        QVERIFY(gui.main->isEnabled());
        QVERIFY(!gui.main->windows().progress->isVisible());

        const QStringList tabs = gui.visibleTabs();
        for (const char *title :
            {"Status", "Kämpfe", "Ereignisse", "Einkommen", "Handel", "Produktion", "Bewegungen",
                "Botschaften", "Geheimdienstbericht", "Einreisebericht", "Zugvorlage"})
            QVERIFY2(tabs.contains(QString::fromUtf8(title)), title);
        QVERIFY(!tabs.contains(QStringLiteral("Warnungen")));
        QVERIFY(!tabs.contains(QStringLiteral("Meldungen")));

        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("Edit6"))->text(),
            QStringLiteral("April im Jahre 4"));
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("Edit7"))->text(), QStringLiteral("3"));
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("EditGesamteinkommen"))->text().left(3),
            QStringLiteral("150"));
        QCOMPARE(gui.listRows(QStringLiteral("ListBoxBuendnisse")),
            QStringList {QStringLiteral("Bund der Eichen = Helfe Alles")});
        auto *battles = gui.find<QListView>(QStringLiteral("ListBoxKaempfe"));
        QCOMPARE(battles->palette().color(QPalette::Text), QColor(Qt::red));

        auto *editor = templateEditor(*gui.main);
        QVERIFY(editor->toPlainText().startsWith(QStringLiteral(" PARTEI 3mv \"brombeere\"")));
        QVERIFY(editor->toPlainText().contains(
            QStringLiteral(" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]")));
        QVERIFY(gui.find<StatusIndicator>(QStringLiteral("Shape1"))->isSaved());
        QVERIFY(gui.session->orderTemplate().isSaved());

        // The world map is drawn as part of the import, the small map centred on the
        // first own unit (home holds no region in a new game).
        QVERIFY(gui.session->mapState().worldMapSize().isValid());
        QVERIFY(QFileInfo::exists(gui.session->worldMapFile(0)));
        QCOMPARE(gui.session->mapState().currentPosition(), QPoint(1, 2));

        // Editing turns the indicator red.
        editor->appendPlainText(QStringLiteral("    ; Notiz"));
        QVERIFY(!gui.find<StatusIndicator>(QStringLiteral("Shape1"))->isSaved());
    }

    void failedImportShowsThePreviousState()
    {
        Gui gui(QStringLiteral("Kalmora"));
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        const QString templateBefore = templateEditor(*gui.main)->toPlainText();
        const QStringList incomeBefore = gui.listRows(QStringLiteral("ListBoxEinkommen"));

        QString bad
            = QString::fromLatin1(readBytes(fixture(QStringLiteral("reports/kalmora-klein.cr"))));
        bad.replace(QStringLiteral("1250;Bauern"), QStringLiteral("12x0;Bauern"));
        writeBytes(gui.ws.file(QStringLiteral("kaputt.cr")), bad.toLatin1());
        gui.importThroughMenu(gui.ws.file(QStringLiteral("kaputt.cr")));

        QCOMPARE(gui.prompter.log.size(), 1);
        QVERIFY(gui.prompter.log.first().text.contains(QStringLiteral("12x0")));
        QVERIFY(gui.main->isEnabled());
        QVERIFY(!gui.main->windows().progress->isVisible());
        QCOMPARE(templateEditor(*gui.main)->toPlainText(), templateBefore);
        QCOMPARE(gui.listRows(QStringLiteral("ListBoxEinkommen")), incomeBefore);
        QVERIFY(gui.visibleTabs().contains(QStringLiteral("Einkommen")));
    }

    // "Letzten Import rückgängig machen": asked first, then the window shows the turn
    // before; with nothing left to take back the entry is greyed out.
    void undoTheLastImport()
    {
        Gui gui(QStringLiteral("Kalmora"));
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        const QString templateBefore = templateEditor(*gui.main)->toPlainText();
        QByteArray next = readBytes(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        next.replace("40;Runde", "41;Runde");
        writeBytes(gui.ws.file(QStringLiteral("runde41.cr")), next);
        gui.importThroughMenu(gui.ws.file(QStringLiteral("runde41.cr")));
        QCOMPARE(
            gui.find<QLineEdit>(QStringLiteral("Edit6"))->text(), QStringLiteral("Mai im Jahre 4"));

        auto *menu = gui.find<QMenu>(QStringLiteral("Datei1"));
        auto *undo = gui.find<QAction>(QStringLiteral("ImportRueckgaengig1"));
        emit menu->aboutToShow();
        QVERIFY(undo->isEnabled());
        gui.prompter.log.clear();
        gui.prompter.yesNoAnswers.enqueue(false);
        undo->trigger();
        QCOMPARE(
            gui.find<QLineEdit>(QStringLiteral("Edit6"))->text(), QStringLiteral("Mai im Jahre 4"));
        gui.prompter.yesNoAnswers.enqueue(true);
        undo->trigger();
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("Edit6"))->text(),
            QStringLiteral("April im Jahre 4"));
        QCOMPARE(templateEditor(*gui.main)->toPlainText(), templateBefore);
        QVERIFY2(gui.prompter.texts().join(u'\n').contains(QStringLiteral("runde41.cr")),
            qPrintable(gui.prompter.texts().join(u'\n')));

        gui.prompter.yesNoAnswers.enqueue(true);
        undo->trigger();
        emit menu->aboutToShow();
        QVERIFY(!undo->isEnabled());
    }

    // A report of another faction is read only when the player agrees to a question
    // that names both factions.
    void reportOfAnotherFactionAsksFirst_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Ja") << true;
        QTest::newRow("Nein") << false;
    }
    void reportOfAnotherFactionAsksFirst()
    {
        QFETCH(bool, yes);
        Gui gui(QStringLiteral("Kalmora"));
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        QByteArray other = readBytes(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        other.replace("PARTEI 4711", "PARTEI 4800");
        other.replace("\"Die Grauen Falken\";Parteiname", "\"Die Wanderer\";Parteiname");
        other.replace("40;Runde", "41;Runde");
        writeBytes(gui.ws.file(QStringLiteral("andere.cr")), other);
        gui.prompter.log.clear();
        gui.prompter.yesNoAnswers.enqueue(yes);
        gui.importThroughMenu(gui.ws.file(QStringLiteral("andere.cr")));
        QVERIFY(!gui.prompter.log.isEmpty());
        const QString question = gui.prompter.log.first().text;
        QVERIFY2(question.contains(QStringLiteral("„Die Wanderer“ (3pc)"))
                && question.contains(QStringLiteral("„Die Grauen Falken“ (3mv)")),
            qPrintable(question));
        QCOMPARE(gui.session->game().factionNumber, yes ? 4800 : 4711);
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("Edit6"))->text(),
            yes ? QStringLiteral("Mai im Jahre 4") : QStringLiteral("April im Jahre 4"));
    }

    // The seconds in the status bar count the import's work, not the time a question
    // stood open.
    void importTimeLeavesOutTheQuestions()
    {
        Gui gui(QStringLiteral("Kalmora"));
        QByteArray newer = readBytes(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        newer.replace("VERSION 42", "VERSION 46");
        writeBytes(gui.ws.file(QStringLiteral("neuer.cr")), newer);
        constexpr int openMs = 3000;
        gui.prompter.yesNoAnswers.enqueue(true);
        gui.prompter.echo = [](const ScriptedPrompter::Entry &entry) {
            if (entry.question)
                QThread::msleep(openMs);
        };
        gui.importThroughMenu(gui.ws.file(QStringLiteral("neuer.cr")));
        QCOMPARE(gui.prompter.log.size(), 1);
        const QString shown = gui.main->statusBar()->currentMessage();
        const QRegularExpressionMatch seconds
            = QRegularExpression(QStringLiteral("Einheiten, ([0-9.]+) s")).match(shown);
        QVERIFY2(seconds.hasMatch(), qPrintable(shown));
        QVERIFY2(seconds.captured(1).toDouble() < openMs / 1000.0, qPrintable(shown));
    }

    void sulvitanReport()
    {
        Gui gui(QStringLiteral("Sulvitan"));
        gui.importThroughMenu(fixture(QStringLiteral("reports/sulvitan-klein.cr")));
        QVERIFY(gui.prompter.log.isEmpty());
        auto *editor = templateEditor(*gui.main);
        QVERIFY(editor->toPlainText().contains(QStringLiteral(" EINHEIT 12;\tFörster [4,44$]")));
    }
};

QTEST_MAIN(TestGuiImport)
#include "test_gui_import.moc"
