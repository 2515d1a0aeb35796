#include "db/database.h"
#include "detailpages.h"
#include "gamefixture.h"
#include "guisupport.h"
#include "mainwindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;
using namespace Qt::StringLiterals;

namespace {

struct Gui : GuiHarness
{
    Gui()
    {
        main->startGame(1, u"Test"_s, u"Kalmora"_s);
        importThroughMenu(fixture(u"reports/kalmora-klein.cr"_s));
    }

    QString text(const QString &objectName) const { return find<QLineEdit>(objectName)->text(); }

    QVariant regionValue(const QString &field, int x, int y) const
    {
        return queryValue(session->database(),
            u"SELECT \"%1\" FROM regionen WHERE \"Spiel\" = 1 AND \"Breite\" = ? "
            "AND \"Länge\" = ? AND \"Ebene\" = 0"_s.arg(field),
            {x, y});
    }
};

const QStringList kWeidenauUnits = {u"-Burg : Falkenhorst, Burg, größe: 250 (6t)"_s,
    u"              Holzfäller (3mw) , Menschen"_s,
    u"-Schiff : Seeschwalbe, Boot, zu 60% fertig. [25]"_s,
    u"              Bäcker (3mx) , Menschen"_s, u"    Händler (3my) , Zwerge"_s,
    u"    Fremde Späher (3uw) , Elfen"_s};

} // namespace

class TestGuiRegion : public QObject
{
    Q_OBJECT
private slots:
    void showsARegion()
    {
        Gui gui;
        QSignalSpy shown(gui.main.get(), &MainWindow::regionShown);
        gui.main->getSekKoo(1, 2);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(gui.find<QLabel>(u"Panel1"_s)->text(), u"Weidenau  1/2"_s);
        QCOMPARE(gui.listRows(u"ListBox3"_s), kWeidenauUnits);
        QCOMPARE(gui.find<QPlainTextEdit>(u"Memo7"_s)->toPlainText(),
            u" Händler (3my) für Die Grauen Falken"_s);
        QCOMPARE(
            gui.find<QPlainTextEdit>(u"Memo8"_s)->toPlainText(), u" Ein Bach fließt nach Osten."_s);

        QCOMPARE(gui.text(u"DBEditRegionname"_s), u"Weidenau"_s);
        QCOMPARE(gui.text(u"DBEditRegiontyp"_s), u"Ebene"_s);
        QCOMPARE(gui.text(u"DBEditBauern"_s), u"2350"_s);
        QCOMPARE(gui.text(u"DBEditStrasse2"_s), u"75"_s);
        QCOMPARE(gui.text(u"DBEditGewuerz"_s), u"-8"_s);
        QVERIFY(gui.find<QLineEdit>(u"DBEditRegiontyp"_s)->isReadOnly());
        QVERIFY(!gui.find<QLineEdit>(u"DBEditRegionname"_s)->isReadOnly());
        QCOMPARE(gui.text(u"Edit1"_s), u"930"_s);
        QCOMPARE(gui.text(u"Edit9"_s), u"17"_s);
        QCOMPARE(gui.text(u"Edit14"_s), u"5"_s);
        const QStringList goods = gui.listRows(u"ListBox14"_s);
        QCOMPARE(goods.size(), 6);
        QCOMPARE(goods[0], u"Pferde    : 0"_s);
        QVERIFY(goods[2].isEmpty());

        auto *grid = gui.find<QTableView>(u"StringGrid1"_s);
        const QAbstractItemModel *history = grid->model();
        QCOMPARE(history->rowCount(), 1);
        QCOMPARE(history->headerData(7, Qt::Horizontal).toString(), u"Bauern Silber"_s);
        QCOMPARE(history->index(0, 0).data().toString(), u"404"_s);
        QCOMPARE(history->index(0, 5).data().toString(), u"2350"_s);
        QCOMPARE(grid->currentIndex().row(), 0);
        QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);

        QCOMPARE(
            gui.session->mapState().shownRegion(), std::optional<Position>(Position {1, 2, 0}));
        QCOMPARE(gui.session->mapState().selectedRegion(), (Position {1, 2, 0}));
    }

    void keepsWhatTheNextRegionLacks()
    {
        Gui gui;
        gui.main->getSekKoo(1, 2);
        // The ocean has no history: the grid keeps Weidenau's.
        gui.main->getSekKoo(2, 2);
        QCOMPARE(gui.find<QLabel>(u"Panel1"_s)->text(), u"Ozean  2/2"_s);
        QCOMPARE(gui.find<QTableView>(u"StringGrid1"_s)->model()->index(0, 5).data().toString(),
            u"2350"_s);
        QVERIFY(gui.listRows(u"ListBox3"_s).isEmpty());

        gui.main->getSekKoo(40, 40);
        QCOMPARE(gui.find<QLabel>(u"Panel1"_s)->text(), u"Keine Informationen über Region"_s);
        QVERIFY(gui.text(u"DBEditRegionname"_s).isEmpty());
        QVERIFY(gui.find<QLineEdit>(u"DBEditRegionname"_s)->isReadOnly());
        QCOMPARE(gui.text(u"Edit1"_s), u"0"_s);
        QCOMPARE(
            gui.session->mapState().shownRegion(), std::optional<Position>(Position {2, 2, 0}));
        QCOMPARE(gui.session->mapState().selectedRegion(), (Position {40, 40, 0}));
    }

    void checkBoxesApplyOnTheNextSelection()
    {
        Gui gui;
        gui.main->getSekKoo(1, 2);
        gui.find<QTabWidget>(u"PageControl2"_s)->setCurrentIndex(1); // "Einheiten"
        auto *alle = gui.find<QCheckBox>(u"CheckBox1"_s);
        QTest::mouseClick(alle, Qt::LeftButton);
        QVERIFY(!alle->isChecked());
        QCOMPARE(gui.listRows(u"ListBox3"_s), kWeidenauUnits);
        gui.main->getSekKoo(1, 2);
        QStringList own = kWeidenauUnits;
        own.removeLast();
        QCOMPARE(gui.listRows(u"ListBox3"_s), own);
    }

    void editedFieldsGoIntoTheRow()
    {
        Gui gui;
        gui.main->getSekKoo(1, 2);
        auto *name = gui.find<QLineEdit>(u"DBEditRegionname"_s);
        name->selectAll();
        QTest::keyClicks(name, u"Neuweide"_s);
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(gui.regionValue(u"Regionname"_s, 1, 2).toString(), u"Neuweide"_s);

        auto *silk = gui.find<QLineEdit>(u"DBEditSeide"_s);
        silk->selectAll();
        QTest::keyClicks(silk, u"-4x2"_s); // the letter is refused
        QTest::keyClick(silk, Qt::Key_Return);
        QCOMPARE(gui.regionValue(u"Seide"_s, 1, 2).toInt(), -42);

        // A change still open when another region is chosen is stored in its own region.
        auto *description = gui.find<QPlainTextEdit>(u"DBMemoBeschreibung"_s);
        description->selectAll();
        QTest::keyClicks(description, u"Neu beschrieben"_s);
        auto *recruits = gui.find<QLineEdit>(u"DBEditRekrutieren"_s);
        recruits->selectAll();
        QTest::keyClick(recruits, Qt::Key_Delete);
        gui.main->getSekKoo(5, 5);
        QCOMPARE(gui.regionValue(u"Beschreibung"_s, 1, 2).toString(), u"Neu beschrieben"_s);
        QVERIFY(gui.regionValue(u"Rekrutieren"_s, 1, 2).isNull());
        QVERIFY(gui.regionValue(u"Beschreibung"_s, 5, 5).toString().isEmpty());
        QCOMPARE(gui.text(u"DBEditRegionname"_s), u"Leerland"_s);

        gui.main->getSekKoo(1, 2);
        QCOMPARE(gui.text(u"DBEditRegionname"_s), u"Neuweide"_s);
        QCOMPARE(description->toPlainText(), u"Neu beschrieben"_s);
        QVERIFY(gui.prompter.log.isEmpty());
    }
};

QTEST_MAIN(TestGuiRegion)
#include "test_gui_region.moc"
