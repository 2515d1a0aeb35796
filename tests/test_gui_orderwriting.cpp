#include "checkeroutputwindow.h"
#include "detailpages.h"
#include "guisupport.h"
#include "ordercompleter.h"
#include "ordereditorwindow.h"
#include "orderhighlighter.h"
#include "orders/ordertemplate.h"
#include "orders/unitview.h"
#include "reportpageswidget.h"
#include "templatepage.h"
#include "unitspage.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// The region view's lines for region 1/2 of the fixture report: three own units
// (3mw, 3mx, 3my) and a foreign one (3uw).
const QStringList kRegionLines = {
    QStringLiteral("-Burg : Falkenhorst, Burg, größe: 250 (6t)"),
    QStringLiteral("              Holzfäller (3mw) , Menschen"),
    QStringLiteral("-Schiff : Seeschwalbe, Boot [25], Ladung: 0/0 ,2"),
    QStringLiteral("              Bäcker (3mx) , Menschen"),
    QStringLiteral("    Händler (3my) , Zwerge"),
    QStringLiteral("    Fremde Späher (3uw) , Elfen"),
};

QString writeScript(const QString &path, const QByteArray &body)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

// The unit list's entries for lines as the region view writes them.
QList<ListEntry> entriesOf(const QStringList &lines)
{
    QList<ListEntry> entries;
    for (const QString &line : lines) {
        ListEntry entry = parseListEntry(line, GameType::Kalmora, 36).value_or(ListEntry());
        entry.text = line;
        entries.append(entry);
    }
    return entries;
}

struct Gui : GuiHarness
{
    Gui()
    {
        main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora"));
        importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        main->show();
        session->mapState().setShownRegion(Position {1, 2, 0});
        partOf<UnitsPage>(*main)->showEntries(entriesOf(kRegionLines));
        partOf<DetailPages>(*main)->setCurrentWidget(partOf<UnitsPage>(*main));
        list = find<QListView>(QStringLiteral("ListBox3"));
        prompter.log.clear();
    }
    QPlainTextEdit *editor() const { return templateEditor(*main); }
    TemplatePage *page() const { return main->findChild<TemplatePage *>(); }
    // The 0-based line of the template that is the header of the unit.
    int headerLine(const QString &unitText) const
    {
        const QTextDocument *document = editor()->document();
        for (QTextBlock b = document->firstBlock(); b.isValid(); b = b.next()) {
            if (unitTextOfHeaderLine(b.text()) == unitText)
                return b.blockNumber();
        }
        qWarning("no header of %s", qPrintable(unitText));
        return -1;
    }
    // Puts the cursor at the end of the line.
    void cursorToEndOf(int line) const
    {
        QTextCursor cursor(editor()->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::EndOfBlock);
        editor()->setTextCursor(cursor);
    }
    QString currentLine() const { return editor()->textCursor().block().text(); }
    int rowOf(const QString &unitText) const
    {
        for (int row = 0; row < kRegionLines.size(); ++row) {
            if (kRegionLines[row].contains(u'(' + unitText + u')'))
                return row;
        }
        return -1;
    }
    bool marked(const QString &unitText) const
    {
        return list->model()->index(rowOf(unitText), 0).data(UnitsPage::ProblemRole).toBool();
    }
    void doubleClickRow(int row)
    {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    OrderEditorWindow *orderEditor() const { return main->windows().orderEditor; }
    QListView *list = nullptr;
};

// The format the colouring gave the character at column of the line.
QTextCharFormat formatAt(const QTextBlock &block, int column)
{
    for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        if (column >= range.start && column < range.start + range.length)
            return range.format;
    }
    return QTextCharFormat();
}

} // namespace

class TestGuiOrderWriting : public QObject
{
    Q_OBJECT
private slots:
    void typedLinesAreColouredByKind_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("coloured");
        const QString give = QStringLiteral("    GIB 3mx 5 Silber ; danke");
        QTest::newRow("keyword") << give << "GIB" << int(SpanKind::Keyword) << true;
        QTest::newRow("unit id") << give << "3mx" << int(SpanKind::Id) << true;
        QTest::newRow("number") << give << "5" << int(SpanKind::Number) << true;
        const QString move = QStringLiteral("    NACH Osten");
        QTest::newRow("direction") << move << "Osten" << int(SpanKind::Name) << true;
        QTest::newRow("comment") << give << "; danke" << int(SpanKind::Comment) << true;
        const QString name = QStringLiteral("    BENENNE EINHEIT \"Die Wache\"");
        QTest::newRow("string") << name << "\"Die Wache\"" << int(SpanKind::String) << true;
        const QString unknown = QStringLiteral("    FLUNKERE Feuerball");
        QTest::newRow("unknown first word")
            << unknown << "FLUNKERE" << int(SpanKind::UnknownWord) << true;
        QTest::newRow("argument of an unknown word stays plain")
            << unknown << "Feuerball" << int(SpanKind::Keyword) << false;
    }
    void typedLinesAreColouredByKind()
    {
        QFETCH(QString, line);
        QFETCH(QString, word);
        QFETCH(int, kind);
        QFETCH(bool, coloured);
        Gui gui;
        QPlainTextEdit *editor = gui.editor();
        gui.cursorToEndOf(gui.headerLine(QStringLiteral("3mx")) + 1);
        QTest::keyClick(editor, Qt::Key_Return);
        // What the completion offers on the way is closed by Escape.
        for (const QChar c : line.trimmed()) {
            QTest::keyClicks(editor, QString(c));
            QTest::keyClick(editor, Qt::Key_Escape);
        }
        QCoreApplication::processEvents();
        const QTextBlock block = editor->textCursor().block();
        QCOMPARE(block.text().trimmed(), line.trimmed());
        const int column = int(block.text().indexOf(word));
        const QTextCharFormat got = formatAt(block, column);
        if (!coloured) {
            QCOMPARE(got, QTextCharFormat());
            return;
        }
        const QTextCharFormat expected = OrderHighlighter::format(SpanKind(kind));
        QCOMPARE(got.foreground().color(), expected.foreground().color());
        QCOMPARE(got.underlineStyle() != QTextCharFormat::NoUnderline,
            kind == int(SpanKind::UnknownWord));
        // The whole word carries the format.
        QCOMPARE(formatAt(block, column + int(word.size()) - 1).foreground().color(),
            expected.foreground().color());
    }

    void completionPopsUpTabTakesEscapeCloses()
    {
        Gui gui;
        QPlainTextEdit *editor = gui.editor();
        auto *completer = gui.page()->findChild<OrderCompleter *>();
        gui.cursorToEndOf(gui.headerLine(QStringLiteral("3mx")) + 1);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, QStringLiteral("GI"));
        QVERIFY(completer->isOpen());
        QVERIFY(completer->offered().contains(QStringLiteral("GIB")));
        // Tab takes the word with the blank after it; the list then offers the units
        // of the region at once, with their names, the unit whose orders these are never.
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(gui.currentLine(), QStringLiteral("    GIB "));
        QVERIFY(completer->isOpen());
        QCOMPARE(completer->offered().mid(0, 2),
            (QStringList {QStringLiteral("3mw"), QStringLiteral("3my")}));
        QCOMPARE(completer->shownLabels().mid(0, 2),
            (QStringList {QStringLiteral("3mw  Holzfäller"), QStringLiteral("3my  Händler")}));

        // Typing narrows the list.
        QTest::keyClicks(editor, QStringLiteral("3m"));
        QVERIFY(completer->isOpen());
        const QStringList offered = completer->offered();
        QCOMPARE(offered.mid(0, 2), (QStringList {QStringLiteral("3mw"), QStringLiteral("3my")}));
        QVERIFY(!offered.contains(QStringLiteral("3mx")));
        QTest::keyClick(
            completer->findChild<QCompleter *>(QStringLiteral("Befehlsvorschlag"))->popup(),
            Qt::Key_Down);
        QTest::keyClick(
            completer->findChild<QCompleter *>(QStringLiteral("Befehlsvorschlag"))->popup(),
            Qt::Key_Return);
        QCOMPARE(gui.currentLine(), QStringLiteral("    GIB 3my "));

        // Escape closes the popup and leaves the typed word alone.
        QTest::keyClicks(editor, QStringLiteral("5 Sil"));
        QVERIFY(completer->isOpen());
        QCOMPARE(completer->offered().value(0), QStringLiteral("Silber"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(!completer->isOpen());
        QCOMPARE(gui.currentLine().trimmed(), QStringLiteral("GIB 3my 5 Sil"));

        // Return starts the next line with the same indentation; Tab after LERNE
        // leaves the blank before the talent.
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(gui.currentLine(), QStringLiteral("    "));
        QTest::keyClicks(editor, QStringLiteral("LERN"));
        QVERIFY(completer->isOpen());
        QTest::keyClick(editor, Qt::Key_Tab);
        QTest::keyClick(editor, Qt::Key_Escape);
        QTest::keyClicks(editor, QStringLiteral("Ta"));
        QCOMPARE(gui.currentLine(), QStringLiteral("    LERNE Ta"));
    }

    void orderEditorColoursAndCompletes()
    {
        Gui gui;
        gui.doubleClickRow(gui.rowOf(QStringLiteral("3my")));
        auto *memo = gui.orderEditor()->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
        QVERIFY(!memo->isReadOnly());
        // The editor opens with the cursor after the last order, so typing adds an order
        // and never goes before the unit's header line.
        QVERIFY(memo->textCursor().atEnd());
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, QStringLiteral("GIB 3m"));
        OrderCompleter *completer = gui.orderEditor()->findChild<OrderCompleter *>();
        QVERIFY(completer->isOpen());
        QCOMPARE(completer->offered().value(0), QStringLiteral("3mw"));
        QTest::keyClick(memo, Qt::Key_Tab);
        const QTextBlock block = memo->textCursor().block();
        // The new line takes the indentation of the order above it.
        QCOMPARE(block.text(), QStringLiteral("    GIB 3mw "));
        QCOMPARE(formatAt(block, 4).foreground().color(),
            OrderHighlighter::format(SpanKind::Keyword).foreground().color());
    }

    void checkerProblemsAreListedAndLeadToTheUnit()
    {
        Gui gui;
        const int mw = gui.headerLine(QStringLiteral("3mw"));
        const int my = gui.headerLine(QStringLiteral("3my"));
        // Both forms a checker writes: "file:N:" and "Zeile N"; a line naming none.
        const QString script = writeScript(gui.ws.file(QStringLiteral("pruefer.sh")),
            QStringLiteral("echo \"$1:%1: Fehler: GIB ohne Menge\"\n"
                           "echo \"Warnung in Zeile %2: KAUFE zu teuer\"\n"
                           "echo \"Fertig.\"\n")
                .arg(mw + 2)
                .arg(my + 2)
                .toUtf8());
        ActiveGame game = gui.session->game();
        game.checkerPath = script;
        gui.session->setGame(game);
        QTest::mouseClick(gui.page()->findChild<QPushButton *>(QStringLiteral("ButtonZugPruefen")),
            Qt::LeftButton);
        QTRY_VERIFY(gui.main->isEnabled()); // the checker runs as a job
        QVERIFY2(gui.prompter.log.isEmpty(), qPrintable(gui.prompter.texts().join(u'\n')));

        CheckerOutputWindow *window = gui.main->windows().checkerOutput;
        QVERIFY(window->isVisible());
        auto *problems = window->findChild<QListView *>(QStringLiteral("ListBoxProbleme"));
        QStringList rows;
        for (int i = 0; i < problems->model()->rowCount(); ++i)
            rows.append(problems->model()->index(i, 0).data().toString());
        QVERIFY2(rows.size() >= 2, qPrintable(rows.join(u'\n')));
        QVERIFY(rows[0].startsWith(QStringLiteral("Einheit 3mw, Zeile %1 (Checker)").arg(mw + 2)));
        QVERIFY(rows[0].endsWith(QStringLiteral("Fehler: GIB ohne Menge")));
        QVERIFY(rows[1].startsWith(QStringLiteral("Einheit 3my, Zeile %1 (Checker)").arg(my + 2)));
        // A line naming no line of the file is listed too, on no line and no unit.
        QCOMPARE(rows[2], QStringLiteral("ohne Zeile (Checker): Fertig."));
        QVERIFY(window->output().contains(QStringLiteral("Fertig.")));

        // Units with problems are marked in the unit list, the others not.
        QVERIFY(gui.marked(QStringLiteral("3mw")));
        QVERIFY(gui.marked(QStringLiteral("3my")));
        QVERIFY(!gui.marked(QStringLiteral("3mx")));
        QVERIFY(!gui.list->model()->index(0, 0).data(UnitsPage::ProblemRole).toBool());

        // A click leads to the line in the template and to the unit in its region.
        partOf<UnitsPage>(*gui.main)->showEntries({});
        QTest::mouseClick(problems->viewport(), Qt::LeftButton, {},
            problems->visualRect(problems->model()->index(1, 0)).center());
        QCOMPARE(gui.editor()->textCursor().blockNumber(), my + 1);
        QCOMPARE(partOf<ReportPagesWidget>(*gui.main)->currentWidget(), gui.page());
        // The unplaced line leads nowhere: the cursor stays.
        QTest::mouseClick(problems->viewport(), Qt::LeftButton, {},
            problems->visualRect(problems->model()->index(2, 0)).center());
        QCOMPARE(gui.editor()->textCursor().blockNumber(), my + 1);
        QCOMPARE(gui.session->mapState().selectedRegion(), (Position {1, 2, 0}));
        QVERIFY(partOf<UnitsPage>(*gui.main)
                    ->currentEntry()
                    .value_or(ListEntry())
                    .text.contains(QStringLiteral("(3my)")));
    }

    void hintsWithoutChecker()
    {
        Gui gui;
        // 3mx loses its order; an unknown word and an unknown unit come in.
        const int mx = gui.headerLine(QStringLiteral("3mx"));
        QTextCursor cursor(gui.editor()->document()->findBlockByNumber(mx + 1));
        cursor.select(QTextCursor::BlockUnderCursor);
        cursor.removeSelectedText();
        gui.cursorToEndOf(gui.headerLine(QStringLiteral("3my")) + 1);
        gui.editor()->insertPlainText(QStringLiteral("\n    FLUNKERE\n    GIB zzz 5 Silber"));
        gui.find<QAction>(QStringLiteral("Befehlsdurchsicht1"))->trigger();
        QStringList texts;
        for (const OrderProblem &p : gui.main->windows().checkerOutput->problems())
            texts.append(CheckerOutputWindow::problemText(p));
        const QString rows = texts.join(u'\n');
        QVERIFY2(rows.contains(QStringLiteral("Einheit 3mx")), qPrintable(rows));
        QVERIFY2(rows.contains(QStringLiteral("FLUNKERE")), qPrintable(rows));
        QVERIFY2(rows.contains(QStringLiteral("zzz")), qPrintable(rows));
        QVERIFY(gui.marked(QStringLiteral("3mx")));
        QVERIFY(gui.marked(QStringLiteral("3my")));
        QVERIFY(!gui.marked(QStringLiteral("3mw")));
    }

    void f8MovesBetweenUnitsToReview()
    {
        Gui gui;
        const int mw = gui.headerLine(QStringLiteral("3mw"));
        const int mx = gui.headerLine(QStringLiteral("3mx"));
        const int my = gui.headerLine(QStringLiteral("3my"));
        // 3my has no orders left: the move from 3mw passes 3mx (which has orders).
        QTextCursor cursor(gui.editor()->document()->findBlockByNumber(my + 1));
        cursor.select(QTextCursor::BlockUnderCursor);
        cursor.removeSelectedText();
        QVERIFY(mx > mw && my > mx);
        gui.cursorToEndOf(mw);
        QAction *next = gui.find<QAction>(QStringLiteral("NaechsteEinheit1"));
        QAction *previous = gui.find<QAction>(QStringLiteral("VorigeEinheit1"));
        QCOMPARE(next->shortcut(), QKeySequence(Qt::Key_F8));
        QCOMPARE(previous->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F8));
        next->trigger();
        QCOMPARE(gui.editor()->textCursor().blockNumber(), my);
        QVERIFY(partOf<UnitsPage>(*gui.main)
                    ->currentEntry()
                    .value_or(ListEntry())
                    .text.contains(QStringLiteral("(3my)")));
        // Back: 3my is left out, wrapping around; from there forward lands on 3my again.
        previous->trigger();
        const int back = gui.editor()->textCursor().blockNumber();
        QVERIFY(back != my);
        QVERIFY(isUnitHeaderLine(gui.currentLine()));
        next->trigger();
        QCOMPARE(gui.editor()->textCursor().blockNumber(), my);
    }

    void ctrlHReplacesInTheTemplate()
    {
        Gui gui;
        QAction *replace = gui.find<QAction>(QStringLiteral("Ersetzen1"));
        QCOMPARE(replace->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
        replace->trigger();
        auto *row = gui.page()->findChild<QWidget *>(QStringLiteral("ZeileErsetzen"));
        QVERIFY(row->isVisible());
        auto *find = gui.page()->findChild<QLineEdit *>(QStringLiteral("EditSuchen"));
        QTest::keyClicks(find, QStringLiteral("MACHE Holz"));
        QTest::keyClicks(gui.page()->findChild<QLineEdit *>(QStringLiteral("EditErsetzen")),
            QStringLiteral("MACHE Stein"));
        const QString before = gui.editor()->toPlainText();
        QVERIFY(before.contains(QStringLiteral("MACHE Holz")));
        // One replacement: found first, then replaced.
        QTest::mouseClick(
            gui.page()->findChild<QPushButton *>(QStringLiteral("ButtonErsetzen")), Qt::LeftButton);
        QTest::mouseClick(
            gui.page()->findChild<QPushButton *>(QStringLiteral("ButtonErsetzen")), Qt::LeftButton);
        QVERIFY(gui.editor()->toPlainText().contains(QStringLiteral("MACHE Stein")));
        QVERIFY(!gui.editor()->toPlainText().contains(QStringLiteral("MACHE Holz")));
        gui.editor()->undo();
        QCOMPARE(gui.editor()->toPlainText(), before);

        gui.editor()->appendPlainText(QStringLiteral("    MACHE Holz\n    MACHE Holz"));
        QTest::mouseClick(
            gui.page()->findChild<QPushButton *>(QStringLiteral("ButtonAlleErsetzen")),
            Qt::LeftButton);
        QCOMPARE(gui.page()->findChild<QLabel *>(QStringLiteral("LabelErsetzt"))->text(),
            QStringLiteral("3 ersetzt"));
        QCOMPARE(gui.editor()->toPlainText().count(QStringLiteral("MACHE Stein")), 3);
        // The template itself holds the change.
        QCOMPARE(gui.session->orderTemplate().text().count(QStringLiteral("MACHE Stein")), 3);
    }

    // "Befehle ausführen" while the page shows the template writes the unit's block
    // into the page's document itself, as one step that Ctrl+Z takes back.
    void appliedOrdersAreOneUndoStepOfTheShownTemplate()
    {
        Gui gui;
        QPlainTextEdit *editor = gui.editor();
        const QTextDocument *document = editor->document();
        const QString before = editor->toPlainText();
        gui.doubleClickRow(gui.rowOf(QStringLiteral("3my")));
        auto *memo = gui.orderEditor()->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
        memo->appendPlainText(QStringLiteral("    LERNE Handeln"));
        QTest::mouseClick(
            gui.orderEditor()->findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
        QCOMPARE(editor->document(), document);
        QVERIFY(editor->toPlainText().contains(
            QStringLiteral("    KAUFE 5 Seide\n    LERNE Handeln\n")));
        QVERIFY(gui.session->orderTemplate().text().contains(QStringLiteral("LERNE Handeln")));
        QVERIFY(!gui.session->orderTemplate().isSaved());

        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor->toPlainText(), before);
        QCOMPARE(gui.session->orderTemplate().text(), before);
        gui.session->orderTemplate().setSaved(true);
    }

    // Applied before the template page was ever shown after the import, each unit's
    // orders are one step of the template's history: Ctrl+Z in the template takes back
    // the last unit's orders and only them, then the one before, down to the imported
    // (saved) text.
    void eachAppliedUnitIsOneUndoStepOfTheImportedTemplate()
    {
        Gui gui;
        const QString imported = gui.session->orderTemplate().text();
        QVERIFY(gui.session->orderTemplate().isSaved());
        auto *memo = gui.orderEditor()->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
        auto *apply = gui.orderEditor()->findChild<QPushButton *>(QStringLiteral("Button1"));
        gui.doubleClickRow(gui.rowOf(QStringLiteral("3my")));
        memo->appendPlainText(QStringLiteral("    LERNE Handeln"));
        QTest::mouseClick(apply, Qt::LeftButton);
        const QString firstApplied = gui.session->orderTemplate().text();
        gui.doubleClickRow(gui.rowOf(QStringLiteral("3mw")));
        memo->setPlainText(memo->toPlainText().replace(
            QStringLiteral("    MACHE Holz"), QStringLiteral("    MACHE Stein")));
        QTest::mouseClick(apply, Qt::LeftButton);
        QVERIFY(gui.session->orderTemplate().text().contains(QStringLiteral("MACHE Stein")));
        QVERIFY(!gui.session->orderTemplate().isSaved());

        QPlainTextEdit *editor = gui.editor();
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(gui.session->orderTemplate().text(), firstApplied);
        QVERIFY(!gui.session->orderTemplate().isSaved());
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor->toPlainText(), imported);
        QVERIFY(gui.session->orderTemplate().isSaved());
    }

    // The saved mark is the template's history standing at the step last saved: an
    // edit leaves it, undoing back to it returns, undoing past it leaves it again.
    void savedMarkFollowsTheUndoHistory()
    {
        Gui gui;
        const OrderTemplate &orders = gui.session->orderTemplate();
        QPlainTextEdit *editor = gui.editor();
        gui.cursorToEndOf(gui.headerLine(QStringLiteral("3mx")));
        QTest::keyClicks(editor, QStringLiteral(" 1"));
        QVERIFY(!orders.isSaved());
        QVERIFY(gui.main->isWindowModified());
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(orders.isSaved());
        QVERIFY(!gui.main->isWindowModified());

        QTest::keyClicks(editor, QStringLiteral(" 2"));
        gui.find<QAction>(QStringLiteral("Speichern1"))->trigger();
        QVERIFY(orders.isSaved());
        QTest::keyClicks(editor, QStringLiteral(" 3"));
        QVERIFY(!orders.isSaved());
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(orders.isSaved());
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!orders.isSaved());
        QVERIFY(gui.main->isWindowModified());
        QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(orders.isSaved());
    }

    void foreignUnitOpensReadOnly()
    {
        Gui gui;
        gui.doubleClickRow(gui.rowOf(QStringLiteral("3uw")));
        OrderEditorWindow *editor = gui.orderEditor();
        auto *memo = editor->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
        auto *note = editor->findChild<QLabel *>(QStringLiteral("LabelHinweis"));
        QVERIFY(memo->isReadOnly());
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), QStringLiteral("fremde Einheit: keine Befehle"));
        QVERIFY(!editor->findChild<QPushButton *>(QStringLiteral("Button1"))->isEnabled());

        gui.doubleClickRow(gui.rowOf(QStringLiteral("3mx")));
        QVERIFY(!memo->isReadOnly());
        QVERIFY(!note->isVisible());
        QVERIFY(editor->findChild<QPushButton *>(QStringLiteral("Button1"))->isEnabled());
    }

    void closingWithUnsavedOrdersOffersThreeButtons_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("written");
        QTest::newRow("Speichern") << "Speichern" << true << true;
        QTest::newRow("Verwerfen") << "Verwerfen" << true << false;
        QTest::newRow("Abbrechen") << "Abbrechen" << false << false;
    }
    void closingWithUnsavedOrdersOffersThreeButtons()
    {
        QFETCH(QString, answer);
        QFETCH(bool, closed);
        QFETCH(bool, written);
        Gui gui;
        gui.find<QAction>(QStringLiteral("Speichern1"))->trigger();
        gui.editor()->appendPlainText(QStringLiteral("    ; Notiz beim Beenden"));
        gui.prompter.choiceAnswers.enqueue(answer);
        QCOMPARE(gui.main->close(), closed);
        QCOMPARE(gui.prompter.choiceButtons.size(), 1);
        QCOMPARE(gui.prompter.choiceButtons.first(),
            (QStringList {QStringLiteral("Speichern"), QStringLiteral("Verwerfen"),
                QStringLiteral("Abbrechen")}));
        QCOMPARE(gui.session->orderTemplate().isSaved(), written);
        gui.session->orderTemplate().setSaved(true); // no question at the end of the test
    }

    void undoBackToTheSavedTextClearsTheStar()
    {
        Gui gui;
        QPlainTextEdit *editor = gui.editor();
        gui.find<QAction>(QStringLiteral("Speichern1"))->trigger();
        QVERIFY(!gui.shownTitle().contains(u'*'));
        gui.cursorToEndOf(0);
        QTest::keyClicks(editor, QStringLiteral(" x"));
        QVERIFY(gui.shownTitle().contains(u'*'));
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY2(!gui.shownTitle().contains(u'*'), qPrintable(gui.shownTitle()));
        QVERIFY(gui.session->orderTemplate().isSaved());
        // Redone it is unsaved again.
        QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(gui.shownTitle().contains(u'*'));
        QVERIFY(gui.session->orderTemplate().text().contains(QStringLiteral(" x")));
        gui.session->orderTemplate().setSaved(true);
    }
};

QTEST_MAIN(TestGuiOrderWriting)
#include "test_gui_orderwriting.moc"
