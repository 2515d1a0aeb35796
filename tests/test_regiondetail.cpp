#include "base/errors.h"
#include "db/database.h"
#include "gamefixture.h"
#include "map/regiondetail.h"
#include "map/regionrecord.h"
#include "testsupport.h"

#include <QtTest>
#include <sqlite3.h>

using namespace tolvimar;
using namespace tolvimar::test;
using namespace Qt::StringLiterals;

namespace {

const qint64 kNewest = 404;
const qint64 kOld = 403;

ActiveGame kalmora()
{
    ActiveGame g;
    g.number = 1;
    g.type = GameType::Kalmora;
    g.base = 36;
    g.factionNumber = 4711;
    g.newestTurn = kNewest;
    return g;
}

ActiveGame sulvitan()
{
    ActiveGame g = kalmora();
    g.number = 2;
    g.type = GameType::Sulvitan;
    g.base = 10;
    return g;
}

void region(Database &db, int game, int x, int y, int level, const QString &name,
    const QString &surroundings = {})
{
    GameRows(db, game, kNewest)
        .region(x, y, level,
            {{u"Regionname"_s, name}, {u"Regiontyp"_s, u"Ebene"_s}, {u"Bauern"_s, 2350},
                {u"Lean"_s, -1}, {u"Strasse2"_s, 75}, {u"Umgebung"_s, surroundings}});
}

void castle(Database &db, int game, int number, const QString &position, const QString &name,
    const QString &type, int size, qint64 date)
{
    GameRows(db, game, date)
        .castle(
            number, position, {{u"Burg Name"_s, name}, {u"Typ"_s, type}, {u"Burggrösse"_s, size}});
}

void ship(Database &db, int game, int number, const QString &position, const QString &name,
    const QString &type, int percent, int load, int maxLoad, const QString &coast, qint64 date)
{
    GameRows(db, game, date)
        .ship(number, position,
            {{u"Schiffs Name"_s, name}, {u"Schiffstyp"_s, type}, {u"Prozent"_s, percent},
                {u"Ladung"_s, load}, {u"MaxLadung"_s, maxLoad}, {u"Kueste"_s, coast}});
}

// A unit; `more` adds goods and marks.
void unit(Database &db, int game, int number, const QString &position, int faction, qint64 date,
    const QString &name, const QString &race, const QString &stationed,
    const QVariantMap &more = {})
{
    QVariantMap row {{u"Partei Nr"_s, faction}, {u"Einheit Name"_s, name}, {u"Rasse"_s, race},
        {u"Stationiert"_s, stationed}};
    row.insert(more);
    GameRows(db, game, date).unit(number, position, row);
}

void historyRow(Database &db, int game, int x, int y, int level, qint64 date, int peasants,
    const QVariant &iron)
{
    GameRows(db, game, date)
        .statistics(x, y, level,
            {{u"Bauern"_s, peasants}, {u"Anzahl Holz"_s, 420}, {u"Pferde"_s, 80},
                {u"Bauern Silber"_s, 51000}, {u"Eisen"_s, iron}, {u"Laen"_s, QVariant()},
                {u"Mallorn"_s, 1}});
}

// Region "Weidenau" at 3/4 holds castles, ships and units of every kind the unit list
// tells apart; "Tiefenhall" lies on level 1; game 2 is a Sulvitan game at the same place.
void fill(Database &db)
{
    region(db, 1, 3, 4, 0, u"Weidenau"_s,
        u"Kampf in Runde 404\r\n Ein Bach.\x16"_s + u"Ein Wald.\x16\r\n"_s);
    castle(db, 1, 245, u"3/4/0"_s, u"Falkenhorst"_s, u"Burg"_s, 250, kNewest);
    castle(db, 1, 300, u"3/4"_s, u"Alte (Ruine)"_s, u"Turm"_s, 10, kNewest);
    castle(db, 1, 310, u"3/4"_s, u"Verfallen"_s, u"Turm"_s, 5, kOld);
    ship(db, 1, 77, u"3/4"_s, u"Seeschwalbe"_s, u"Boot"_s, 100, 5, 50, u"Ostküste"_s, kNewest);
    ship(
        db, 1, 78, u"3/4"_s, u"Wrack [alt]"_s, u"Langboot"_s, -20, 0, 500, u"Westküste"_s, kNewest);
    ship(db, 1, 79, u"3/4"_s, u"Neubau"_s, u"Karavelle"_s, 35, 0, 0, QString(), kNewest);
    ship(db, 1, 80, u"3/4"_s, u"Altes Boot"_s, u"Boot"_s, 100, 1, 50, u"Nordküste"_s, kOld);
    unit(db, 1, 5, u"3/4"_s, 4711, kNewest, u"Wache"_s, u"Menschen"_s, u"B 6t"_s,
        {{u"Silber"_s, 100}, {u"Personen"_s, 10}, {u"Holz"_s, 3}, {u"Pferd"_s, 2}});
    unit(db, 1, 9, u"3/4"_s, 4711, kNewest, u"Ritter"_s, u"Menschen"_s, u"B 6t"_s,
        {{u"Flags"_s, u"xB"_s}, {u"Silber"_s, 50}, {u"Personen"_s, 1}, {u"Schwert"_s, 1}});
    unit(db, 1, 12, u"3/4"_s, 4800, kNewest, u"Matrose"_s, u"Elfen"_s, u"S 25"_s);
    unit(db, 1, 20, u"3/4"_s, 4711, kOld, u"Alter Bauer"_s, u"Menschen"_s, u"in Region"_s,
        {{u"Flags"_s, u"B"_s}, {u"Silber"_s, 1000}, {u"Personen"_s, 5}, {u"Pferd"_s, 9}});
    unit(db, 1, 30, u"3/4"_s, 4800, kNewest, u"Fremder"_s, u"Elfen"_s, u"in Region"_s,
        {{u"Flags"_s, u"X"_s}});
    unit(db, 1, 40, u"3/4"_s, 4711, kNewest, u"Händler"_s, u"Zwerge"_s, u"in Region"_s,
        {{u"Silber"_s, 7}, {u"Personen"_s, 2}, {u"Stein"_s, 3}, {u"Eisen"_s, 4}, {u"Laen"_s, 1},
            {u"Mallorn"_s, 2}, {u"Wagen"_s, 1}, {u"Speer"_s, 2}, {u"Bogen"_s, 3}});
    // Its castle is from an older turn and not listed.
    unit(db, 1, 41, u"3/4"_s, 4711, kNewest, u"Maurer"_s, u"Zwerge"_s, u"B 8m"_s,
        {{u"Silber"_s, 11}, {u"Personen"_s, 1}});
    unit(db, 1, 50, u"3/4"_s, 4800, kNewest, u"Bewohner"_s, u"Elfen"_s, u"B 8c"_s);
    unit(db, 1, 60, u"3/4"_s, 4800, kOld, u"Schiffer"_s, u"Elfen"_s, u"S 28"_s,
        {{u"Flags"_s, u"B"_s}});
    GameRows(db, 1, kNewest)
        .faction(4711, u"Die Grauen Falken"_s)
        .faction(4800, u"Bund der Eichen"_s);
    historyRow(db, 1, 3, 4, 0, kOld, 2300, QVariant());
    historyRow(db, 1, 3, 4, 0, kNewest, 2350, 12);
    historyRow(db, 1, 3, 4, 1, kNewest, 90, 1);
    historyRow(db, 1, 3, 5, 0, kNewest, 7, 7);

    region(db, 1, -2, 7, 1, u"Tiefenhall"_s);
    castle(db, 1, 400, u"-2/7"_s, u"Grotte"_s, u"Turm"_s, 3, kNewest);
    castle(db, 1, 401, u"-2/7/0"_s, u"Oben"_s, u"Turm"_s, 3, kNewest);
    unit(db, 1, 70, u"-2/7/1"_s, 4711, kNewest, u"Schatz"_s, u"Zwerge"_s, QString(),
        {{u"Silber"_s, 2000000000}, {u"Personen"_s, 2000000000}});
    unit(db, 1, 71, u"-2/7/1"_s, 4711, kNewest, u"Schatz"_s, u"Zwerge"_s, QString(),
        {{u"Silber"_s, 2000000000}, {u"Personen"_s, 2000000000}});

    region(db, 2, 3, 4, 0, u"Lindenhain"_s);
    castle(db, 2, 245, u"3/4"_s, u"Eiche"_s, u"Burg"_s, 20, kNewest);
    ship(db, 2, 77, u"3/4"_s, u"Blatt"_s, u"Boot"_s, 100, 0, 50, u"Ostküste"_s, kNewest);
    unit(db, 2, 12, u"3/4"_s, 4711, kNewest, u"Förster"_s, u"Elfen"_s, u"B 245"_s);
    unit(db, 2, 13, u"3/4"_s, 4711, kNewest, u"Fährmann"_s, u"Elfen"_s, u"S 77"_s);
}

const QString kFalkenhorst = u"-Burg : Falkenhorst, Burg, größe: 250 (6t)"_s;
const QString kRitter = u"      *       Ritter (9) , Menschen"_s;
const QString kWache = u"              Wache (5) , Menschen"_s;
const QString kRuine = u"-Burg : Alte (Ruine), Turm, größe: 10 (8c)"_s;
const QString kBewohner = u"              Bewohner (1e) , Elfen"_s;
const QString kSeeschwalbe = u"-Schiff : Seeschwalbe, Boot [25], Ladung: 5/50 ,Ostküste"_s;
const QString kMatrose = u"              Matrose (c) , Elfen"_s;
const QString kWrack
    = u"-Schiff : Wrack [alt], Langboot [26], Ladung: 0/500, Schäden: 20% ,Westküste"_s;
const QString kNeubau = u"-Schiff : Neubau, Karavelle, zu 35% fertig. [27]"_s;
const QString kAltesBoot = u"-Schiff : Altes Boot, Boot [28], Ladung: 1/50 ,Nordküste"_s;
const QString kSchiffer = u"              Schiffer (1o) , Elfen"_s;
const QString kAlterBauer = u"    Alter Bauer (k) , Menschen"_s;
const QString kFremder = u" *  Fremder (u) , Elfen"_s;
const QString kHaendler = u"    Händler (14) , Zwerge"_s;
const QString kGuardRitter = u" Ritter (9) für Die Grauen Falken"_s;
const QString kGuardBauer = u" Alter Bauer (k) für Die Grauen Falken"_s;
const QString kGuardSchiffer = u" Schiffer (1o) für Bund der Eichen"_s;

} // namespace

class TestRegionDetail : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = std::make_unique<Database>(m_dir.filePath(u"kalmora.sqlite"_s));
        fill(*m_db);
    }

    void unitList_data()
    {
        QTest::addColumn<bool>("sulvitanGame");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("allUnits");
        QTest::addColumn<bool>("currentOnly");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("guards");

        // Castles first with their inhabitants in descending number, then the ships,
        // then the other units; the old castle and its inhabitant are left out.
        QTest::newRow("all units, current only")
            << false << 3 << 4 << 0 << true << true
            << QStringList {kFalkenhorst, kRitter, kWache, kRuine, kBewohner, kSeeschwalbe,
                   kMatrose, kWrack, kNeubau, kFremder, kHaendler}
            << QStringList {kGuardRitter};
        // Foreign units go even when current; the own old unit is admitted (it guards)
        // but not listed.
        QTest::newRow("own units, current only")
            << false << 3 << 4 << 0 << false << true
            << QStringList {kFalkenhorst, kRitter, kWache, kRuine, kSeeschwalbe, kWrack, kNeubau,
                   kHaendler}
            << QStringList {kGuardRitter, kGuardBauer};
        QTest::newRow("own units, all turns")
            << false << 3 << 4 << 0 << false << false
            << QStringList {kFalkenhorst, kRitter, kWache, kRuine, kSeeschwalbe, kWrack, kNeubau,
                   kAltesBoot, kAlterBauer, kHaendler}
            << QStringList {kGuardRitter, kGuardBauer};
        QTest::newRow("all units, all turns")
            << false << 3 << 4 << 0 << true << false
            << QStringList {kFalkenhorst, kRitter, kWache, kRuine, kBewohner, kSeeschwalbe,
                   kMatrose, kWrack, kNeubau, kAltesBoot, kSchiffer, kAlterBauer, kFremder,
                   kHaendler}
            << QStringList {kGuardRitter, kGuardBauer, kGuardSchiffer};
        // No region on level 2: castles and ships at "3/4" still show, units do not.
        QTest::newRow("no region row")
            << false << 3 << 4 << 2 << true << true
            << QStringList {kRuine, kSeeschwalbe, kWrack, kNeubau} << QStringList();
        // On level 1 a castle stored as "-2/7" belongs to the region, "-2/7/0" does not.
        QTest::newRow("level 1") << false << -2 << 7 << 1 << true << true
                                 << QStringList {u"-Burg : Grotte, Turm, größe: 3 (b4)"_s,
                                        u"    Schatz (1y) , Zwerge"_s,
                                        u"    Schatz (1z) , Zwerge"_s}
                                 << QStringList();
        QTest::newRow("Sulvitan numbers")
            << true << 3 << 4 << 0 << true << true
            << QStringList {u"-Burg : Eiche, Burg, größe: 20 (245)"_s,
                   u"              Förster (12) , Elfen"_s,
                   u"-Schiff : Blatt, Boot [77], Ladung: 0/50 ,Ostküste"_s,
                   u"              Fährmann (13) , Elfen"_s}
            << QStringList();
        QTest::newRow("nothing there")
            << false << 40 << 40 << 0 << true << true << QStringList() << QStringList();
    }
    void unitList()
    {
        QFETCH(bool, sulvitanGame);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, level);
        QFETCH(bool, allUnits);
        QFETCH(bool, currentOnly);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, guards);
        RegionSelection selection;
        selection.level = level;
        selection.allUnits = allUnits;
        selection.currentOnly = currentOnly;
        selection.previousRegion = Position {3, 4, 0};
        const ActiveGame game = sulvitanGame ? sulvitan() : kalmora();
        const RegionView view = RegionDetail(*m_db).regionView(game, x, y, selection);
        QCOMPARE(view.unitLines(), lines);
        QCOMPARE(view.guards, guards);
        // Each entry carries the kind and the number that its line shows.
        for (const ListEntry &entry : view.units) {
            const std::optional<ListEntry> shown = parseListEntry(entry.text, game.type, game.base);
            QVERIFY2(shown, qPrintable(entry.text));
            QCOMPARE(entry.kind, shown->kind);
            QCOMPARE(entry.number, shown->number);
        }
    }

    void panelAndPosition_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("panel1");
        QTest::addColumn<Position>("shown");
        QTest::newRow("level 0") << 3 << 4 << 0 << true << u"Weidenau  3/4"_s << Position {3, 4, 0};
        QTest::newRow("level 1") << -2 << 7 << 1 << true << u"Tiefenhall  -2/7"_s
                                 << Position {-2, 7, 1};
        QTest::newRow("not found keeps the position")
            << 3 << 4 << 1 << false << u"Keine Informationen über Region"_s << Position {9, 9, 0};
    }
    void panelAndPosition()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, level);
        QFETCH(bool, found);
        QFETCH(QString, panel1);
        QFETCH(Position, shown);
        RegionSelection selection;
        selection.level = level;
        selection.previousRegion = Position {9, 9, 0};
        const RegionView view = RegionDetail(*m_db).regionView(kalmora(), x, y, selection);
        QCOMPARE(view.found, found);
        QCOMPARE(view.region.has_value(), found);
        QCOMPARE(view.caption, panel1);
        QCOMPARE(view.shownRegion, std::optional<Position>(shown));
    }

    void regionFieldsAndSurroundings()
    {
        const RegionView view = RegionDetail(*m_db).regionView(kalmora(), 3, 4, {});
        QVERIFY(view.region);
        QCOMPARE(view.region->name, u"Weidenau"_s);
        QCOMPARE(view.region->terrain, u"Ebene"_s);
        QCOMPARE(view.region->peasants.toInt(), 2350);
        QCOMPARE(view.region->laen.toInt(), -1);
        QCOMPARE(view.region->roads[2].toInt(), 75);
        QVERIFY(view.region->roads[0].isNull());
        QCOMPARE(view.surroundings, u"Kampf in Runde 404\n Ein Bach.\nEin Wald."_s);
    }

    // Only own units of the newest turn count, whatever the check boxes say.
    void propertySums_data()
    {
        QTest::addColumn<bool>("allUnits");
        QTest::addColumn<bool>("currentOnly");
        QTest::newRow("all, current") << true << true;
        QTest::newRow("all, all turns") << true << false;
        QTest::newRow("own, current") << false << true;
        QTest::newRow("own, all turns") << false << false;
    }
    void propertySums()
    {
        QFETCH(bool, allUnits);
        QFETCH(bool, currentOnly);
        RegionSelection selection;
        selection.allUnits = allUnits;
        selection.currentOnly = currentOnly;
        const PropertySums s = RegionDetail(*m_db).regionView(kalmora(), 3, 4, selection).property;
        QCOMPARE(s.silver, 168);
        QCOMPARE(s.persons, 14);
        QCOMPARE(s.wood, 3);
        QCOMPARE(s.stone, 3);
        QCOMPARE(s.iron, 4);
        QCOMPARE(s.laen, 1);
        QCOMPARE(s.mallorn, 2);
        QCOMPARE(s.goodsLines(),
            QStringList({u"Pferde    : 2"_s, u"Wagen     : 1"_s, QString(), u"Speer     : 2"_s,
                u"Schwert   : 1"_s, u"Bogen     : 3"_s}));
    }

    void sumsPastTheIntegerRange()
    {
        RegionSelection selection;
        selection.level = 1;
        const PropertySums s = RegionDetail(*m_db).regionView(kalmora(), -2, 7, selection).property;
        QCOMPARE(s.silver, Q_INT64_C(4000000000));
        QCOMPARE(s.persons, Q_INT64_C(4000000000));
    }

    void history()
    {
        RegionDetail detail(*m_db);
        const RegionView view = detail.regionView(kalmora(), 3, 4, {});
        QVERIFY(view.history);
        // The level's turns only: the row of the higher level at the same place is
        // another region. An empty iron, laen or mallorn count shows 0.
        QCOMPARE(*view.history,
            QList<QStringList>({{u"Datum"_s, u"Bäume"_s, u"Eisen"_s, u"Laen"_s, u"Mallorn"_s,
                                    u"Bauern"_s, u"Pferde"_s, u"Bauern Silber"_s},
                {u"403"_s, u"420"_s, u"0"_s, u"0"_s, u"1"_s, u"2300"_s, u"80"_s, u"51000"_s},
                {u"404"_s, u"420"_s, u"12"_s, u"0"_s, u"1"_s, u"2350"_s, u"80"_s, u"51000"_s}}));
        // A region without statistics rows leaves the grid as it was.
        QVERIFY(!detail.regionView(kalmora(), -2, 7, {1, true, true, {}}).history);
        QVERIFY(!detail.regionView(kalmora(), 40, 40, {}).history);
    }

    // Castles, ships and units are found through their position, not by walking the
    // game's rows: with thousands stored elsewhere, every read stays short.
    void readsThroughThePositionIndexes()
    {
        QTemporaryDir dir;
        Database db(dir.filePath(u"gross.sqlite"_s));
        db.begin();
        region(db, 1, 3, 4, 0, u"Weidenau"_s);
        castle(db, 1, 5000, u"3/4"_s, u"Hier"_s, u"Burg"_s, 10, kNewest);
        ship(db, 1, 5000, u"3/4"_s, u"Hier"_s, u"Boot"_s, 100, 0, 5, QString(), kNewest);
        for (int n = 1; n <= 3000; ++n) {
            const QString elsewhere = u"%1/%2"_s.arg(n % 50).arg(n / 50 + 10);
            castle(db, 1, n, elsewhere, u"Dort"_s, u"Burg"_s, 10, kNewest);
            ship(db, 1, n, elsewhere, u"Dort"_s, u"Boot"_s, 100, 0, 5, QString(), kNewest);
            unit(db, 1, n, elsewhere, 4711, kNewest, u"Dort"_s, u"Menschen"_s, QString());
            historyRow(db, 1, n % 50, n / 50 + 10, 0, kNewest, 1, 1);
        }
        db.commit();
        RegionDetail detail(db);
        const RegionView view = detail.regionView(kalmora(), 3, 4, {});
        QCOMPARE(view.units.size(), 2);
        int reads = 0;
        for (sqlite3_stmt *s = sqlite3_next_stmt(db.handle(), nullptr); s;
             s = sqlite3_next_stmt(db.handle(), s)) {
            const QString sql = QString::fromUtf8(sqlite3_sql(s));
            if (!sql.startsWith(u"SELECT"))
                continue;
            ++reads;
            QVERIFY2(sqlite3_stmt_status(s, SQLITE_STMTSTATUS_VM_STEP, 0) < 500, qPrintable(sql));
        }
        QVERIFY(reads >= 5);
    }

    void importedReport()
    {
        ImportHarness h;
        QCOMPARE(h.importFile(fixture(u"reports/kalmora-klein.cr"_s)).status,
            ReportImporter::Result::Imported);
        const RegionView view
            = RegionDetail(h.session->database()).regionView(h.session->game(), 1, 2, {});
        QCOMPARE(view.caption, u"Weidenau  1/2"_s);
        QCOMPARE(view.unitLines(),
            QStringList({u"-Burg : Falkenhorst, Burg, größe: 250 (6t)"_s,
                u"              Holzfäller (3mw) , Menschen"_s,
                u"-Schiff : Seeschwalbe, Boot, zu 60% fertig. [25]"_s,
                u"              Bäcker (3mx) , Menschen"_s, u"    Händler (3my) , Zwerge"_s,
                u"    Fremde Späher (3uw) , Elfen"_s}));
        QCOMPARE(view.guards, QStringList({u" Händler (3my) für Die Grauen Falken"_s}));
        QCOMPARE(view.property.silver, 930);
        QCOMPARE(view.property.persons, 17);
        QCOMPARE(view.property.wood, 5);
        QVERIFY(view.history);
        QCOMPARE(view.history->size(), 2);
    }

    void editedFieldsAreStored()
    {
        RegionRecord record(*m_db, 1, {3, 4, 0});
        QVERIFY(record.store(u"Regionname"_s, u"Neuweide"_s));
        QVERIFY(record.store(u"Seide"_s, -12));
        QVERIFY(record.store(u"Rekrutieren"_s, QVariant()));
        QVERIFY(record.store(u"Beschreibung"_s, u"Zwei\nZeilen"_s));
        const RegionView view = RegionDetail(*m_db).regionView(kalmora(), 3, 4, {});
        QCOMPARE(view.region->name, u"Neuweide"_s);
        QCOMPARE(view.region->prices[5].toInt(), -12);
        QVERIFY(view.region->recruits.isNull());
        QCOMPARE(view.region->description, u"Zwei\nZeilen"_s);
        QCOMPARE(view.region->peasants.toInt(), 2350);
        QVERIFY(record.store(u"Regionname"_s, u"Weidenau"_s));

        QVERIFY(!RegionRecord(*m_db, 1, {3, 4, 7}).store(u"Regionname"_s, u"Nirgends"_s));
        QVERIFY_THROWS_EXCEPTION(
            UserError, RegionRecord(*m_db, 1, {3, 4, 0}).store(u"Bauern"_s, 1));
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
};

QTEST_GUILESS_MAIN(TestRegionDetail)
#include "test_regiondetail.moc"
