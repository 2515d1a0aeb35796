#include "base/errors.h"
#include "db/database.h"
#include "gamefixture.h"
#include "map/mapexchange.h"
#include "map/regionentry.h"
#include "testsupport.h"

#include <QSqlQuery>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

struct Region
{
    int x, y, level;
    QString terrain;
    QString name;
};

void addRegions(Database &db, int game, const QList<Region> &regions)
{
    Transaction transaction(db);
    GameRows rows(db, game, 404);
    for (const Region &r : regions)
        rows.region(r.x, r.y, r.level,
            {{QStringLiteral("Regiontyp"), r.terrain}, {QStringLiteral("Regionname"), r.name},
                {QStringLiteral("Bauern"), 1000}});
    transaction.commit();
}

// Every row of a game as "x/y/level terrain name date", in key order.
QStringList rowsOf(Database &db, int game)
{
    QSqlQuery q(db.connection());
    q.prepare(QStringLiteral("SELECT \"Breite\", \"Länge\", \"Ebene\", \"Regiontyp\", "
                             "\"Regionname\", \"Info Datum\" FROM regionen WHERE \"Spiel\" = ? "
                             "ORDER BY \"Breite\", \"Länge\", \"Ebene\""));
    q.addBindValue(game);
    if (!q.exec())
        qFatal("query failed");
    QStringList rows;
    while (q.next()) {
        rows.append(QStringLiteral("%1/%2/%3 %4 %5 %6")
                        .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                            q.value(3).toString(), q.value(4).toString(),
                            q.value(5).isNull() ? QStringLiteral("-") : q.value(5).toString()));
    }
    return rows;
}

QStringList headers(const QStringList &lines)
{
    QStringList result;
    for (const QString &l : lines) {
        if (l.startsWith(u"REGION"))
            result.append(l);
    }
    return result;
}

} // namespace

class TestMapExchange : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_h = std::make_unique<ImportHarness>();
        m_exchange = std::make_unique<MapExchange>(m_h->session->database(), 1, m_h->prompter);
    }
    void cleanup()
    {
        m_exchange.reset();
        m_h.reset();
    }

    // One land region at 0,0 and an ocean at 1,0: five lines, CR LF, one byte per letter.
    void wholeMapOfTheWorkedExample()
    {
        addRegions(db(), 1,
            {{0, 0, 0, QStringLiteral("Wald"), QStringLiteral("Südmark")},
                {1, 0, 0, QStringLiteral("Ozean"), QStringLiteral("Ozean")}});
        addRegions(db(), 2, {{0, 1, 0, QStringLiteral("Berge"), QStringLiteral("Fremd")}});
        const QString path = m_h->ws.file(QStringLiteral("karte.txt"));
        const QString message = m_exchange->writeWholeMap(path, std::nullopt);
        QCOMPARE(readBytes(path),
            QByteArray("REGION 0 0\r\n\"Wald\";Terrain\r\n\"S\xFC"
                       "dmark\";Name\r\nREGION 1 0\r\n\"Ozean\";Terrain\r\n"));
        QCOMPARE(message,
            QStringLiteral("Exportieren der Gesamtkarte in Datei: %1 erfolgreich durchgeführt.")
                .arg(QDir::toNativeSeparators(path)));
    }

    void emptyGameWritesEmptyFile()
    {
        const QString path = m_h->ws.file(QStringLiteral("leer.txt"));
        writeBytes(path, "alter Inhalt");
        m_exchange->writeWholeMap(path, std::nullopt);
        QCOMPARE(readBytes(path), QByteArray());
    }

    void regionLines_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("terrain");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("level 2") << 5 << -3 << 2 << "Sumpf"
                                 << "Moor"
                                 << QStringList {
                                        "REGION 5 -3 2", "\"Sumpf\";Terrain", "\"Moor\";Name"};
        QTest::newRow("level 0") << 5 << -3 << 0 << "Sumpf"
                                 << "Moor"
                                 << QStringList {
                                        "REGION 5 -3", "\"Sumpf\";Terrain", "\"Moor\";Name"};
        QTest::newRow("negative level")
            << -1 << 0 << -1 << "Ebene"
            << "Tief" << QStringList {"REGION -1 0 -1", "\"Ebene\";Terrain", "\"Tief\";Name"};
        QTest::newRow("ocean has no name line")
            << 1 << 0 << 0 << "Ozean"
            << "Ozean" << QStringList {"REGION 1 0", "\"Ozean\";Terrain"};
        QTest::newRow("empty terrain")
            << 2 << 2 << 0 << ""
            << "Niemandsland"
            << QStringList {"REGION 2 2", "\"\";Terrain", "\"Niemandsland\";Name"};
    }
    void regionLines()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, level);
        QFETCH(QString, terrain);
        QFETCH(QString, name);
        QFETCH(QStringList, lines);
        QCOMPARE(MapExchange::regionLines({x, y, level, terrain, name}), lines);
    }

    // The region view: every level of the game in key order, or the one level given.
    void wholeMapOfOneOrAllLevels()
    {
        addRegions(db(), 1,
            {{3, 1, 1, QStringLiteral("Wald"), QStringLiteral("Oben")},
                {3, 1, 0, QStringLiteral("Ebene"), QStringLiteral("Unten")},
                {-2, 5, 1, QStringLiteral("Berge"), QStringLiteral("West")}});
        QCOMPARE(headers(m_exchange->wholeMapLines(std::nullopt)),
            (QStringList {"REGION -2 5 1", "REGION 3 1", "REGION 3 1 1"}));
        QCOMPARE(
            headers(m_exchange->wholeMapLines(1)), (QStringList {"REGION -2 5 1", "REGION 3 1 1"}));
        QVERIFY(m_exchange->wholeMapLines(4).isEmpty());
    }

    void areaSizes_data()
    {
        QTest::addColumn<int>("radius");
        QTest::addColumn<int>("regions");
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("1") << 1 << 7;
        QTest::newRow("2") << 2 << 19;
        QTest::newRow("8") << 8 << 259;
        QTest::newRow("negative") << -1 << 0;
    }
    void areaSizes()
    {
        QFETCH(int, radius);
        QFETCH(int, regions);
        // Every cell of a square larger than the largest area is known.
        QList<Region> square;
        for (int a = -12; a <= 14; ++a) {
            for (int b = -14; b <= 10; ++b)
                square.append({a, b, 0, QStringLiteral("Ebene"), QStringLiteral("R")});
        }
        addRegions(db(), 1, square);
        const QPoint centre(1, -2);
        const QStringList found = headers(m_exchange->areaLines(centre, radius, 0));
        QCOMPARE(found.size(), regions);
        QCOMPARE(QSet<QString>(found.begin(), found.end()).size(), regions);
        // Up to radius 2 the area is the hexagon |dx|, |dy|, |dx + dy| <= r; beyond,
        // only the corner border cells are cut, so cells such as (r, -1) stay.
        for (const QString &h : found) {
            const QStringList parts = h.split(u' ');
            const int dx = parts[1].toInt() - centre.x();
            const int dy = parts[2].toInt() - centre.y();
            QVERIFY2(qAbs(dx) <= radius && qAbs(dy) <= radius, qPrintable(h));
            if (radius <= 2)
                QVERIFY2(qAbs(dx + dy) <= radius, qPrintable(h));
        }
        if (radius == 8) {
            QVERIFY(found.contains(QStringLiteral("REGION 9 -3"))); // (8, -1): kept
            QVERIFY(!found.contains(QStringLiteral("REGION 9 -1"))); // (8, 1): cut
            QVERIFY(found.contains(QStringLiteral("REGION 2 -10"))); // (1, -8): kept
            QVERIFY(!found.contains(QStringLiteral("REGION 0 -10"))); // (-1, -8): cut
        }
    }

    // From the top row down, each row from the right; a cell without a region is skipped.
    void areaOrderAndGaps()
    {
        QList<Region> regions;
        for (int a = -1; a <= 1; ++a) {
            for (int b = -1; b <= 1; ++b) {
                if (!(a == -1 && b == 0))
                    regions.append({a, b, 0, QStringLiteral("Ebene"), QStringLiteral("R")});
            }
        }
        addRegions(db(), 1, regions);
        QCOMPARE(headers(m_exchange->areaLines(QPoint(0, 0), 1, 0)),
            (QStringList {"REGION 0 1", "REGION -1 1", "REGION 1 0", "REGION 0 0", "REGION 1 -1",
                "REGION 0 -1"}));
    }

    // With every level visible the lowest level of a cell is written, and only it.
    void areaTakesTheLowestVisibleLevel()
    {
        addRegions(db(), 1,
            {{0, 0, 2, QStringLiteral("Wald"), QStringLiteral("Zwei")},
                {0, 0, 1, QStringLiteral("Berge"), QStringLiteral("Eins")},
                {1, 0, 2, QStringLiteral("Sumpf"), QStringLiteral("Nur zwei")}});
        QCOMPARE(headers(m_exchange->areaLines(QPoint(0, 0), 1, std::nullopt)),
            (QStringList {"REGION 1 0 2", "REGION 0 0 1"}));
        QCOMPARE(headers(m_exchange->areaLines(QPoint(0, 0), 1, 2)),
            (QStringList {"REGION 1 0 2", "REGION 0 0 2"}));
    }

    void areaFileAndHugeRadius()
    {
        addRegions(db(), 1,
            {{0, 0, 0, QStringLiteral("Wald"), QStringLiteral("Mitte")},
                {-2000000000, 2000000000, 0, QStringLiteral("Ebene"), QStringLiteral("Rand")}});
        const QString path = m_h->ws.file(QStringLiteral("teil.txt"));
        const QString message = m_exchange->writeArea(path, QPoint(0, 0), 2147483647, 0);
        QCOMPARE(message,
            QStringLiteral("Exportieren des Kartenteiles in Datei: %1 erfolgreich durchgeführt.")
                .arg(QDir::toNativeSeparators(path)));
        // (-2e9, 2e9) has dx + dy = 0: inside; the file holds both, top row first.
        QCOMPARE(readBytes(path),
            QByteArray("REGION -2000000000 2000000000\r\n\"Ebene\";Terrain\r\n\"Rand\";Name\r\n"
                       "REGION 0 0\r\n\"Wald\";Terrain\r\n\"Mitte\";Name\r\n"));
        m_exchange->writeArea(path, QPoint(0, 0), -3, 0);
        QCOMPARE(readBytes(path), QByteArray());
    }

    // Exported from one game and read into another that lacks the regions.
    void roundTripIntoAnEmptyGame()
    {
        addRegions(db(), 1,
            {{0, 0, 0, QStringLiteral("Wald"), QStringLiteral("Südmark")},
                {1, 0, 0, QStringLiteral("Ozean"), QStringLiteral("Ozean")},
                {5, -3, 2, QStringLiteral("Gletscher"), QStringLiteral("Eisfeld")},
                {7, 7, 0, QString(), QStringLiteral("Ohne Typ")}});
        const QString path = m_h->ws.file(QStringLiteral("karte.txt"));
        m_exchange->writeWholeMap(path, std::nullopt);

        MapExchange other(db(), 3, m_h->prompter);
        QCOMPARE(other.importFile(path), 4);
        QCOMPARE(rowsOf(db(), 3),
            (QStringList {"0/0/0 Wald Südmark -", "1/0/0 Ozean Ozean -",
                "5/-3/2 Gletscher Eisfeld -", "7/7/0  Ohne Typ -"}));
        // A second import finds every region and adds nothing.
        QCOMPARE(other.importFile(path), 0);
        QCOMPARE(rowsOf(db(), 3).size(), 4);
        // Into the game it came from: nothing added, the rows as they were.
        const QStringList before = rowsOf(db(), 1);
        QCOMPARE(m_exchange->importFile(path), 0);
        QCOMPARE(rowsOf(db(), 1), before);
    }

    // What the file may hold besides the regions the export writes.
    void importReadsBlocks()
    {
        addRegions(db(), 1, {{4, 4, 0, QStringLiteral("Berge"), QStringLiteral("Bekannt")}});
        const QStringList lines {
            QStringLiteral("\"Vorspann\";Name"), // before the first header: skipped
            QStringLiteral("REGION 1 1"), // no name line
            QStringLiteral("\"Wald\";Terrain"),
            QStringLiteral("REGION 2 2"), // an ocean that has a name line
            QStringLiteral("\"Nordsee\";Name"),
            QStringLiteral("\"Ozean\";Terrain"),
            QStringLiteral("REGION 4 4"), // known: its lines change nothing
            QStringLiteral("\"Ebene\";Terrain"),
            QStringLiteral("\"Anders\";Name"),
            QStringLiteral("REGION 5 5"), // a name with REGION in it is a name
            QStringLiteral("\"OSTREGION\";Name"),
            QStringLiteral("\"Sumpf\";Terrain"),
            QStringLiteral("REGIONSEREIGNISSE"), // ends the block
            QStringLiteral("\"Danach\";Name"),
            QStringLiteral("REGION 6 6"), // no lines at all
            QStringLiteral("REGION 6 6"), // twice in the file: added once
            QStringLiteral("\"Zweimal\";Name"),
        };
        QCOMPARE(m_exchange->importLines(lines, QStringLiteral("karte.txt")), 4);
        QCOMPARE(rowsOf(db(), 1),
            (QStringList {"1/1/0 Wald unbekannt -", "2/2/0 Ozean Ozean -",
                "4/4/0 Berge Bekannt 404", "5/5/0 Sumpf OSTREGION -", "6/6/0  unbekannt -"}));
    }

    void importReadsEitherEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Windows-1252, CR LF")
            << QByteArray("REGION 1 2\r\n\"W\xE4ldchen\";Name\r\n\"Wald\";Terrain\r\n");
        QTest::newRow("UTF-8, LF")
            << QByteArray("REGION 1 2\n\"W\xC3\xA4ldchen\";Name\n\"Wald\";Terrain\n");
        QTest::newRow("UTF-8 with BOM, no final line end")
            << QByteArray("\xEF\xBB\xBFREGION 1 2\r\n\"W\xC3\xA4ldchen\";Name\r\n\"Wald\";Terrain");
    }
    void importReadsEitherEncoding()
    {
        QFETCH(QByteArray, bytes);
        const QString path = m_h->ws.file(QStringLiteral("fremd.txt"));
        writeBytes(path, bytes);
        QCOMPARE(m_exchange->importFile(path), 1);
        QCOMPARE(rowsOf(db(), 1), QStringList {QStringLiteral("1/2/0 Wald Wäldchen -")});
    }

    void damagedFileChangesNothing_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("value");
        QTest::newRow("letter") << "REGION 4 x"
                                << "x";
        QTest::newRow("one number") << "REGION 4"
                                    << "";
        QTest::newRow("four numbers") << "REGION 1 2 3 4"
                                      << "3 4";
        QTest::newRow("two blanks") << "REGION 1  2"
                                    << "";
        QTest::newRow("too large") << "REGION 99999999999 0"
                                   << "99999999999";
        QTest::newRow("nothing after it") << "REGION "
                                          << "";
    }
    void damagedFileChangesNothing()
    {
        QFETCH(QString, header);
        QFETCH(QString, value);
        addRegions(db(), 1, {{0, 0, 0, QStringLiteral("Wald"), QStringLiteral("Alt")}});
        const QStringList before = rowsOf(db(), 1);
        const QString path = m_h->ws.file(QStringLiteral("kaputt.txt"));
        writeBytes(path,
            encodeText(QStringLiteral("REGION 1 1\r\n\"Wald\";Terrain\r\n\"Neu\";Name\r\n") + header
                    + QStringLiteral("\r\n\"Ebene\";Terrain\r\n"),
                TextEncoding::Windows1252));
        try {
            m_exchange->importFile(path);
            QFAIL("no error");
        } catch (const UserError &e) {
            QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("Zeile 4: \"%1\"").arg(value)),
                qPrintable(e.message()));
            QVERIFY2(
                e.message().contains(QStringLiteral("Zeile: ") + header), qPrintable(e.message()));
        }
        QCOMPARE(rowsOf(db(), 1), before);
        // The database is usable afterwards: the same file without the bad block reads.
        writeBytes(path, "REGION 1 1\r\n\"Neu\";Name\r\n");
        QCOMPARE(m_exchange->importFile(path), 1);
    }

    void missingFileNamesIt()
    {
        const QString path = m_h->ws.file(QStringLiteral("gibtsnicht.txt"));
        try {
            m_exchange->importFile(path);
            QFAIL("no error");
        } catch (const UserError &e) {
            QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
        }
    }

    // "Speichern" of the entry dialog: one row per coordinates and level, date 0.
    void regionEntry()
    {
        addRegions(db(), 1, {{12, -3, 0, QStringLiteral("Wald"), QStringLiteral("Alt")}});
        RegionEntry entry(db(), 1);
        QVERIFY(entry.save(
            {QStringLiteral("Neu"), 12, -3, 0, QStringLiteral("Berge"), QStringLiteral("Eisen")}));
        QVERIFY(!entry.save({QStringLiteral("Tief"), 12, -3, 2, QStringLiteral("Wüste"), {}}));
        QVERIFY(
            !entry.save({QStringLiteral("Zwei\nZeilen"), 1, 1, 0, QStringLiteral("Ebene"), {}}));
        QCOMPARE(rowsOf(db(), 1),
            (QStringList {
                "1/1/0 Ebene Zwei Zeilen 0", "12/-3/0 Berge Neu 0", "12/-3/2 Desert Tief 0"}));
        // The fields the dialog does not show keep their values.
        QCOMPARE(m_h->value(QStringLiteral("SELECT \"Bauern\" || ' ' || \"Angebot\" FROM regionen "
                                           "WHERE \"Breite\" = 12 AND \"Ebene\" = 0")),
            QVariant(QStringLiteral("1000 Eisen")));
        QVERIFY(m_h->value(QStringLiteral("SELECT \"Bauern\" FROM regionen WHERE \"Ebene\" = 2"))
                    .isNull());
        QCOMPARE(RegionEntry::terrains().first(), QStringLiteral("Berge"));
        QCOMPARE(RegionEntry::terrains().size(), 8);
    }

    void commandLine()
    {
        const QString ws = m_h->ws.path();
        const auto cli
            = [&](const QStringList &args, QString *out = nullptr, QString *err = nullptr) {
                  return runCli(QStringList {QStringLiteral("--workspace"), ws} + args, out, err);
              };
        QString out;
        QString err;
        QCOMPARE(cli({"add-region", "--slot", "1", "0", "0", "--terrain", "Wald", "--name",
                         "Südmark", "--export-good", "Holz"},
                     &out),
            0);
        QCOMPARE(out, QStringLiteral("Region 0/0 angelegt.\n"));
        QCOMPARE(cli({"add-region", "--slot", "1", "1", "-1", "--terrain", "Ozean", "--level", "2"},
                     &out),
            0);
        QCOMPARE(out, QStringLiteral("Region 1/-1/2 angelegt.\n"));
        QCOMPARE(cli({"add-region", "--slot", "1", "0", "0", "--terrain", "Wüste"}, &out), 0);
        QCOMPARE(out, QStringLiteral("Region 0/0 geändert.\n"));
        QCOMPARE(
            cli({"add-region", "--slot", "1", "0", "0", "--terrain", "Sand"}, nullptr, &err), 2);
        QVERIFY2(err.contains(QStringLiteral("Berge, Ebene")), qPrintable(err));
        QCOMPARE(
            cli({"add-region", "--slot", "1", "0", "x", "--terrain", "Wald"}, nullptr, &err), 2);

        const QString file = m_h->ws.file(QStringLiteral("cli-karte.txt"));
        QCOMPARE(cli({"export-map", "--slot", "1", file}, &out), 0);
        QCOMPARE(out,
            QStringLiteral("Exportieren der Gesamtkarte in Datei: %1 erfolgreich durchgeführt.\n")
                .arg(QDir::toNativeSeparators(file)));
        QCOMPARE(readBytes(file),
            QByteArray("REGION 0 0\r\n\"Desert\";Terrain\r\n\"\";Name\r\n"
                       "REGION 1 -1 2\r\n\"Ozean\";Terrain\r\n"));
        QCOMPARE(cli({"export-map", "--slot", "1", file, "--level", "2", "--around", "0", "0",
                         "--radius", "1"},
                     &out),
            0);
        QVERIFY2(out.startsWith(QStringLiteral("Exportieren des Kartenteiles")), qPrintable(out));
        QCOMPARE(readBytes(file), QByteArray("REGION 1 -1 2\r\n\"Ozean\";Terrain\r\n"));
        QCOMPARE(cli({"export-map", "--slot", "1", file, "--radius", "1"}, nullptr, &err), 2);

        QCOMPARE(cli({"import-map", "--slot", "2", file}, &out), 0);
        QCOMPARE(out, QStringLiteral("Kartendaten eingelesen: 1 Region hinzugefügt.\n"));
        writeBytes(file, "REGION 1 1\r\nREGION a 1\r\n");
        QCOMPARE(cli({"import-map", "--slot", "2", file}, &out, &err), 2);
        QVERIFY2(err.contains(QStringLiteral("Zeile 2")), qPrintable(err));
        QCOMPARE(rowsOf(db(), 2), QStringList {QStringLiteral("1/-1/2 Ozean Ozean -")});
    }

private:
    Database &db() { return m_h->session->database(); }

    std::unique_ptr<ImportHarness> m_h;
    std::unique_ptr<MapExchange> m_exchange;
};

QTEST_MAIN(TestMapExchange)
#include "test_mapexchange.moc"
