#include "app/routeplanner.h"
#include "desktopsettings.h"
#include "detailpages.h"
#include "guisupport.h"
#include "mapgui.h"
#include "mappanel.h"
#include "orders/ordertemplate.h"
#include "routelayer.h"
#include "unitspage.h"

#include <QAction>
#include <QCheckBox>
#include <QListView>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// Level 0: plains 0/0 ... 3/0 and 5/0 with the unknown 4/0 between them, the ocean 0/1
// above the start and plains 1/1 ... 3/1; level 1 has 0/0. The own walking unit 100
// ("2s") stands on 0/0 and has a block in the template with a NACH line.
struct RouteGui : MapGui
{
    RouteGui()
    {
        block(0, 3, 0, 0, 0, QStringLiteral("Ebene"));
        region(5, 0, 0, QStringLiteral("Ebene"));
        region(0, 1, 0, QStringLiteral("Ozean"));
        block(1, 3, 1, 1, 0, QStringLiteral("Ebene"));
        region(0, 0, 1, QStringLiteral("Ebene"));
        rows().unit(100, QStringLiteral("0/0"),
            {{QStringLiteral("Partei Nr"), kFaction},
                {QStringLiteral("Einheit Name"), QStringLiteral("Späher")},
                {QStringLiteral("Personen"), 1}});
        open();
        render();
        session->orderTemplate().setLines(
            {regionHeaderLine(0, 0, std::nullopt, QStringLiteral("Heide")),
                unitHeaderLine(
                    QStringLiteral("2s"), QStringLiteral("Späher"), 1, 0, QStringLiteral("]")),
                QStringLiteral("    ARBEITE"), QStringLiteral("    NACH w"), QString()});
        session->orderTemplate().setSaved(true);
        panel = partOf<MapPanel>(*main);
        // The unit chosen as a player does: its region clicked, its line of the list.
        clickWorld(0, 0);
        auto *list = find<QListView>(QStringLiteral("ListBox3"));
        const int row = partOf<UnitsPage>(*main)->rowOfUnit(100);
        if (row < 0)
            qWarning("unit 2s not listed");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
            list->visualRect(list->model()->index(row, 0)).center());
    }

    QPoint cellCentre(int x, int y) const { return panel->worldCell(x, y)->center(); }
    // The centre of a region's cell on the small map, in its widget's pixels.
    QPoint smallCentre(int x, int y) const
    {
        const QPoint centre = state().currentPosition();
        for (int row = 1; row <= kSmallMapRows; ++row) {
            for (int cell = 1; cell <= smallMapCellCount(row); ++cell) {
                if (smallCellRegion(centre.x(), centre.y(), row, cell) == RegionCoord {x, y})
                    return (smallCellCorner(row, cell) + QPoint(14, 14)) * smallMap()->zoom();
            }
        }
        qWarning("%d/%d not on the small map", x, y);
        return {};
    }
    void pointAt(int x, int y) { movePointer(worldMap(), cellCentre(x, y)); }
    void clickWorld(int x, int y)
    {
        QTest::mouseClick(worldMap(), Qt::LeftButton, {}, cellCentre(x, y));
    }
    void startTool() { find<QAction>(QStringLiteral("WegPlanen1"))->trigger(); }
    QString travelText() const { return find<QLabel>(QStringLiteral("LabelReisezeit"))->text(); }
    QString statusMessage() const { return main->statusBar()->currentMessage(); }
    QStringList templateLines() const { return session->orderTemplate().lines(); }

    MapPanel *panel = nullptr;
};

// The cells of the way as the layer holds them.
QList<QPoint> pathCells(const RouteGui &gui, const QList<QPoint> &regions)
{
    QList<QPoint> cells;
    for (const QPoint &r : regions)
        cells.append(gui.cellCentre(r.x(), r.y()));
    return cells;
}

} // namespace

class TestGuiRoute : public QObject
{
    Q_OBJECT
private slots:
    // The way follows the pointer on both maps, with its travel time; a click keeps it,
    // and off the map the kept way is shown again.
    void theWayFollowsThePointerAndAClickKeepsIt()
    {
        RouteGui gui;
        QCOMPARE(gui.panel->routePlanner().unit(), 100);
        gui.startTool();
        QCOMPARE(gui.panel->tool(), MapPanel::Tool::Route);

        gui.pointAt(3, 0);
        QCOMPARE(gui.travelText(), QStringLiteral("Reisezeit: 3 Runden (3 Regionen)"));
        QVERIFY(!gui.find<QLabel>(QStringLiteral("LabelReisezeit"))->isHidden());
        QVERIFY(!gui.find<QPushButton>(QStringLiteral("ButtonInBefehle"))->isHidden());
        const RouteLayer &world = gui.panel->worldRouteLayer();
        QCOMPARE(QList<QPoint>(world.path().begin(), world.path().end()),
            pathCells(gui, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
        // A walker covers one region a turn: every region ends a turn, the last says 3.
        QCOMPARE(world.turnEnds().size(), 3);
        QCOMPARE(world.turnEnds().last().turn, 3);
        // The small map shows the same way in its own cells.
        QCOMPARE(gui.panel->smallRouteLayer().path().size(), 4);
        // The layer is drawn: the way's red lies between the cells of 1/0 and 2/0.
        const auto redBetween = [&gui](const QImage &shown) {
            const QPoint from = gui.cellCentre(1, 0);
            for (int x = from.x(); x <= gui.cellCentre(2, 0).x(); ++x) {
                const QColor c = shown.pixelColor(x, from.y());
                if (c.red() > 120 && c.green() < 60 && c.blue() < 60)
                    return true;
            }
            return false;
        };
        QVERIFY(redBetween(gui.worldMap()->grab().toImage()));

        gui.clickWorld(3, 0);
        gui.pointAt(2, 1);
        QCOMPARE(gui.travelText(), QStringLiteral("Reisezeit: 3 Runden (3 Regionen)"));
        QCOMPARE(gui.panel->routePlanner().preview()->target, (RegionCoord {2, 1}));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(gui.worldMap(), &leave);
        QCOMPARE(gui.panel->routePlanner().shown()->target, (RegionCoord {3, 0}));
        QCOMPARE(world.path().size(), 4);
        QVERIFY(redBetween(gui.worldMap()->grab().toImage()));
    }

    // On the small map the pointer plans the same way, and a click there keeps it.
    void theSmallMapPlansToo()
    {
        RouteGui gui;
        gui.startTool();
        movePointer(gui.smallMap(), gui.smallCentre(2, 1));
        QCOMPARE(gui.travelText(), QStringLiteral("Reisezeit: 3 Runden (3 Regionen)"));
        QCOMPARE(gui.panel->smallRouteLayer().path().size(), 4);
        QCOMPARE(gui.panel->worldRouteLayer().path().size(), 4);
        QTest::mouseClick(gui.smallMap(), Qt::LeftButton, {}, gui.smallCentre(2, 1));
        QCOMPARE(gui.panel->routePlanner().kept()->target, (RegionCoord {2, 1}));
        // The tool chooses no region: the small map stays where it was.
        QCOMPARE(gui.state().currentPosition(), QPoint(0, 0));
    }

    // "Unbekannte Regionen erlauben" is kept for the slot and set again when the game
    // opens anew.
    void theOptionIsKeptForTheSlot()
    {
        QTemporaryDir settings;
        DesktopSettings::setFile(settings.filePath(QStringLiteral("tolvimar.conf")));
        {
            RouteGui gui;
            auto *option = gui.find<QCheckBox>(QStringLiteral("CheckBoxUnbekannteRegionen"));
            QVERIFY(!option->isChecked());
            QTest::mouseClick(option, Qt::LeftButton);
        }
        {
            RouteGui gui;
            QVERIFY(gui.find<QCheckBox>(QStringLiteral("CheckBoxUnbekannteRegionen"))->isChecked());
            QVERIFY(gui.panel->unknownRegionsAllowed());
        }
        DesktopSettings::setFile(QString());
    }

    // "In die Befehle übernehmen" puts the NACH line in place of the old one as one step
    // that Ctrl+Z in the template takes back.
    void takingTheWayWritesNachAndUndoTakesItBack()
    {
        RouteGui gui;
        QPlainTextEdit *editor = templateEditor(*gui.main);
        const QStringList before = gui.templateLines();
        gui.startTool();
        gui.pointAt(3, 0);
        gui.clickWorld(3, 0);
        QTest::mouseClick(gui.find<QPushButton>(QStringLiteral("ButtonInBefehle")), Qt::LeftButton);
        QStringList expected = before;
        expected[3] = QStringLiteral("    NACH o o o");
        QCOMPARE(gui.templateLines(), expected);
        QCOMPARE(editor->toPlainText(), expected.join(u'\n'));
        QVERIFY(!gui.session->orderTemplate().isSaved());
        QVERIFY(gui.statusMessage().contains(QStringLiteral("NACH o o o")));

        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(gui.templateLines(), before);
        gui.session->orderTemplate().setSaved(true);
    }

    // Without a way the tool says why, and nothing is offered to write.
    void noWaySaysWhy_data()
    {
        QTest::addColumn<QPoint>("target");
        QTest::addColumn<QString>("text");
        QTest::newRow("ocean") << QPoint(0,
            1) << QStringLiteral("Kein Weg: 0/1 ist Ozean, dorthin kann die Einheit nicht gehen.");
        QTest::newRow("unknown") << QPoint(4, 0)
                                 << QStringLiteral("Kein Weg: die Region 4/0 ist unbekannt.");
        QTest::newRow("shut off") << QPoint(5, 0)
                                  << QStringLiteral(
                                         "Kein Weg von 0/0 nach 5/0: alle Wege sind "
                                         "versperrt durch Ozean und unbekannte Regionen.");
    }
    void noWaySaysWhy()
    {
        QFETCH(QPoint, target);
        QFETCH(QString, text);
        RouteGui gui;
        gui.startTool();
        gui.pointAt(target.x(), target.y());
        QCOMPARE(gui.travelText(), text);
        QCOMPARE(gui.statusMessage(), text);
        QVERIFY(gui.panel->worldRouteLayer().path().isEmpty());
        QVERIFY(
            !gui.find<QPushButton>(QStringLiteral("ButtonInBefehle"))->isVisibleTo(gui.main.get()));
    }

    void anotherLevelSaysSo()
    {
        RouteGui gui;
        gui.startTool();
        partOf<MapPanel>(*gui.main)->showRegion(0, 0, 1);
        gui.render();
        gui.pointAt(0, 0);
        QCOMPARE(gui.travelText(),
            QStringLiteral("Kein Weg: 0/0/1 liegt auf einer anderen Ebene als die Einheit (0/0)."));
    }

    // "Unbekannte Regionen erlauben" lets the way cross 4/0 at the cost of a step.
    void theOptionCrossesUnknownRegions()
    {
        RouteGui gui;
        gui.startTool();
        gui.pointAt(5, 0);
        QVERIFY(gui.travelText().startsWith(QStringLiteral("Kein Weg")));
        QTest::mouseClick(
            gui.find<QCheckBox>(QStringLiteral("CheckBoxUnbekannteRegionen")), Qt::LeftButton);
        QVERIFY(gui.panel->unknownRegionsAllowed());
        gui.pointAt(5, 0);
        QCOMPARE(gui.travelText(), QStringLiteral("Reisezeit: 5 Runden (5 Regionen)"));
        QCOMPARE(gui.panel->worldRouteLayer().path().size(), 6);
    }

    // With the select tool again a click chooses a region, and no way follows the pointer.
    void theSelectToolComesBack()
    {
        RouteGui gui;
        gui.startTool();
        QTest::keyClick(gui.main.get(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(gui.panel->tool(), MapPanel::Tool::Select);
        QVERIFY(!gui.find<QAction>(QStringLiteral("WegPlanen1"))->isChecked());
        gui.pointAt(3, 0);
        QVERIFY(gui.panel->worldRouteLayer().path().isEmpty());
        gui.clickWorld(2, 1);
        QCOMPARE(gui.state().currentPosition(), QPoint(2, 1));
    }
};

QTEST_MAIN(TestGuiRoute)
#include "test_gui_route.moc"
