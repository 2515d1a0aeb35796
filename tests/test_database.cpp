#include "base/errors.h"
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
        QVERIFY(
            q.exec(QStringLiteral("INSERT INTO ebenen (Spiel, Ebene, Name) VALUES (1, 2, 'a')")));
        QVERIFY(
            !q.exec(QStringLiteral("INSERT INTO ebenen (Spiel, Ebene, Name) VALUES (1, 2, 'b')")));
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
        for (bool ok
             = t.first({QStringLiteral("Spiel"), QStringLiteral("Breite"), QStringLiteral("Länge")},
                 {1, 77, 5000});
             ok; ok = t.next())
            seen.append(t.intValue(u"Datum"));
        QCOMPARE(seen, (QList<int> {301, 302, 303}));
    }

    // What a post stores, read back with SQL: the type SQLite keeps and the text of
    // the value; a row is first stored with one value, then edited to another.
    void storedValues_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("first");
        QTest::addColumn<QVariant>("second");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("text");
        const QVariant nullText = QVariant(QMetaType::fromType<QString>());
        QTest::newRow("int to int") << "Bauern" << QVariant(5) << QVariant(7) << "integer"
                                    << "7";
        QTest::newRow("same int") << "Bauern" << QVariant(5) << QVariant(5) << "integer"
                                  << "5";
        QTest::newRow("int then qlonglong")
            << "Bauern" << QVariant(5) << QVariant(qlonglong(5)) << "integer"
            << "5";
        QTest::newRow("int to null") << "Bauern" << QVariant(5) << QVariant() << "null"
                                     << "";
        QTest::newRow("null to int") << "Bauern" << QVariant() << QVariant(0) << "integer"
                                     << "0";
        QTest::newRow("text to empty") << "Regionname" << QVariant(QStringLiteral("a"))
                                       << QVariant(QStringLiteral("")) << "text"
                                       << "";
        QTest::newRow("empty to null string")
            << "Regionname" << QVariant(QStringLiteral("")) << QVariant(QString()) << "null"
            << "";
        QTest::newRow("null string to empty")
            << "Regionname" << QVariant(QString()) << QVariant(QStringLiteral("")) << "text"
            << "";
        QTest::newRow("null variant to null string")
            << "Regionname" << QVariant() << nullText << "null"
            << "";
        QTest::newRow("umlauts") << "Regionname" << QVariant(QStringLiteral("x"))
                                 << QVariant(QStringLiteral("Süderaü€")) << "text"
                                 << "Süderaü€";
        QTest::newRow("same text") << "Regionname" << QVariant(QStringLiteral("Öd"))
                                   << QVariant(QStringLiteral("Öd")) << "text"
                                   << "Öd";
        QTest::newRow("int into text field")
            << "Regionname" << QVariant(QStringLiteral("5")) << QVariant(5) << "text"
            << "5";
        QTest::newRow("text into int field")
            << "Bauern" << QVariant(5) << QVariant(QStringLiteral("12")) << "integer"
            << "12";
        QTest::newRow("word into int field") << "Bauern" << QVariant(QStringLiteral("viele"))
                                             << QVariant(QStringLiteral("viele")) << "text"
                                             << "viele";
        QTest::newRow("bool") << "Bauern" << QVariant(3) << QVariant(true) << "integer"
                              << "1";
        QTest::newRow("double") << "Bauern" << QVariant(1.5) << QVariant(2.5) << "real"
                                << "2.5";
        QTest::newRow("key field unchanged") << "Breite" << QVariant(3) << QVariant(3) << "integer"
                                             << "3";
    }
    void storedValues()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, first);
        QFETCH(QVariant, second);
        QFETCH(QString, type);
        QFETCH(QString, text);
        TempWorkspace ws;
        Database db(ws.file(QStringLiteral("kalmora.sqlite")));
        Table t(db, schema::regionen());
        auto key = [&](Table &table) {
            table.setValue(u"Spiel", 1);
            if (field != u"Breite")
                table.setValue(u"Breite", 3);
            table.setValue(u"Länge", -4);
            table.setValue(u"Ebene", 0);
        };
        t.append();
        key(t);
        t.setValue(field, first);
        t.post();
        // Once right after the post, once from a fresh find.
        for (bool reload : {false, true}) {
            if (reload) {
                QVERIFY(t.findKey({1, 3, -4, 0}));
                t.edit();
                t.setValue(field, first);
                t.post();
            }
            t.edit();
            key(t);
            t.setValue(field, second);
            t.post();
            QSqlQuery q(db.connection());
            QVERIFY(q.exec(QStringLiteral("SELECT typeof(%1), %1, COUNT(*) FROM regionen")
                               .arg(sqlQuote(field))));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString(), type);
            QCOMPARE(q.value(1).toString(), text);
            QCOMPARE(q.value(2).toInt(), 1);
        }
        // What the table reads is what QtSql reads.
        QVERIFY(t.findKey({1, 3, -4, 0}));
        QSqlQuery q(db.connection());
        QVERIFY(q.exec(QStringLiteral("SELECT * FROM regionen")));
        QVERIFY(q.next());
        for (int i = 0; i < schema::regionen().fields.size(); ++i) {
            QCOMPARE(t.value(i).metaType(), q.value(i).metaType());
            QCOMPARE(t.value(i).isNull(), q.value(i).isNull());
            QCOMPARE(t.value(i).toString().isNull(), q.value(i).toString().isNull());
            QCOMPARE(t.value(i), q.value(i));
        }
    }

    // Rows whose changed fields differ from row to row: more shapes of update than
    // the table keeps statements for, every one stored right.
    void manyShapesOfUpdate()
    {
        TempWorkspace ws;
        Database db(ws.file(QStringLiteral("kalmora.sqlite")));
        Table t(db, schema::einheiten());
        const QStringList items = schema::itemFieldNames().mid(0, 10);
        const int rows = 600;
        Transaction tx(db);
        for (int n = 0; n < rows; ++n) {
            t.append();
            t.setValue(u"Spiel", 1);
            t.setValue(u"Einheit Nr", n);
            for (const QString &item : items)
                t.setValue(item, 0);
            t.post();
        }
        for (int n = 0; n < rows; ++n) {
            QVERIFY(t.findKey({1, n}));
            t.edit();
            for (int b = 0; b < items.size(); ++b)
                t.setValue(items[b], (n >> b) & 1 ? n : 0);
            t.post();
        }
        tx.commit();
        QStringList columns;
        for (const QString &item : items)
            columns.append(sqlQuote(item));
        QSqlQuery q(db.connection());
        QVERIFY(q.exec(QStringLiteral("SELECT %1 FROM einheiten ORDER BY \"Einheit Nr\"")
                           .arg(columns.join(u", "))));
        for (int n = 0; n < rows; ++n) {
            QVERIFY(q.next());
            for (int b = 0; b < items.size(); ++b)
                QCOMPARE(q.value(b).toInt(), (n >> b) & 1 ? n : 0);
        }
        QVERIFY(!q.next());
    }

    // cancel() brings back the row as it was last loaded or posted.
    void cancelRestoresTheLastLoadedOrPostedRow()
    {
        TempWorkspace ws;
        Database db(ws.file(QStringLiteral("kalmora.sqlite")));
        Table t(db, schema::regionen());
        auto stored = [&] {
            QSqlQuery q(db.connection());
            return q.exec(QStringLiteral("SELECT Bauern FROM regionen")) && q.next()
                ? q.value(0).toInt()
                : -1;
        };
        t.append();
        t.setValue(u"Spiel", 1);
        t.setValue(u"Breite", 1);
        t.setValue(u"Länge", 1);
        t.setValue(u"Ebene", 0);
        t.setValue(u"Bauern", 7);
        t.post();
        QVERIFY(t.findKey({1, 1, 1, 0}));

        // Each step edits the row, sets a value and posts or cancels: then the row shows
        // `current` and the file holds `stored`. Setting back the stored value writes
        // nothing new; a real change does.
        struct Step
        {
            int value;
            bool post;
            int current;
            int stored;
        };
        const Step steps[] = {
            {9, false, 7, 7},
            {5, true, 5, 5},
            {6, false, 5, 5},
            {5, true, 5, 5},
            {8, true, 8, 8},
        };
        for (const Step &step : steps) {
            t.edit();
            t.setValue(u"Bauern", step.value);
            QCOMPARE(t.intValue(u"Bauern"), step.value);
            if (step.post)
                t.post();
            else
                t.cancel();
            QCOMPARE(t.intValue(u"Bauern"), step.current);
            QCOMPARE(stored(), step.stored);
        }
        QVERIFY(t.findKey({1, 1, 1, 0}));
        QCOMPARE(t.intValue(u"Bauern"), 8);
        // A cancelled append leaves the last posted row where it was.
        t.append();
        t.setValue(u"Bauern", 1);
        t.cancel();
        QVERIFY(!t.hasCurrent());
        QCOMPARE(t.count(), 1);
        QCOMPARE(stored(), 8);
    }

    // An appended row holds only what was set on it, however it leaves the append.
    void appendedRowHoldsOnlyWhatWasSet()
    {
        TempWorkspace ws;
        Database db(ws.file(QStringLiteral("kalmora.sqlite")));
        Table t(db, schema::regionen());
        auto appendRow = [&](int x, bool full) {
            t.append();
            t.setValue(u"Spiel", 1);
            t.setValue(u"Breite", x);
            t.setValue(u"Länge", 0);
            t.setValue(u"Ebene", 0);
            if (full) {
                t.setValue(u"Bauern", 7);
                t.setValue(u"Regionname", QStringLiteral("Alt"));
            }
        };
        appendRow(1, true);
        t.post();
        QVERIFY(t.findKey({1, 1, 0, 0}));
        QCOMPARE(t.intValue(u"Bauern"), 7);
        // An edit keeps the loaded row aside, so the table's buffers hold full rows.
        t.edit();
        t.setValue(u"Bauern", 7);
        t.post();

        // Right after append, while set, after a failed find, after post and walk.
        appendRow(2, false);
        QVERIFY(t.isNull(u"Bauern"));
        QVERIFY(t.text(u"Regionname").isEmpty());
        QVERIFY(!t.value(u"Regionname").isValid());
        QCOMPARE(t.intValue(u"Breite"), 2);
        QVERIFY(!t.findKey({1, 99, 0, 0}));
        QVERIFY(t.isNull(u"Bauern"));
        QCOMPARE(t.intValue(u"Breite"), 2);
        appendRow(3, false);
        t.post();
        QVERIFY(t.isNull(u"Bauern"));
        QVERIFY(t.findKey({1, 3, 0, 0}));
        QVERIFY(t.isNull(u"Bauern"));
        QVERIFY(t.isNull(u"Regionname"));
        // An append over an append forgets the first one's values.
        appendRow(4, true);
        appendRow(5, false);
        t.post();
        QVERIFY(t.findKey({1, 5, 0, 0}));
        QVERIFY(t.isNull(u"Bauern"));
        QList<int> seen;
        for (bool ok = t.first(); ok; ok = t.next())
            seen.append(t.isNull(u"Bauern") ? -1 : t.intValue(u"Bauern"));
        QCOMPARE(seen, (QList<int> {7, -1, -1}));
    }

    void partialReadWritesWhatWasSetAndKeepsTheRest()
    {
        TempWorkspace ws;
        Database db(ws.file(QStringLiteral("kalmora.sqlite")));
        Table t(db, schema::einheiten());
        t.append();
        t.setValue(u"Spiel", 1);
        t.setValue(u"Einheit Nr", 5);
        t.setValue(u"Flags", QStringLiteral("X"));
        t.setValue(u"Gruppe", QStringLiteral("1. Armee"));
        t.setValue(u"Holz", 7);
        t.post();

        const QList<int> read {t.field(u"Flags"), t.field(u"Info Datum")};
        QVERIFY(!t.findKeyReading({1, 6}, read));
        QVERIFY(t.findKeyReading({1, 5}, read));
        QCOMPARE(t.text(u"Flags"), QStringLiteral("X"));
        QVERIFY(t.isNull(u"Info Datum"));
        // A field that was not read may not be used before it is set.
        QVERIFY_THROWS_EXCEPTION(std::logic_error, t.text(u"Gruppe"));
        t.edit();
        t.setValue(u"Holz", 0);
        QCOMPARE(t.intValue(u"Holz"), 0);
        t.cancel();
        QVERIFY(t.findKeyReading({1, 5}, read));
        t.edit();
        t.setValue(u"Holz", 3);
        t.setValue(u"Flags", QStringLiteral("XB"));
        t.post();
        QCOMPARE(t.intValue(u"Holz"), 3);
        // The full row: what was set is stored, the rest kept.
        QVERIFY(t.findKey({1, 5}));
        QCOMPARE(t.intValue(u"Holz"), 3);
        QCOMPARE(t.text(u"Flags"), QStringLiteral("XB"));
        QCOMPARE(t.text(u"Gruppe"), QStringLiteral("1. Armee"));
        // A cancelled edit of a partial read stores nothing.
        QVERIFY(t.findKeyReading({1, 5}, read));
        t.edit();
        t.setValue(u"Holz", 99);
        t.cancel();
        QVERIFY(t.findKey({1, 5}));
        QCOMPARE(t.intValue(u"Holz"), 3);
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
