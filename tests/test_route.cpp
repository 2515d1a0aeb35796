#include "base/errors.h"
#include "db/gamequeries.h"
#include "gamefixture.h"
#include "map/hextopology.h"
#include "map/movementrules.h"
#include "map/routefinder.h"
#include "map/travelplan.h"
#include "orders/orderedit.h"
#include "testsupport.h"

#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;
using namespace Qt::StringLiterals;

namespace {

// A hand-made level: each text is a row, the first y = 0, one character a region from
// x = 0: E Ebene, W Wald, O Ozean, F Feuerwand, "-" a region the game has never seen.
QVector<RouteRegionRow> mapRows(const QStringList &rows, const QStringList &roads = {})
{
    QVector<RouteRegionRow> regions;
    for (int y = 0; y < rows.size(); ++y) {
        for (int x = 0; x < rows[y].size(); ++x) {
            const QChar c = rows[y][x];
            if (c == u'-')
                continue;
            RouteRegionRow r;
            r.x = x;
            r.y = y;
            r.terrain = c == u'E' ? u"Ebene"_s
                : c == u'W'       ? u"Wald"_s
                : c == u'O'       ? u"Ozean"_s
                                  : u"Feuerwand"_s;
            regions.append(r);
        }
    }
    // A road "a/b>c/d" is complete from a/b towards c/d; "a/b=c/d" both ways.
    for (const QString &road : roads) {
        const bool both = road.contains(u'=');
        const QStringList ends = road.split(both ? u'=' : u'>');
        const RegionCoord from {
            ends[0].section(u'/', 0, 0).toInt(), ends[0].section(u'/', 1, 1).toInt()};
        const RegionCoord to {
            ends[1].section(u'/', 0, 0).toInt(), ends[1].section(u'/', 1, 1).toInt()};
        const HexDirection d = *stepDirection(from, to);
        for (RouteRegionRow &r : regions) {
            if (r.x == from.x && r.y == from.y)
                r.roads[roadField(d)] = 100;
            if (both && r.x == to.x && r.y == to.y)
                r.roads[roadField(oppositeDirection(d))] = 100;
        }
    }
    return regions;
}

QString positions(const RouteResult &route)
{
    QStringList texts;
    for (const RegionCoord &c : route.regions)
        texts.append(u"%1/%2"_s.arg(c.x).arg(c.y));
    return texts.join(u' ');
}

RegionCoord at(const QString &text)
{
    return {text.section(u'/', 0, 0).toInt(), text.section(u'/', 1, 1).toInt()};
}

} // namespace

Q_DECLARE_METATYPE(tolvimar::TravelMode)
Q_DECLARE_METATYPE(tolvimar::NoRouteReason)

class TestRoute : public QObject
{
    Q_OBJECT
private slots:
    void directions_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("road"); // its field: 0 `Strasse`, 1 `Strasse1`, ...
        QTest::newRow("o") << "o" << 1 << 0 << 2;
        QTest::newRow("no") << "no" << 0 << 1 << 1;
        QTest::newRow("nw") << "nw" << -1 << 1 << 0;
        QTest::newRow("w") << "w" << -1 << 0 << 5;
        QTest::newRow("sw") << "sw" << 0 << -1 << 4;
        QTest::newRow("so") << "so" << 1 << -1 << 3;
    }
    void directions()
    {
        QFETCH(QString, word);
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(int, road);
        const std::optional<HexDirection> d = directionOfWord(word.toUpper());
        QVERIFY(d);
        QCOMPARE(directionWord(*d), word);
        const RegionCoord from {-3, 7};
        QCOMPARE(neighbour(from, *d), (RegionCoord {-3 + dx, 7 + dy}));
        QCOMPARE(stepDirection(from, neighbour(from, *d)), d);
        QCOMPARE(neighbour(neighbour(from, *d), oppositeDirection(*d)), from);
        QCOMPARE(roadField(*d), road);
        QCOMPARE(directionOfRoadField(road), *d);
        QCOMPARE(hexDistance(from, neighbour(from, *d)), 1);
    }

    void notAStep()
    {
        QVERIFY(!stepDirection({0, 0}, {1, 1}));
        QVERIFY(!stepDirection({0, 0}, {0, 0}));
        QVERIFY(!stepDirection({0, 0}, {2, 0}));
        QVERIFY(!directionOfWord(u"n"));
    }

    // The distance is the number of steps a walk over an open level needs.
    void distanceIsTheFewestSteps()
    {
        const RegionCoord origin {2, -1};
        const auto key = [](RegionCoord c) { return (qint64(c.x) << 32) ^ quint32(c.y); };
        QHash<qint64, int> depth {{key(origin), 0}};
        QList<RegionCoord> frontier {origin};
        for (int step = 1; step <= 6; ++step) {
            QList<RegionCoord> next;
            for (const RegionCoord &c : frontier) {
                for (const RegionCoord &n : neighbours(c)) {
                    if (!depth.contains(key(n))) {
                        depth.insert(key(n), step);
                        next.append(n);
                    }
                }
            }
            frontier = next;
        }
        QCOMPARE(depth.size(), 1 + 3 * 6 * 7); // a hexagon of radius 6
        for (int x = -4; x <= 8; ++x) {
            for (int y = -7; y <= 5; ++y) {
                const RegionCoord c {x, y};
                if (depth.contains(key(c)))
                    QCOMPARE(hexDistance(origin, c), qint64(depth.value(key(c))));
                else
                    QVERIFY(hexDistance(origin, c) > 6);
            }
        }
    }

    void routes_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("roads");
        QTest::addColumn<TravelMode>("mode");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("unknown");
        QTest::addColumn<QString>("way"); // empty: no way
        QTest::addColumn<int>("turns");
        QTest::addColumn<QString>("order");

        const TravelMode walk = TravelMode::Walking;
        const TravelMode ride = TravelMode::Riding;
        const TravelMode ship = TravelMode::Ship;
        QTest::newRow("walk straight")
            << QStringList {"EEEE"} << QStringList {} << walk << 1 << "0/0"
            << "3/0" << false << "0/0 1/0 2/0 3/0" << 3 << "NACH o o o";
        QTest::newRow("walk on a road")
            << QStringList {"EEEE"} << QStringList {"0/0=1/0", "1/0=2/0", "2/0=3/0"} << walk << 1
            << "0/0"
            << "3/0" << false << "0/0 1/0 2/0 3/0" << 2 << "NACH o o o";
        QTest::newRow("ride on a road")
            << QStringList {"EEEEE"} << QStringList {"0/0=1/0", "1/0=2/0", "2/0=3/0", "3/0=4/0"}
            << ride << 2 << "0/0"
            << "4/0" << false << "0/0 1/0 2/0 3/0 4/0" << 1 << "NACH o o o o";
        QTest::newRow("ride without road")
            << QStringList {"EEEEE"} << QStringList {} << ride << 2 << "0/0"
            << "4/0" << false << "0/0 1/0 2/0 3/0 4/0" << 2 << "NACH o o o o";
        // A road built from one side only is no road: three full steps.
        QTest::newRow("half-built road")
            << QStringList {"EEEE"} << QStringList {"0/0>1/0", "1/0>2/0", "2/0>3/0"} << walk << 1
            << "0/0"
            << "3/0" << false << "0/0 1/0 2/0 3/0" << 3 << "NACH o o o";
        // Three road steps cost less than two plain ones.
        QTest::newRow("road detour")
            << QStringList {"EEE", "EE"} << QStringList {"0/0=0/1", "0/1=1/1", "1/1=2/0"} << walk
            << 2 << "0/0"
            << "2/0" << false << "0/0 0/1 1/1 2/0" << 1 << "NACH no o so";
        QTest::newRow("around the ocean")
            << QStringList {"EOE", "EEE"} << QStringList {} << walk << 1 << "0/0"
            << "2/0" << false << "0/0 0/1 1/1 2/0" << 3 << "NACH no o so";
        QTest::newRow("wood is walked")
            << QStringList {"EWE"} << QStringList {} << walk << 1 << "0/0"
            << "2/0" << false << "0/0 1/0 2/0" << 2 << "NACH o o";
        QTest::newRow("backwards")
            << QStringList {"EEO", "OEE"} << QStringList {} << walk << 1 << "2/1"
            << "0/0" << false << "2/1 1/1 1/0 0/0" << 3 << "NACH w sw w";
        QTest::newRow("unknown allowed")
            << QStringList {"E-E"} << QStringList {} << walk << 1 << "0/0"
            << "2/0" << true << "0/0 1/0 2/0" << 2 << "NACH o o";
        QTest::newRow("unknown target allowed")
            << QStringList {"EE"} << QStringList {} << walk << 1 << "0/0"
            << "2/0" << true << "0/0 1/0 2/0" << 2 << "NACH o o";
        QTest::newRow("ship lands") << QStringList {"EOOOE"} << QStringList {} << ship << 3 << "1/0"
                                    << "4/0" << false << "1/0 2/0 3/0 4/0" << 1 << "NACH o o o";
        QTest::newRow("ship leaves the coast")
            << QStringList {"EOOOO"} << QStringList {} << ship << 2 << "0/0"
            << "4/0" << false << "0/0 1/0 2/0 3/0 4/0" << 2 << "NACH o o o o";
        // Roads are for walkers: a ship's step costs one on every ocean.
        QTest::newRow("ship ignores roads")
            << QStringList {"OOO"} << QStringList {"0/0=1/0", "1/0=2/0"} << ship << 1 << "0/0"
            << "2/0" << false << "0/0 1/0 2/0" << 2 << "NACH o o";
        QTest::newRow("ship sails round a cape")
            << QStringList {"OEO", "OO"} << QStringList {} << ship << 5 << "0/0"
            << "2/0" << false << "0/0 0/1 1/1 2/0" << 1 << "NACH no o so";
        QTest::newRow("ship through unknown")
            << QStringList {"O-O"} << QStringList {} << ship << 2 << "0/0"
            << "2/0" << true << "0/0 1/0 2/0" << 1 << "NACH o o";

        QTest::newRow("walker and ocean")
            << QStringList {"EOE"} << QStringList {} << walk << 1 << "0/0"
            << "2/0" << false << "" << 0 << "";
        QTest::newRow("walker and unknown")
            << QStringList {"E-E"} << QStringList {} << walk << 1 << "0/0"
            << "2/0" << false << "" << 0 << "";
        QTest::newRow("ship and an isthmus")
            << QStringList {"OEO"} << QStringList {} << ship << 2 << "0/0"
            << "2/0" << false << "" << 0 << "";
        QTest::newRow("ship inland") << QStringList {"OEE"} << QStringList {} << ship << 2 << "0/0"
                                     << "2/0" << false << "" << 0 << "";
        QTest::newRow("ship from land to land")
            << QStringList {"EE"} << QStringList {} << ship << 2 << "0/0"
            << "1/0" << false << "" << 0 << "";
        QTest::newRow("walker into fire wall")
            << QStringList {"EFE"} << QStringList {} << walk << 1 << "0/0"
            << "2/0" << false << "0/0 1/0 2/0" << 2 << "NACH o o";
    }
    void routes()
    {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, roads);
        QFETCH(TravelMode, mode);
        QFETCH(int, speed);
        QFETCH(QString, start);
        QFETCH(QString, target);
        QFETCH(bool, unknown);
        QFETCH(QString, way);
        QFETCH(int, turns);
        QFETCH(QString, order);
        const MovementRules rules;
        const RouteMap map(0, mapRows(rows, roads), rules);
        Traveller traveller;
        traveller.mode = mode;
        traveller.speed = speed;
        traveller.start = at(start);
        const RouteResult route = findRoute(map, rules, traveller, at(target), 0, unknown);
        QCOMPARE(positions(route), way);
        QCOMPARE(route.found(), !way.isEmpty());
        if (route.found()) {
            QCOMPARE(route.turns, turns);
            QCOMPARE(moveOrder(route), order);
            QCOMPARE(route.arrivalTurn.size(), route.regions.size() - 1);
            QCOMPARE(route.arrivalTurn.last(), turns);
        }
    }

    // Why there is no way, as the line says it.
    void reasons_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<TravelMode>("mode");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("unknown");
        QTest::addColumn<NoRouteReason>("reason");
        QTest::addColumn<QString>("text");
        const TravelMode walk = TravelMode::Walking;
        const TravelMode ship = TravelMode::Ship;
        QTest::newRow("ocean between")
            << QStringList {"EOE"} << walk << "2/0" << 0 << false << NoRouteReason::Blocked
            << "Kein Weg von 0/0 nach 2/0: alle Wege sind versperrt "
               "durch Ozean und unbekannte Regionen.";
        QTest::newRow("ocean all round")
            << QStringList {"OOOO", "OEOE", "OOOO"} << walk << "3/1" << 0 << true
            << NoRouteReason::Blocked
            << "Kein Weg von 1/1 nach 3/1: alle Wege sind versperrt durch Ozean.";
        QTest::newRow("ocean target")
            << QStringList {"EO"} << walk << "1/0" << 0 << false << NoRouteReason::ImpassableTarget
            << "Kein Weg: 1/0 ist Ozean, dorthin kann die Einheit "
               "nicht gehen.";
        QTest::newRow("unknown target")
            << QStringList {"EE"} << walk << "5/0" << 0 << false << NoRouteReason::UnknownTarget
            << "Kein Weg: die Region 5/0 ist unbekannt.";
        QTest::newRow("other level")
            << QStringList {"EE"} << walk << "1/0" << 2 << false << NoRouteReason::OtherLevel
            << "Kein Weg: 1/0/2 liegt auf einer anderen Ebene als die "
               "Einheit (0/0).";
        QTest::newRow("same region")
            << QStringList {"EE", "EE"} << walk << "1/1" << 0 << false << NoRouteReason::SameRegion
            << "Kein Weg: die Einheit steht schon in 1/1.";
        QTest::newRow("ship and land")
            << QStringList {"EEEE", "EEEE", "EEEE"} << ship << "3/1" << 0 << true
            << NoRouteReason::Blocked
            << "Kein Weg von 1/1 nach 3/1: alle Wege sind versperrt durch Land.";
    }
    void reasons()
    {
        QFETCH(QStringList, rows);
        QFETCH(TravelMode, mode);
        QFETCH(QString, target);
        QFETCH(int, level);
        QFETCH(bool, unknown);
        QFETCH(NoRouteReason, reason);
        QFETCH(QString, text);
        const MovementRules rules;
        const RouteMap map(0, mapRows(rows), rules);
        UnitTravel travel;
        travel.traveller.mode = mode;
        // A one-row map starts at its first region, the others in the middle.
        travel.traveller.start = rows.size() == 1 ? RegionCoord {0, 0} : RegionCoord {1, 1};
        const RouteResult route
            = findRoute(map, rules, travel.traveller, at(target), level, unknown);
        QCOMPARE(route.reason, reason);
        QCOMPARE(noRouteText(route, travel, at(target), level), text);
    }

    // An allowed search through unknown regions ends even without a way: the target
    // lies in a ring of ocean.
    void unknownSearchEnds()
    {
        const MovementRules rules;
        const RouteMap map(0, mapRows({"E-OOO", "--OEO", "--OOO"}), rules);
        Traveller traveller;
        traveller.start = {0, 0};
        const RouteResult route = findRoute(map, rules, traveller, {3, 1}, 0, true);
        QCOMPARE(route.reason, NoRouteReason::Blocked);
        QCOMPARE(route.blockingTerrains, QStringList {u"Ozean"_s});
    }

    // At the edge of the range of coordinates a level does not wrap around, and a level
    // that spans the whole range is searched like any other.
    void edgeOfTheCoordinates()
    {
        constexpr int top = std::numeric_limits<int>::max();
        constexpr int bottom = std::numeric_limits<int>::min();
        QVector<RouteRegionRow> rows(4);
        rows[0] = {top - 1, top, u"Ebene"_s, {}};
        rows[1] = {top, top, u"Ebene"_s, {}};
        rows[2] = {bottom, top, u"Ebene"_s, {}};
        rows[3] = {bottom, bottom, u"Ebene"_s, {}};
        const MovementRules rules;
        const RouteMap map(0, rows, rules);
        QCOMPARE(map.indexOf({top, top}), 1);
        QCOMPARE(map.indexOf({bottom, bottom}), 3);
        QCOMPARE(map.indexOf({0, 0}), -1);
        Traveller walker;
        walker.start = {top - 1, top};
        const RouteResult step = findRoute(map, rules, walker, {top, top}, 0, false);
        QCOMPARE(step.regions.size(), 2);
        QCOMPARE(moveOrder(step), u"NACH o"_s);
        walker.start = {top, top};
        QCOMPARE(
            findRoute(map, rules, walker, {bottom, top}, 0, false).reason, NoRouteReason::Blocked);
        QVERIFY(!hasNeighbour({top, 0}, HexDirection::East));
        QVERIFY(!hasNeighbour({0, bottom}, HexDirection::SouthWest));
        QVERIFY(hasNeighbour({top, 0}, HexDirection::West));
        QCOMPARE(hexDistance({bottom, bottom}, {top, top}), 2 * (qint64(top) - bottom));
    }

    void rulesFromText()
    {
        QStringList problems;
        const MovementRules rules = MovementRules::fromText(u"# eigene Regeln\n"
                                                            "gehen 2\n"
                                                            "REITEN 3  # Großpferde\n"
                                                            "strasse 1/3\n"
                                                            "schiff Kogge 4\n"
                                                            "schiff Boot 1\n"
                                                            "unpassierbar Ozean\n"
                                                            "unpassierbar Feuerwand Gletscher\n"
                                                            "\n"_s,
            u"bewegung.txt"_s, &problems);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
        QCOMPARE(rules.walkingSpeed(), 2);
        QCOMPARE(rules.ridingSpeed(), 3);
        QCOMPARE(rules.costUnit(), 3);
        QCOMPARE(rules.roadStepCost(), 1);
        QCOMPARE(rules.shipSpeed(u"Kogge"_s), 4);
        QCOMPARE(rules.shipSpeed(u"Boot"_s), 1);
        QCOMPARE(rules.shipSpeed(u"Trireme"_s), 7);
        QVERIFY(!rules.shipSpeed(u"Floß"_s));
        QVERIFY(rules.isImpassable(u"Ozean"_s));
        QVERIFY(rules.isImpassable(u"Feuerwand"_s));
        QVERIFY(rules.isImpassable(u"Gletscher"_s));
        QVERIFY(!rules.isImpassable(u"Wald"_s));
        QVERIFY(rules.isWater(u"Ozean"_s));

        // A third of a step on the road: five road steps walked at 2 a turn are one turn.
        const RouteMap map(
            0, mapRows({"EEEEEE"}, {"0/0=1/0", "1/0=2/0", "2/0=3/0", "3/0=4/0", "4/0=5/0"}), rules);
        Traveller walker;
        walker.speed = rules.walkingSpeed();
        const RouteResult route = findRoute(map, rules, walker, {5, 0}, 0, false);
        QCOMPARE(route.cost, 5);
        QCOMPARE(route.turns, 1);
        // The fire wall is shut now.
        const RouteMap fire(0, mapRows({"EFE"}), rules);
        QCOMPARE(findRoute(fire, rules, walker, {1, 0}, 0, false).reason,
            NoRouteReason::ImpassableTarget);
        QCOMPARE(findRoute(fire, rules, walker, {2, 0}, 0, true).blockingTerrains,
            QStringList {u"Feuerwand"_s});
    }

    void badRuleLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("said");
        QTest::newRow("unknown rule") << "fliegen 3"
                                      << "unbekannte Regel \"fliegen\"";
        QTest::newRow("speed missing") << "gehen"
                                       << "nach \"gehen\" steht eine ganze Zahl";
        QTest::newRow("speed zero") << "reiten 0"
                                    << "nach \"reiten\" steht eine ganze Zahl";
        QTest::newRow("speed text") << "gehen schnell"
                                    << "ganze Zahl";
        QTest::newRow("two speeds") << "gehen 1 2"
                                    << "ganze Zahl";
        QTest::newRow("huge speed") << "reiten 99999999999"
                                    << "ganze Zahl";
        QTest::newRow("road fraction") << "strasse 1/0"
                                       << "Bruch wie 1/2";
        QTest::newRow("road decimal") << "strasse 0.5"
                                      << "Bruch wie 1/2";
        QTest::newRow("ship without speed") << "schiff Kogge"
                                            << "Schiffstyp";
        QTest::newRow("ship without type") << "schiff 4"
                                           << "Schiffstyp";
    }
    void badRuleLines()
    {
        QFETCH(QString, line);
        QFETCH(QString, said);
        QStringList problems;
        const MovementRules rules = MovementRules::fromText(
            u"gehen 3\n"_s + line + u"\nreiten 5\n"_s, u"/spiel/bewegung.txt"_s, &problems);
        QCOMPARE(problems.size(), 1);
        QVERIFY2(
            problems[0].startsWith(u"/spiel/bewegung.txt, Zeile 2: "_s), qPrintable(problems[0]));
        QVERIFY2(problems[0].contains(said), qPrintable(problems[0]));
        // The bad line changes nothing; the good ones around it count.
        QCOMPARE(rules.walkingSpeed(), 3);
        QCOMPARE(rules.ridingSpeed(), 5);
        QCOMPARE(rules.costUnit(), 2);
        QCOMPARE(rules.roadStepCost(), 1);
        QVERIFY(!rules.shipSpeed(u"Kogge"_s));
    }

    // The game folder's file: absent gives the defaults, a bad one stops with its lines.
    void rulesOfTheGameFolder()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        QCOMPARE(MovementRules::forGame(folder).walkingSpeed(), 1);
        QCOMPARE(MovementRules::forGame(folder).shipSpeed(u"Langboot"_s), 3);
        writeBytes(folder + u"bewegung.txt"_s, "schiff Langboot 4\r\n");
        QCOMPARE(MovementRules::forGame(folder).shipSpeed(u"Langboot"_s), 4);
        writeBytes(folder + u"bewegung.txt"_s, "gehen 2\n# gut\nreiten zwei\nwasser\nlaufen 3\n");
        try {
            MovementRules::forGame(folder);
            QFAIL("a bad rules file was taken");
        } catch (const UserError &e) {
            QVERIFY2(e.message().contains(u"bewegung.txt, Zeile 3: "_s), qPrintable(e.message()));
            QVERIFY2(e.message().contains(u"bewegung.txt, Zeile 5: "_s), qPrintable(e.message()));
            QVERIFY2(!e.message().contains(u"Zeile 4"_s), qPrintable(e.message()));
        }
    }

    // How a stored unit travels: riding needs a horse a person and Reiten, a captain
    // sails the ship in its region.
    void unitTravelOfStoredUnits_data()
    {
        QTest::addColumn<QVariantMap>("fields");
        QTest::addColumn<QString>("ship"); // type of ship 50 at 1/1 with captain 100
        QTest::addColumn<QString>("shipPosition");
        QTest::addColumn<TravelMode>("mode");
        QTest::addColumn<int>("speed");
        const QVariantMap horses {{u"Personen"_s, 3}, {u"Pferd"_s, 3}, {u"Reiten"_s, u"90 1"_s}};
        QTest::newRow("rider") << horses << ""
                               << "" << TravelMode::Riding << 2;
        QVariantMap fewHorses = horses;
        fewHorses[u"Pferd"_s] = 2;
        QTest::newRow("a horse short") << fewHorses << ""
                                       << "" << TravelMode::Walking << 1;
        QVariantMap noSkill = horses;
        noSkill[u"Reiten"_s] = u"20 0"_s;
        QTest::newRow("cannot ride") << noSkill << ""
                                     << "" << TravelMode::Walking << 1;
        QVariantMap noField = horses;
        noField.remove(u"Reiten"_s);
        QTest::newRow("no Reiten") << noField << ""
                                   << "" << TravelMode::Walking << 1;
        QTest::newRow("captain") << horses << "Langboot"
                                 << "1/1" << TravelMode::Ship << 3;
        QTest::newRow("captain, level form") << horses << "Trireme"
                                             << "1/1/0" << TravelMode::Ship << 7;
        QTest::newRow("ship elsewhere") << horses << "Langboot"
                                        << "4/4" << TravelMode::Riding << 2;
    }
    void unitTravelOfStoredUnits()
    {
        QFETCH(QVariantMap, fields);
        QFETCH(QString, ship);
        QFETCH(QString, shipPosition);
        QFETCH(TravelMode, mode);
        QFETCH(int, speed);
        ImportHarness h;
        GameRows rows(h.session->database(), 1, 404);
        rows.unit(100, u"1/1"_s, fields);
        if (!ship.isEmpty())
            rows.ship(50, shipPosition, {{u"Schiffstyp"_s, ship}, {u"Kapitaen"_s, 100}});
        GameQueries queries(h.session->database());
        const UnitTravel travel = unitTravel(queries, MovementRules(), 1, 100, u"2s"_s);
        QCOMPARE(travel.traveller.mode, mode);
        QCOMPARE(travel.traveller.speed, speed);
        QCOMPARE(travel.traveller.start, (RegionCoord {1, 1}));
        QCOMPARE(travel.shipNumber, ship.isEmpty() || mode != TravelMode::Ship ? 0 : 50);
    }

    void unitTravelRefuses()
    {
        ImportHarness h;
        GameRows rows(h.session->database(), 1, 404);
        rows.unit(100, u"1/1/2"_s)
            .ship(50, u"1/1/2"_s, {{u"Schiffstyp"_s, u"Floß"_s}, {u"Kapitaen"_s, 100}});
        rows.unit(101, u"irgendwo"_s);
        GameQueries queries(h.session->database());
        const auto refusal = [&](int number) {
            try {
                unitTravel(queries, MovementRules(), 1, number, u"nr"_s);
            } catch (const UserError &e) {
                return e.message();
            }
            return QString();
        };
        QVERIFY2(refusal(100).contains(u"vom Typ \"Floß\""_s), qPrintable(refusal(100)));
        QVERIFY2(refusal(101).contains(u"\"irgendwo\""_s), qPrintable(refusal(101)));
        QCOMPARE(refusal(102), u"Das Spiel kennt keine Einheit nr."_s);
    }

    // The way over a stored level: its roads, its terrain, and the unit's level.
    void plannedOverStoredRegions()
    {
        ImportHarness h;
        GameRows rows(h.session->database(), 1, 404);
        rows.region(0, 0, 3, {{u"Regiontyp"_s, u"Ebene"_s}, {u"Strasse2"_s, 100}})
            .region(1, 0, 3, {{u"Regiontyp"_s, u"Ebene"_s}, {u"Strasse5"_s, 100}})
            .region(2, 0, 3, {{u"Regiontyp"_s, u"Ozean"_s}})
            .region(1, 1, 3, {{u"Regiontyp"_s, u"Wald"_s}})
            .region(2, 0, 0, {{u"Regiontyp"_s, u"Ebene"_s}})
            .unit(100, u"0/0/3"_s);
        GameQueries queries(h.session->database());
        const MovementRules rules;
        const UnitTravel travel = unitTravel(queries, rules, 1, 100, u"2s"_s);
        const RouteResult road = planRoute(queries, rules, 1, travel, {1, 0}, 3, false);
        QCOMPARE(road.cost, 1); // half a step
        QCOMPARE(routePositions(road, 3), u"0/0/3 1/0/3"_s);
        const RouteResult wood = planRoute(queries, rules, 1, travel, {1, 1}, 3, false);
        QCOMPARE(routePositions(wood, 3), u"0/0/3 1/0/3 1/1/3"_s);
        QCOMPARE(wood.cost, 3);
        QCOMPARE(planRoute(queries, rules, 1, travel, {2, 0}, 3, false).reason,
            NoRouteReason::ImpassableTarget);
        QCOMPARE(planRoute(queries, rules, 1, travel, {2, 0}, 0, false).reason,
            NoRouteReason::OtherLevel);
    }

    void moveOrderInTheOrders_data()
    {
        QTest::addColumn<QStringList>("orders");
        QTest::addColumn<QStringList>("expected");
        const QString line = u"NACH o no"_s;
        QTest::newRow("none") << QStringList {"LERNE Reiten"} << QStringList {"LERNE Reiten", line};
        QTest::newRow("empty") << QStringList {} << QStringList {line};
        QTest::newRow("NACH") << QStringList {"ARBEITE", "NACH w w", "; Hafen"}
                              << QStringList {"ARBEITE", line, "; Hafen"};
        QTest::newRow("route, lower case, indented") << QStringList {
            "  route o w PAUSE", "  ARBEITE"} << QStringList {"  " + line, "  ARBEITE"};
        QTest::newRow("indented as the last order") << QStringList {"    LERNE Reiten",
            "\tARBEITE"} << QStringList {"    LERNE Reiten", "\tARBEITE", "\t" + line};
        QTest::newRow("first of two")
            << QStringList {"NACH o", "NACH w"} << QStringList {line, "NACH w"};
        QTest::newRow("a comment naming NACH")
            << QStringList {"; NACH w", "ARBEITE"} << QStringList {"; NACH w", "ARBEITE", line};
        QTest::newRow("word that begins with it")
            << QStringList {"NACHT"} << QStringList {"NACHT", line};
        QTest::newRow("before trailing blank lines")
            << QStringList {"ARBEITE", ""} << QStringList {"ARBEITE", line, ""};
    }
    void moveOrderInTheOrders()
    {
        QFETCH(QStringList, orders);
        QFETCH(QStringList, expected);
        QCOMPARE(withMoveOrder(orders, u"NACH o no"_s), expected);
    }
};

QTEST_MAIN(TestRoute)
#include "test_route.moc"
