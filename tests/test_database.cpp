#include "app/errors.h"
#include "db/database.h"
#include "db/schema.h"
#include "db/table.h"
#include "testsupport.h"

#include <QSqlQuery>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

class TestDatabase : public QObject
{
    Q_OBJECT
private slots:
    void schemaHasEveryTableAndFieldInOrder()
    {
        TempWorkspace ws;
        Database db(ws.file(QStringLiteral("kalmora.sqlite")));
        for (const TableDef *table : schema::allTables()) {
            QSqlQuery q(db.connection());
            QVERIFY(q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(sqlQuote(table->name))));
            QStringList columns;
            while (q.next())
                columns.append(q.value(1).toString());
            QStringList expected;
            for (const FieldDef &f : table->fields)
                expected.append(f.name);
            QCOMPARE(columns, expected);
        }
        QCOMPARE(schema::regionen().fields.size(), 35);
        QCOMPARE(schema::itemFieldNames().size(), 76);
        QCOMPARE(schema::skillFieldNames().size(), 31);
        QCOMPARE(schema::itemFieldNames().first(), QStringLiteral("Holz"));
        QCOMPARE(schema::itemFieldNames().last(), QStringLiteral("Drachenkopf"));
        QCOMPARE(schema::skillFieldNames().last(), QStringLiteral("Alchemie"));
    }

    void keysAreUnique()
    {
        TempWorkspace ws;
        Database db(ws.file(QStringLiteral("kalmora.sqlite")));
        QSqlQuery q(db.connection());
        QVERIFY(q.exec(QStringLiteral("INSERT INTO ebenen (Spiel, Ebene, Name) VALUES (1, 2, 'a')")));
        QVERIFY(!q.exec(QStringLiteral("INSERT INTO ebenen (Spiel, Ebene, Name) VALUES (1, 2, 'b')")));
    }

    void appendFindEditPostCancel()
    {
        TempWorkspace ws;
        Database db(ws.file(QStringLiteral("kalmora.sqlite")));
        Table t(db, schema::regionen());
        QVERIFY(!t.findKey({1, 3, -4, 0}));
        t.append();
        t.setValue(u"Spiel", 1);
        t.setValue(u"Breite", 3);
        t.setValue(u"Länge", -4);
        t.setValue(u"Ebene", 0);
        t.setValue(u"Regionname", QStringLiteral("Grünwald"));
        t.post();

        QVERIFY(t.findKey({1, 3, -4, 0}));
        QCOMPARE(t.text(u"Regionname"), QStringLiteral("Grünwald"));
        QVERIFY(t.isNull(u"Bauern"));
        t.edit();
        t.setValue(u"Bauern", 1250);
        t.cancel();
        QVERIFY(t.findKey({1, 3, -4}));
        QVERIFY(t.isNull(u"Bauern"));
        t.edit();
        t.setValue(u"Bauern", 1250);
        t.post();
        QVERIFY(t.findKey({1, 3, -4, 0}));
        QCOMPARE(t.intValue(u"Bauern"), 1250);

        // A cancelled append leaves nothing behind.
        t.append();
        t.setValue(u"Spiel", 1);
        t.setValue(u"Breite", 9);
        t.cancel();
        QVERIFY(!t.find({QStringLiteral("Spiel"), QStringLiteral("Breite")}, {1, 9}));
    }

    void gameFilterHidesOtherGames()
    {
        TempWorkspace ws;
        Database db(ws.file(QStringLiteral("kalmora.sqlite")));
        Table t(db, schema::regionen());
        for (int game : {1, 2, 2}) {
            static int x = 0;
            t.append();
            t.setValue(u"Spiel", game);
            t.setValue(u"Breite", game == 1 ? 5 : x++);
            t.setValue(u"Länge", 5);
            t.setValue(u"Ebene", 0);
            t.post();
        }
        t.append();
        t.setValue(u"Spiel", 2);
        t.setValue(u"Breite", 5);
        t.setValue(u"Länge", 5);
        t.setValue(u"Ebene", 0);
        t.post();

        t.setGameFilter(1);
        QCOMPARE(t.count(), 1);
        QVERIFY(t.first());
        do {
            QCOMPARE(t.intValue(u"Spiel"), 1);
        } while (t.next());
        // Same coordinates in game 2 are not found through game 1's view.
        QVERIFY(t.find({QStringLiteral("Breite"), QStringLiteral("Länge")}, {5, 5}));
        QCOMPARE(t.intValue(u"Spiel"), 1);
        t.setGameFilter(2);
        QCOMPARE(t.count(), 3);
    }

    void walkInKeyOrder()
    {
        TempWorkspace ws;
        Database db(ws.file(QStringLiteral("kalmora.sqlite")));
        Table t(db, schema::statistik());
        for (int datum : {303, 301, 302}) {
            t.append();
            t.setValue(u"Spiel", 1);
            t.setValue(u"Breite", 77);
            t.setValue(u"Länge", 5000);
            t.setValue(u"Datum", datum);
            t.post();
        }
        QList<int> seen;
        for (bool ok = t.first({QStringLiteral("Spiel"), QStringLiteral("Breite"), QStringLiteral("Länge")},
                               {1, 77, 5000});
             ok; ok = t.next())
            seen.append(t.intValue(u"Datum"));
        QCOMPARE(seen, (QList<int> {301, 302, 303}));
    }

    void unknownFieldIsAProgrammingError()
    {
        TempWorkspace ws;
        Database db(ws.file(QStringLiteral("kalmora.sqlite")));
        Table t(db, schema::ebenen());
        QVERIFY_THROWS_EXCEPTION(std::logic_error, t.field(u"Nichtda"));
    }

    void rollbackLeavesNothing()
    {
        TempWorkspace ws;
        Database db(ws.file(QStringLiteral("kalmora.sqlite")));
        Table t(db, schema::ebenen());
        {
            Transaction tx(db);
            t.append();
            t.setValue(u"Spiel", 1);
            t.setValue(u"Ebene", 1);
            t.post();
        }
        QCOMPARE(t.count(), 0);
    }

    void notADatabase()
    {
        TempWorkspace ws;
        QFile f(ws.file(QStringLiteral("bad.sqlite")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        QVERIFY_THROWS_EXCEPTION(UserError, Database(ws.file(QStringLiteral("bad.sqlite"))));
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "test_database.moc"
