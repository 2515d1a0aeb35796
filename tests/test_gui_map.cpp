#include "app/mapoperations.h"
#include "appwindows.h"
#include "guisupport.h"
#include "mainwindow.h"
#include "mapfixture.h"
#include "mapgui.h"
#include "mapimage.h"
#include "mappanel.h"
#include "selectiondialog.h"
#include "workbench.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// Regions 0..3 x 0..9 on level 0: a map 72 x 80 pixels with origin 0/0.
void addLevel0(MapGame &g)
{
    g.block(0, 3, 0, 9, 0, QStringLiteral("Ebene"));
    g.exec(QStringLiteral("UPDATE regionen SET \"Regionname\" = 'Weidenau' WHERE \"Breite\" = 0 "
                          "AND \"Länge\" = 0"),
        {});
}

} // namespace

class TestGuiMap : public QObject
{
    Q_OBJECT
private slots:
    void clickOnTheWorldMap_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::newRow("1x") << 1;
        QTest::newRow("3x") << 3;
    }
    void clickOnTheWorldMap()
    {
        QFETCH(int, zoom);
        MapGui gui;
        addLevel0(gui);
        gui.open();
        gui.render();
        QCOMPARE(gui.state().worldMapSize(), QSize(72, 80));
        gui.find<QAction>(QStringLiteral("Zoom%1x").arg(zoom))->trigger();
        QCOMPARE(gui.worldMap()->size(), QSize(72, 80) * zoom);

        // Pixel (3, 73) of the picture lies in the cell of 0/0.
        movePointer(gui.worldMap(), QPoint(3, 73) * zoom);
        QCOMPARE(gui.panel(1), QStringLiteral("0/0"));
        QCOMPARE(gui.panel(2), QStringLiteral("Weidenau (0/0)"));
        QTest::mouseClick(gui.worldMap(), Qt::LeftButton, {}, QPoint(3, 73) * zoom);
        QCOMPARE(gui.panel(0), QStringLiteral("0/0"));
        QCOMPARE(gui.state().currentPosition(), QPoint(0, 0));

        // Two rows up and one cell right: 1/2.
        QTest::mouseClick(gui.worldMap(), Qt::RightButton, {}, QPoint(19, 59) * zoom);
        QCOMPARE(gui.panel(0), QStringLiteral("1/2"));
        QCOMPARE(gui.state().currentPosition(), QPoint(1, 2));
    }

    void clickOnTheSmallMap_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<int>("minScale");
        QTest::newRow("1200 x 800") << QSize(1200, 800) << 1;
        // Room enough: the small map is shown at a larger whole-number scale.
        QTest::newRow("2000 x 1500") << QSize(2000, 1500) << 2;
    }
    void clickOnTheSmallMap()
    {
        QFETCH(QSize, window);
        QFETCH(int, minScale);
        MapGui gui;
        gui.setLine(Configuration::HomeX, QStringLiteral("10"));
        gui.setLine(Configuration::HomeY, QStringLiteral("10"));
        gui.open(window);
        gui.find<QLabel>(QStringLiteral("StatusPanel0"))->setText(QStringLiteral("vorher"));
        const int scale = gui.smallMap()->zoom();
        QVERIFY2(scale >= minScale, qPrintable(QString::number(scale)));
        QCOMPARE(gui.smallMap()->size(), QSize(261, 261) * scale);
        QTest::mouseClick(gui.smallMap(), Qt::LeftButton, {}, QPoint(116, 120) * scale);
        QCOMPARE(gui.panel(1), QStringLiteral("10/10"));
        // The top-left corner of the centre cell belongs to the row above: t = 10, y = 11,
        // u = 3 + 8 + 4 - 5.5, x = 9.
        movePointer(gui.smallMap(), QPoint(116, 116) * scale);
        QCOMPARE(gui.panel(1), QStringLiteral("9/11"));
        QCOMPARE(gui.panel(0), QStringLiteral("vorher"));
        QCOMPARE(gui.state().currentPosition(), QPoint(10, 10));
    }

    void arrowsAndKeysMoveTheSmallMap()
    {
        MapGui gui;
        gui.setLine(Configuration::HomeX, QStringLiteral("3"));
        gui.setLine(Configuration::HomeY, QStringLiteral("7"));
        gui.open();
        QTest::mouseClick(gui.find<QToolButton>(QStringLiteral("UpDown1Next")), Qt::LeftButton);
        QCOMPARE(gui.state().currentPosition(), QPoint(3, 16));
        QTest::mouseClick(gui.find<QToolButton>(QStringLiteral("UpDown2Prev")), Qt::LeftButton);
        QCOMPARE(gui.state().currentPosition(), QPoint(-6, 16));
        const QImage before = gui.smallMap()->image();
        gui.smallMap()->setFocus();
        QTest::keyClick(gui.smallMap(), Qt::Key_Down);
        QCOMPARE(gui.state().currentPosition(), QPoint(-6, 7));
        QTest::keyClick(gui.smallMap(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(gui.state().currentPosition(), QPoint(-5, 7));
        QCOMPARE(gui.smallMap()->image(), gui.state().smallMap());
        QVERIFY(before.size() == QSize(261, 261));
    }

    void ctrlWheelZoomsMapAndLayers()
    {
        MapGui gui;
        addLevel0(gui);
        gui.open();
        gui.render();
        QTest::mouseClick(gui.find<QToolButton>(QStringLiteral("ToolButton1")), Qt::LeftButton);
        QWheelEvent wheel(QPointF(10, 10), gui.worldMap()->mapToGlobal(QPointF(10, 10)), QPoint(),
            QPoint(0, 240), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(gui.worldMap(), &wheel);
        QCOMPARE(gui.worldMap()->zoom(), 3);
        QCOMPARE(gui.find<MapImage>(QStringLiteral("Image3"))->size(), QSize(72 * 3, 80 * 3));
        QVERIFY(gui.find<QAction>(QStringLiteral("Zoom3x"))->isChecked());
        // Past 4x nothing grows.
        QCoreApplication::sendEvent(gui.worldMap(), &wheel);
        QCOMPARE(gui.worldMap()->zoom(), 4);
        // The layer passes the pointer to the map below.
        QVERIFY(gui.find<MapImage>(QStringLiteral("Image3"))
                    ->testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    void overlayCaptions()
    {
        MapGui gui;
        addLevel0(gui);
        gui.ship(1, QStringLiteral("2/3"), MapGame::kFaction);
        gui.open();
        gui.render();
        auto *ships = gui.find<QToolButton>(QStringLiteral("ToolButton1"));
        auto *units = gui.find<QToolButton>(QStringLiteral("ToolButton2"));
        auto *messages = gui.find<QPushButton>(QStringLiteral("Button7"));
        auto *shipsLayer = gui.find<MapImage>(QStringLiteral("Image3"));
        auto *unitsLayer = gui.find<MapImage>(QStringLiteral("Image2"));
        auto *messagesLayer = gui.find<MapImage>(QStringLiteral("Image4"));
        QCOMPARE(ships->icon().actualSize(QSize(35, 35)), QSize(35, 35));

        QTest::mouseClick(ships, Qt::LeftButton);
        QCOMPARE(ships->toolTip(), QStringLiteral("Schiffe ausblenden"));
        QVERIFY(ships->isChecked());
        QVERIFY(shipsLayer->isVisible());
        QCOMPARE(shipsLayer->image().pixel(31, 51), OverlayColour::Red);
        QTest::mouseClick(ships, Qt::LeftButton);
        QCOMPARE(ships->toolTip(), QStringLiteral("Schiffe einblenden"));
        QVERIFY(!ships->isChecked());
        QVERIFY(!shipsLayer->isVisible());

        // No own unit of the newest turn: the layer shows, the hint stays.
        QTest::mouseClick(units, Qt::LeftButton);
        QCOMPARE(units->toolTip(), QStringLiteral("Einheiten einblenden"));
        QVERIFY(!units->isChecked());
        QVERIFY(unitsLayer->isVisible());

        QCOMPARE(messages->text(), QStringLiteral("Regionsmeldungen einblenden"));
        QTest::mouseClick(messages, Qt::LeftButton);
        QCOMPARE(messages->text(), QStringLiteral("Regionsmeldungen ausblenden"));
        QVERIFY(messagesLayer->isVisible());
        QTest::mouseClick(messages, Qt::LeftButton);
        QCOMPARE(messages->text(), QStringLiteral("Regionsmeldungen einblenden"));
        QVERIFY(!messagesLayer->isVisible());
        QVERIFY(messagesLayer->image().isNull());
    }

    void levelBox()
    {
        MapGui gui;
        addLevel0(gui);
        gui.level(0, QStringLiteral("Oberwelt"));
        gui.level(1, QStringLiteral("unbekannt"));
        gui.region(5, 5, 1, QStringLiteral("Sumpf"));
        gui.open();
        auto *list = gui.find<QComboBox>(QStringLiteral("DBLookupComboBox3"));
        auto *name = gui.find<QLineEdit>(QStringLiteral("DBEdit32"));
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0), QStringLiteral("0 – Oberwelt"));
        QCOMPARE(list->itemText(1), QStringLiteral("1 – unbekannt"));
        QCOMPARE(name->text(), QStringLiteral("Oberwelt"));
        list->setCurrentIndex(1);
        QCOMPARE(name->text(), QStringLiteral("unbekannt"));
        name->setText(QStringLiteral("Unterwelt"));
        emit name->editingFinished();
        QCOMPARE(MapOperations(*gui.session).levels().at(1).name, QStringLiteral("Unterwelt"));
        QCOMPARE(list->itemText(1), QStringLiteral("1 – Unterwelt"));

        QTest::mouseClick(gui.find<QPushButton>(QStringLiteral("Button9")), Qt::LeftButton);
        QCOMPARE(gui.state().level(), 1);
        QCOMPARE(gui.state().origin(), QPointF(5, 5));
        QCOMPARE(gui.worldMap()->image().size(), QSize(8, 8));
        QVERIFY(gui.find<QAction>(QStringLiteral("Inselkarteexportieren1"))->isEnabled());
    }

    // The overlays that are on show the marks of the level switched to, at once.
    void overlaysFollowTheLevel()
    {
        MapGui gui;
        addLevel0(gui);
        gui.level(0, QStringLiteral("Oberwelt"));
        gui.level(1, QStringLiteral("Unterwelt"));
        gui.block(5, 8, 5, 8, 1, QStringLiteral("Sumpf"));
        gui.ship(2, QStringLiteral("6/6/1"), MapGame::kFaction);
        gui.open();
        gui.render();
        QTest::mouseClick(gui.find<QToolButton>(QStringLiteral("ToolButton1")), Qt::LeftButton);
        auto *list = gui.find<QComboBox>(QStringLiteral("DBLookupComboBox3"));
        list->setCurrentIndex(list->findData(1));
        QTest::mouseClick(gui.find<QPushButton>(QStringLiteral("Button9")), Qt::LeftButton);
        QCOMPARE(gui.state().level(), 1);
        auto *ships = gui.find<MapImage>(QStringLiteral("Image3"));
        QVERIFY(ships->isVisible());
        QCOMPARE(ships->image().size(), gui.worldMap()->image().size());
        // The cell of 6/6 on a level of 5..8 x 5..8 has its corner at 12/16.
        QCOMPARE(ships->image().pixel(15, 19), OverlayColour::Red);
        QCOMPARE(gui.find<QToolButton>(QStringLiteral("ToolButton1"))->toolTip(),
            QStringLiteral("Schiffe ausblenden"));
    }

    // A jump (search, problem list, registers) puts the region in the middle of the
    // world map box as far as the map reaches, and the status bar names it.
    void jumpsCentreTheRegionAndNameIt()
    {
        MapGui gui;
        gui.block(0, 60, 0, 60, 0, QStringLiteral("Ebene"));
        gui.open(QSize(1024, 600));
        gui.render();
        QCoreApplication::processEvents();
        auto *box = gui.find<QScrollArea>(QStringLiteral("ScrollBox1"));
        auto *workbench = gui.find<Workbench>(QStringLiteral("SplitterMain"));
        MapPanel *panel = partOf<MapPanel>(*gui.main);
        for (const QPoint &target : {QPoint(30, 30), QPoint(45, 10), QPoint(10, 50)}) {
            workbench->showRegion({target.x(), target.y(), 0});
            QCoreApplication::processEvents();
            const QPoint centre = panel->worldCell(target.x(), target.y())->center();
            const QSize view = box->viewport()->size();
            QCOMPARE(box->horizontalScrollBar()->value(),
                std::clamp(
                    centre.x() - view.width() / 2, 0, box->horizontalScrollBar()->maximum()));
            QCOMPARE(box->verticalScrollBar()->value(),
                std::clamp(centre.y() - view.height() / 2, 0, box->verticalScrollBar()->maximum()));
            const QString place = QStringLiteral("%1/%2").arg(target.x()).arg(target.y());
            QCOMPARE(gui.panel(0), place);
            QCOMPARE(gui.panel(1), place);
        }
    }

    // Zooming from the menu keeps the selected region where it is in the box.
    void zoomKeepsTheSelectedRegionInView()
    {
        MapGui gui;
        gui.block(0, 60, 0, 60, 0, QStringLiteral("Ebene"));
        gui.open(QSize(1024, 600));
        gui.render();
        QCoreApplication::processEvents();
        auto *box = gui.find<QScrollArea>(QStringLiteral("ScrollBox1"));
        gui.find<Workbench>(QStringLiteral("SplitterMain"))->showRegion({30, 30, 0});
        QCoreApplication::processEvents();
        // A region off the middle, chosen by a click.
        QWidget *viewport = box->viewport();
        const QPoint inView(viewport->width() / 2 + viewport->width() * 2 / 5,
            viewport->height() / 2 + viewport->height() / 3);
        QTest::mouseClick(
            gui.worldMap(), Qt::LeftButton, {}, gui.worldMap()->mapFrom(viewport, inView));
        const std::optional<Position> selected = gui.state().selectedRegion();
        QVERIFY(selected);
        const auto shownAt = [&] {
            const QRect cell = *partOf<MapPanel>(*gui.main)->worldCell(selected->x, selected->y);
            return gui.worldMap()->mapTo(viewport, cell.center() * gui.worldMap()->zoom());
        };
        const QPoint before = shownAt();
        for (int zoom = 2; zoom <= 3; ++zoom) {
            gui.find<QAction>(QStringLiteral("ZoomIn1"))->trigger();
            QCoreApplication::processEvents();
            QCOMPARE(gui.worldMap()->zoom(), zoom);
            const QPoint after = shownAt();
            QVERIFY2(QRect(QPoint(0, 0), viewport->size()).contains(after),
                qPrintable(QStringLiteral("%1,%2").arg(after.x()).arg(after.y())));
            QVERIFY2((after - before).manhattanLength() <= 2 * zoom,
                qPrintable(QStringLiteral("%1,%2 before %3,%4")
                               .arg(after.x())
                               .arg(after.y())
                               .arg(before.x())
                               .arg(before.y())));
        }
    }

    void openingScrollsToTheMiddle()
    {
        MapGui gui;
        QImage map(900, 450, QImage::Format_RGB32);
        map.fill(Qt::darkGreen);
        QDir().mkpath(gui.imagesPath(QString()));
        QVERIFY(map.save(gui.imagesPath(QStringLiteral("worldmap-1.bmp")), "BMP"));
        gui.open();
        gui.main->resize(900, 700);
        QCoreApplication::processEvents();
        auto *box = gui.find<QScrollArea>(QStringLiteral("ScrollBox1"));
        QCOMPARE(box->horizontalScrollBar()->value(),
            std::min(400, box->horizontalScrollBar()->maximum()));
        QCOMPARE(
            box->verticalScrollBar()->value(), std::min(200, box->verticalScrollBar()->maximum()));
        QVERIFY(box->horizontalScrollBar()->value() > 0);
        // On a window this low the box gives up height so that the small map and its
        // arrows are seen whole.
        QVERIFY(box->width() >= 281 && box->height() >= 110);
        for (const char *name : {"Image1", "UpDown2"}) {
            const QWidget *w = gui.find<QWidget>(QString::fromLatin1(name));
            QVERIFY2(w->visibleRegion().boundingRect() == w->rect(), name);
        }
    }
};

QTEST_MAIN(TestGuiMap)
#include "test_gui_map.moc"
