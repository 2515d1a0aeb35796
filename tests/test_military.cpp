#include "base/errors.h"
#include "base/identifiers.h"
#include "db/database.h"
#include "gamefixture.h"
#include "military/armies.h"
#include "military/groupings.h"
#include "military/shipregister.h"
#include "testsupport.h"

#include <QCollator>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <numeric>

using namespace tolvimar;
using namespace tolvimar::test;

Q_DECLARE_METATYPE(GroupingSelection)

namespace {

const int kFaction = 4711;
const int kTurn = 404;
const QString kQuoted = QStringLiteral("Der \"Späher\" O'Neil");

struct Unit
{
    int game = 1;
    int number = 0;
    QString position;
    QString name;
    int faction = kFaction;
    int date = kTurn;
    QVariant persons;
    QVariant group;
    QVariantMap fields; // further fields by name
};

struct Ship
{
    int game = 1;
    int number = 0;
    QString position;
    QString name;
    QString type;
    QVariant faction;
    QVariant percent;
    int date = kTurn;
};

// Two games whose player has the same faction number; the second holds a unit with
// the same number as one of the first.
const QList<Unit> &units()
{
    static const QList<Unit> list = {
        {1, 100, QStringLiteral("3/4"), QStringLiteral("Garde"), kFaction, kTurn, 10,
            QStringLiteral("1. Armee"),
            {{QStringLiteral("Hiebwaffen"), QStringLiteral("300 3")},
                {QStringLiteral("Ausdauer"), QStringLiteral("150 2")}, {QStringLiteral("Speer"), 4},
                {QStringLiteral("Schwert"), 6}, {QStringLiteral("Pferd"), 2}}},
        {1, 101, QStringLiteral("1/2"), QStringLiteral("Bogner"), kFaction, kTurn, 5,
            QStringLiteral("2. Armee"),
            {{QStringLiteral("Bogenschiessen"), QStringLiteral("100 2")},
                {QStringLiteral("Bogen"), 5}, {QStringLiteral("Reiten"), QStringLiteral("30 1")},
                {QStringLiteral("Silber"), 120}}},
        {1, 102, QStringLiteral("1/2"), QStringLiteral("Händler"), kFaction, kTurn, 2,
            QStringLiteral("Keine"), {}},
        {1, 103, QStringLiteral("2/2"), QStringLiteral("Alte Wache"), kFaction, kTurn - 1, 7,
            QStringLiteral("1. Armee"), {{QStringLiteral("Schwert"), 7}}},
        {1, 104, QStringLiteral("5/5"), kQuoted, kFaction, kTurn, 1, QVariant(), {}},
        {1, 200, QStringLiteral("4/4"), QStringLiteral("Fremde Garde"), 4800, kTurn, 30,
            QStringLiteral("1. Armee"), {{QStringLiteral("Schwert"), 30}}},
        {1, 105, QStringLiteral("6/6"), QStringLiteral("Fuhrleute"), kFaction, kTurn, 3,
            QStringLiteral("Transporter"), {}},
        {2, 100, QStringLiteral("3/4"), QStringLiteral("Anderes Spiel"), kFaction, kTurn, 99,
            QStringLiteral("1. Armee"), {{QStringLiteral("Schwert"), 99}}},
    };
    return list;
}

const QList<Ship> &ships()
{
    static const QList<Ship> list = {
        {1, 77, QStringLiteral("2/2"), QStringLiteral("Seeschwalbe"), QStringLiteral("Boot"),
            kFaction, 100, kTurn},
        {1, 78, QStringLiteral("1/3"), QStringLiteral("Drache"), QStringLiteral("Drachenschiff"),
            4800, 50, kTurn},
        {1, 79, QStringLiteral("0/0"), QStringLiteral("Altes Boot"), QStringLiteral("Boot"),
            kFaction, 100, kTurn - 1},
        {1, 80, QStringLiteral("10/1"), QStringLiteral("Unfertig"), QStringLiteral("Langboot"),
            QVariant(), QVariant(), kTurn},
        {2, 81, QStringLiteral("2/2"), QStringLiteral("Fremdes Boot"), QStringLiteral("Boot"),
            kFaction, 100, kTurn},
    };
    return list;
}

ActiveGame game(int number)
{
    ActiveGame g;
    g.number = number;
    g.type = GameType::Kalmora;
    g.factionNumber = kFaction;
    g.newestTurn = kTurn;
    g.base = 36;
    return g;
}

QString id(int number)
{
    return idToStr(number, 36);
}

// The unit numbers of a report's grid (column `column`), the headings left out.
QStringList column(const GridRows &rows, int column)
{
    QStringList cells;
    for (int r = 1; r < rows.size(); ++r)
        cells.append(rows[r].value(column));
    return cells;
}

QStringList ids(std::initializer_list<int> numbers)
{
    QStringList list;
    for (int n : numbers)
        list.append(id(n));
    return list;
}

} // namespace

class TestMilitary : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_db = std::make_unique<Database>(m_dir->filePath(QStringLiteral("kalmora.sqlite")));
        Transaction fixture(*m_db);
        for (const Unit &u : units())
            insertUnit(u);
        for (const Ship &s : ships())
            GameRows(*m_db, s.game, s.date)
                .ship(s.number, s.position,
                    {{QStringLiteral("Schiffs Name"), s.name},
                        {QStringLiteral("Schiffstyp"), s.type},
                        {QStringLiteral("Partei"), s.faction},
                        {QStringLiteral("Prozent"), s.percent}});
        GameRows(*m_db, 1, kTurn)
            .faction(kFaction, QStringLiteral("Die Prüfer"))
            .faction(4800, QStringLiteral("Bund der Eichen"));
        GameRows(*m_db, 2, kTurn).faction(4900, QStringLiteral("Nur in Zwei"));
        fixture.commit();
    }
    void cleanup()
    {
        m_db.reset();
        m_dir.reset();
    }

    void armyReport_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<qint64>("soldiers");
        QTest::addColumn<qint64>("weapons");
        QTest::addColumn<qint64>("rangedWeapons");
        // "Keine", no group, another faction, an older turn and the other game stay out.
        QTest::newRow("Alle: every army, by position")
            << "Alle" << ids({101, 100}) << qint64(15) << qint64(10) << qint64(5);
        QTest::newRow("1. Armee") << "1. Armee" << ids({100}) << qint64(10) << qint64(10)
                                  << qint64(0);
        QTest::newRow("2. Armee without a sword")
            << "2. Armee" << ids({101}) << qint64(5) << qint64(0) << qint64(5);
        QTest::newRow("empty army: headings and one empty row")
            << "3. Armee" << QStringList {QString()} << qint64(0) << qint64(0) << qint64(0);
    }
    void armyReport()
    {
        QFETCH(QString, choice);
        QFETCH(QStringList, numbers);
        const ArmyReport report = Armies(*m_db).report(game(1), choice);
        QCOMPARE(report.rows.first(), Armies::headings());
        QCOMPARE(column(report.rows, 2), numbers);
        // Each row's unit key names the unit the row shows.
        QCOMPARE(report.units.size(), numbers.first().isEmpty() ? 0 : numbers.size());
        for (int r = 0; r < report.units.size(); ++r) {
            QCOMPARE(report.units[r].place, parsePosition(report.rows[r + 1][0]));
            QCOMPARE(id(report.units[r].number), report.rows[r + 1][2]);
        }
        QTEST(report.soldiers, "soldiers");
        QTEST(report.weapons, "weapons");
        QTEST(report.rangedWeapons, "rangedWeapons");
        for (const QStringList &row : report.rows)
            QCOMPARE(row.size(), 12);
    }

    void armyRecordKeepsEmptyFieldsEmpty()
    {
        const GridRows rows = Armies(*m_db).report(game(1), QStringLiteral("Alle")).rows;
        QCOMPARE(rows[1],
            (QStringList {"1/2", "Bogner", id(101), "5", "", "", "[20] 2", "", "", "", "5", ""}));
        QCOMPARE(rows[2],
            (QStringList {
                "3/4", "Garde", id(100), "10", "", "[30] 3", "", "[15] 2", "4", "6", "", "2"}));
    }

    void armyOfTheOtherGameWithTheSameFaction()
    {
        const ArmyReport report = Armies(*m_db).report(game(2), QStringLiteral("Alle"));
        QCOMPARE(column(report.rows, 1), QStringList {QStringLiteral("Anderes Spiel")});
        QCOMPARE(report.soldiers, 99);
        QCOMPARE(report.weapons, 99);
    }

    void groupingSelection_data()
    {
        QTest::addColumn<GroupingSelection>("selection");
        QTest::addColumn<int>("gameNumber");
        QTest::addColumn<QStringList>("numbers");
        auto selection = [](const QString &group, int faction, const QString &unit,
                             const QString &name, const QString &op, int date) {
            GroupingSelection s;
            s.group = group;
            s.faction = faction;
            s.unitNumber = unit;
            s.unitName = name;
            s.dateComparison = op;
            s.date = QString::number(date);
            return s;
        };
        // By group (an empty one reads "Keine"), then position.
        QTest::newRow("Alle and -2: only the date filters") << selection(
            "Alle", -2, "", "", "=", kTurn) << 1 << ids({100, 200, 101, 102, 104, 105});
        QTest::newRow("the other game with the same faction number")
            << selection("Alle", -2, "", "", "=", kTurn) << 2 << ids({100});
        QTest::newRow("an older turn")
            << selection("Alle", -2, "", "", "<", kTurn) << 1 << ids({103});
        QTest::newRow("newer than the turn before") << selection("Alle", -2, "", "", ">", kTurn - 1)
                                                    << 1 << ids({100, 200, 101, 102, 104, 105});
        QTest::newRow("group") << selection("Transporter", -2, "", "", "=", kTurn) << 1
                               << ids({105});
        QTest::newRow("faction") << selection("Alle", 4800, "", "", "=", kTurn) << 1 << ids({200});
        QTest::newRow("unit number as identifier text, any case")
            << selection("Alle", -2, id(100).toUpper(), "", "=", kTurn) << 1 << ids({100});
        QTest::newRow("a name with quotation marks")
            << selection("Alle", kFaction, "", kQuoted, "=", kTurn) << 1 << ids({104});
        QTest::newRow("a part of the name, any case")
            << selection("Alle", -2, "", "gARde", "=", kTurn) << 1 << ids({100, 200});
        QTest::newRow("a part with an umlaut in another case")
            << selection("Alle", -2, "", "SPÄHER", "=", kTurn) << 1 << ids({104});
        QTest::newRow("a name in quotation marks matches exactly")
            << selection("Alle", -2, "", "\"Garde\"", "=", kTurn) << 1 << ids({100});
        QTest::newRow("group and faction together")
            << selection("1. Armee", kFaction, "", "", "=", kTurn) << 1 << ids({100});
        QTest::newRow("nothing found: headings and one empty row")
            << selection("Alle", -2, "", "Niemand", "=", kTurn) << 1 << QStringList {QString()};
    }
    void groupingSelection()
    {
        QFETCH(GroupingSelection, selection);
        QFETCH(int, gameNumber);
        QFETCH(QStringList, numbers);
        const GroupingReport report = Groupings(*m_db).report(game(gameNumber), selection);
        const GridRows rows = report.gridRows();
        QCOMPARE(rows.first(), Groupings::headings());
        QCOMPARE(column(rows, 3), numbers);
        QCOMPARE(report.count, numbers.first().isEmpty() ? 0 : numbers.size());
        // Each row's unit key names the unit the row shows.
        QCOMPARE(report.units.size(), report.count);
        for (int r = 0; r < report.units.size(); ++r) {
            QCOMPARE(report.units[r].position, rows[r + 1][1]);
            QCOMPARE(id(report.units[r].number), rows[r + 1][3]);
        }
    }

    void groupingRecordWithItsFillers()
    {
        MilitaryUnitRow plain;
        plain.number = 102;
        plain.position = QStringLiteral("1/2");
        plain.name = QStringLiteral("Händler");
        QCOMPARE(RecordList::recordText(Groupings::unitFields(plain, 36)),
            QStringLiteral("Keine*1;1/2*2;Händler*3;2u*4;0*5;0*6;0*7;0*8;0*9;0*10;0*11;0*12;0"
                           "*13;0*14;0 [0]*15;0 [0]*16;0*17;Ende"));

        const GridRows rows = Groupings(*m_db)
                                  .report(game(1),
                                      [] {
                                          GroupingSelection s;
                                          s.unitNumber = id(101);
                                          s.date = QString::number(kTurn);
                                          return s;
                                      }())
                                  .gridRows();
        QCOMPARE(rows[1],
            (QStringList {"2. Armee", "1/2", "Bogner", id(101), "5", "0", "0", "[20] 2", "0", "0",
                "0", "5"}));
    }

    void badSelectionTextsAreClearErrors_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("message");
        QTest::newRow("date no number") << "="
                                        << "Mai"
                                        << "\"Mai\" ist keine Zahl";
        QTest::newRow("date empty") << "="
                                    << ""
                                    << "\"\" ist keine Zahl";
        QTest::newRow("operator") << "<="
                                  << "404"
                                  << "\"<=\" ist kein Vergleich";
    }
    void badSelectionTextsAreClearErrors()
    {
        QFETCH(QString, op);
        QFETCH(QString, date);
        QFETCH(QString, message);
        GroupingSelection units;
        units.dateComparison = op;
        units.date = date;
        ShipRegisterSelection ships;
        ships.dateComparison = op;
        ships.date = date;
        for (const auto &run : std::initializer_list<std::function<void()>> {
                 [&] { Groupings(*m_db).report(game(1), units); },
                 [&] { ShipRegister(*m_db).report(game(1), ships); }}) {
            try {
                run();
                QFAIL("no error");
            } catch (const UserError &e) {
                QVERIFY2(e.message().contains(message), qPrintable(e.message()));
            }
        }
    }

    void aTalentWithoutANumberStopsTheReportWithAMessage()
    {
        insertUnit({1, 300, QStringLiteral("7/7"), QStringLiteral("Kaputt"), kFaction, kTurn, 2,
            QStringLiteral("4. Armee"), {{QStringLiteral("Hiebwaffen"), QStringLiteral("viel")}}});
        try {
            Armies(*m_db).report(game(1), QStringLiteral("4. Armee"));
            QFAIL("no error");
        } catch (const UserError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("Kaputt"))
                    && e.message().contains(QStringLiteral("Hiebwaffen"))
                    && e.message().contains(QStringLiteral("\"viel\""))
                    && e.message().contains(QStringLiteral("(Nr. 8c)")),
                qPrintable(e.message()));
        }
    }

    void groupchange_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("army") << "3. Armee" << true << "3. Armee";
        QTest::newRow("Keine is stored as text") << "Keine" << true << "Keine";
        QTest::newRow("Händler") << "Händler" << true << "Händler";
        QTest::newRow("Steuereintreiber does nothing") << "Steuereintreiber" << false << "1. Armee";
    }
    void groupchange()
    {
        QFETCH(QString, caption);
        QFETCH(bool, changed);
        QFETCH(QString, stored);
        Groupings groupings(*m_db);
        QCOMPARE(groupings.groupchange(game(1), caption, QStringLiteral("3/4"), id(100)), changed);
        QCOMPARE(group(1, 100), stored);
        QCOMPARE(group(2, 100), QStringLiteral("1. Armee"));
    }

    void groupchangeFindsTheUnitByPositionAndNumber()
    {
        Groupings groupings(*m_db);
        QVERIFY(!groupings.groupchange(
            game(1), QStringLiteral("2. Armee"), QStringLiteral("9/9"), id(100)));
        QVERIFY(!groupings.groupchange(
            game(1), QStringLiteral("2. Armee"), QStringLiteral("3/4"), id(999)));
        QCOMPARE(group(1, 100), QStringLiteral("1. Armee"));
        // A row's key: the unit's place and number, no text to read back.
        QVERIFY(!groupings.groupchange(
            game(1), QStringLiteral("2. Armee"), UnitKey {Position {9, 9, 0}, 100}));
        QVERIFY(groupings.groupchange(
            game(1), QStringLiteral("2. Armee"), UnitKey {Position {3, 4, 0}, 100}));
        QCOMPARE(group(1, 100), QStringLiteral("2. Armee"));
        QCOMPARE(group(2, 100), QStringLiteral("1. Armee"));
        QVERIFY_THROWS_EXCEPTION(UserError,
            groupings.groupchange(game(1), QStringLiteral("Chef"), QStringLiteral("3/4"), id(100)));
    }

    void unitsSetToKeineLeaveTheArmies()
    {
        Groupings(*m_db).groupchange(
            game(1), QStringLiteral("Keine"), QStringLiteral("3/4"), id(100));
        QCOMPARE(column(Armies(*m_db).report(game(1), QStringLiteral("Alle")).rows, 2), ids({101}));
        Groupings(*m_db).groupchange(
            game(1), QStringLiteral("4. Armee"), QStringLiteral("5/5"), id(104));
        QCOMPARE(column(Armies(*m_db).report(game(1), QStringLiteral("4. Armee")).rows, 1),
            QStringList {kQuoted});
    }

    void shipRegister_data()
    {
        QTest::addColumn<int>("gameNumber");
        QTest::addColumn<int>("faction");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("date");
        QTest::addColumn<QStringList>("numbers");
        // By position text: "1/3" before "10/1" before "2/2".
        QTest::newRow("-2 and Alle: every ship of the turn")
            << 1 << -2 << "Alle"
            << "=" << kTurn << QStringList {"78", "80", "77"};
        QTest::newRow("the other game") << 2 << -2 << "Alle"
                                        << "=" << kTurn << QStringList {"81"};
        QTest::newRow("one faction") << 1 << kFaction << "Alle"
                                     << "=" << kTurn << QStringList {"77"};
        QTest::newRow("one type") << 1 << -2 << "Boot"
                                  << "=" << kTurn << QStringList {"77"};
        QTest::newRow("another turn is not listed") << 1 << kFaction << "Boot"
                                                    << "=" << kTurn + 1 << QStringList {QString()};
        QTest::newRow("older than the turn") << 1 << -2 << "Alle"
                                             << "<" << kTurn << QStringList {"79"};
        QTest::newRow("newer than the turn before")
            << 1 << -2 << "Alle"
            << ">" << kTurn - 1 << QStringList {"78", "80", "77"};
        QTest::newRow("empty: headings and one empty row")
            << 1 << 4800 << "Boot"
            << "=" << kTurn << QStringList {QString()};
    }
    void shipRegister()
    {
        QFETCH(int, gameNumber);
        QFETCH(QStringList, numbers);
        ShipRegisterSelection selection;
        QFETCH(int, faction);
        selection.faction = faction;
        QFETCH(QString, type);
        selection.type = type;
        QFETCH(QString, op);
        selection.dateComparison = op;
        QFETCH(int, date);
        selection.date = QString::number(date);
        const ShipRegisterReport report = ShipRegister(*m_db).report(game(gameNumber), selection);
        QCOMPARE(report.rows.first(), ShipRegister::headings());
        QCOMPARE(column(report.rows, 2), numbers);
        QCOMPARE(report.count, numbers.first().isEmpty() ? 0 : numbers.size());
        for (const QStringList &row : report.rows)
            QCOMPARE(row.size(), 6);
        QCOMPARE(report.places.size(), report.count);
        for (int r = 0; r < report.places.size(); ++r)
            QCOMPARE(report.places[r], parsePosition(report.rows[r + 1][0]));
    }

    void shipRecords()
    {
        ShipRegisterSelection selection;
        selection.date = QString::number(kTurn);
        const GridRows rows = ShipRegister(*m_db).report(game(1), selection).rows;
        QCOMPARE(rows[1], (QStringList {"1/3", "Drache", "78", "Drachenschiff", "4800", "50%"}));
        QCOMPARE(rows[2], (QStringList {"10/1", "Unfertig", "80", "Langboot", "", "%"}));
        QCOMPARE(RecordList::recordText(rows[3]),
            QStringLiteral("2/2*1;Seeschwalbe*2;77*3;Boot*4;4711*5;100%"));
    }

    void factionChoicesOfTheGame()
    {
        QStringList names;
        for (const FactionRow &f : Groupings(*m_db).factionChoices(1))
            names.append(f.name + u'=' + QString::number(f.number));
        QCOMPARE(names,
            (QStringList {"Alle=-2", "Bund der Eichen=4800", QStringLiteral("Die Prüfer=4711")}));
        QCOMPARE(ShipRegister(*m_db).factionChoices(2).size(), 2);
    }

    void recordsSortRegardlessOfCase()
    {
        RecordList list;
        for (const char *first : {"b", "A", "a", "C"})
            list.append({QString::fromUtf8(first), QStringLiteral("x")}, 1);
        QCOMPARE(
            column(list.gridRows({QStringLiteral("h")}), 0), (QStringList {"A", "a", "b", "C"}));
    }

    void recordOrderIsTheCollatorsOrder_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("punctuation, digits and blanks")
            << QStringList {"1/2*1;a", "1.2*1;a", "1-2*1;a", "1 2*1;a", "12*1;a", "1*2;a",
                   "-1/2*1;b", "Armee 2*1;x", "Armee*1;x", "armee*1;x", "(1)*1;x", "_*1;x"};
        QTest::newRow("accents and case") << QStringList {QStringLiteral("Äpfel*3;1"), "apfel*3;1",
            "Apfel*3;1", QStringLiteral("Straße*3;1"), "Strasse*3;1", QStringLiteral("École*3;1"),
            QStringLiteral("e\u0301cole*3;1"), "Ecole*3;1", "ecole*3;2"};
        QTest::newRow("letters beyond Latin and control characters") << QStringList {
            QStringLiteral("Æsir"), "Aesir", QStringLiteral("Bär"), QStringLiteral("Ωmega"),
            QStringLiteral("αlpha"), "Zeta", "Tab\tx", "Tabx", QString()};
    }
    void recordOrderIsTheCollatorsOrder()
    {
        QFETCH(QStringList, texts);
        // The order a plain sort with the collator gives, the exact text between equals.
        QCollator collator {QLocale(QLocale::German, QLocale::Germany)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        for (const bool reversed : {false, true}) {
            QStringList input = texts;
            if (reversed)
                std::reverse(input.begin(), input.end());
            std::vector<int> expected(size_t(input.size()));
            std::iota(expected.begin(), expected.end(), 0);
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                const int c = collator.compare(input[a], input[b]);
                return c != 0 ? c < 0 : input[a] < input[b];
            });
            const std::vector<int> order
                = recordOrder(int(input.size()), [&](int i, QString &text) { text = input[i]; });
            QCOMPARE(QList<int>(order.begin(), order.end()),
                QList<int>(expected.begin(), expected.end()));
        }
    }

    void aSeparatorInANameStaysInItsCell()
    {
        RecordList list;
        list.append(
            {QStringLiteral("1/2"), QStringLiteral("Wolf*2;Rudel"), QStringLiteral("5")}, 3);
        QCOMPARE(list.gridRows({"X/Y", "Name", "Nr."}).value(1),
            (QStringList {"1/2", "Wolf*2;Rudel", "5"}));
    }

    void groupingOrderIsThatOfTheWholeRecordTexts_data()
    {
        QTest::addColumn<QString>("oddName");
        QTest::newRow("plain names") << QStringLiteral("Apfel 3");
        QTest::newRow("a name holding the separator") << QStringLiteral("Apfel*3;1/2");
    }
    void groupingOrderIsThatOfTheWholeRecordTexts()
    {
        QFETCH(QString, oddName);
        // Groups and names that differ in case, accents, blanks and length only, on
        // positions and numbers that share their leading characters.
        const QStringList groups = {QStringLiteral("Armee"), QStringLiteral("Armee 2"),
            QStringLiteral("armee"), QStringLiteral("Händler"), QStringLiteral("Handler"),
            QString(), QStringLiteral("Keine")};
        const QStringList names = {QStringLiteral("Äpfel"), QStringLiteral("apfel"),
            QStringLiteral("Apfel 2"), QStringLiteral("Apfel"), oddName, QStringLiteral("Äpfel-2")};
        const QStringList positions = {QStringLiteral("1/2"), QStringLiteral("1/2/1"),
            QStringLiteral("10/2"), QStringLiteral("1/20"), QStringLiteral("-1/2")};
        const int numbers[] = {1, 36, 37, 1296, 1297, 46656, 10, 360};
        int i = 0;
        for (const QString &g : groups) {
            for (const QString &n : names) {
                Unit u;
                u.game = 3;
                u.number = numbers[i % 8] + 50000 * (i / 8);
                u.position = positions[i % positions.size()];
                u.name = n;
                u.persons = 1 + i % 4;
                u.group = g.isNull() ? QVariant() : QVariant(g);
                u.fields = {{QStringLiteral("Speer"), i % 3}};
                insertUnit(u);
                ++i;
            }
        }
        GroupingSelection all;
        all.date = QString::number(kTurn);
        const GroupingReport report = Groupings(*m_db).report(game(3), all);
        QCOMPARE(report.count, i);

        MilitaryQueries queries(*m_db);
        RecordList whole;
        for (const MilitaryUnitRow &u : queries.selectedUnits(3, Groupings::unitSelection(all, 36)))
            whole.append(Groupings::unitFields(u, 36), 12);
        QCOMPARE(report.gridRows(), whole.gridRows(Groupings::headings()));
    }

private:
    void insertUnit(const Unit &u)
    {
        QVariantMap values = u.fields;
        values.insert(QStringLiteral("Einheit Name"), u.name);
        values.insert(QStringLiteral("Partei Nr"), u.faction);
        values.insert(QStringLiteral("Personen"), u.persons);
        values.insert(QStringLiteral("Gruppe"), u.group);
        GameRows(*m_db, u.game, u.date).unit(u.number, u.position, values);
    }

    QString group(int gameNumber, int number)
    {
        const QVariant stored = queryValue(*m_db,
            QStringLiteral(
                "SELECT \"Gruppe\" FROM einheiten WHERE \"Spiel\" = ? AND \"Einheit Nr\" = ?"),
            {gameNumber, number});
        return stored.isValid() ? stored.toString() : QStringLiteral("<none>");
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Database> m_db;
};

QTEST_GUILESS_MAIN(TestMilitary)
#include "test_military.moc"
