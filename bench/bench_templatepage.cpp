// The page "Zugvorlage" of a large game, driven through the real windows offscreen:
// generates a report (31.5 MB by default), imports it into a fresh workspace, creates
// the program's windows, starts the game and prints
// - opening the tab: from the press on the tab until the events it queued (layout,
//   colouring, painting) are handled; the fastest of several openings, the template
//   marked replaced before each;
// - a key press in the template: one character typed at a line of an own unit, until
//   the events it queued are handled; median and worst of many;
// - reading the template's lines back (what saving and the order editor do);
// - "Befehle ausführen" in the order editor, an order added to a unit's block and
//   taken out again, while the page shows the template and while another page shows:
//   from the press until the events it queued are handled; median and worst; then the
//   undo of the last one.
//
//   bench_templatepage [--size 31.5M] [--seed 1] [--presses 200] [--repeat 3] [--keep DIR]

#include "app/reportimporter.h"
#include "app/session.h"
#include "appwindows.h"
#include "base/position.h"
#include "base/scriptedprompter.h"
#include "benchgame.h"
#include "benchsupport.h"
#include "detailpages.h"
#include "ordereditorwindow.h"
#include "orders/ordertemplate.h"
#include "orders/ordervocabulary.h"
#include "report/importprogress.h"
#include "reportgenerator.h"
#include "reportpageswidget.h"
#include "unitspage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <random>

using namespace tolvimar;
using tolvimar::bench::BenchGame;

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QString ms(double value)
{
    return QString::number(value, 'f', 1) + QStringLiteral(" ms");
}

void typeKey(QWidget *widget, Qt::Key key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    ReportGenerator::Options options;
    options.targetBytes = qint64(31.5 * 1024 * 1024);
    QString keep;
    int presses = 200;
    int repeat = 3;
    for (int i = 1; i < args.size(); ++i) {
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (args[i] == u"--size" && ReportGenerator::parseSize(next) > 0)
            options.targetBytes = ReportGenerator::parseSize(args[++i]);
        else if (args[i] == u"--seed")
            options.seed = args[++i].toULongLong();
        else if (args[i] == u"--presses" && next.toInt() > 0)
            presses = args[++i].toInt();
        else if (args[i] == u"--repeat" && next.toInt() > 0)
            repeat = args[++i].toInt();
        else if (args[i] == u"--keep" && !next.isEmpty())
            keep = args[++i];
        else {
            QTextStream(stderr) << "usage: bench_templatepage [--size 31.5M] [--seed N] "
                                   "[--presses N] [--repeat N] [--keep DIR]\n";
            return 2;
        }
    }
    QTemporaryDir temp;
    const QString dir = keep.isEmpty() ? temp.path() : keep;
    QDir().mkpath(dir);
    const QString file = dir + QStringLiteral("/bench.cr");
    const QString workspace = dir + QStringLiteral("/workspace");
    QDir(workspace).removeRecursively();
    QDir().mkpath(workspace);

    QElapsedTimer timer;
    timer.start();
    const ReportGenerator::Stats stats = ReportGenerator(options).writeFile(file);
    out() << "report: " << QString::number(stats.bytes / (1024.0 * 1024.0), 'f', 1) << " MB, "
          << stats.units << " units (" << stats.ownUnits << " own)\n";
    out().flush();

    BenchGame game(0, 0, workspace);
    game.prompter.defaultYes = true;
    game.start();
    Session &session = game.session();
    ScriptedPrompter &prompter = game.prompter;
    {
        ImportProgress progress;
        const auto result = ReportImporter(session, progress).importFile(file);
        if (result.status != ReportImporter::Result::Imported) {
            QTextStream(stderr) << "import failed: " << result.message << "\n";
            return 1;
        }
    }
    const QStringList &lines = session.orderTemplate().lines();
    qint64 templateBytes = 0;
    for (const QString &line : lines)
        templateBytes += line.size() + 1;
    out() << "template: " << lines.size() << " lines, "
          << QString::number(templateBytes / (1024.0 * 1024.0), 'f', 1) << " MB\n";
    out().flush();

    auto main = createWindows(session, prompter, false);
    main->startGame(1, QStringLiteral("Bench"), QStringLiteral("Kalmora"));
    main->show();
    QCoreApplication::processEvents();
    ReportPagesWidget *pages = main->findChild<ReportPagesWidget *>();

    // The template is replaced (an import) while another page shows; its document is
    // built meanwhile, then the tab is pressed.
    TemplateDocument &document = session.orderTemplate().document();
    const QStringList imported = session.orderTemplate().lines();
    const auto replaceAndWait = [&] {
        pages->setCurrentIndex(0);
        QCoreApplication::processEvents();
        document.replaceAll(imported);
        while (document.isBuilding()) {
            QThread::msleep(5);
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
    };
    QElapsedTimer first;
    replaceAndWait();
    first.start();
    pages->showTemplatePage();
    QCoreApplication::processEvents();
    const double firstOpen = first.nsecsElapsed() / 1e6;
    double open = 1e300;
    for (int i = 0; i < repeat; ++i) {
        replaceAndWait();
        QElapsedTimer t;
        t.start();
        pages->showTemplatePage();
        QCoreApplication::processEvents();
        open = std::min(open, t.nsecsElapsed() / 1e6);
    }
    out() << "opening the tab \"Zugvorlage\": " << ms(open) << " [" << (open <= 300 ? "ok" : "MISS")
          << " <= 300 ms]; the first time (with building the order vocabulary) " << ms(firstOpen)
          << "\n";
    // Pressed at once after the replacement: waits for the build.
    const double atOnce = bench::fastest(repeat, [&] {
        pages->setCurrentIndex(0);
        QCoreApplication::processEvents();
        document.replaceAll(imported);
        pages->showTemplatePage();
        document.finishBuilding();
        QCoreApplication::processEvents();
    });
    out() << "opening the tab at once after the template was replaced: " << ms(atOnce) << "\n";
    out().flush();

    // Key presses at the ends of order lines of own units across the template.
    auto *editor = main->findChild<QPlainTextEdit *>(QStringLiteral("RichEdit4"));
    editor->setFocus();
    QList<int> orderLines;
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].startsWith(QStringLiteral("    ")) && !lines[i].trimmed().startsWith(u';'))
            orderLines.append(i);
    }
    if (orderLines.isEmpty()) {
        QTextStream(stderr) << "the template holds no orders\n";
        return 1;
    }
    std::mt19937 random(7);
    QList<double> times;
    for (int i = 0; i < presses; ++i) {
        const int line = orderLines[int(random() % quint32(orderLines.size()))];
        QTextCursor cursor(editor->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::EndOfBlock);
        editor->setTextCursor(cursor);
        editor->ensureCursorVisible();
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        typeKey(editor, Qt::Key_Space, QStringLiteral(" "));
        QCoreApplication::processEvents();
        times.append(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    out() << "key press in the template (" << presses << "): median " << ms(times[times.size() / 2])
          << ", worst " << ms(times.last()) << "\n";

    const double readBack = bench::fastest(repeat, [&] {
        // Marks the lines as changed, then reads them as saving does.
        typeKey(editor, Qt::Key_Backspace, QString());
        QCoreApplication::processEvents();
        (void)session.orderTemplate().lines().size();
    });
    out() << "reading the lines back after an edit: " << ms(readBack) << "\n";
    out().flush();

    // An own unit on level 0 from the middle of the template, its region shown and
    // the unit opened in the order editor.
    std::shared_ptr<const OrderVocabulary> vocabulary = session.orderVocabulary();
    pages->showTemplatePage();
    QCoreApplication::processEvents();
    UnitsPage *units = main->findChild<UnitsPage *>();
    units->admitEveryUnit();
    // The window's game knows the report's faction, whose units are the own ones.
    if (session.game().factionNumber == 0) {
        ActiveGame withFaction = session.game();
        withFaction.factionNumber = int(options.faction);
        session.setGame(withFaction);
    }
    OrderEditorWindow *orderEditor = main->windows().orderEditor;
    auto *memo = orderEditor->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    auto *apply = orderEditor->findChild<QPushButton *>(QStringLiteral("Button1"));
    QString unitText;
    const QStringList &current = session.orderTemplate().lines();
    for (int i = int(current.size()) / 2, tries = 0; i < current.size() && tries < 200; ++i) {
        const QString text = unitTextOfHeaderLine(current[i]);
        const std::optional<Position> at
            = text.isEmpty() ? std::nullopt : parsePosition(vocabulary->positionOfUnit(text));
        if (!at || at->level != 0)
            continue;
        ++tries;
        main->getSekKoo(at->x, at->y);
        if (!units->selectUnit(text))
            continue;
        units->ListBox3DblClick();
        QCoreApplication::processEvents();
        if (apply->isEnabled() && !memo->isReadOnly()) {
            unitText = text;
            break;
        }
    }
    if (unitText.isEmpty()) {
        QTextStream(stderr)
            << "no own unit of the template opened in the order editor (faction "
            << session.game().factionNumber
            << "): " << orderEditor->findChild<QLabel *>(QStringLiteral("LabelHinweis"))->text()
            << "\n";
        return 1;
    }
    const QString opened = memo->toPlainText();
    // Adds an order to the unit's block and takes it out again by turns, with the page
    // shown; every press changes the template.
    const auto applyOrders = [&](int shownPage, const char *where) {
        QList<double> applyTimes;
        for (int i = 0; i < 2 * std::max(repeat, 10); ++i) {
            pages->setCurrentIndex(shownPage);
            memo->setPlainText(i % 2 == 0 ? opened + QStringLiteral("\n    ; Notiz") : opened);
            QCoreApplication::processEvents();
            QElapsedTimer t;
            t.start();
            apply->click();
            QCoreApplication::processEvents();
            applyTimes.append(t.nsecsElapsed() / 1e6);
        }
        std::sort(applyTimes.begin(), applyTimes.end());
        const bool written = session.orderTemplate().text().contains(opened);
        const double median = applyTimes[applyTimes.size() / 2];
        out() << "\"Befehle ausführen\" on unit " << unitText << " " << where << " ("
              << applyTimes.size() << "): median " << ms(median) << " ["
              << (median <= 100 ? "ok" : "MISS") << " <= 100 ms], worst " << ms(applyTimes.last())
              << (written ? "" : " [the block was not written]") << "\n";
        out().flush();
    };
    applyOrders(pages->indexOf(main->findChild<QWidget *>(QStringLiteral("TabSheetZugvorlage"))),
        "while the template shows");
    applyOrders(0, "while another page shows");
    // Each press was one step to undo: undoing the last takes exactly its block back.
    QTextDocument *text = document.textDocument();
    const QString beforeUndo = session.orderTemplate().text();
    QElapsedTimer undoTimer;
    undoTimer.start();
    text->undo();
    QCoreApplication::processEvents();
    const double undoTime = undoTimer.nsecsElapsed() / 1e6;
    out() << "undo of the last apply: " << ms(undoTime) << ", "
          << (session.orderTemplate().text() != beforeUndo ? "the block taken back"
                                                           : "[NOTHING UNDONE]")
          << "\n";
    // For comparison the way it went before: the whole template replaced by lines with
    // the unit's block changed, and the page's document built anew for it.
    QList<double> replaceTimes;
    for (int i = 0; i < repeat; ++i) {
        QStringList changed = session.orderTemplate().lines();
        const int header = int(changed.indexOf(opened.section(u'\n', 0, 0)));
        changed.insert(header + 1, QStringLiteral("    ; Notiz"));
        QElapsedTimer t;
        t.start();
        session.orderTemplate().setLines(changed);
        pages->showTemplatePage();
        document.finishBuilding();
        QCoreApplication::processEvents();
        replaceTimes.append(t.nsecsElapsed() / 1e6);
    }
    std::sort(replaceTimes.begin(), replaceTimes.end());
    out() << "the whole template replaced instead, as before (" << replaceTimes.size()
          << "): median " << ms(replaceTimes[replaceTimes.size() / 2]) << "\n";
    // The bench ends without the question about unsaved orders.
    session.orderTemplate().setSaved(true);
    return 0;
}
