#include "db/database.h"
#include "detailpages.h"
#include "guisupport.h"
#include "ordercompleter.h"
#include "ordereditorwindow.h"
#include "orders/ordertemplate.h"
#include "unitspage.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

struct Gui : GuiHarness
{
    Gui()
    {
        main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora"));
        importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        // Region 1/2 lists its castle, a unit in it, its ship, a unit on it and two more.
        main->getSekKoo(1, 2);
        partOf<DetailPages>(*main)->setCurrentWidget(partOf<UnitsPage>(*main));
        list = find<QListView>(QStringLiteral("ListBox3"));
    }
    QString text(const QString &name) const { return find<QLineEdit>(name)->text(); }
    QString memo(const QString &name) const { return find<QPlainTextEdit>(name)->toPlainText(); }
    void clickRow(int row)
    {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void doubleClickRow(int row)
    {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    OrderEditorWindow *editor() const { return main->windows().orderEditor; }
    QPlainTextEdit *editorMemo() const { return inEditor<QPlainTextEdit>(QStringLiteral("Memo1")); }
    // Opens the editor on Holzfäller (3mw) and types an order on a new line at the end
    // of its block (the line takes the indentation of the one above).
    void typeOrderInEditor(const QString &order)
    {
        doubleClickRow(1);
        QPlainTextEdit *memo = editorMemo();
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, order);
        if (editor()->findChild<OrderCompleter *>()->isOpen())
            QTest::keyClick(memo, Qt::Key_Escape);
        QVERIFY(!editor()->findChild<OrderCompleter *>()->isOpen());
    }
    QString savedOrderFile() const { return decodeText(readBytes(session->orderFile().path())); }
    template<typename T> T *inEditor(const QString &name) const
    {
        return editor()->findChild<T *>(name);
    }
    QListView *list = nullptr;
};

} // namespace

class TestGuiUnits : public QObject
{
    Q_OBJECT
private slots:
    void keyboardSelectionShowsTheUnit()
    {
        Gui gui;
        gui.clickRow(0);
        QCOMPARE(gui.memo(QStringLiteral("DBMemo1")), QStringLiteral("Keine Beschreibung"));
        QVERIFY(!gui.find<QLineEdit>(QStringLiteral("DBEdit23"))->isEnabled());

        QTest::keyClick(gui.list, Qt::Key_Down);
        QCOMPARE(gui.text(QStringLiteral("Edit29")), QStringLiteral("3mv"));
        QCOMPARE(gui.text(QStringLiteral("DBEdit2")), QStringLiteral("Die Grauen Falken"));
        QCOMPARE(gui.text(QStringLiteral("DBEdit23")), QStringLiteral("12"));
        QCOMPARE(gui.text(QStringLiteral("DBEdit22")), QStringLiteral("340"));
        QCOMPARE(gui.text(QStringLiteral("DBEdit21")), QStringLiteral("kämpft vorne"));
        QCOMPARE(gui.text(QStringLiteral("DBEdit31")), QStringLiteral("normal"));
        QCOMPARE(gui.text(QStringLiteral("DBEdit1")), QStringLiteral("Holzfäller"));
        QCOMPARE(gui.memo(QStringLiteral("Memo2")), QStringLiteral("5 Holz"));
        QCOMPARE(gui.memo(QStringLiteral("Memo3")),
            QStringLiteral("Bogenschiessen [10] 2\nHolzfällen [30] 3"));
        auto *camouflage = gui.find<QCheckBox>(QStringLiteral("CheckBox3"));
        QVERIFY(camouflage->isEnabled() && !camouflage->isChecked());

        // Down twice: the ship keeps the unit boxes, the next unit replaces them.
        QTest::keyClick(gui.list, Qt::Key_Down);
        QCOMPARE(gui.text(QStringLiteral("DBEdit1")), QStringLiteral("Holzfäller"));
        QTest::keyClick(gui.list, Qt::Key_Down);
        QCOMPARE(gui.text(QStringLiteral("DBEdit1")), QStringLiteral("Bäcker"));
        QCOMPARE(gui.text(QStringLiteral("DBEdit21")), QStringLiteral("kämpft hinten"));

        // The foreign unit: no camouflage box.
        gui.clickRow(5);
        QCOMPARE(gui.text(QStringLiteral("DBEdit1")), QStringLiteral("Fremde Späher"));
        QVERIFY(!camouflage->isEnabled());
        QCOMPARE(gui.text(QStringLiteral("DBEdit21")), QStringLiteral("unbekannt"));

        // Another region shown empties the item and talent boxes.
        gui.clickRow(4);
        QVERIFY(!gui.memo(QStringLiteral("Memo3")).isEmpty());
        gui.main->getSekKoo(5, 5);
        QVERIFY(gui.memo(QStringLiteral("Memo2")).isEmpty());
        QVERIFY(gui.memo(QStringLiteral("Memo3")).isEmpty());
    }

    void editedBoxIsStored()
    {
        Gui gui;
        gui.clickRow(4);
        auto *silver = gui.find<QLineEdit>(QStringLiteral("DBEdit22"));
        silver->setFocus();
        silver->selectAll();
        QTest::keyClicks(silver, QStringLiteral("450"));
        QTest::keyClick(silver, Qt::Key_Return);
        QSqlQuery q(gui.session->database().connection());
        QVERIFY(
            q.exec(QStringLiteral("SELECT \"Silber\" FROM einheiten WHERE \"Einheit Nr\" = 4714")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 450);

        // Not a number: a message, the stored value comes back.
        silver->selectAll();
        QTest::keyClicks(silver, QStringLiteral("viel"));
        QTest::keyClick(silver, Qt::Key_Return);
        QVERIFY(gui.prompter.texts().join(u'\n').contains(QStringLiteral("viel")));
        QCOMPARE(silver->text(), QStringLiteral("450"));
    }

    // "Partei Name" stores what is typed, as the other bound boxes do.
    void factionNameBoxIsStored()
    {
        Gui gui;
        gui.clickRow(1);
        auto *name = gui.find<QLineEdit>(QStringLiteral("DBEdit2"));
        QVERIFY(name->isEnabled() && !name->isReadOnly());
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Die Roten Falken"));
        QTest::keyClick(name, Qt::Key_Return);
        QSqlQuery q(gui.session->database().connection());
        QVERIFY(q.exec(
            QStringLiteral("SELECT \"Partei Name\" FROM parteien WHERE \"Partei Nr\" = 4711")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("Die Roten Falken"));
        // Shown again for the next unit of the faction.
        gui.clickRow(3);
        QCOMPARE(name->text(), QStringLiteral("Die Roten Falken"));
    }

    void ordersEditedInTheEditorReachTheOrderFile()
    {
        Gui gui;
        QTest::keyClick(gui.list, Qt::Key_Down); // the castle
        QTest::keyClick(gui.list, Qt::Key_Down); // Holzfäller
        gui.doubleClickRow(1);
        QVERIFY(gui.editor()->isVisible());
        QVERIFY(gui.editor()->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(gui.editor()->windowTitle(), QStringLiteral("Befehlseditor"));
        QCOMPARE(
            gui.inEditor<QLineEdit>(QStringLiteral("Edit1"))->text(), QStringLiteral("Holzfäller"));
        auto *memo = gui.inEditor<QPlainTextEdit>(QStringLiteral("Memo1"));
        // The order that names another unit belongs to the block.
        QCOMPARE(memo->toPlainText(),
            QStringLiteral(" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]\n    MACHE Holz\n"
                           "    FOLGE EINHEIT 3mx"));
        QCOMPARE(gui.text(QStringLiteral("Edit21")), QStringLiteral("3mw"));
        auto *mark = gui.inEditor<QCheckBox>(QStringLiteral("CheckBox1"));
        auto *longMark = gui.inEditor<QCheckBox>(QStringLiteral("CheckBox2"));
        QVERIFY(!mark->isChecked() && !longMark->isChecked());

        // Replace the orders by typing, set the long mark, then the plain one.
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
        // Return keeps the indentation of the order above.
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, QStringLiteral("LERNE Taktik"));
        if (gui.editor()->findChild<OrderCompleter *>()->isOpen())
            QTest::keyClick(memo, Qt::Key_Escape);
        QTest::mouseClick(longMark, Qt::LeftButton);
        QVERIFY(longMark->isChecked());
        QTest::mouseClick(mark, Qt::LeftButton);
        QVERIFY(mark->isChecked() && !longMark->isChecked());
        QTest::mouseClick(longMark, Qt::LeftButton);
        QVERIFY(!mark->isChecked() && longMark->isChecked());

        QTest::mouseClick(gui.inEditor<QPushButton>(QStringLiteral("Button1")), Qt::LeftButton);
        QVERIFY(!gui.session->orderTemplate().isSaved());
        QVERIFY(templateEditor(*gui.main)->toPlainText().contains(
            QStringLiteral("    FOLGE EINHEIT 3mx\n    LERNE Taktik\n EINHEIT 3mx;")));

        gui.find<QAction>(QStringLiteral("Speichern1"))->trigger();
        QVERIFY(gui.session->orderTemplate().isSaved());
        const QString saved = decodeText(readBytes(gui.session->orderFile().path()));
        QVERIFY2(saved.contains(QStringLiteral(" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]\r\n"
                                               "    MACHE Holz\r\n    FOLGE EINHEIT 3mx\r\n"
                                               "    LERNE Taktik\r\n EINHEIT 3mx;")),
            qPrintable(saved));

        QSqlQuery q(gui.session->database().connection());
        QVERIFY(
            q.exec(QStringLiteral("SELECT \"Flags\" FROM einheiten WHERE \"Einheit Nr\" = 4712")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("X"));

        // Opening again shows the stored mark; hiding with the change dropped writes
        // nothing.
        gui.doubleClickRow(1);
        QVERIFY(longMark->isChecked());
        memo->setPlainText(QString());
        gui.prompter.choiceAnswers.enqueue(QStringLiteral("Verwerfen"));
        QTest::mouseClick(gui.inEditor<QPushButton>(QStringLiteral("Button3")), Qt::LeftButton);
        QVERIFY(!gui.editor()->isVisible());
        QVERIFY(gui.session->orderTemplate().text().contains(QStringLiteral("LERNE Taktik")));

        // A castle double-clicked opens the unit the view showed last.
        gui.clickRow(4);
        gui.doubleClickRow(0);
        QVERIFY(gui.editor()->isVisible());
        QCOMPARE(
            gui.inEditor<QLineEdit>(QStringLiteral("Edit1"))->text(), QStringLiteral("Händler"));
        QCOMPARE(memo->toPlainText(),
            QStringLiteral(" EINHEIT 3my;\tHändler [2,500$]\n    KAUFE 5 Seide"));
    }

    // A line that would end the orders for the game is refused with a message; neither
    // the template nor the mark changes.
    void editorRefusesStructureLines()
    {
        Gui gui;
        gui.clickRow(1);
        gui.doubleClickRow(1);
        const QString before = gui.session->orderTemplate().text();
        auto *memo = gui.inEditor<QPlainTextEdit>(QStringLiteral("Memo1"));
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, QStringLiteral(" NAECHSTER"));
        QTest::mouseClick(gui.inEditor<QCheckBox>(QStringLiteral("CheckBox2")), Qt::LeftButton);
        QTest::mouseClick(gui.inEditor<QPushButton>(QStringLiteral("Button1")), Qt::LeftButton);
        QVERIFY2(gui.prompter.texts().join(u'\n').contains(QStringLiteral("Zeile 4")),
            qPrintable(gui.prompter.texts().join(u'\n')));
        QCOMPARE(gui.session->orderTemplate().text(), before);
        QSqlQuery q(gui.session->database().connection());
        QVERIFY(
            q.exec(QStringLiteral("SELECT \"Flags\" FROM einheiten WHERE \"Einheit Nr\" = 4712")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QString());
    }

    // Escape, the window's close box and "Editor ausblenden" with changed orders ask
    // first; the answer applies them, drops them or keeps the editor open.
    void closingTheEditorWithChangesAsks_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<bool>("applied");
        for (const char *way : {"Escape", "Schliessfeld", "Editor ausblenden"}) {
            QTest::addRow("%s, Übernehmen", way) << way << "Übernehmen" << true << true;
            QTest::addRow("%s, Verwerfen", way) << way << "Verwerfen" << true << false;
            QTest::addRow("%s, Abbrechen", way) << way << "Abbrechen" << false << false;
        }
    }
    void closingTheEditorWithChangesAsks()
    {
        QFETCH(QString, way);
        QFETCH(QString, answer);
        QFETCH(bool, hidden);
        QFETCH(bool, applied);
        Gui gui;
        gui.typeOrderInEditor(QStringLiteral("LERNE Taktik"));
        QPlainTextEdit *memo = gui.editorMemo();
        gui.prompter.choiceAnswers.enqueue(answer);
        if (way == u"Escape")
            QTest::keyClick(memo, Qt::Key_Escape);
        else if (way == u"Schliessfeld")
            gui.editor()->close();
        else
            QTest::mouseClick(gui.inEditor<QPushButton>(QStringLiteral("Button3")), Qt::LeftButton);
        QCOMPARE(gui.prompter.choiceButtons.size(), 1);
        QCOMPARE(gui.prompter.choiceButtons.first(),
            (QStringList {QStringLiteral("Übernehmen"), QStringLiteral("Verwerfen"),
                QStringLiteral("Abbrechen")}));
        QVERIFY(gui.prompter.texts().join(u'\n').contains(QStringLiteral("Holzfäller")));
        QCOMPARE(gui.editor()->isVisible(), !hidden);
        QCOMPARE(
            gui.session->orderTemplate().text().contains(QStringLiteral("LERNE Taktik")), applied);
        // What was kept stays in the editor; what was dropped is gone from it too.
        QCOMPARE(memo->toPlainText().contains(QStringLiteral("LERNE Taktik")), applied || !hidden);

        // Settled, the editor closes without another question.
        if (!hidden)
            gui.prompter.choiceAnswers.enqueue(QStringLiteral("Verwerfen"));
        QTest::keyClick(memo, Qt::Key_Escape);
        QVERIFY(!gui.editor()->isVisible());
        QCOMPARE(gui.prompter.choiceButtons.size(), hidden ? 1 : 2);
        gui.session->orderTemplate().setSaved(true);
    }

    // Escape first closes an open completion list and nothing else.
    void escapeClosesTheCompletionListFirst()
    {
        Gui gui;
        gui.typeOrderInEditor(QString());
        QPlainTextEdit *memo = gui.editorMemo();
        QTest::keyClicks(memo, QStringLiteral("LER"));
        QVERIFY(gui.editor()->findChild<OrderCompleter *>()->isOpen());
        QTest::keyClick(memo, Qt::Key_Escape);
        QVERIFY(!gui.editor()->findChild<OrderCompleter *>()->isOpen());
        QVERIFY(gui.editor()->isVisible());
        QVERIFY(gui.prompter.choiceButtons.isEmpty());
        gui.prompter.choiceAnswers.enqueue(QStringLiteral("Übernehmen"));
        QTest::keyClick(memo, Qt::Key_Escape);
        QCOMPARE(gui.prompter.choiceButtons.size(), 1);
        QVERIFY(!gui.editor()->isVisible());
        QVERIFY(gui.session->orderTemplate().text().contains(QStringLiteral("    LER\n")));
        gui.session->orderTemplate().setSaved(true);
    }

    // An editor without changes closes at once; Ctrl+S in the editor applies and saves.
    void ctrlSInTheEditorAppliesAndSaves()
    {
        Gui gui;
        gui.doubleClickRow(1);
        QTest::keyClick(gui.editorMemo(), Qt::Key_Escape);
        QVERIFY(!gui.editor()->isVisible());
        QVERIFY(gui.prompter.choiceButtons.isEmpty());

        gui.typeOrderInEditor(QStringLiteral("LERNE Taktik"));
        // The keys go to the editor's window, as when the player types there.
        gui.editor()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(gui.editor()));
        QTest::keyClick(gui.editorMemo(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(gui.session->orderTemplate().isSaved());
        QVERIFY2(gui.savedOrderFile().contains(
                     QStringLiteral("    FOLGE EINHEIT 3mx\r\n    LERNE Taktik\r\n")),
            qPrintable(gui.savedOrderFile()));
        QVERIFY(gui.editor()->isVisible());
        QTest::keyClick(gui.editorMemo(), Qt::Key_Escape);
        QVERIFY(!gui.editor()->isVisible());
        QVERIFY(gui.prompter.choiceButtons.isEmpty());
    }

    // An own unit without a block in the template: the orders cannot be written, the
    // marks are stored all the same.
    void ownUnitWithoutBlockCanBeMarked()
    {
        Gui gui;
        QStringList lines = gui.session->orderTemplate().lines();
        const int header
            = int(lines.indexOf(QRegularExpression(QStringLiteral("^ EINHEIT 3mw;.*"))));
        QVERIFY(header > 0);
        lines.remove(header, 3);
        gui.session->orderTemplate().setLines(lines);
        gui.doubleClickRow(1);
        QVERIFY(gui.editorMemo()->isReadOnly());
        auto *apply = gui.inEditor<QPushButton>(QStringLiteral("Button1"));
        QVERIFY(apply->isEnabled());
        QTest::mouseClick(gui.inEditor<QCheckBox>(QStringLiteral("CheckBox2")), Qt::LeftButton);
        QTest::mouseClick(apply, Qt::LeftButton);
        QCOMPARE(gui.session->orderTemplate().lines(), lines);
        QSqlQuery q(gui.session->database().connection());
        QVERIFY(
            q.exec(QStringLiteral("SELECT \"Flags\" FROM einheiten WHERE \"Einheit Nr\" = 4712")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("X"));
        gui.session->orderTemplate().setSaved(true);
    }
};

QTEST_MAIN(TestGuiUnits)
#include "test_gui_units.moc"
