#include "armypage.h"
#include "base/identifiers.h"
#include "base/position.h"
#include "db/database.h"
#include "detailpages.h"
#include "gamefixture.h"
#include "groupingspage.h"
#include "guisupport.h"
#include "mainwindow.h"
#include "reportgrid.h"
#include "reportpageswidget.h"
#include "shipregisterpage.h"
#include "unitspage.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// The fixture's own units of turn 404, as identifier text.
const QString kWoodcutter = QStringLiteral("3mw"); // 12 persons, "120 2" Bogenschießen
const QString kBaker = QStringLiteral("3mx"); // 3 persons

struct Gui : GuiHarness
{
    Gui()
    {
        main->resize(1400, 1100);
        main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora"));
        importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        pages = partOf<DetailPages>(*main);
    }

    int rowOf(ReportGrid *grid, int column, const QString &text) const
    {
        for (int r = 0; r < grid->rowCount(); ++r) {
            if (grid->rowTexts(r).value(column) == text)
                return r;
        }
        return -1;
    }
    QPoint cellCentre(ReportGrid *grid, int row, int column) const
    {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }
    // A double click as a user makes it: a click, then the second press.
    void doubleClickCell(ReportGrid *grid, int row, int column) const
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, row, column));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, row, column));
    }
    QString storedGroup(const QString &numberText) const
    {
        const QVariant stored = queryValue(session->database(),
            QStringLiteral(
                "SELECT \"Gruppe\" FROM einheiten WHERE \"Spiel\" = 1 AND \"Einheit Nr\" = ?"),
            {strToId(numberText, 36)});
        return stored.isValid() ? stored.toString() : QStringLiteral("<none>");
    }

    DetailPages *pages = nullptr;
};

} // namespace

class TestGuiMilitary : public QObject
{
    Q_OBJECT
private slots:
    void datesAreTheNewestTurnAfterTheImport()
    {
        Gui gui;
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("EditInfoDatumGruppierungen"))->text(),
            QStringLiteral("404"));
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("EditInfoDatumSchiffsregister"))->text(),
            QStringLiteral("404"));
        QStringList captions;
        for (int i = 0; i < gui.pages->count(); ++i)
            captions.append(gui.pages->tabText(i));
        for (const char *caption : {"Armee Info", "Gruppierungen", "Schiffsregister"})
            QVERIFY(captions.contains(QString::fromUtf8(caption)));
        // The faction choice offers all (-2) and the factions the report named.
        auto *factions = gui.find<QComboBox>(QStringLiteral("DBLookupComboBoxPartei"));
        QCOMPARE(factions->itemText(0), QStringLiteral("Alle"));
        QVERIFY(factions->findText(QStringLiteral("Die Grauen Falken")) > 0);
        QCOMPARE(
            gui.find<QLineEdit>(QStringLiteral("DBEditParteiNr"))->text(), QStringLiteral("-2"));
        factions->setCurrentIndex(factions->findText(QStringLiteral("Die Grauen Falken")));
        QCOMPARE(
            gui.find<QLineEdit>(QStringLiteral("DBEditParteiNr"))->text(), QStringLiteral("4711"));
    }

    // The number -2 that stands for all factions says so beside it, on both pages.
    void allFactionsAreNamedBesideTheirNumber_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("note");
        QTest::newRow("Gruppierungen") << "DBLookupComboBoxPartei"
                                       << "DBEditParteiNr"
                                       << "LabelAlleParteien";
        QTest::newRow("Schiffsregister") << "DBLookupComboBoxParteiSchiffe"
                                         << "DBEditParteiNrSchiffe"
                                         << "LabelAlleParteienSchiffe";
    }
    void allFactionsAreNamedBesideTheirNumber()
    {
        QFETCH(QString, choice);
        QFETCH(QString, number);
        QFETCH(QString, note);
        Gui gui;
        gui.pages->setCurrentWidget(gui.pages->findChild<GroupingsPage *>());
        auto *factions = gui.find<QComboBox>(choice);
        auto *label = gui.find<QLabel>(note);
        QVERIFY(label);
        QCOMPARE(gui.find<QLineEdit>(number)->text(), QStringLiteral("-2"));
        QCOMPARE(label->text(), QStringLiteral("alle Parteien"));
        factions->setCurrentIndex(factions->findText(QStringLiteral("Die Grauen Falken")));
        QCOMPARE(gui.find<QLineEdit>(number)->text(), QStringLiteral("4711"));
        QCOMPARE(label->text(), QString());
        factions->setCurrentIndex(0);
        QCOMPARE(label->text(), QStringLiteral("alle Parteien"));
    }

    // A click on " X/Y" sorts the units by level, then x, then y, not as texts.
    void positionsSortByLevelXAndY()
    {
        Gui gui;
        GameRows rows(gui.session->database(), 1, 404);
        int number = 90000;
        for (const char *at : {"-1/5", "-12/4/1", "-14/-13", "10/0", "9/0", "-12/4"})
            rows.unit(++number, QString::fromLatin1(at),
                {{QStringLiteral("Einheit Name"), QStringLiteral("Wache")},
                    {QStringLiteral("Partei Nr"), 4711}, {QStringLiteral("Personen"), 1}});
        gui.pages->setCurrentWidget(gui.pages->findChild<GroupingsPage *>());
        gui.pages->findChild<GroupingsPage *>()->Gruppierungen();
        auto *grid = gui.find<ReportGrid>(QStringLiteral("StringGrid4"));
        const QHeaderView *header = grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
        QStringList shown;
        for (int r = 0; r < grid->rowCount(); ++r) {
            const QString at = grid->rowTexts(r).value(1);
            if (QStringList {"-1/5", "-12/4/1", "-14/-13", "10/0", "9/0", "-12/4"}.contains(at))
                shown.append(at);
        }
        QCOMPARE(shown, (QStringList {"-14/-13", "-12/4", "-1/5", "9/0", "10/0", "-12/4/1"}));
        const auto key = [](const QString &text) {
            const Position p = parsePosition(text).value_or(Position {});
            return std::tuple(p.level, p.x, p.y);
        };
        for (int r = 1; r < grid->rowCount(); ++r)
            QVERIFY(key(grid->rowTexts(r - 1).value(1)) <= key(grid->rowTexts(r).value(1)));
    }

    void aRightClickAssignsTheGroupAndTheArmyReportFindsTheUnit()
    {
        Gui gui;
        gui.pages->setCurrentWidget(gui.pages->findChild<GroupingsPage *>());
        QTest::mouseClick(
            gui.find<QPushButton>(QStringLiteral("ButtonBerichtGruppen")), Qt::LeftButton);
        QVERIFY2(gui.prompter.log.isEmpty(), qPrintable(gui.prompter.texts().join(u'\n')));
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("EditAnzahl"))->text(), QStringLiteral("5"));
        auto *grid = gui.find<ReportGrid>(QStringLiteral("StringGrid4"));
        QCOMPARE(grid->rowCount(), 5);
        const int row = gui.rowOf(grid, 3, kWoodcutter);
        QVERIFY(row >= 0);
        QCOMPARE(grid->rowTexts(row).value(0), QStringLiteral("Keine"));
        auto *menu = gui.find<QMenu>(QStringLiteral("PopupMenuGruppe"));

        // Neither the left button nor another column opens the menu.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, gui.cellCentre(grid, row, 0));
        QVERIFY(!menu->isVisible());
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, gui.cellCentre(grid, row, 2));
        QVERIFY(!menu->isVisible());

        grid->clearSelection();
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, gui.cellCentre(grid, row, 0));
        QVERIFY(menu->isVisible());
        QCOMPARE(grid->currentRow(), row);
        QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);
        menu->findChild<QAction *>(QStringLiteral("MenuGruppe2Armee"))->trigger();
        menu->hide();
        QCOMPARE(grid->rowTexts(row).value(0), QStringLiteral("2. Armee"));
        QCOMPARE(gui.storedGroup(kWoodcutter), QStringLiteral("2. Armee"));

        gui.pages->setCurrentWidget(gui.pages->findChild<ArmyPage *>());
        auto *armies = gui.find<QComboBox>(QStringLiteral("ComboBoxArmeen"));
        armies->setCurrentText(QStringLiteral("2. Armee"));
        QTest::mouseClick(
            gui.find<QPushButton>(QStringLiteral("ButtonBerichtArmee")), Qt::LeftButton);
        auto *army = gui.find<ReportGrid>(QStringLiteral("StringGridArmee"));
        QCOMPARE(army->rowCount(), 1);
        QCOMPARE(army->rowTexts(0),
            (QStringList {"1/2", QStringLiteral("Holzfäller"), kWoodcutter, "12", "", "", "[10] 2",
                "", "0", "0", "0", "0"}));
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("EditSoldaten"))->text(), QStringLiteral("12"));
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("EditWaffen"))->text(), QStringLiteral("0"));

        armies->setCurrentText(QStringLiteral("1. Armee"));
        QTest::mouseClick(
            gui.find<QPushButton>(QStringLiteral("ButtonBerichtArmee")), Qt::LeftButton);
        QCOMPARE(army->rowCount(), 1);
        QCOMPARE(army->rowTexts(0), QStringList(12, QString()));
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("EditSoldaten"))->text(), QStringLiteral("0"));
        // The empty row comes with a word on why, and how a unit joins an army.
        auto *note = gui.find<QLabel>(QStringLiteral("LabelArmeeHinweis"));
        QVERIFY(note->isVisible());
        QVERIFY2(note->text().contains(QStringLiteral("„1. Armee“"))
                && note->text().contains(QStringLiteral("404"))
                && note->text().contains(QStringLiteral("Gruppierungen")),
            qPrintable(note->text()));
        armies->setCurrentText(QStringLiteral("Alle"));
        QTest::mouseClick(
            gui.find<QPushButton>(QStringLiteral("ButtonBerichtArmee")), Qt::LeftButton);
        QCOMPARE(army->rowCount(), 1);
        QVERIFY(!note->isVisible());
    }

    void keineAndSteuereintreiberThroughTheMenu()
    {
        Gui gui;
        gui.pages->findChild<GroupingsPage *>()->Gruppierungen();
        auto *grid = gui.find<ReportGrid>(QStringLiteral("StringGrid4"));
        const int row = gui.rowOf(grid, 3, kBaker);
        grid->selectRow(row);
        auto *menu = gui.find<QMenu>(QStringLiteral("PopupMenuGruppe"));
        menu->findChild<QAction *>(QStringLiteral("MenuGruppeSteuereintreiber"))->trigger();
        QCOMPARE(grid->rowTexts(row).value(0), QStringLiteral("Keine"));
        QCOMPARE(gui.storedGroup(kBaker), QString());
        menu->findChild<QAction *>(QStringLiteral("MenuGruppeKeine"))->trigger();
        QCOMPARE(gui.storedGroup(kBaker), QStringLiteral("Keine"));
    }

    void aClickOnAHeadingSortsTheGrid()
    {
        Gui gui;
        gui.pages->findChild<GroupingsPage *>()->Gruppierungen();
        auto *grid = gui.find<ReportGrid>(QStringLiteral("StringGrid4"));
        auto strengths = [grid] {
            QStringList column;
            for (int r = 0; r < grid->rowCount(); ++r)
                column.append(grid->rowTexts(r).value(4));
            return column;
        };
        const QHeaderView *header = grid->horizontalHeader();
        const QPoint strength(header->sectionViewportPosition(4) + 5, header->height() / 2);
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, strength);
        QCOMPARE(strengths(), (QStringList {"1", "2", "3", "4", "12"}));
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, strength);
        QCOMPARE(strengths(), (QStringList {"12", "4", "3", "2", "1"}));
        // A right click on the heading row opens no menu.
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::RightButton, {},
            QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
        QVERIFY(!gui.find<QMenu>(QStringLiteral("PopupMenuGruppe"))->isVisible());
    }

    void aGroupChosenOnASortedGridGoesToTheUnitOfThatRow()
    {
        Gui gui;
        gui.pages->setCurrentWidget(gui.pages->findChild<GroupingsPage *>());
        gui.pages->findChild<GroupingsPage *>()->Gruppierungen();
        auto *grid = gui.find<ReportGrid>(QStringLiteral("StringGrid4"));
        // "Stärke" descending puts the woodcutter's twelve persons on top.
        emit grid->horizontalHeader()->sectionClicked(4);
        emit grid->horizontalHeader()->sectionClicked(4);
        QCOMPARE(grid->rowTexts(0).value(3), kWoodcutter);
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, gui.cellCentre(grid, 0, 0));
        auto *menu = gui.find<QMenu>(QStringLiteral("PopupMenuGruppe"));
        QVERIFY(menu->isVisible());
        menu->findChild<QAction *>(QStringLiteral("MenuGruppe1Armee"))->trigger();
        menu->hide();
        QCOMPARE(grid->rowTexts(0).value(0), QStringLiteral("1. Armee"));
        QCOMPARE(gui.storedGroup(kWoodcutter), QStringLiteral("1. Armee"));
        QCOMPARE(gui.storedGroup(kBaker), QString());
    }

    void aDoubleClickOnAUnitRowSelectsTheUnitAndItsRegion()
    {
        Gui gui;
        gui.main->getSekKoo(2, 2);
        QCOMPARE(
            gui.session->mapState().shownRegion(), std::optional<Position>(Position {2, 2, 0}));
        gui.pages->setCurrentWidget(gui.pages->findChild<GroupingsPage *>());
        gui.pages->findChild<GroupingsPage *>()->Gruppierungen();
        auto *grid = gui.find<ReportGrid>(QStringLiteral("StringGrid4"));
        const int row = gui.rowOf(grid, 3, kBaker);
        QVERIFY(row >= 0);
        gui.doubleClickCell(grid, row, 2);
        QCOMPARE(
            gui.session->mapState().shownRegion(), parsePosition(grid->rowTexts(row).value(1)));
        QCOMPARE(gui.pages->currentWidget(), gui.pages->findChild<UnitsPage *>());
        const QString line
            = gui.pages->findChild<UnitsPage *>()->currentEntry().value_or(ListEntry()).text;
        QVERIFY2(line.contains(u'(' + kBaker + u')'), qPrintable(line));
        QVERIFY(gui.prompter.log.isEmpty());

        // The army page does the same for its units.
        gui.pages->findChild<GroupingsPage *>()->Gruppierungen();
        const int woodcutter = gui.rowOf(grid, 3, kWoodcutter);
        grid->selectRow(woodcutter);
        gui.pages->findChild<GroupingsPage *>()->groupchange(QStringLiteral("2. Armee"));
        gui.pages->setCurrentWidget(gui.pages->findChild<ArmyPage *>());
        gui.find<QComboBox>(QStringLiteral("ComboBoxArmeen"))
            ->setCurrentText(QStringLiteral("2. Armee"));
        gui.pages->findChild<ArmyPage *>()->Bericht();
        auto *army = gui.find<ReportGrid>(QStringLiteral("StringGridArmee"));
        gui.doubleClickCell(army, 0, 1);
        QVERIFY(gui.pages->findChild<UnitsPage *>()
                    ->currentEntry()
                    .value_or(ListEntry())
                    .text.contains(u'(' + kWoodcutter + u')'));
    }

    void aDoubleClickOnAShipOrAHistoryRowSelectsItsRegion()
    {
        Gui gui;
        gui.main->getSekKoo(1, 2);
        gui.main->getSekKoo(2, 2);
        QCOMPARE(
            gui.session->mapState().shownRegion(), std::optional<Position>(Position {2, 2, 0}));
        // The ocean has no history: the grid still holds the one of 1/2.
        auto *history = gui.find<ReportGrid>(QStringLiteral("StringGrid1"));
        gui.pages->setCurrentWidget(history);
        gui.doubleClickCell(history, 0, 0);
        QCOMPARE(
            gui.session->mapState().shownRegion(), std::optional<Position>(Position {1, 2, 0}));
        QCOMPARE(gui.session->mapState().selectedRegion(), (Position {1, 2, 0}));

        gui.main->getSekKoo(2, 2);
        gui.pages->setCurrentWidget(gui.pages->findChild<ShipRegisterPage *>());
        gui.pages->findChild<ShipRegisterPage *>()->Bericht();
        auto *ships = gui.find<ReportGrid>(QStringLiteral("StringGridSchiffe"));
        gui.doubleClickCell(ships, 0, 1);
        QCOMPARE(gui.session->mapState().shownRegion(), parsePosition(ships->rowTexts(0).value(0)));
        QVERIFY(gui.prompter.log.isEmpty());
    }

    void shipRegisterOfTheTurn()
    {
        Gui gui;
        gui.pages->setCurrentWidget(gui.pages->findChild<ShipRegisterPage *>());
        QTest::mouseClick(
            gui.find<QPushButton>(QStringLiteral("ButtonBerichtSchiffe")), Qt::LeftButton);
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("EditGefundeneSchiffe"))->text(),
            QStringLiteral("1"));
        auto *grid = gui.find<ReportGrid>(QStringLiteral("StringGridSchiffe"));
        // Beside the decimal numbers, the identifier texts the orders use (base 36).
        QCOMPARE(
            grid->rowTexts(0).mid(0, 5), (QStringList {"1/2", "Seeschwalbe", "77", "25", "Boot"}));
        QCOMPARE(
            grid->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Kennung"));
        QCOMPARE(grid->model()->headerData(6, Qt::Horizontal).toString(),
            QStringLiteral("Eigner Kennung"));
        const QString owner = grid->rowTexts(0).value(5);
        QVERIFY2(!owner.isEmpty(), "the fixture's ship has an owner");
        QCOMPARE(grid->rowTexts(0).value(6), idToStr(owner.toLongLong(), 36));
        QCOMPARE(grid->rowTexts(0).value(7).right(1), QStringLiteral("%"));

        gui.find<QComboBox>(QStringLiteral("ComboBoxSchiffstyp"))
            ->setCurrentText(QStringLiteral("Trireme"));
        QTest::mouseClick(
            gui.find<QPushButton>(QStringLiteral("ButtonBerichtSchiffe")), Qt::LeftButton);
        QCOMPARE(gui.find<QLineEdit>(QStringLiteral("EditGefundeneSchiffe"))->text(),
            QStringLiteral("0"));
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->rowTexts(0), QStringList(8, QString()));

        // A date that is no number is a message, not a crash.
        gui.find<QLineEdit>(QStringLiteral("EditInfoDatumSchiffsregister"))
            ->setText(QStringLiteral("Mai"));
        QTest::mouseClick(
            gui.find<QPushButton>(QStringLiteral("ButtonBerichtSchiffe")), Qt::LeftButton);
        QVERIFY(gui.prompter.hasText(QStringLiteral("\"Mai\" ist keine Zahl")));
    }

    void pressesOnTheReportTabsCollapseAndEnlarge()
    {
        Gui gui;
        // Room for the enlarged pages beside the map column.
        gui.main->resize(1600, 1100);
        QApplication::processEvents();
        ReportPagesWidget *reports = partOf<ReportPagesWidget>(*gui.main);
        QTabBar *tabs = reports->tabBar();
        int kaempfe = -1;
        for (int i = 0; i < reports->count(); ++i) {
            if (reports->tabText(i) == QStringLiteral("Kämpfe"))
                kaempfe = i;
        }
        QVERIFY(kaempfe > 0);
        const QPoint onKaempfe = tabs->tabRect(kaempfe).center();
        const QPoint onStatus = tabs->tabRect(0).center();
        QVERIFY(reports->height() != 121);

        // The first press only shows the page; presses on the shown tab collapse and
        // enlarge.
        const int height = reports->height();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, onKaempfe);
        QCOMPARE(reports->currentIndex(), kaempfe);
        QCOMPARE(reports->height(), height);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, onKaempfe);
        QCOMPARE(reports->height(), 121);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, onKaempfe);
        QCOMPARE(reports->height(), 710);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, onKaempfe);
        QCOMPARE(reports->height(), 121);
        // On "Status" a press never enlarges.
        QTest::mouseClick(tabs, Qt::LeftButton, {}, onStatus);
        QCOMPARE(reports->height(), 121);
        QCOMPARE(reports->currentIndex(), 0);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, onStatus);
        QCOMPARE(reports->height(), 121);
    }
};

QTEST_MAIN(TestGuiMilitary)
#include "test_gui_military.moc"
