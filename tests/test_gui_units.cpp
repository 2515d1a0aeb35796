#include "db/database.h"
#include "detailpages.h"
#include "guisupport.h"
#include "ordereditorwindow.h"
#include "unitspage.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
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
        main->detailPages()->setCurrentWidget(main->detailPages()->units());
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
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, QStringLiteral("    LERNE Taktik"));
        QTest::mouseClick(longMark, Qt::LeftButton);
        QVERIFY(longMark->isChecked());
        QTest::mouseClick(mark, Qt::LeftButton);
        QVERIFY(mark->isChecked() && !longMark->isChecked());
        QTest::mouseClick(longMark, Qt::LeftButton);
        QVERIFY(!mark->isChecked() && longMark->isChecked());

        QTest::mouseClick(gui.inEditor<QPushButton>(QStringLiteral("Button1")), Qt::LeftButton);
        QVERIFY(!gui.session->orderTemplate().isSaved());
        QVERIFY(gui.main->showTemplatePage()->toPlainText().contains(
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

        // Opening again shows the stored mark; hiding writes nothing.
        gui.doubleClickRow(1);
        QVERIFY(longMark->isChecked());
        memo->setPlainText(QString());
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
};

QTEST_MAIN(TestGuiUnits)
#include "test_gui_units.moc"
