#include "db/database.h"
#include "db/gamequeries.h"
#include "gamefixture.h"
#include "testsupport.h"

#include <QSqlQuery>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

const int kTurn = 404; // turn 40 of the fixture

QList<int> numbers(const auto &rows)
{
    QList<int> list;
    for (const auto &row : rows)
        list.append(row.number);
    return list;
}

} // namespace

class TestGameQueries : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_h = std::make_unique<ImportHarness>();
        QCOMPARE(m_h->importFile(fixture(QStringLiteral("reports/kalmora-klein.cr"))).status,
            ReportImporter::Result::Imported);
        // The same report in game 2, and one more unit there at the same position.
        m_h->session->openGame(2, QStringLiteral("Zweites"), QStringLiteral("Kalmora"));
        QCOMPARE(m_h->importFile(fixture(QStringLiteral("reports/kalmora-klein.cr"))).status,
            ReportImporter::Result::Imported);
        GameRows(m_h->session->database(), 2, kTurn)
            .unit(1, QStringLiteral("1/2"), {{QStringLiteral("Partei Nr"), 4711}});
        m_q = std::make_unique<GameQueries>(m_h->session->database());
    }
    void cleanup()
    {
        m_q.reset();
        m_h.reset();
    }

    void regionsOfALevelInKeyOrder()
    {
        const QList<MapCell> cells = m_q->regionsOfLevel(1, 0);
        QCOMPARE(cells.size(), 3);
        QCOMPARE(cells[0].x, 1);
        QCOMPARE(cells[0].terrain, QStringLiteral("Ebene"));
        QCOMPARE(cells[1].terrain, QStringLiteral("Ozean"));
        QCOMPARE(cells[2].terrain, QStringLiteral("Wueste"));
        const QList<MapCell> deep = m_q->regionsOfLevel(1, 1);
        QCOMPARE(deep.size(), 1);
        QCOMPARE(deep[0].y, -4);
        QVERIFY(m_q->regionsOfLevel(1, 5).isEmpty());
    }

    void levelExtent()
    {
        const auto extent = m_q->levelExtent(1, 0);
        QVERIFY(extent);
        QCOMPARE(extent->minX, 1);
        QCOMPARE(extent->maxX, 5);
        QCOMPARE(extent->minY, 2);
        QCOMPARE(extent->maxY, 5);
        QVERIFY(!m_q->levelExtent(1, 7));
    }

    void regionAtALevelOrTheLowest()
    {
        QCOMPARE(m_q->regionAt(1, 3, -4, std::nullopt)->terrain, QStringLiteral("Sumpf"));
        QVERIFY(!m_q->regionAt(1, 3, -4, 0));
        QCOMPARE(m_q->regionAt(1, 3, -4, 1)->terrain, QStringLiteral("Sumpf"));
        QVERIFY(!m_q->regionAt(1, 9, 9, std::nullopt));
    }

    void castlesShipsAndUnitsOfAPosition()
    {
        QCOMPARE(numbers(m_q->castlesAt(1, QStringLiteral("1/2"), QStringLiteral("1/2/0"))),
            QList<int>({245}));
        QCOMPARE(m_q->castlesAt(1, QStringLiteral("1/2"), QStringLiteral("1/2/0"))[0].name,
            QStringLiteral("Falkenhorst"));
        const QVector<ShipRow> ships
            = m_q->shipsAt(1, QStringLiteral("1/2"), QStringLiteral("1/2/0"));
        QCOMPARE(numbers(ships), QList<int>({77}));
        QCOMPARE(ships[0].coast, QStringLiteral("Ostküste"));
        QCOMPARE(
            numbers(m_q->unitsAt(1, QStringLiteral("1/2"))), QList<int>({4712, 4713, 4714, 5000}));
        // Game 2 has its own rows at the same position.
        QCOMPARE(numbers(m_q->unitsAt(2, QStringLiteral("1/2"))),
            QList<int>({1, 4712, 4713, 4714, 5000}));
        QVERIFY(m_q->unitsAt(1, QStringLiteral("3/-4")).isEmpty());
        QCOMPARE(numbers(m_q->unitsAt(1, QStringLiteral("3/-4/1"))), QList<int>({4715}));
    }

    void unitsOfAFactionAndShipsOfATurn()
    {
        QCOMPARE(
            numbers(m_q->unitsOfFaction(1, 4711, kTurn)), QList<int>({4712, 4713, 4714, 4715}));
        QVERIFY(m_q->unitsOfFaction(1, 4711, kTurn - 1).isEmpty());
        QCOMPARE(numbers(m_q->shipsOfTurn(1, kTurn)), QList<int>({77}));
        QVERIFY(m_q->shipsOfTurn(1, 101).isEmpty());
    }

    void historyOfARegion()
    {
        const QVector<HistoryRow> rows = m_q->regionHistory(1, 1, 2, 0);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].date.toInt(), kTurn);
        QCOMPARE(rows[0].peasants.toInt(), 2350);
        QVERIFY(m_q->regionHistory(1, 1, 2, 1).isEmpty());
        QVERIFY(m_q->regionHistory(1, 40, 40, 0).isEmpty());
    }

    void levelsOfAGame()
    {
        const QVector<LevelRow> levels = m_q->levels(1);
        QCOMPARE(levels.size(), 1);
        QCOMPARE(levels[0].level, 1);
        QCOMPARE(levels[0].name, QStringLiteral("unbekannt"));
    }

    void anOlderDatabaseGetsTheNewIndexes()
    {
        const QString path = m_h->session->database().path();
        m_q.reset();
        m_h->session.reset();
        {
            Database db(path);
            db.exec(QStringLiteral("DROP INDEX \"einheiten_idx2\""));
        }
        Database db(path);
        QSqlQuery q(db.connection());
        QVERIFY(q.exec(
            QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = 'einheiten_idx2'")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
    }

private:
    std::unique_ptr<ImportHarness> m_h;
    std::unique_ptr<GameQueries> m_q;
};

QTEST_GUILESS_MAIN(TestGameQueries)
#include "test_gamequeries.moc"
