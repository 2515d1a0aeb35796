#include "app/mapoperations.h"
#include "appwindows.h"
#include "detailpages.h"
#include "guisupport.h"
#include "mainwindow.h"
#include "mapfixture.h"
#include "mapgui.h"
#include "mapimage.h"
#include "mappanel.h"
#include "ordereditorwindow.h"
#include "regionentrydialog.h"
#include "regioninfopage.h"
#include "reportpageswidget.h"
#include "selectiondialog.h"
#include "templatepage.h"
#include "unitspage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// The map windows with what the view tests read and do besides.
struct ViewGui : MapGui
{
    QString text(const QString &name) const { return find<QLineEdit>(name)->text(); }
    QString title() const { return find<QLabel>(QStringLiteral("Panel1"))->text(); }

    void statistics(int x, int y, int level, int turn, int peasants)
    {
        rows().statistics(
            x, y, level, {{QStringLiteral("Datum"), turn}, {QStringLiteral("Bauern"), peasants}});
    }
    void switchLevel(int level)
    {
        auto *list = find<QComboBox>(QStringLiteral("DBLookupComboBox3"));
        list->setCurrentIndex(list->findData(level));
        QTest::mouseClick(find<QPushButton>(QStringLiteral("Button9")), Qt::LeftButton);
    }
    // Selects the list row holding the text and shows it, as a click does.
    void selectUnitRow(const QString &part)
    {
        QListView *list = find<QListView>(QStringLiteral("ListBox3"));
        for (int r = 0; r < list->model()->rowCount(); ++r) {
            const QModelIndex index = list->model()->index(r, 0);
            if (index.data().toString().contains(part)) {
                partOf<UnitsPage>(*main)->selectEntry(r);
                return;
            }
        }
        QFAIL(qPrintable(QStringLiteral("no row with ") + part));
    }
};

// Two levels with a named region at 0/0 on each, and a unit of the faction on level 0.
void twoLevels(ViewGui &gui)
{
    gui.block(-3, 3, -3, 3, 0, QStringLiteral("Ebene"));
    gui.block(-3, 3, -3, 3, 1, QStringLiteral("Sumpf"));
    gui.exec(
        QStringLiteral("UPDATE regionen SET \"Regionname\" = CASE \"Ebene\" WHEN 0 THEN "
                       "'Weidenau' ELSE 'Tiefmoor' END WHERE \"Breite\" = 0 AND \"Länge\" = 0"),
        {});
    gui.level(1, QStringLiteral("Unterwelt"));
    gui.unit(1000, QStringLiteral("0/0"));
}

} // namespace

class TestGuiViews : public QObject
{
    Q_OBJECT
private slots:
    // The whole window can be laid out on a screen of 1024 x 600: no page holds it wider
    // or higher (pages that need more scroll).
    void windowFitsASmallScreen()
    {
        GuiHarness gui;
        gui.main->show();
        gui.main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora"));
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        gui.main->getSekKoo(1, 2);
        QApplication::processEvents();
        const QSize least = gui.main->minimumSizeHint().expandedTo(gui.main->minimumSize());
        QVERIFY2(least.width() <= 1024 && least.height() <= 600,
            qPrintable(QStringLiteral("%1 x %2").arg(least.width()).arg(least.height())));
        gui.main->resize(1024, 600);
        QApplication::processEvents();
        QVERIFY2(gui.main->width() <= 1024, qPrintable(QString::number(gui.main->width())));
    }

    // On a small screen nothing is cut: every tab shows its whole caption (a strip too
    // narrow scrolls), and the small map's arrows, "Autosave" and "Zug prüfen lassen"
    // are seen whole, as are the unit's details.
    void smallScreensCutNothing_data()
    {
        QTest::addColumn<QSize>("window");
        // The screens' sizes less a title bar.
        QTest::newRow("1024 x 600") << QSize(1024, 570);
        QTest::newRow("1150 x 660") << QSize(1150, 630);
        QTest::newRow("1366 x 768") << QSize(1366, 738);
    }
    void smallScreensCutNothing()
    {
        QFETCH(QSize, window);
        GuiHarness gui;
        gui.main->resize(window);
        gui.main->show();
        gui.main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora"));
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        gui.main->getSekKoo(1, 2);
        QApplication::processEvents();
        const auto whole = [](const QWidget *w) {
            return w && w->isVisible() && w->visibleRegion().boundingRect() == w->rect();
        };
        for (QTabWidget *pages : {static_cast<QTabWidget *>(partOf<ReportPagesWidget>(*gui.main)),
                 static_cast<QTabWidget *>(partOf<DetailPages>(*gui.main))}) {
            QTabBar *tabs = pages->tabBar();
            for (int i = 0; i < pages->count(); ++i) {
                if (!pages->isTabVisible(i))
                    continue;
                QVERIFY2(tabs->tabRect(i).width()
                        > tabs->fontMetrics().horizontalAdvance(pages->tabText(i)),
                    qPrintable(pages->tabText(i)));
            }
        }
        for (const char *name : {"Image1", "UpDown1", "UpDown2"})
            QVERIFY2(whole(gui.find<QWidget>(QString::fromLatin1(name))), name);

        ReportPagesWidget *reports = partOf<ReportPagesWidget>(*gui.main);
        reports->setCurrentIndex(0);
        QApplication::processEvents();
        for (const char *name : {"Button6", "StaticText1"})
            QVERIFY2(whole(gui.find<QWidget>(QString::fromLatin1(name))), name);
        gui.main->showTemplatePage();
        QApplication::processEvents();
        QVERIFY(whole(gui.find<QWidget>(QStringLiteral("ButtonZugPruefen"))));

        // A unit chosen: its rows of boxes are seen whole, to the right edge.
        DetailPages *details = partOf<DetailPages>(*gui.main);
        details->setCurrentWidget(details->findChild<UnitsPage *>());
        UnitsPage *units = details->findChild<UnitsPage *>();
        for (int r = 0; r < units->entries().size(); ++r) {
            if (units->entries().at(r).text.contains(QStringLiteral("(3my)")))
                units->selectEntry(r);
        }
        QApplication::processEvents();
        QVERIFY(!gui.find<QLineEdit>(QStringLiteral("Edit29"))->text().isEmpty());
        for (const char *name : {"Edit29", "CheckBox3", "DBEdit31"})
            QVERIFY2(whole(gui.find<QWidget>(QString::fromLatin1(name))), name);
    }

    // Presses on the report tabs collapse and enlarge the lower pages; the region pages
    // above keep a usable height and the tab bar stays under the pointer.
    void reportTabsLeaveTheRegionPagesReachable_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::newRow("1024 x 600") << QSize(1024, 600);
        QTest::newRow("1366 x 768") << QSize(1366, 768);
        QTest::newRow("1600 x 1100") << QSize(1600, 1100);
    }
    void reportTabsLeaveTheRegionPagesReachable()
    {
        QFETCH(QSize, window);
        GuiHarness gui;
        gui.main->resize(window);
        gui.main->show();
        gui.main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora"));
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        QApplication::processEvents();
        ReportPagesWidget *reports = partOf<ReportPagesWidget>(*gui.main);
        DetailPages *details = partOf<DetailPages>(*gui.main);
        QTabBar *tabs = reports->tabBar();
        QList<int> shown;
        for (int i = 1; i < reports->count(); ++i) {
            if (reports->isTabVisible(i))
                shown.append(i);
        }
        QVERIFY(shown.size() >= 2);
        auto *splitter = gui.find<QSplitter>(QStringLiteral("SplitterSeiten"));
        QVERIFY(!splitter->childrenCollapsible());
        QVERIFY(splitter->handleWidth() >= 5);

        const int usable = 150;
        // The first press switches to the page, the next ones collapse and enlarge it.
        for (int press = 0; press < 5; ++press) {
            const int tab = shown[0];
            const QPoint at = tabs->tabRect(tab).center();
            const QPoint before = tabs->mapToGlobal(at);
            QTest::mouseClick(tabs, Qt::LeftButton, {}, at);
            QApplication::processEvents();
            QCOMPARE(tabs->mapToGlobal(at), before);
            QCOMPARE(tabs->tabAt(at), tab);
            QVERIFY2(details->isVisible() && details->height() >= usable,
                qPrintable(QString::number(details->height())));
            QVERIFY(details->tabBar()->isVisible());
        }
        // Collapsed, enlarged, collapsed, enlarged: a second press collapses again.
        QVERIFY(reports->height() > 121);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(shown[0]).center());
        QCOMPARE(reports->height(), 121);
    }

    // Going through the lower pages keeps their height, enlarged or collapsed; a press
    // on the active tab, or a double click on another one, enlarges or collapses them.
    void anotherReportTabKeepsTheHeight()
    {
        GuiHarness gui;
        gui.main->resize(1366, 768);
        gui.main->show();
        gui.main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora"));
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        QApplication::processEvents();
        ReportPagesWidget *reports = partOf<ReportPagesWidget>(*gui.main);
        QTabBar *tabs = reports->tabBar();
        QList<int> shown;
        for (int i = 1; i < reports->count(); ++i) {
            if (reports->isTabVisible(i))
                shown.append(i);
        }
        QVERIFY(shown.size() >= 3);
        const auto press = [&](int tab) {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
            QApplication::processEvents();
        };
        press(shown[0]);
        QCOMPARE(reports->currentIndex(), shown[0]);
        // Collapsed once and enlarged once, in either order.
        QList<int> heights;
        for (int round = 0; round < 2; ++round) {
            press(shown[0]);
            const int height = reports->height();
            heights.append(height);
            for (int tab : shown.mid(1)) {
                press(tab);
                QCOMPARE(reports->currentIndex(), tab);
                QCOMPARE(reports->height(), height);
            }
            press(shown[0]);
            QCOMPARE(reports->currentIndex(), shown[0]);
            QCOMPARE(reports->height(), height);
        }
        QVERIFY(heights.contains(121));
        QVERIFY(heights[0] != heights[1]);
        if (reports->height() > 121)
            press(shown[0]);
        QCOMPARE(reports->height(), 121);
        // Collapsed: a double click on another tab shows it enlarged.
        const int other = shown[1];
        const QPoint at = tabs->tabRect(other).center();
        QTest::mousePress(tabs, Qt::LeftButton, {}, at);
        QTest::mouseRelease(tabs, Qt::LeftButton, {}, at);
        QTest::mouseDClick(tabs, Qt::LeftButton, {}, at);
        QApplication::processEvents();
        QCOMPARE(reports->currentIndex(), other);
        QVERIFY(reports->height() > 121);
        // The template page, pressed first, keeps the height too.
        const int height = reports->height();
        QWidget *templatePage = reports->findChild<QWidget *>(QStringLiteral("TabSheetZugvorlage"));
        press(reports->indexOf(templatePage));
        QCOMPARE(reports->currentWidget(), templatePage);
        QCOMPARE(reports->height(), height);
    }

    // Taking back the only import leaves no unit of it in the list and no world map of
    // its regions on screen or in the cache.
    void undoOfTheOnlyImportShowsNothingOfIt()
    {
        GuiHarness gui;
        gui.main->show();
        gui.main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora"));
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        gui.main->getSekKoo(1, 2);
        QVERIFY(!gui.listRows(QStringLiteral("ListBox3")).isEmpty());
        auto *worldMap = gui.find<MapImage>(QStringLiteral("Image82"));
        QVERIFY(!worldMap->image().isNull());
        const QString cached = gui.session->worldMapFile(0);
        QVERIFY(QFileInfo::exists(cached));

        gui.prompter.yesNoAnswers.enqueue(true);
        gui.find<QAction>(QStringLiteral("ImportRueckgaengig1"))->trigger();
        QApplication::processEvents();
        QVERIFY2(gui.prompter.hasText(QStringLiteral("rückgängig gemacht")),
            qPrintable(gui.prompter.texts().join(u'\n')));
        QCOMPARE(gui.listRows(QStringLiteral("ListBox3")), QStringList());
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("Edit29"))->text(), QString());
        QVERIFY(gui.session->mapState().worldMap().isNull());
        QVERIFY(worldMap->image().isNull());
        QVERIFY(!QFileInfo::exists(cached));
        // A click where the map was shows no region of the import.
        gui.main->getSekKoo(1, 2);
        QCOMPARE(gui.listRows(QStringLiteral("ListBox3")), QStringList());
    }

    // Another region shown with no unit selected there: the unit view shows no unit.
    void unitViewIsEmptiedByAnotherRegion()
    {
        ViewGui gui;
        twoLevels(gui);
        gui.open();
        gui.main->getSekKoo(0, 0);
        gui.selectUnitRow(QStringLiteral("rs")); // 1000 is "rs" in base 36
        QCOMPARE(gui.text(QStringLiteral("Edit29")), QStringLiteral("16")); // 42 in base 36
        QVERIFY(gui.find<QLineEdit>(QStringLiteral("DBEdit23"))->isEnabled());
        gui.main->getSekKoo(1, 0);
        QCOMPARE(gui.text(QStringLiteral("Edit29")), QString());
        QCOMPARE(gui.text(QStringLiteral("DBEdit22")), QString());
        QVERIFY(!gui.find<QLineEdit>(QStringLiteral("DBEdit23"))->isEnabled());
        QVERIFY(!gui.find<QPlainTextEdit>(QStringLiteral("DBMemo1"))->isEnabled());
    }

    // A mark set in the order editor shows in the unit list at once.
    void markShowsInTheUnitList()
    {
        GuiHarness gui;
        gui.main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora"));
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        gui.main->getSekKoo(1, 2);
        QListView *list = gui.find<QListView>(QStringLiteral("ListBox3"));
        const auto rowOf = [&](const QString &id) {
            const QList<ListEntry> &rows = partOf<UnitsPage>(*gui.main)->entries();
            for (int r = 0; r < rows.size(); ++r) {
                if (rows[r].text.contains(id))
                    return r;
            }
            return -1;
        };
        const int row = rowOf(QStringLiteral("(3my)"));
        QVERIFY(row >= 0);
        UnitsPage *units = partOf<UnitsPage>(*gui.main);
        QVERIFY(!units->entries().at(row).text.contains(u'*'));
        units->selectEntry(row);
        units->ListBox3DblClick();
        OrderEditorWindow *editor = gui.main->windows().orderEditor;
        QTest::mouseClick(
            editor->findChild<QCheckBox *>(QStringLiteral("CheckBox1")), Qt::LeftButton);
        QTest::mouseClick(
            editor->findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
        QCOMPARE(rowOf(QStringLiteral("(3my)")), row);
        QVERIFY2(units->entries().at(row).text.contains(u'*'),
            qPrintable(units->entries().at(row).text));
        QCOMPARE(list->currentIndex().row(), row);
    }

    // After a level switch the small map, its title and the pages show that level.
    void levelSwitchRedrawsTheViews()
    {
        ViewGui gui;
        twoLevels(gui);
        gui.open();
        gui.main->getSekKoo(0, 0);
        QVERIFY2(gui.title().contains(QStringLiteral("Weidenau")), qPrintable(gui.title()));
        const QImage surface = gui.smallMap()->image();
        gui.find<QLabel>(QStringLiteral("StatusPanel2"))->setText(QStringLiteral("Weidenau (0/0)"));

        gui.switchLevel(1);
        QCOMPARE(gui.state().level(), 1);
        QVERIFY(gui.smallMap()->image() != surface);
        QCOMPARE(gui.smallMap()->image(), gui.state().smallMap());
        QVERIFY2(gui.title().contains(QStringLiteral("Tiefmoor")), qPrintable(gui.title()));
        QVERIFY(!gui.find<QLabel>(QStringLiteral("StatusPanel2"))->text().contains(u"Weidenau"));

        gui.switchLevel(0);
        QCOMPARE(gui.smallMap()->image(), surface);
        QVERIFY2(gui.title().contains(QStringLiteral("Weidenau")), qPrintable(gui.title()));
    }

    // The history lists the turns of the shown level only.
    void historyListsTheShownLevel()
    {
        ViewGui gui;
        twoLevels(gui);
        gui.statistics(0, 0, 0, 704, 100);
        gui.statistics(0, 0, 0, 705, 110);
        gui.statistics(0, 0, 1, 705, 999);
        gui.open();
        gui.main->getSekKoo(0, 0);
        auto *grid = gui.find<QTableView>(QStringLiteral("StringGrid1"));
        QCOMPARE(grid->model()->rowCount(), 2);
        for (int r = 0; r < 2; ++r) {
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                QVERIFY(grid->model()->index(r, c).data().toString() != QStringLiteral("999"));
        }
    }

    // A region entered by hand is shown: the small map drawn around it, title and pages
    // agree, and a click hits the region drawn under it.
    void savedRegionIsShown()
    {
        ViewGui gui;
        twoLevels(gui);
        gui.open();
        const QImage before = gui.smallMap()->image();
        auto *dialog = gui.main->windows().regionEntry;
        dialog->open();
        dialog->findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("20"));
        dialog->findChild<QLineEdit *>(QStringLiteral("Edit3"))->setText(QStringLiteral("30"));
        dialog->findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("Neuland"));
        QTest::mouseClick(
            dialog->findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
        QCOMPARE(gui.state().currentPosition(), QPoint(20, 30));
        QVERIFY(gui.smallMap()->image() != before);
        QCOMPARE(gui.smallMap()->image(), gui.state().smallMap());
        QVERIFY2(gui.title().contains(QStringLiteral("Neuland")), qPrintable(gui.title()));
        QCOMPARE(gui.state().selectedRegion(), std::optional<Position>({20, 30, 0}));
    }

    // The search box finds units by number and name and regions by name and x/y, and
    // jumps there: level, maps, marker and pages.
    void searchJumpsToUnitsAndRegions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("region");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("unitPage"); // the faction box on "Einheiten", or none
        QTest::newRow("unit number")
            << QStringLiteral("RS") << QPoint(2, -1) << 1 << QStringLiteral("16");
        QTest::newRow("part of a unit name, any case")
            << QStringLiteral("KUNDSCHAFT") << QPoint(2, -1) << 1 << QStringLiteral("16");
        QTest::newRow("part of a region name")
            << QStringLiteral("moor") << QPoint(0, 0) << 1 << QString();
        QTest::newRow("x/y on the shown level")
            << QStringLiteral("3/ -2") << QPoint(3, -2) << 0 << QString();
        QTest::newRow("x/y/level") << QStringLiteral("-1/2/1") << QPoint(-1, 2) << 1 << QString();
    }
    void searchJumpsToUnitsAndRegions()
    {
        QFETCH(QString, text);
        QFETCH(QPoint, region);
        QFETCH(int, level);
        QFETCH(QString, unitPage);
        ViewGui gui;
        twoLevels(gui);
        gui.exec(QStringLiteral("DELETE FROM einheiten"), {});
        gui.rows().unit(1000, QStringLiteral("2/-1/1"),
            {{QStringLiteral("Einheit Name"), QStringLiteral("Kundschafter")},
                {QStringLiteral("Partei Nr"), MapGame::kFaction}});
        gui.open();
        gui.render();
        QVERIFY(QTest::qWaitForWindowActive(gui.main.get()));
        QTest::keyClick(gui.main.get(), Qt::Key_K, Qt::ControlModifier);
        auto *box = gui.find<QLineEdit>(QStringLiteral("EditSuche"));
        QVERIFY(box->hasFocus());
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(gui.state().level(), level);
        QCOMPARE(
            gui.state().selectedRegion(), std::optional<Position>({region.x(), region.y(), level}));
        QCOMPARE(gui.state().currentPosition(), region);
        QVERIFY(gui.smallMap()->marker().has_value());
        auto *pages = partOf<DetailPages>(*gui.main);
        if (unitPage.isEmpty()) {
            QCOMPARE(pages->currentWidget(), pages->findChild<RegionInfoPage *>());
        } else {
            QCOMPARE(pages->currentWidget(), pages->findChild<UnitsPage *>());
            QCOMPARE(gui.text(QStringLiteral("Edit29")), unitPage);
        }
    }

    // Several hits are offered in a list; choosing one jumps there.
    void severalHitsAreOffered()
    {
        ViewGui gui;
        twoLevels(gui);
        gui.open();
        auto *box = gui.find<QLineEdit>(QStringLiteral("EditSuche"));
        box->setText(QStringLiteral("E")); // Weidenau and Tiefmoor
        QTest::keyClick(box, Qt::Key_Return);
        auto *results = gui.find<QMenu>(QStringLiteral("MenuSuchergebnisse"));
        QStringList texts;
        for (QAction *action : results->actions())
            texts.append(action->text());
        QCOMPARE(texts,
            QStringList({QStringLiteral("Region Weidenau (0/0)"),
                QStringLiteral("Region Tiefmoor (0/0/1)")}));
        results->actions().at(1)->trigger();
        QCOMPARE(gui.state().level(), 1);
        QVERIFY2(gui.title().contains(QStringLiteral("Tiefmoor")), qPrintable(gui.title()));

        box->setText(QStringLiteral("Nirgendwo"));
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(gui.main->statusBar()->currentMessage().contains(QStringLiteral("Nirgendwo")));
        QCOMPARE(gui.state().level(), 1);
    }

    // Selecting through the map state is all it takes: the level, both maps and their
    // markers, the caption, the status bar, the region pages and the unit list follow
    // it, each once.
    void everyViewFollowsTheSelection()
    {
        ViewGui gui;
        twoLevels(gui);
        gui.open();
        gui.render();
        MapState &state = gui.session->mapState();
        auto *pages = partOf<DetailPages>(*gui.main);
        MapImage *world = gui.find<MapImage>(QStringLiteral("Image82"));
        QSignalSpy shown(pages, &DetailPages::regionShown);
        QSignalSpy captions(&state, &MapState::regionCaptionChanged);
        QSignalSpy levels(&state, &MapState::levelChanged);
        QSignalSpy smallMaps(&state, &MapState::smallMapChanged);

        // A jump: the other level shown and the maps brought to the region.
        state.selectRegion({0, 0, 1}, MapState::Move::Jump);
        QCOMPARE(state.level(), 1);
        QCOMPARE(state.currentPosition(), QPoint(0, 0));
        QVERIFY(world->marker());
        QVERIFY(gui.smallMap()->marker());
        QCOMPARE(gui.title(), QStringLiteral("Tiefmoor  0/0"));
        QCOMPARE(gui.find<QLabel>(QStringLiteral("StatusPanel0"))->text(), QStringLiteral("0/0"));
        QCOMPARE(pages->findChild<RegionInfoPage *>()->shownRegion(),
            std::optional<Position>({0, 0, 1}));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(captions.size(), 1);
        QCOMPARE(levels.size(), 1);

        // A pick leaves the maps where they stand; the pages and marker follow.
        shown.clear();
        smallMaps.clear();
        const std::optional<QRect> marked = gui.smallMap()->marker();
        state.selectRegion({1, 0, 1});
        QCOMPARE(state.currentPosition(), QPoint(0, 0));
        QCOMPARE(smallMaps.size(), 0);
        QVERIFY(gui.smallMap()->marker() && gui.smallMap()->marker() != marked);
        QCOMPARE(pages->findChild<RegionInfoPage *>()->shownRegion(),
            std::optional<Position>({1, 0, 1}));
        QVERIFY2(gui.title().endsWith(QStringLiteral("1/0")), qPrintable(gui.title()));
        QCOMPARE(shown.size(), 1);

        // A unit: its region jumped to, its row selected on "Einheiten".
        shown.clear();
        state.selectUnit({0, 0, 0}, 1000);
        QCOMPARE(state.level(), 0);
        QCOMPARE(state.selectedUnit(), std::optional<int>(1000));
        QCOMPARE(gui.title(), QStringLiteral("Weidenau  0/0"));
        QCOMPARE(pages->currentWidget(), pages->findChild<UnitsPage *>());
        const QModelIndex row = gui.find<QListView>(QStringLiteral("ListBox3"))->currentIndex();
        QVERIFY(row.isValid());
        QCOMPARE(row.row(), pages->findChild<UnitsPage *>()->rowOfUnit(1000));
        QCOMPARE(shown.size(), 1);
    }

    // The selected region is framed on both maps, where its cell is drawn.
    void selectedRegionIsMarkedOnBothMaps()
    {
        ViewGui gui;
        twoLevels(gui);
        gui.open();
        gui.render();
        MapImage *world = gui.find<MapImage>(QStringLiteral("Image82"));
        QVERIFY(!world->marker());
        // The cell of 1/1 on the world map (origin -3/-3, 56 pixels high).
        QTest::mouseClick(world, Qt::LeftButton, {}, QPoint(8 * 4 + 4 * 4 + 4, 56 - 8 * 5 + 4));
        QCOMPARE(gui.state().selectedRegion(), std::optional<Position>({1, 1, 0}));
        QVERIFY(world->marker());
        QCOMPARE(gui.session->mapState().worldMapSize().height(), 56);
        QCOMPARE(world->marker()->topLeft(), QPoint(8 * 4 + 4 * 4, 56 - 8 * 5));
        const std::optional<QRect> small = gui.smallMap()->marker();
        QVERIFY(small);
        // A click in the middle of the framed cell selects the same region.
        QTest::mouseClick(gui.smallMap(), Qt::LeftButton, {},
            (small->topLeft() + QPoint(14, 14)) * gui.smallMap()->zoom());
        QCOMPARE(gui.state().selectedRegion(), std::optional<Position>({1, 1, 0}));
    }

    // A zoomed world map and its layers are drawn at the new size, not as enlarged pixels.
    void zoomDrawsTheTilesAtTheNewSize()
    {
        ViewGui gui;
        twoLevels(gui);
        gui.ship(1, QStringLiteral("1/1"), MapGame::kFaction);
        gui.open();
        gui.render();
        QTest::mouseClick(gui.find<QToolButton>(QStringLiteral("ToolButton1")), Qt::LeftButton);
        MapImage *world = gui.find<MapImage>(QStringLiteral("Image82"));
        MapImage *ships = gui.find<MapImage>(QStringLiteral("Image3"));
        QVERIFY(!world->showsZoomedImage());
        gui.find<QAction>(QStringLiteral("Zoom4x"))->trigger();
        QCOMPARE(world->size(), QSize(80, 56) * 4);
        QVERIFY(world->showsZoomedImage());
        QVERIFY(ships->showsZoomedImage());
        const QImage enlarged
            = world->image().scaled(world->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QVERIFY(world->grab().toImage().convertToFormat(enlarged.format()) != enlarged);
        // The marker and the pointer still speak in unzoomed picture pixels.
        QTest::mouseClick(world, Qt::LeftButton, {}, QPoint(52, 20) * 4);
        QCOMPARE(gui.state().selectedRegion(), std::optional<Position>({1, 1, 0}));
        // Back at 100 % the plain picture is shown.
        gui.find<QAction>(QStringLiteral("Zoom1x"))->trigger();
        QVERIFY(!world->showsZoomedImage());
    }

    // Hilfe -> "Kurz Referenz" shows the guide's short reference.
    void quickReferenceShowsTheGuideSection()
    {
        ViewGui gui;
        gui.open();
        auto *action = gui.find<QAction>(QStringLiteral("KurzReferenz1"));
        QVERIFY(action->isEnabled());
        action->trigger();
        auto *text = gui.main->findChild<QTextBrowser *>(QStringLiteral("TextKurzReferenz"));
        QVERIFY(text && text->isVisible());
        QVERIFY(text->toPlainText().contains(QStringLiteral("Strg+K")));
        QVERIFY(!text->toPlainText().contains(QStringLiteral("Kommandozeile")));
    }

    // Ctrl+PgDown and Ctrl+PgUp turn the pages the focus is in, past hidden tabs.
    void ctrlPageKeysTurnPages()
    {
        ViewGui gui;
        twoLevels(gui);
        gui.open();
        QVERIFY(QTest::qWaitForWindowActive(gui.main.get()));
        DetailPages *pages = partOf<DetailPages>(*gui.main);
        pages->setCurrentWidget(pages->findChild<UnitsPage *>());
        QListView *list = gui.find<QListView>(QStringLiteral("ListBox3"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), 2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), 0);

        ReportPagesWidget *reports = partOf<ReportPagesWidget>(*gui.main);
        reports->setCurrentIndex(0);
        reports->tabBar()->setFocus();
        QTest::keyClick(reports->tabBar(), Qt::Key_PageDown, Qt::ControlModifier);
        QVERIFY(reports->currentIndex() > 0);
        QVERIFY(reports->isTabVisible(reports->currentIndex()));
        QCOMPARE(pages->currentIndex(), 0);
    }

    // "Spiel wechseln" shows the game selection; closing it returns to the open game.
    void switchingGameReturnsToTheSelection()
    {
        ViewGui gui;
        gui.open();
        QVERIFY(gui.session->game().isOpen());
        auto *selection = gui.main->windows().selection;
        QVERIFY(!selection->isVisible());
        gui.find<QAction>(QStringLiteral("SpielWechseln1"))->trigger();
        QVERIFY(selection->isVisible());
        QVERIFY(!gui.main->isEnabled());
        selection->reject();
        QCoreApplication::processEvents();
        QVERIFY(gui.main->isEnabled());
        QVERIFY(gui.session->game().isOpen());

        gui.find<QAction>(QStringLiteral("SpielWechseln1"))->trigger();
        QTest::mouseClick(
            selection->findChild<QPushButton *>(QStringLiteral("ButtonStart1")), Qt::LeftButton);
        QVERIFY(gui.main->isEnabled());
        QVERIFY(!selection->isVisible());
        QVERIFY(gui.session->game().isOpen());
    }

    // The road fields say which way each road leads.
    void roadFieldsHaveTooltips()
    {
        ViewGui gui;
        gui.open();
        const QStringList fields
            = {QStringLiteral("Strasse"), QStringLiteral("Strasse1"), QStringLiteral("Strasse2"),
                QStringLiteral("Strasse3"), QStringLiteral("Strasse4"), QStringLiteral("Strasse5")};
        QSet<QString> tips;
        for (QLineEdit *edit : partOf<RegionInfoPage>(*gui.main)->findChildren<QLineEdit *>()) {
            if (edit->toolTip().startsWith(QStringLiteral("Straße nach ")))
                tips.insert(edit->toolTip());
        }
        QCOMPARE(tips.size(), 6);
    }
};

QTEST_MAIN(TestGuiViews)
#include "test_gui_views.moc"
