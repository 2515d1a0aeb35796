// Takes the pictures of the user guide: drives the program's own windows on a real
// (virtual) X display and captures the whole screen with ImageMagick's "import", so
// that title bars and window frames show as a player sees them.
//   tolvimar-guideshots WORKSPACE OUTDIR [REPORT...]
// The workspace holds slot 1 with imported reports and a rendered world map
// (scripts/make-guide.sh prepares it); the reports are listed as recently imported.
#include "aboutbox.h"
#include "alliancesyncdialog.h"
#include "app/routeplanner.h"
#include "app/session.h"
#include "appwindows.h"
#include "base/position.h"
#include "checkeroutputwindow.h"
#include "db/gamequeries.h"
#include "desktopsettings.h"
#include "detailpages.h"
#include "map/hexgeometry.h"
#include "mappanel.h"
#include "ordercompleter.h"
#include "ordereditorwindow.h"
#include "placesearchbox.h"
#include "progresswindow.h"
#include "recentreports.h"
#include "reportpageswidget.h"
#include "selectiondialog.h"
#include "settingsdialog.h"
#include "templatepage.h"
#include "translations.h"
#include "uiprompter.h"
#include "unitspage.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>

using namespace tolvimar;

namespace {

QString g_out;

void settle(int ms = 400)
{
    for (int i = 0; i < 3; ++i) {
        QEventLoop loop;
        QTimer::singleShot(ms / 3, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void shoot(const QString &name)
{
    settle();
    const QString file = QDir(g_out).filePath(name + QStringLiteral(".png"));
    if (QProcess::execute(
            QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file})
        != 0)
        QTextStream(stderr) << "Bild " << file << " nicht aufgenommen\n";
    else
        QTextStream(stdout) << file << "\n";
}

void showTab(QTabWidget *tabs, const QString &caption)
{
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) == caption)
            tabs->setCurrentIndex(i);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvimar"));
    installGermanTranslations(app);
    if (argc < 3) {
        QTextStream(stderr) << "Aufruf: tolvimar-guideshots ARBEITSVERZEICHNIS AUSGABE [CR...]\n";
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(g_out);

    UiPrompter prompter;
    Session session(QString::fromLocal8Bit(argv[1]), prompter);
    // The recent reports live in a settings file of this run, never in the user's.
    QTemporaryDir settingsDir;
    DesktopSettings::setFile(settingsDir.filePath(QStringLiteral("tolvimar.conf")));
    auto main = createWindows(session, prompter);
    for (int i = 3; i < argc; ++i)
        main->findChild<RecentReports *>()->add(QString::fromLocal8Bit(argv[i]));
    prompter.setParent(main.get());
    prompter.setNoticeSink([w = main.get()](const QString &t) { w->statusBar()->showMessage(t); });
    const MainWindow::Windows &w = main->windows();

    shoot(QStringLiteral("01-spielwahl"));
    w.selection->findChild<QLineEdit *>(QStringLiteral("EditName1"))->setFocus();
    w.selection->findChild<QPushButton *>(QStringLiteral("ButtonStart1"))->click();
    settle(800);

    // A region with own units, near the middle of what they hold.
    GameQueries queries(session.database());
    const auto own
        = queries.unitsOfFaction(1, session.game().factionNumber, session.game().newestTurn);
    const auto where = own.isEmpty()
        ? std::optional<Position>(Position {
            session.mapState().currentPosition().x(), session.mapState().currentPosition().y(), 0})
        : parsePosition(own[own.size() / 2].position);
    if (where) {
        // A click on the world map: the small map moves there and the region shows.
        const MapState &map = session.mapState();
        const QPoint corner = worldCellCorner(
            {int(map.origin().x()), int(map.origin().y()), map.worldMapSize().height()}, where->x,
            where->y);
        main->findChild<MapPanel *>()->Image82MouseDown(corner.x() + 4, corner.y() + 4);
        main->findChild<QScrollArea *>(QStringLiteral("ScrollBox1"))
            ->ensureVisible(corner.x(), corner.y(), 120, 80);
    }
    shoot(QStringLiteral("02-hauptfenster"));

    // The world map at twice the size with the ships and units of the turn.
    main->findChild<MapPanel *>()->setZoom(2);
    const auto toggleShipsAndUnits = [&] {
        for (const char *name : {"ToolButton1", "ToolButton2"})
            main->findChild<QToolButton *>(QString::fromLatin1(name))->click();
    };
    toggleShipsAndUnits();
    shoot(QStringLiteral("03-karte-ueberlagerungen"));
    toggleShipsAndUnits();
    main->findChild<MapPanel *>()->setZoom(1);

    // A unit of the region, its view and the order editor.
    auto *details = main->findChild<DetailPages *>();
    auto *units = main->findChild<UnitsPage *>();
    details->setCurrentWidget(units);
    for (int i = 0; i < units->entries().size(); ++i) {
        if (units->entries()[i].kind == ListEntryKind::Unit) {
            units->selectEntry(i);
            break;
        }
    }
    shoot(QStringLiteral("04-einheiten"));
    // The search box with several hits under it.
    if (where) {
        const QString name
            = queries.regionNameAt(1, where->x, where->y, where->level).value_or(QString());
        auto *search = main->findChild<PlaceSearchBox *>(QStringLiteral("EditSuche"));
        search->setText(name.left(3));
        search->searchPlaces();
        shoot(QStringLiteral("15-suche"));
        if (auto *results = main->findChild<QMenu *>(QStringLiteral("MenuSuchergebnisse")))
            results->hide();
        search->clear();
        units->ListBox3Click();
    }
    // An own unit, whose orders can be written.
    for (int i = 0; i < units->entries().size(); ++i) {
        if (units->entries()[i].kind != ListEntryKind::Unit)
            continue;
        units->selectEntry(i);
        units->ListBox3DblClick();
        if (!w.orderEditor->isReadOnly())
            break;
    }
    w.orderEditor->move(main->geometry().center() - w.orderEditor->rect().center());
    // An order typed as a player would, the list of proposals open after "GIB ".
    auto *memo = w.orderEditor->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    for (const QChar c : QStringLiteral("\rGIB ")) {
        QKeyEvent press(QEvent::KeyPress, c == u'\r' ? Qt::Key_Return : 0, Qt::NoModifier,
            c == u'\r' ? QString() : QString(c));
        QApplication::sendEvent(memo, &press);
    }
    shoot(QStringLiteral("05-befehlseditor"));
    // Closed with the order typed: the question before anything is dropped.
    if (w.orderEditor->findChild<OrderCompleter *>()->isOpen()) {
        QKeyEvent closeList(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(memo, &closeList);
    }
    // The player's keys go to the editor's window: the question opens over it.
    w.orderEditor->activateWindow();
    for (QElapsedTimer waited; QApplication::activeWindow() != w.orderEditor;) {
        if (!waited.isValid())
            waited.start();
        if (waited.elapsed() > 2000)
            break;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QKeyEvent closeEditor(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QTimer::singleShot(300, [] {
        shoot(QStringLiteral("05-befehlseditor-frage"));
        if (auto *box = QApplication::activeModalWidget()) {
            for (auto *button : box->findChildren<QPushButton *>()) {
                if (button->text() == u"Verwerfen")
                    button->click();
            }
        }
    });
    QApplication::sendEvent(memo, &closeEditor);
    w.orderEditor->hide();

    // "Weg planen" for that unit: the way to a region a few steps off follows the
    // pointer on both maps, a click keeps it, the unit view names the travel time.
    if (where) {
        auto *maps = main->findChild<MapPanel *>();
        maps->setZoom(2);
        main->findChild<QAction *>(QStringLiteral("WegPlanen1"))->trigger();
        auto *world = main->findChild<QWidget *>(QStringLiteral("Image82"));
        const MapState &map = session.mapState();
        const WorldMapFrame frame {
            int(map.origin().x()), int(map.origin().y()), map.worldMapSize().height()};
        // The farthest region of a few rings around that the unit reaches.
        std::optional<RegionCoord> target;
        for (int ring = 5; ring >= 2 && !target; --ring) {
            for (const auto &[dx, dy] :
                {std::pair(ring, 0), std::pair(0, ring), std::pair(-ring, ring),
                    std::pair(-ring, 0), std::pair(0, -ring), std::pair(ring, -ring)}) {
                const RegionCoord c {where->x + dx, where->y + dy};
                maps->planRouteTo(c);
                const auto &planned = maps->routePlanner().preview();
                if (planned && planned->found()) {
                    target = c;
                    break;
                }
            }
        }
        if (target) {
            const QPoint at = (worldCellCorner(frame, target->x, target->y) + QPoint(4, 5)) * 2;
            main->findChild<QScrollArea *>(QStringLiteral("ScrollBox1"))
                ->ensureVisible(at.x(), at.y(), 140, 110);
            QMouseEvent move(QEvent::MouseMove, QPointF(at), world->mapToGlobal(QPointF(at)),
                Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(world, &move);
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(at),
                world->mapToGlobal(QPointF(at)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(world, &press);
            shoot(QStringLiteral("17-weg-planen"));
        }
        main->findChild<QAction *>(QStringLiteral("WegPlanen1"))->trigger();
        maps->setZoom(1);
    }

    // The template with an edit not yet saved, and the find bar.
    main->showTemplatePage();
    auto *editor = main->findChild<QPlainTextEdit *>(QStringLiteral("RichEdit4"));
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(QStringLiteral("; Notiz: Nachschub prüfen\n"));
    main->Suchen1Click();
    main->findChild<QLineEdit *>(QStringLiteral("EditSuchen"))->setText(QStringLiteral("LERNE"));
    main->findChild<QPushButton *>(QStringLiteral("ButtonWeiterSuchen"))->click();
    shoot(QStringLiteral("06-zugvorlage"));

    // Writing orders: the colours and an open list of proposals, typed as a player would.
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(
        QStringLiteral("    LERNE Hiebwaffen ; die Wache\n    ZAUBERE Feuer\n"));
    editor->setFocus();
    for (const QChar c : QStringLiteral("    GI")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(editor, &press);
    }
    editor->ensureCursorVisible();
    shoot(QStringLiteral("15-befehle-farben"));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(editor, &escape);

    // The program's hints in the problem list.
    main->Befehlsdurchsicht1Click();
    w.checkerOutput->move(main->geometry().center() - w.checkerOutput->rect().center());
    shoot(QStringLiteral("16-problemliste"));
    w.checkerOutput->hide();

    // The file menu with its keys and the recent reports.
    QMenu *datei = main->findChild<QMenu *>(QStringLiteral("Datei1"));
    main->menuBar()->setActiveAction(datei->menuAction());
    settle();
    auto *recent = main->findChild<QMenu *>(QStringLiteral("ZuletztEingelesen1"));
    datei->setActiveAction(recent->menuAction());
    shoot(QStringLiteral("07-menue-datei"));
    recent->hide();
    datei->hide();
    settle();

    // Points over the turns, and the military pages.
    showTab(details, QStringLiteral("Punkte Statistik"));
    shoot(QStringLiteral("08-punkte"));
    showTab(details, QStringLiteral("Gruppierungen"));
    if (auto *report = details->findChild<QPushButton *>(QStringLiteral("ButtonBerichtGruppen")))
        report->click();
    shoot(QStringLiteral("09-gruppierungen"));

    // The small windows: progress of an import, the settings, a file dialog, About.
    w.progress->setStep(QStringLiteral("Informationen werden eingelesen für : Weidenau (1/2)"));
    w.progress->setLine(QStringLiteral("18734"));
    w.progress->setUnitName(QStringLiteral("Holzfäller"));
    w.progress->setPercent(42);
    w.progress->show();
    w.progress->move(main->geometry().center() - w.progress->rect().center());
    shoot(QStringLiteral("10-einlesen"));
    w.progress->hide();

    main->Optionen1Click();
    // The mail settings filled in as a player would (left by "Abbrechen").
    const std::pair<const char *, const char *> mailFields[] = {
        {"EditMailServer", "smtps://mail.example.org:465"},
        {"EditMailBenutzer", "nordreich"},
        {"EditMailAbsender", "nordreich@example.org"},
        {"EditMailBefehlsadresse", "befehle@kalmora.example"},
    };
    for (const auto &[name, text] : mailFields) {
        if (auto *edit = w.settings->findChild<QLineEdit *>(QString::fromLatin1(name)))
            edit->setText(QString::fromUtf8(text));
    }
    shoot(QStringLiteral("11-einstellungen"));
    w.settings->findChild<QPushButton *>(QStringLiteral("ButtonAbbrechen"))->click();

    QFileDialog files(main.get(), QStringLiteral("CR einlesen"), session.workspace().dir(),
        QStringLiteral("Textdateien (*.txt);;Alle (*.*)"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.show();
    shoot(QStringLiteral("12-dateidialog"));
    files.hide();

    main->Info1Click();
    shoot(QStringLiteral("13-info"));
    w.about->hide();

    // "Mit Allianz abgleichen" after a sync with the server make-guide.sh started, on
    // which a second player's map lies. Last: it changes the game's map.
    const QString server = qEnvironmentVariable("TOLVIMAR_GUIDE_SERVER");
    if (!server.isEmpty()) {
        AllianceSyncDialog alliance(session, main.get());
        alliance.findChild<QLineEdit *>(QStringLiteral("ServerEdit"))->setText(server);
        alliance.show();
        alliance.move(main->geometry().center() - alliance.rect().center());
        settle();
        alliance.AbgleichenClick();
        // The sync runs on a worker thread; its outcome is shown on this one.
        while (alliance.isSyncRunning())
            settle(100);
        shoot(QStringLiteral("14-allianz"));
    }

    // Nothing is saved: the picture run leaves the workspace as it found it.
    session.orderTemplate().setSaved(true);
    return 0;
}
