#include "base/errors.h"
#include "base/identifiers.h"
#include "base/textfile.h"
#include "db/database.h"
#include "db/schema.h"
#include "db/table.h"
#include "orders/orderblock.h"
#include "orders/ordertemplate.h"
#include "orders/unitrecord.h"
#include "orders/unitview.h"
#include "testsupport.h"

#include <QTextDocument>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

Q_DECLARE_METATYPE(tolvimar::UnitMark)

namespace {

// A template as the import writes it: two regions, four own units.
QStringList orderTemplate()
{
    return {
        QStringLiteral(" PARTEI 3mv \"geheim\""),
        QString(),
        QStringLiteral(" ; ZORBEK -l -w4 -r50"),
        QString(),
        QStringLiteral(" REGION 1,2 ; Weidenau"),
        QStringLiteral(" ; Zorbek Lohn 13"),
        QString(),
        QStringLiteral(" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]"),
        QStringLiteral("    MACHE Holz"),
        QStringLiteral("    FOLGE EINHEIT 3mx"),
        QStringLiteral(" EINHEIT 3mx;\tBäcker [3,90$,S25]"),
        QStringLiteral("    LERNE Segeln"),
        QStringLiteral(" EINHEIT 3my;\tHändler [2,500$]"),
        QString(),
        QStringLiteral(" REGION 3,-4 ; Schattental"),
        QStringLiteral(" ; Zorbek Lohn 11"),
        QString(),
        QStringLiteral(" EINHEIT 3n0;\tMagier [1,10$]"),
        QStringLiteral("    ZAUBERE REGION 3,4"),
        QStringLiteral("    ARBEITE"),
        QString(),
        QStringLiteral(" NAECHSTER"),
        QString(),
    };
}

// A database in a temporary folder with rows written through the table layer.
struct Db
{
    QTemporaryDir dir;
    Database db {dir.filePath(QStringLiteral("test.sqlite"))};

    void unit(int number, const QString &position, const QVariantMap &fields, int game = 1)
    {
        Table t(db, schema::einheiten());
        t.editOrAppend({game, number});
        t.setValue(u"Einheit Position", position);
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            t.setValue(it.key(), it.value());
        t.post();
    }
    void row(const TableDef &def, const QVariantList &key, const QString &field, const QVariant &v)
    {
        Table t(db, def);
        t.editOrAppend(key);
        t.setValue(field, v);
        t.post();
    }
    QVariant field(int number, const QString &name, int game = 1)
    {
        Table t(db, schema::einheiten());
        return t.findKey({game, number}) ? t.value(name) : QVariant();
    }
};

void importFixture(const TempWorkspace &ws)
{
    QCOMPARE(runCli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("import"),
                 QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("--type"),
                 QStringLiteral("Kalmora"), fixture(QStringLiteral("reports/kalmora-klein.cr"))}),
        0);
}

ActiveGame game(GameType type, int faction = 4711)
{
    ActiveGame g;
    g.number = 1;
    g.type = type;
    g.factionNumber = faction;
    g.base = type == GameType::Kalmora ? 36 : 10;
    return g;
}

} // namespace

class TestUnits : public QObject
{
    Q_OBJECT
private slots:
    void listEntries_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("kalmora");
        QTest::addColumn<int>("kind"); // -1: no entry
        QTest::addColumn<int>("number");
        const int castle = int(ListEntryKind::Castle);
        const int ship = int(ListEntryKind::Ship);
        const int unit = int(ListEntryKind::Unit);
        QTest::newRow("castle Kalmora")
            << "-Burg : Falkenhorst, Burg, größe: 250 (6t)" << true << castle << 245;
        QTest::newRow("castle Sulvitan")
            << "-Burg : Falkenhorst, Burg, größe: 250 (245)" << false << castle << 245;
        QTest::newRow("castle name with brackets")
            << "-Burg : Alte (Feste), Burg, größe: 10 (6t)" << true << castle << 245;
        QTest::newRow("castle number not decimal")
            << "-Burg : Falkenhorst, Burg, größe: 250 (6t)" << false << -1 << 0;
        QTest::newRow("ship loaded")
            << "-Schiff : Seeschwalbe, Boot [25], Ladung: 0/50 ,2" << true << ship << 77;
        QTest::newRow("ship damaged Sulvitan")
            << "-Schiff : Kogge, Kogge [77], Ladung: 1/5, Schäden: 20% ,Nord" << false << ship
            << 77;
        QTest::newRow("ship under construction")
            << "-Schiff : Neu, Boot, zu 35% fertig. [25]" << true << ship << 77;
        QTest::newRow("unit") << "    Holzfäller (3mw) , Menschen" << true << unit << 4712;
        QTest::newRow("unit in castle, marked")
            << "      *       Bäcker (3mx) , Menschen" << true << unit << 4713;
        QTest::newRow("unit Sulvitan base 10") << " *  Förster (12) , Elfen" << false << unit << 12;
        QTest::newRow("unit name with brackets")
            << "    Wache (Nord) (3mz) , Menschen" << true << unit << 4715;
        QTest::newRow("capital L") << "    Späher (3mL) , Elfen" << true << unit << 4701;
        QTest::newRow("no bracket") << "    Niemand" << true << -1 << 0;
        QTest::newRow("empty") << "" << true << -1 << 0;
    }
    void listEntries()
    {
        QFETCH(QString, line);
        QFETCH(bool, kalmora);
        QFETCH(int, kind);
        QFETCH(int, number);
        const std::optional<ListEntry> entry = parseListEntry(
            line, kalmora ? GameType::Kalmora : GameType::Sulvitan, kalmora ? 36 : 10);
        QCOMPARE(entry.has_value(), kind >= 0);
        if (entry) {
            QCOMPARE(int(entry->kind), kind);
            QCOMPARE(entry->number, number);
        }
    }

    void starList_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("two pieces") << "*a*b*" << QStringList {"a", "b", ""};
        QTest::newRow("load and unknown item")
            << "*Kapazitaet: 100/540*Silbertruhe 1*"
            << QStringList {"Kapazitaet: 100/540", "Silbertruhe 1", ""};
        // The first piece keeps its blanks; the rest is trimmed before each step.
        QTest::newRow("blanks") << "* a * b *" << QStringList {" a ", "b ", ""};
        QTest::newRow("only a star") << "*" << QStringList {""};
        QTest::newRow("no closing star") << "*abc" << QStringList {"abc"};
        QTest::newRow("empty piece") << "*a**b*" << QStringList {"a", "", "b", ""};
    }
    void starList()
    {
        QFETCH(QString, list);
        QFETCH(QStringList, pieces);
        QCOMPARE(starListPieces(list), pieces);
    }

    void skillLines_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("persons");
        QTest::addColumn<QString>("line");
        QTest::newRow("30 by 2") << "30 1" << 2 << "Hiebwaffen [15] 1";
        QTest::newRow("22.5 to even 22") << "45 1" << 2 << "Hiebwaffen [22] 1";
        QTest::newRow("23.5 to even 24") << "47 1" << 2 << "Hiebwaffen [24] 1";
        QTest::newRow("rounds up above half") << "50 1" << 3 << "Hiebwaffen [17] 1";
        QTest::newRow("1350 by 9") << "1350 9" << 9 << "Hiebwaffen [150] 9";
        QTest::newRow("level with blanks") << "300 4 (+1)" << 10 << "Hiebwaffen [30] 4 (+1)";
        QTest::newRow("no level") << "30" << 2 << "Hiebwaffen [15] ";
        QTest::newRow("0 persons") << "45 1" << 0 << "Hiebwaffen 45 1";
        QTest::newRow("points not a number") << "viel 3" << 2 << "Hiebwaffen viel 3";
    }
    void skillLines()
    {
        QFETCH(QString, stored);
        QFETCH(int, persons);
        QFETCH(QString, line);
        QCOMPARE(skillLine(QStringLiteral("Hiebwaffen"), stored, persons), line);
    }

    void unitViewTexts_data()
    {
        QTest::addColumn<bool>("kalmora");
        QTest::addColumn<QVariantMap>("fields");
        QTest::addColumn<QString>("faction");
        QTest::addColumn<QString>("camouflage"); // "-" disabled, "ja", "nein"
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("skills");
        QTest::newRow("faction -1") << true << QVariantMap {{"Partei Nr", -1}} << " ---- "
                                    << "-" << QStringList {} << QStringList {};
        QTest::newRow("own Kalmora") << true << QVariantMap {{"Partei Nr", 4711}} << "3mv"
                                     << "nein" << QStringList {} << QStringList {};
        QTest::newRow("own Sulvitan, hides its faction")
            << false << QVariantMap {{"Partei Nr", 4711}, {"Flags", "BT"}} << "4711"
            << "ja" << QStringList {} << QStringList {};
        QTest::newRow("foreign with T")
            << true << QVariantMap {{"Partei Nr", 4800}, {"Flags", "T"}} << "3pc"
            << "-" << QStringList {} << QStringList {};
        QTest::newRow("items in table order, then unknown")
            << true
            << QVariantMap {{"Partei Nr", 4711}, {"Schwert", 3}, {"Holz", 5}, {"Stein", 0},
                   {"Bogen", -2},
                   {"Unbekannte Gegenstaende", "*Kapazitaet: 100/540*Silbertruhe 1*"}}
            << "3mv"
            << "nein"
            << QStringList {"5 Holz", "-2 Bogen", "3 Schwert", "Kapazitaet: 100/540",
                   "Silbertruhe 1", ""}
            << QStringList {};
        QTest::newRow("skills per person, unknown skills, spells")
            << true
            << QVariantMap {{"Partei Nr", 4711}, {"Personen", 2}, {"Hiebwaffen", "45 1"},
                   {"Ausdauer", "30 1"}, {"Unbekannte Talente", "*Feilschen 40 1*"},
                   {"Zauber", "*Aura: 12/30*\"Feuerball\";Zauber*"}}
            << "3mv"
            << "nein" << QStringList {}
            << QStringList {"Ausdauer [15] 1", "Hiebwaffen [22] 1", "Feilschen 40 1", "", "",
                   "Zauber :", "Aura: 12/30", "\"Feuerball\";Zauber", ""};
        QTest::newRow("0 persons shows stored skills")
            << true << QVariantMap {{"Partei Nr", 4711}, {"Personen", 0}, {"Taktik", "90 2"}}
            << "3mv"
            << "nein" << QStringList {} << QStringList {"Taktik 90 2"};
    }
    void unitViewTexts()
    {
        QFETCH(bool, kalmora);
        QFETCH(QVariantMap, fields);
        QFETCH(QString, faction);
        QFETCH(QString, camouflage);
        QFETCH(QStringList, items);
        QFETCH(QStringList, skills);
        Db d;
        fields.insert(QStringLiteral("Einheit Name"), QStringLiteral("Späher"));
        d.unit(4712, QStringLiteral("1/2"), fields);
        UnitRecord record(d.db);
        const ActiveGame g = game(kalmora ? GameType::Kalmora : GameType::Sulvitan);
        const std::optional<UnitRecord::Selection> s
            = record.select(QStringLiteral("    Späher (%1) , Elfen").arg(idToStr(4712, g.base)), g,
                QStringLiteral("1/2"));
        QVERIFY(s && s->unit);
        const UnitViewTexts &v = *s->unit;
        QCOMPARE(v.name, QStringLiteral("Späher"));
        QCOMPARE(v.factionNumber, faction);
        QCOMPARE(!v.camouflageEnabled ? QStringLiteral("-")
                : v.camouflaged       ? QStringLiteral("ja")
                                      : QStringLiteral("nein"),
            camouflage);
        QCOMPARE(v.items, items);
        QCOMPARE(v.skills, skills);
    }

    void selectingCastlesShipsAndMissingRows()
    {
        Db d;
        d.unit(4712, QStringLiteral("1/2"),
            {{"Einheit Name", "Holzfäller"}, {"Partei Nr", 4711},
                {"Einheit Beschreibung", "Fleißig"}, {"Personen", 12}, {"Silber", 340},
                {"Status", "kämpft vorne"}});
        d.row(schema::parteien(), {1, 4711}, QStringLiteral("Partei Name"),
            QStringLiteral("Die Grauen Falken"));
        d.row(schema::burgen(), {1, 245}, QStringLiteral("Burg Beschreibung"), QString());
        d.row(schema::schiffe(), {1, 77}, QStringLiteral("Schiffs Beschreibung"),
            QStringLiteral("Schnell"));
        UnitRecord record(d.db);
        const ActiveGame g = game(GameType::Kalmora);

        const auto unit = record.select(
            QStringLiteral("    Holzfäller (3mw) , Menschen"), g, QStringLiteral("1/2"));
        QVERIFY(unit && unit->unit);
        QCOMPARE(unit->description, QStringLiteral("Fleißig"));
        QCOMPARE(unit->unit->factionName, QStringLiteral("Die Grauen Falken"));
        QCOMPARE(unit->unit->persons, QStringLiteral("12"));
        QCOMPARE(unit->unit->silver, QStringLiteral("340"));

        const auto castle = record.select(
            QStringLiteral("-Burg : Falkenhorst, Burg, größe: 250 (6t)"), g, QStringLiteral("1/2"));
        QVERIFY(castle && !castle->unit);
        QCOMPARE(castle->description, QStringLiteral("Keine Beschreibung"));
        QCOMPARE(record.unit()->number, 4712); // the unit boxes keep their unit

        const auto ship
            = record.select(QStringLiteral("-Schiff : Seeschwalbe, Boot [25], Ladung: 0/50 ,2"), g,
                QStringLiteral("1/2"));
        QVERIFY(ship);
        QCOMPARE(ship->description, QStringLiteral("Schnell"));

        // A unit of another region, or a castle without a row: nothing changes.
        QVERIFY(!record.select(
            QStringLiteral("    Holzfäller (3mw) , Menschen"), g, QStringLiteral("5/5")));
        QVERIFY(!record.select(
            QStringLiteral("-Burg : Weg, Burg, größe: 1 (zz)"), g, QStringLiteral("1/2")));
        QCOMPARE(record.unit()->number, 4712);
        QVERIFY(!record.select(
            QStringLiteral("    Holzfäller (3mw) , Menschen"),
            [&] {
                ActiveGame other = g;
                other.number = 2;
                return other;
            }(),
            QStringLiteral("1/2")));
    }

    void editedBoxesAreStoredInTheirRow()
    {
        Db d;
        d.unit(4712, QStringLiteral("1/2"),
            {{"Einheit Name", "Holzfäller"}, {"Personen", 12}, {"Silber", 340},
                {"Einheit Beschreibung", "alt"}, {"Status", "kämpft vorne"}});
        d.row(schema::burgen(), {1, 245}, QStringLiteral("Burg Beschreibung"), QString());
        UnitRecord record(d.db);
        const ActiveGame g = game(GameType::Kalmora);
        QVERIFY(record.select(
            QStringLiteral("    Holzfäller (3mw) , Menschen"), g, QStringLiteral("1/2")));

        record.store(UnitBox::Persons, QStringLiteral("11"));
        record.store(UnitBox::Status, QStringLiteral("flieht"));
        record.store(UnitBox::Hitpoints, QStringLiteral("verwundet"));
        record.store(UnitBox::Description, QStringLiteral("neu\nzweite Zeile"));
        QCOMPARE(d.field(4712, QStringLiteral("Personen")).toInt(), 11);
        QCOMPARE(d.field(4712, QStringLiteral("Status")).toString(), QStringLiteral("flieht"));
        QCOMPARE(
            d.field(4712, QStringLiteral("Hitpoints")).toString(), QStringLiteral("verwundet"));
        QCOMPARE(d.field(4712, QStringLiteral("Einheit Beschreibung")).toString(),
            QStringLiteral("neu\nzweite Zeile"));
        QCOMPARE(d.field(4712, QStringLiteral("Silber")).toInt(), 340);

        // A number box that is not a number stores nothing.
        QVERIFY_THROWS_EXCEPTION(UserError, record.store(UnitBox::Silver, QStringLiteral("viel")));
        QCOMPARE(d.field(4712, QStringLiteral("Silber")).toInt(), 340);

        // With a castle shown the description box writes into the castle.
        QVERIFY(record.select(QStringLiteral("-Burg : Falkenhorst, Burg, größe: 250 (6t)"), g,
            QStringLiteral("1/2")));
        record.store(UnitBox::Description, QStringLiteral("Trutzig"));
        Table castles(d.db, schema::burgen());
        QVERIFY(castles.findKey({1, 245}));
        QCOMPARE(castles.text(u"Burg Beschreibung"), QStringLiteral("Trutzig"));
        QCOMPARE(d.field(4712, QStringLiteral("Einheit Beschreibung")).toString(),
            QStringLiteral("neu\nzweite Zeile"));
    }

    void openingBlocks_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("block");
        QTest::newRow("two orders, one naming a unit")
            << "3mw"
            << QStringList {" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]", "    MACHE Holz",
                   "    FOLGE EINHEIT 3mx"};
        QTest::newRow("one order, next unit follows")
            << "3mx" << QStringList {" EINHEIT 3mx;\tBäcker [3,90$,S25]", "    LERNE Segeln"};
        QTest::newRow("no orders") << "3my" << QStringList {" EINHEIT 3my;\tHändler [2,500$]"};
        QTest::newRow("order naming a region") << "3n0"
                                               << QStringList {" EINHEIT 3n0;\tMagier [1,10$]",
                                                      "    ZAUBERE REGION 3,4", "    ARBEITE"};
        QTest::newRow("number in other case")
            << "3MW"
            << QStringList {" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]", "    MACHE Holz",
                   "    FOLGE EINHEIT 3mx"};
        QTest::newRow("not in the template") << "3mz" << QStringList {};
        // Only the header's own number counts, not a unit named in an order.
        QTest::newRow("prefix of another number") << "3m" << QStringList {};
    }
    void openingBlocks()
    {
        QFETCH(QString, unit);
        QFETCH(QStringList, block);
        const QStringList lines = orderTemplate();
        const std::optional<BlockRange> range = findUnitBlock(lines, unit);
        QCOMPARE(range.has_value(), !block.isEmpty());
        if (range)
            QCOMPARE(lines.mid(range->header, range->end - range->header), block);
    }

    void writingBlocksBack_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("editor");
        QTest::addColumn<int>("at"); // first changed line of the template
        QTest::addColumn<int>("removed");
        QTest::addColumn<QStringList>("inserted");
        const QString header3mw = QStringLiteral(" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]");
        const QString header3my = QStringLiteral(" EINHEIT 3my;\tHändler [2,500$]");
        QTest::newRow("one of two orders deleted")
            << "3mw" << QStringList {header3mw, "    MACHE Holz"} << 8 << 2
            << QStringList {"    MACHE Holz"};
        QTest::newRow("orders reordered, EINHEIT order kept")
            << "3mw" << QStringList {header3mw, "    FOLGE EINHEIT 3mx", "    MACHE Holz"} << 8 << 2
            << QStringList {"    FOLGE EINHEIT 3mx", "    MACHE Holz"};
        QTest::newRow("orders added to a unit without")
            << "3my" << QStringList {header3my, "    LERNE Handeln", "    KAUFE 5 Seide"} << 13 << 0
            << QStringList {"    LERNE Handeln", "    KAUFE 5 Seide"};
        QTest::newRow("nothing added")
            << "3my" << QStringList {header3my} << 13 << 0 << QStringList {};
        QTest::newRow("changed header ignored")
            << "3mw"
            << QStringList {" EINHEIT 3zz;\tAnders [1,1$]", "    MACHE Holz",
                   "    FOLGE EINHEIT 3mx"}
            << 8 << 2 << QStringList {"    MACHE Holz", "    FOLGE EINHEIT 3mx"};
        QTest::newRow("empty editor deletes the orders")
            << "3mw" << QStringList {""} << 8 << 2 << QStringList {};
        QTest::newRow("empty lines added at the end written")
            << "3n0" << QStringList {" EINHEIT 3n0;", "    ARBEITE", "", ""} << 18 << 2
            << QStringList {"    ARBEITE", "", ""};
    }
    void writingBlocksBack()
    {
        QFETCH(QString, unit);
        QFETCH(QStringList, editor);
        QFETCH(int, at);
        QFETCH(int, removed);
        QFETCH(QStringList, inserted);
        const QStringList before = orderTemplate();
        QStringList expected = before;
        expected.remove(at, removed);
        for (int i = 0; i < inserted.size(); ++i)
            expected.insert(at + i, inserted[i]);
        QStringList lines = before;
        QVERIFY(replaceUnitOrders(lines, unit, editor));
        QCOMPARE(lines, expected);
    }

    void writingBackWithoutHeaderChangesNothing()
    {
        QStringList lines = orderTemplate();
        QVERIFY(!replaceUnitOrders(lines, QStringLiteral("3mz"),
            {QStringLiteral(" EINHEIT 3mz;"), QStringLiteral("    ARBEITE")}));
        QCOMPARE(lines, orderTemplate());
    }

    void marks_data()
    {
        QTest::addColumn<QString>("flags");
        QTest::addColumn<UnitMark>("mark");
        QTest::addColumn<QString>("result");
        QTest::newRow("plain into empty") << "" << UnitMark::Plain << "x";
        QTest::newRow("long after B") << "B" << UnitMark::Long << "BX";
        QTest::newRow("none after BX") << "BX" << UnitMark::None << "B";
        QTest::newRow("plain replaces long") << "XT" << UnitMark::Plain << "Tx";
        QTest::newRow("long replaces plain") << "xB" << UnitMark::Long << "BX";
        QTest::newRow("both letters go") << "xXB" << UnitMark::None << "B";
        QTest::newRow("none stays empty") << "" << UnitMark::None << "";
    }
    void marks()
    {
        QFETCH(QString, flags);
        QFETCH(UnitMark, mark);
        QFETCH(QString, result);
        QCOMPARE(flagsWithMark(flags, mark), result);
        QCOMPARE(markOfFlags(result), mark);
    }

    void theLongMarkWinsWhenBothAreStored()
    {
        QCOMPARE(markOfFlags(QStringLiteral("xX")), UnitMark::Long);
        QCOMPARE(markOfFlags(QStringLiteral("B")), UnitMark::None);
    }

    void setflagsStoresAndRemovesTheLongMark()
    {
        Db d;
        d.unit(4714, QStringLiteral("1/2"), {{"Flags", "B"}});
        QVERIFY(setflags(d.db, 1, QStringLiteral("1/2"), 4714, UnitMark::Long));
        QCOMPARE(d.field(4714, QStringLiteral("Flags")).toString(), QStringLiteral("BX"));
        QVERIFY(setflags(d.db, 1, QStringLiteral("1/2"), 4714, UnitMark::None));
        QCOMPARE(d.field(4714, QStringLiteral("Flags")).toString(), QStringLiteral("B"));
        // No such row: nothing is stored, and no transaction is left open.
        QVERIFY(!setflags(d.db, 1, QStringLiteral("9/9"), 4714, UnitMark::Long));
        QCOMPARE(d.field(4714, QStringLiteral("Flags")).toString(), QStringLiteral("B"));
        QVERIFY(!d.db.inTransaction());
    }

    void applyingWritesTheTemplateAndTheMark()
    {
        Db d;
        d.unit(4712, QStringLiteral("1/2"), {{"Einheit Name", "Holzfäller"}, {"Flags", "xB"}});
        OrderTemplate orders;
        orders.setLines(orderTemplate());
        orders.setSaved(true);
        QTextDocument *text = orders.document().textDocument();
        const QStringList before = orders.lines();
        UnitRecord record(d.db);
        const ActiveGame g = game(GameType::Kalmora);
        const auto unit = record.selectUnit(g, QStringLiteral("1/2"), 4712);
        QVERIFY(unit);

        OrderBlock block(orders, d.db);
        const OrderBlock::Opened opened = block.open(g, *unit);
        QCOMPARE(opened.lines.size(), 3);
        QCOMPARE(opened.mark, UnitMark::Plain);
        QCOMPARE(block.unitText(), QStringLiteral("3mw"));
        QCOMPARE(block.length(), 3);

        // Unchanged orders leave the template saved; the mark is stored all the same.
        OrderBlock::Applied applied = block.apply(opened.lines, UnitMark::Long);
        QVERIFY(applied.headerFound && applied.marked && !applied.templateChanged);
        QVERIFY(orders.isSaved());
        QVERIFY(!text->isUndoAvailable());
        QCOMPARE(d.field(4712, QStringLiteral("Flags")).toString(), QStringLiteral("BX"));

        QStringList edited = opened.lines;
        edited.append(QStringLiteral("    LERNE Holzfällen"));
        applied = block.apply(edited, UnitMark::Long);
        QVERIFY(applied.templateChanged);
        QVERIFY(!orders.isSaved());
        QCOMPARE(orders.lines().at(10), QStringLiteral("    LERNE Holzfällen"));
        QCOMPARE(orders.lines().at(11), QStringLiteral(" EINHEIT 3mx;\tBäcker [3,90$,S25]"));
        // The changed block is one step to undo, back to the saved text.
        text->undo();
        QCOMPARE(orders.lines(), before);
        QVERIFY(!text->isUndoAvailable());
        QVERIFY(orders.isSaved());
        text->redo();

        // The template lost the unit's block: the mark is still stored.
        orders.setLines({QStringLiteral(" PARTEI 3mv")});
        applied = block.apply(edited, UnitMark::None);
        QVERIFY(!applied.headerFound && applied.marked);
        QCOMPARE(orders.lines(), QStringList {QStringLiteral(" PARTEI 3mv")});
        QCOMPARE(d.field(4712, QStringLiteral("Flags")).toString(), QStringLiteral("B"));
    }

    // A unit whose header line stands twice: the editor gets both blocks, each with
    // its header line, and writes each part back into its own block.
    void aUnitWithTwoBlocksIsOpenedAndWrittenWhole()
    {
        Db d;
        d.unit(4712, QStringLiteral("1/2"), {{"Einheit Name", "Holzfäller"}});
        QStringList twice = orderTemplate();
        const QString header = QStringLiteral(" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]");
        twice.insert(17, header);
        twice.insert(18, QStringLiteral("    LEHRE 3mx"));
        OrderTemplate orders;
        orders.setLines(twice);
        UnitRecord record(d.db);
        const ActiveGame g = game(GameType::Kalmora);
        OrderBlock block(orders, d.db);
        const OrderBlock::Opened opened
            = block.open(g, *record.selectUnit(g, QStringLiteral("1/2"), 4712));
        QCOMPARE(opened.blocks, 2);
        QCOMPARE(opened.lines,
            (QStringList {header, QStringLiteral("    MACHE Holz"),
                QStringLiteral("    FOLGE EINHEIT 3mx"), header, QStringLiteral("    LEHRE 3mx")}));

        QStringList edited = opened.lines;
        edited.removeAt(2); // FOLGE from the first block
        edited.append(QStringLiteral("    ARBEITE")); // to the second
        QVERIFY(block.apply(edited, UnitMark::None).templateChanged);
        QStringList expected = twice;
        expected.removeAt(9);
        expected.insert(18, QStringLiteral("    ARBEITE"));
        QCOMPARE(orders.lines(), expected);

        // Applied again where the blocks stand now: nothing changes.
        QVERIFY(!block.apply(edited, UnitMark::None).templateChanged);
        // A header line taken out of the editor: the parts no longer match the blocks.
        edited.removeAt(2);
        QVERIFY_THROWS_EXCEPTION(UserError, block.apply(edited, UnitMark::None));
        QCOMPARE(orders.lines(), expected);
    }

    void aUnitWithoutBlockIsOpenedEmpty()
    {
        // Applying then must not touch the block of the unit opened before.
        Db d;
        d.unit(4712, QStringLiteral("1/2"), {{"Einheit Name", "Holzfäller"}});
        d.unit(5000, QStringLiteral("1/2"), {{"Einheit Name", "Fremde"}, {"Flags", "X"}});
        OrderTemplate orders;
        orders.setLines(orderTemplate());
        UnitRecord record(d.db);
        const ActiveGame g = game(GameType::Kalmora);
        OrderBlock block(orders, d.db);
        block.open(g, *record.selectUnit(g, QStringLiteral("1/2"), 4712));
        const OrderBlock::Opened opened
            = block.open(g, *record.selectUnit(g, QStringLiteral("1/2"), 5000));
        QVERIFY(opened.lines.isEmpty());
        QCOMPARE(opened.mark, UnitMark::Long);
        QCOMPARE(block.unitName(), QStringLiteral("Fremde"));
        const OrderBlock::Applied applied = block.apply({QString()}, UnitMark::Plain);
        QVERIFY(!applied.headerFound);
        QCOMPARE(orders.lines(), orderTemplate());
        QCOMPARE(d.field(5000, QStringLiteral("Flags")).toString(), QStringLiteral("x"));
    }

    void theNextImportKeepsOnlyTheLongMark()
    {
        ImportHarness h;
        const QStringList report = reportHeader()
            + QStringList {QStringLiteral("REGION 1 2"), QStringLiteral("\"Weidenau\";Name"),
                QStringLiteral("EINHEIT 4712"), QStringLiteral("\"Holzfäller\";Name"),
                QStringLiteral("4711;Partei"), QStringLiteral("1;bewacht"),
                QStringLiteral("EINHEIT 4713"), QStringLiteral("\"Bäcker\";Name"),
                QStringLiteral("4711;Partei")};
        QCOMPARE(h.import(report).status, ReportImporter::Result::Imported);
        Database &db = h.session->database();
        QVERIFY(setflags(db, 1, QStringLiteral("1/2"), 4712, UnitMark::Long));
        QVERIFY(setflags(db, 1, QStringLiteral("1/2"), 4713, UnitMark::Plain));
        QCOMPARE(h.import(report).status, ReportImporter::Result::Imported);
        QCOMPARE(h.value(QStringLiteral("SELECT \"Flags\" FROM einheiten WHERE \"Einheit Nr\" = ?"),
                      {4712})
                     .toString(),
            QStringLiteral("XB"));
        QCOMPARE(h.value(QStringLiteral("SELECT \"Flags\" FROM einheiten WHERE \"Einheit Nr\" = ?"),
                      {4713})
                     .toString(),
            QString());
    }

    void unitCommandPrintsTheView_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::newRow("own unit") << QStringList {"1", "2", "3mw"} << 0
                                  << "Parteizugehörigkeit: 3mv\n"
                                     "Partei Name: Die Grauen Falken\n"
                                     "getarnt?: nein\n"
                                     "Anzahl Personen: 12\n"
                                     "Silber: 340\n"
                                     "militärischer Status: kämpft vorne\n"
                                     "Kampfkraft: normal\n"
                                     "Beschreibung: Erste Zeile\\nzweite Zeile\n"
                                     "Gegenstände:\n"
                                     "5 Holz\n"
                                     "Talente:\n"
                                     "Bogenschiessen [10] 2\n"
                                     "Holzfällen [30] 3\n";
        // Star lists end with an empty line, and so does the output.
        QTest::newRow("unknown item and skill") << QStringList {"1", "2", "3my"} << 0
                                                << "Parteizugehörigkeit: 3mv\n"
                                                   "Partei Name: Die Grauen Falken\n"
                                                   "getarnt?: nein\n"
                                                   "Anzahl Personen: 2\n"
                                                   "Silber: 500\n"
                                                   "militärischer Status: kämpft vorne\n"
                                                   "Kampfkraft: normal\n"
                                                   "Beschreibung: \n"
                                                   "Gegenstände:\n"
                                                   "Silbertruhe 1\n"
                                                   "\n"
                                                   "Talente:\n"
                                                   "Handeln [150] 4\n"
                                                   "Feilschen 40 1\n"
                                                   "\n";
        QTest::newRow("foreign unit") << QStringList {"1", "2", "3uw"} << 0
                                      << "Parteizugehörigkeit: 3pc\n"
                                         "Partei Name: Bund der Eichen\n"
                                         "getarnt?: -\n"
                                         "Anzahl Personen: 4\n"
                                         "Silber: 0\n"
                                         "militärischer Status: unbekannt\n"
                                         "Kampfkraft: unbekannt\n"
                                         "Beschreibung: \n"
                                         "Gegenstände:\n"
                                         "Talente:\n";
        QTest::newRow("level given") << QStringList {"3", "-4", "3mz", "--level", "1"} << 0
                                     << "Parteizugehörigkeit: 3mv\n"
                                        "Partei Name: Die Grauen Falken\n"
                                        "getarnt?: nein\n"
                                        "Anzahl Personen: 1\n"
                                        "Silber: 10\n"
                                        "militärischer Status: kämpft vorne\n"
                                        "Kampfkraft: normal\n"
                                        "Beschreibung: \n"
                                        "Gegenstände:\n"
                                        "Talente:\n";
        QTest::newRow("unit of another region") << QStringList {"5", "5", "3mw"} << 1 << "";
        QTest::newRow("not a unit number") << QStringList {"1", "2", "3-w"} << 2 << "";
        QTest::newRow("missing argument") << QStringList {"1", "2"} << 2 << "";
    }
    void unitCommandPrintsTheView()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        TempWorkspace ws;
        importFixture(ws);
        {
            Database db(ws.file(QStringLiteral("kalmora.sqlite")));
            Table units(db, schema::einheiten());
            QVERIFY(units.findKey({1, 4712}));
            units.edit();
            units.setValue(u"Einheit Beschreibung", QStringLiteral("Erste Zeile\nzweite Zeile"));
            units.post();
        }
        QString out, err;
        QCOMPARE(runCli(QStringList {QStringLiteral("--workspace"), ws.path(),
                            QStringLiteral("unit"), QStringLiteral("--slot"), QStringLiteral("1")}
                         + arguments,
                     &out, &err),
            exitCode);
        if (exitCode == 0)
            QCOMPARE(out, output);
        else
            QVERIFY(!err.isEmpty());
    }

    // set-orders writes a unit's orders as the order editor does: blank lines between
    // the orders and at their end stay.
    void setOrdersWritesBlankLinesAsTheEditor_data()
    {
        QTest::addColumn<QByteArray>("orders");
        QTest::newRow("blank line between orders") << QByteArray("    LERNE Holz\n\n    ARBEITE\n");
        QTest::newRow("blank line at the end") << QByteArray("    LERNE Holz\n    ARBEITE\n\n");
    }
    void setOrdersWritesBlankLinesAsTheEditor()
    {
        QFETCH(QByteArray, orders);
        TempWorkspace ws;
        importFixture(ws);
        const QString orderFile = ws.file(QStringLiteral("spiel1/Zug-Spiel1-4-April.txt"));
        QStringList editorWrites = splitLines(decodeText(readBytes(orderFile)));
        const std::optional<BlockRange> block = findUnitBlock(editorWrites, QStringLiteral("3mw"));
        QVERIFY(block);
        QVERIFY(replaceUnitOrders(editorWrites, QStringLiteral("3mw"),
            QStringList {editorWrites[block->header]} + splitLines(QString::fromUtf8(orders))));

        const QString file = ws.file(QStringLiteral("befehle.txt"));
        writeBytes(file, orders);
        QString err;
        QCOMPARE(runCli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("set-orders"),
                            QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("1"),
                            QStringLiteral("2"), QStringLiteral("3mw"), file},
                     nullptr, &err),
            0);
        QCOMPARE(splitLines(decodeText(readBytes(orderFile))), editorWrites);
    }

    void ordersCommandsReadAndReplaceABlock()
    {
        TempWorkspace ws;
        importFixture(ws);
        auto cli = [&ws](const QStringList &arguments, QString *out = nullptr) {
            QString err;
            const int code = runCli(
                QStringList {QStringLiteral("--workspace"), ws.path()} + arguments, out, &err);
            if (code != 0)
                qWarning("%s", qPrintable(err));
            return code;
        };
        QString out;
        QCOMPARE(cli({"orders", "--slot", "1", "3mw"}, &out), 0);
        QCOMPARE(out,
            QStringLiteral(" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]\n    MACHE Holz\n"
                           "    FOLGE EINHEIT 3mx\n"));
        QCOMPARE(cli({"orders", "--slot", "1", "3uw"}), 1);

        // The file holds the block as the editor shows it; its header line is ignored.
        const QString file = ws.file(QStringLiteral("befehle.txt"));
        writeBytes(file, " EINHEIT 3mw;\tAnders\n    LERNE Holzfällen\n    ARBEITE\n");
        const QString orderFile = ws.file(QStringLiteral("spiel1/Zug-Spiel1-4-April.txt"));
        const QByteArray before = readBytes(orderFile);
        QVERIFY(!before.isEmpty());
        QCOMPARE(cli({"set-orders", "--slot", "1", "1", "2", "3mw", "--mark", "X", file}), 0);
        QCOMPARE(cli({"orders", "--slot", "1", "3mw"}, &out), 0);
        QCOMPARE(out,
            QStringLiteral(" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]\n    LERNE Holzfällen\n"
                           "    ARBEITE\n"));
        QCOMPARE(cli({"orders", "--slot", "1", "3mx"}, &out), 0);
        QCOMPARE(out, QStringLiteral(" EINHEIT 3mx;\tBäcker [3,90$,S25]\n    LERNE Segeln\n"));
        // Only the block changed; the file keeps its encoding and line ends.
        QString expected = decodeText(before);
        expected.replace(QStringLiteral("    MACHE Holz\r\n    FOLGE EINHEIT 3mx\r\n"),
            QStringLiteral("    LERNE Holzfällen\r\n    ARBEITE\r\n"));
        QCOMPARE(readBytes(orderFile), encodeText(expected, TextEncoding::Windows1252));

        auto flags = [&ws] {
            Database db(ws.file(QStringLiteral("kalmora.sqlite")));
            Table units(db, schema::einheiten());
            return units.findKey({1, 4712}) ? units.text(u"Flags") : QStringLiteral("?");
        };
        QCOMPARE(flags(), QStringLiteral("X"));
        // Without --mark the unit keeps its mark; "none" removes it.
        QCOMPARE(cli({"set-orders", "--slot", "1", "1", "2", "3mw", file}), 0);
        QCOMPARE(flags(), QStringLiteral("X"));
        QCOMPARE(cli({"set-orders", "--slot", "1", "1", "2", "3mw", "--mark", "none", file}), 0);
        QCOMPARE(flags(), QString());

        // A unit of another region, or one without a block: nothing changes.
        const QByteArray now = readBytes(orderFile);
        QCOMPARE(cli({"set-orders", "--slot", "1", "5", "5", "3mw", "--mark", "x", file}), 1);
        QCOMPARE(cli({"set-orders", "--slot", "1", "1", "2", "3uw", "--mark", "x", file}), 1);
        QCOMPARE(readBytes(orderFile), now);
        QCOMPARE(flags(), QString());
        QCOMPARE(cli({"set-orders", "--slot", "1", "1", "2", "3mw", "--mark", "y", file}), 2);
    }
};

QTEST_GUILESS_MAIN(TestUnits)
#include "test_units.moc"
