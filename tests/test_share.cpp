#include "app/alliancesync.h"
#include "app/mapoperations.h"
#include "app/reportimporter.h"
#include "base/slotsettings.h"
#include "db/database.h"
#include "gamefixture.h"
#include "pgtestserver.h"
#include "share/pgconnection.h"
#include "testsupport.h"

#include <QProcess>
#include <QtTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

using Direction = AllianceSync::Direction;

// One player's workspace with game slot 1 open, filled row by row.
struct Player
{
    explicit Player(int faction)
    {
        // The command line opens the slot with the game type it was started with.
        h.ws.setLine(1, Configuration::GameTypeText, QStringLiteral("Kalmora"));
        ActiveGame g = h.session->game();
        g.factionNumber = faction;
        h.session->setGame(g);
    }

    Database &db() { return h.session->database(); }
    void exec(const QString &sql, const QVariantList &values) { execute(db(), sql, values); }
    void region(
        int x, int y, int level, const QString &name, int date, const QVariant &offer = QVariant())
    {
        GameRows(db(), 1, date)
            .region(x, y, level,
                {{QStringLiteral("Regionname"), name},
                    {QStringLiteral("Regiontyp"), QStringLiteral("Wald")},
                    {QStringLiteral("Bauern"), 500}, {QStringLiteral("Angebot"), offer}});
    }
    void unit(int number, const QString &name, int date, const QString &flags, const QString &group,
        const QString &note = QString())
    {
        GameRows(db(), 1, date)
            .unit(number, QStringLiteral("0/0"),
                {{QStringLiteral("Einheit Name"), name}, {QStringLiteral("Personen"), 5},
                    {QStringLiteral("Flags"), flags}, {QStringLiteral("Gruppe"), group},
                    {QStringLiteral("Privat"), note.isNull() ? QVariant() : QVariant(note)}});
    }
    void ship(int number, const QString &name, int date)
    {
        GameRows(db(), 1, date)
            .ship(number, QStringLiteral("0/0"), {{QStringLiteral("Schiffs Name"), name}});
    }
    void castle(int number, const QString &name, int date)
    {
        GameRows(db(), 1, date)
            .castle(number, QStringLiteral("0/0"), {{QStringLiteral("Burg Name"), name}});
    }

    // Every row of a table of game 1 as "key: fields", in key order.
    QStringList rows(const QString &table, const QString &fields, const QString &order)
    {
        return queryRows(db(),
            QStringLiteral("SELECT %1 FROM %2 WHERE \"Spiel\" = 1 ORDER BY %3")
                .arg(fields, table, order));
    }
    QStringList regions()
    {
        return rows(QStringLiteral("regionen"),
            QStringLiteral("\"Breite\", \"Länge\", \"Ebene\", \"Regionname\", \"Info Datum\", "
                           "\"Angebot\""),
            QStringLiteral("\"Breite\", \"Länge\", \"Ebene\""));
    }
    QStringList units()
    {
        return rows(QStringLiteral("einheiten"),
            QStringLiteral("\"Einheit Nr\", \"Einheit Name\", \"Info Datum\", \"Flags\", "
                           "\"Gruppe\", \"Privat\""),
            QStringLiteral("\"Einheit Nr\""));
    }
    QStringList everything()
    {
        return regions() + units()
            + rows(QStringLiteral("schiffe"), QStringLiteral("*"), QStringLiteral("\"Schiffs Nr\""))
            + rows(QStringLiteral("burgen"), QStringLiteral("*"), QStringLiteral("\"Burg Nr\""))
            + rows(QStringLiteral("ebenen"), QStringLiteral("*"), QStringLiteral("\"Ebene\""));
    }

    AllianceSync::Result run(Direction direction, const QString &server,
        const QString &password = QString(), int replyTimeoutMs = 60000)
    {
        ShareProgress progress;
        PgConnection::Options options;
        options.replyTimeoutMs = replyTimeoutMs;
        return AllianceSync(*h.session, progress).run(direction, server, password, options);
    }

    ImportHarness h;
};

QString counts(const ShareCounts &c)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(c.rows[0])
        .arg(c.rows[1])
        .arg(c.rows[2])
        .arg(c.rows[3]);
}

} // namespace

class TestShare : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!m_server.startForTestClass())
            return;
    }
    void cleanupTestCase() { m_server.stop(); }

    // Two players push, one pulls: the union, the newer row winning; the own marks and
    // groupings stay where they were set and never reach the server.
    void twoPlayersAgreeAfterPushPushPull()
    {
        const QString server = m_server.conninfo(m_server.createDatabase());
        Player a(11);
        Player b(22);
        a.region(0, 0, 0, QStringLiteral("Alpha"), 301);
        a.region(1, 0, 0, QStringLiteral("Beta von A"), 305);
        a.region(2, 0, 0, QStringLiteral("Gamma von A"), 302);
        a.region(5, 5, 1, QStringLiteral("Tiefe"), 303);
        b.region(1, 0, 0, QStringLiteral("Beta von B"), 303);
        b.region(2, 0, 0, QStringLiteral("Gamma von B"), 304);
        b.region(3, 0, 0, QStringLiteral("Delta"), 301);
        b.region(7, -2, 2, QStringLiteral("Unten"), 302);
        b.exec(
            QStringLiteral(
                "INSERT INTO ebenen (\"Spiel\", \"Ebene\", \"Name\") VALUES (1, 2, 'Unterwelt')"),
            {});
        a.unit(100, QStringLiteral("Späher von A"), 305, QStringLiteral("X"),
            QStringLiteral("1. Armee"));
        b.unit(100, QStringLiteral("Späher von B"), 301, QStringLiteral("x"),
            QStringLiteral("Händler"), QStringLiteral("nur für B"));
        b.unit(200, QStringLiteral("Fremder"), 304, QStringLiteral("X"), QStringLiteral("2. Armee"),
            QStringLiteral("geheim"));
        a.ship(7, QStringLiteral("Möwe"), 302);
        b.ship(7, QStringLiteral("Alte Möwe"), 301);
        b.ship(8, QStringLiteral("Kogge"), 303);
        b.castle(3, QStringLiteral("Feste"), 304);

        AllianceSync::Result r = a.run(Direction::Push, server);
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        QCOMPARE(counts(r.up), QStringLiteral("4 0 1 1"));
        r = b.run(Direction::Push, server);
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        QCOMPARE(counts(r.up), QStringLiteral("3 1 1 1"));
        QCOMPARE(r.message,
            QStringLiteral("Hochgeladen: 6 Zeilen (Regionen 3, Burgen 1, Schiffe 1, Einheiten 1)"));

        r = a.run(Direction::Pull, server);
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        QCOMPARE(counts(r.down), QStringLiteral("3 1 1 1"));
        r = b.run(Direction::Pull, server);
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        QCOMPARE(counts(r.down), QStringLiteral("3 0 1 1"));

        const QStringList expected = {
            QStringLiteral("0|0|0|Alpha|301|NULL"),
            QStringLiteral("1|0|0|Beta von A|305|NULL"),
            QStringLiteral("2|0|0|Gamma von B|304|NULL"),
            QStringLiteral("3|0|0|Delta|301|NULL"),
            QStringLiteral("5|5|1|Tiefe|303|NULL"),
            QStringLiteral("7|-2|2|Unten|302|NULL"),
        };
        QCOMPARE(a.regions(), expected);
        QCOMPARE(b.regions(), expected);
        QCOMPARE(a.units(),
            QStringList({QStringLiteral("100|Späher von A|305|X|1. Armee|NULL"),
                QStringLiteral("200|Fremder|304|NULL|NULL|NULL")}));
        QCOMPARE(b.units(),
            QStringList({QStringLiteral("100|Späher von A|305|x|Händler|nur für B"),
                QStringLiteral("200|Fremder|304|X|2. Armee|geheim")}));
        const QString ships = QStringLiteral("\"Schiffs Nr\", \"Schiffs Name\", \"Info Datum\"");
        const QStringList expectedShips
            = {QStringLiteral("7|Möwe|302"), QStringLiteral("8|Kogge|303")};
        QCOMPARE(a.rows(QStringLiteral("schiffe"), ships, QStringLiteral("1")), expectedShips);
        QCOMPARE(b.rows(QStringLiteral("schiffe"), ships, QStringLiteral("1")), expectedShips);
        QCOMPARE(
            a.rows(QStringLiteral("burgen"), QStringLiteral("\"Burg Name\""), QStringLiteral("1")),
            QStringList {QStringLiteral("Feste")});
        // New levels get a row as the import gives them; a named level keeps its name.
        QCOMPARE(a.rows(QStringLiteral("ebenen"), QStringLiteral("\"Ebene\", \"Name\""),
                     QStringLiteral("1")),
            QStringList {QStringLiteral("2|unbekannt")});
        QCOMPARE(b.rows(QStringLiteral("ebenen"), QStringLiteral("\"Ebene\", \"Name\""),
                     QStringLiteral("1")),
            QStringList({QStringLiteral("1|unbekannt"), QStringLiteral("2|Unterwelt")}));

        const QString db = server.section(QStringLiteral("dbname="), 1).section(u' ', 0, 0);
        QCOMPARE(m_server.sql(db,
                     QStringLiteral("SELECT count(*) FROM information_schema.columns WHERE "
                                    "table_name = 'einheiten' AND column_name IN ('Flags', "
                                    "'Gruppe', 'Privat', 'Spiel')")),
            QStringLiteral("0"));
        QCOMPARE(m_server.sql(db,
                     QStringLiteral("SELECT \"Absender\" || ' ' || \"Benutzer\" FROM regionen "
                                    "WHERE \"Breite\" = 2")),
            QStringLiteral("22 tolvimar"));

        // Nothing is newer anywhere now.
        r = a.run(Direction::Sync, server);
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        QCOMPARE(r.message,
            QStringLiteral("Hochgeladen: 0 Zeilen (Regionen 0, Burgen 0, Schiffe 0, Einheiten 0)\n"
                           "Heruntergeladen: 0 Zeilen (Regionen 0, Burgen 0, Schiffe 0, "
                           "Einheiten 0)"));
    }

    // On equal dates each side keeps its own row.
    void equalDatesKeepEachSide()
    {
        const QString server = m_server.conninfo(m_server.createDatabase());
        Player a(1);
        Player b(2);
        a.region(0, 0, 0, QStringLiteral("Name von A"), 301);
        b.region(0, 0, 0, QStringLiteral("Name von B"), 301);
        b.region(1, 1, 0, QStringLiteral("ohne Datum"), 0);
        b.exec(
            QStringLiteral("UPDATE regionen SET \"Info Datum\" = NULL WHERE \"Breite\" = 1"), {});
        QCOMPARE(a.run(Direction::Push, server).up.rows[0], 1);
        AllianceSync::Result r = b.run(Direction::Sync, server);
        QCOMPARE(counts(r.up), QStringLiteral("1 0 0 0"));
        QCOMPARE(counts(r.down), QStringLiteral("0 0 0 0"));
        QCOMPARE(b.regions().first(), QStringLiteral("0|0|0|Name von B|301|NULL"));
        r = a.run(Direction::Pull, server);
        QCOMPARE(counts(r.down), QStringLiteral("1 0 0 0"));
        QCOMPARE(a.regions(),
            QStringList({QStringLiteral("0|0|0|Name von A|301|NULL"),
                QStringLiteral("1|1|0|ohne Datum|NULL|NULL")}));
    }

    // The export good is entered by hand: an incoming row without one keeps it.
    void handEnteredOfferSurvives()
    {
        const QString server = m_server.conninfo(m_server.createDatabase());
        Player a(1);
        Player b(2);
        a.region(0, 0, 0, QStringLiteral("Markt"), 301, QStringLiteral("Seide"));
        a.region(1, 0, 0, QStringLiteral("Hafen"), 301, QStringLiteral("Öl"));
        b.region(0, 0, 0, QStringLiteral("Markt neu"), 302, QStringLiteral(""));
        b.region(1, 0, 0, QStringLiteral("Hafen neu"), 302, QStringLiteral("Weihrauch"));
        b.region(2, 0, 0, QStringLiteral("Mine neu"), 302);
        a.region(2, 0, 0, QStringLiteral("Mine"), 301, QStringLiteral("Gold"));
        a.run(Direction::Push, server);
        b.run(Direction::Push, server);
        a.run(Direction::Pull, server);
        const QString db = server.section(QStringLiteral("dbname="), 1).section(u' ', 0, 0);
        QCOMPARE(m_server.sql(db,
                     QStringLiteral("SELECT string_agg(\"Angebot\", ',' ORDER BY \"Breite\") "
                                    "FROM regionen")),
            QStringLiteral("Seide,Weihrauch,Gold"));
        QCOMPARE(a.regions(),
            QStringList({QStringLiteral("0|0|0|Markt neu|302|Seide"),
                QStringLiteral("1|0|0|Hafen neu|302|Weihrauch"),
                QStringLiteral("2|0|0|Mine neu|302|Gold")}));
    }

    // More rows than one statement takes; texts with umlauts, quotes, line breaks and
    // backslashes; NULL and the empty text stay apart.
    void manyRowsAndAwkwardTexts()
    {
        const QString server = m_server.conninfo(m_server.createDatabase());
        Player a(1);
        Player b(2);
        {
            Database &db = a.h.session->database();
            Transaction t(db);
            for (int i = 0; i < 2500; ++i)
                a.region(i % 50, i / 50, 0, QStringLiteral("R%1").arg(i), 300 + i % 7);
            for (int i = 1; i <= 1200; ++i)
                a.unit(i, QStringLiteral("E%1").arg(i), 305, QStringLiteral("x"), QString());
            t.commit();
        }
        const QString awkward = QStringLiteral("Zeile 1\r\n\"Süd\\Ost\";Name\t'O''Brien' ß€");
        a.exec(QStringLiteral("UPDATE regionen SET \"Beschreibung\" = ?, \"Bewachung\" = '' WHERE "
                              "\"Breite\" = 3 AND \"Länge\" = 4"),
            {awkward});
        a.exec(QStringLiteral("UPDATE einheiten SET \"Silber\" = -12, \"Einheit Beschreibung\" = "
                              "? WHERE \"Einheit Nr\" = 77"),
            {QStringLiteral("Zeile eins\nZeile \\zwei\t'drei'")});
        const AllianceSync::Result up = a.run(Direction::Push, server);
        QVERIFY2(up.status == AllianceSync::Result::Done, qPrintable(up.message));
        QCOMPARE(counts(up.up), QStringLiteral("2500 0 0 1200"));
        const AllianceSync::Result down = b.run(Direction::Pull, server);
        QVERIFY2(down.status == AllianceSync::Result::Done, qPrintable(down.message));
        QCOMPARE(counts(down.down), QStringLiteral("2500 0 0 1200"));
        // Every field of every row arrives as it was, flags and groups left out.
        QCOMPARE(b.rows(QStringLiteral("regionen"), QStringLiteral("*"),
                     QStringLiteral("\"Breite\", \"Länge\"")),
            a.rows(QStringLiteral("regionen"), QStringLiteral("*"),
                QStringLiteral("\"Breite\", \"Länge\"")));
        QStringList columns;
        for (const FieldDef &f : schema::einheiten().fields) {
            if (!shared::ownUnitFields().contains(f.name))
                columns.append(sqlQuote(f.name));
        }
        QCOMPARE(b.rows(QStringLiteral("einheiten"), columns.join(u", "), QStringLiteral("3")),
            a.rows(QStringLiteral("einheiten"), columns.join(u", "), QStringLiteral("3")));
        QCOMPARE(b.rows(QStringLiteral("regionen"),
                      QStringLiteral("\"Beschreibung\", typeof(\"Bewachung\"), typeof(\"Bauern\")"),
                      QStringLiteral("1"))
                     .filter(QStringLiteral("Brien")),
            QStringList {awkward + QStringLiteral("|text|integer")});
    }

    void foreignDatabaseIsRefused_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("told");
        QTest::newRow("a table of another program")
            << QStringList {QStringLiteral("CREATE TABLE regionen (id serial PRIMARY KEY, name "
                                           "text)"),
                   QStringLiteral("INSERT INTO regionen (name) VALUES ('fremd')")}
            << QStringLiteral("\"regionen\"");
        QTest::newRow("our tables without the mark") << QStringList {
            QStringLiteral("CREATE TABLE schiffe (\"Schiffs Nr\" integer "
                           "PRIMARY KEY)")} << QStringLiteral("\"schiffe\"");
        QTest::newRow("the map of the other game")
            << QStringList {QStringLiteral("CREATE TABLE allianzkarte (\"Format\" integer NOT "
                                           "NULL, \"Spieltyp\" text NOT NULL)"),
                   QStringLiteral("INSERT INTO allianzkarte VALUES (1, 'Sulvitan')")}
            << QStringLiteral("Sulvitan-Spiel");
        QTest::newRow("a newer format")
            << QStringList {QStringLiteral("CREATE TABLE allianzkarte (\"Format\" integer NOT "
                                           "NULL, \"Spieltyp\" text NOT NULL)"),
                   QStringLiteral("INSERT INTO allianzkarte VALUES (9, 'Kalmora')")}
            << QStringLiteral("neueres Format");
    }
    void foreignDatabaseIsRefused()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, told);
        const QString db = m_server.createDatabase();
        for (const QString &statement : setup)
            m_server.sql(db, statement);
        const QString tablesBefore = m_server.sql(db,
            QStringLiteral("SELECT string_agg(tablename, ',' ORDER BY tablename) FROM pg_tables "
                           "WHERE schemaname = 'public'"));
        Player a(1);
        a.region(0, 0, 0, QStringLiteral("Heimat"), 301);
        const QStringList before = a.everything();
        for (Direction d : {Direction::Push, Direction::Pull, Direction::Sync}) {
            const AllianceSync::Result r = a.run(d, m_server.conninfo(db));
            QCOMPARE(r.status, AllianceSync::Result::Failed);
            QVERIFY2(r.message.contains(told), qPrintable(r.message));
            QVERIFY2(r.message.contains(QStringLiteral("nichts geändert")), qPrintable(r.message));
        }
        QCOMPARE(a.everything(), before);
        QCOMPARE(m_server.sql(db,
                     QStringLiteral("SELECT string_agg(tablename, ',' ORDER BY tablename) FROM "
                                    "pg_tables WHERE schemaname = 'public'")),
            tablesBefore);
    }

    void unreachableServer()
    {
        Player a(1);
        a.region(0, 0, 0, QStringLiteral("Heimat"), 301);
        const QStringList before = a.everything();
        const AllianceSync::Result r = a.run(Direction::Sync,
            QStringLiteral("host=127.0.0.1 port=%1 dbname=allianz user=niemand")
                .arg(TestPostgres::freePort()));
        QCOMPARE(r.status, AllianceSync::Result::Failed);
        QVERIFY2(r.message.startsWith(QStringLiteral("Keine Verbindung zum Allianzserver (")),
            qPrintable(r.message));
        QVERIFY2(r.message.contains(QStringLiteral("host=127.0.0.1")), qPrintable(r.message));
        QVERIFY(!r.needsPassword);
        QCOMPARE(a.everything(), before);
    }

    // A server that takes the connection but never answers.
    void silentServerTimesOut()
    {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
        QVERIFY(::listen(s, 4) == 0);
        QVERIFY(::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length) == 0);
        Player a(1);
        QElapsedTimer timer;
        timer.start();
        const AllianceSync::Result r = a.run(Direction::Pull,
            QStringLiteral("host=127.0.0.1 port=%1 dbname=allianz user=niemand connect_timeout=2")
                .arg(ntohs(address.sin_port)));
        ::close(s);
        QCOMPARE(r.status, AllianceSync::Result::Failed);
        QVERIFY2(r.message.contains(QStringLiteral("nicht rechtzeitig geantwortet")),
            qPrintable(r.message));
        QVERIFY(timer.elapsed() < 20000);
    }

    // A table held by another member's long transaction: the wait ends, nothing local
    // changes, and the server keeps what it had.
    void lockedServerTimesOut()
    {
        const QString db = m_server.createDatabase();
        Player b(2);
        b.region(4, 4, 0, QStringLiteral("Fern"), 301);
        b.unit(5, QStringLiteral("Bote"), 301, QString(), QString());
        QCOMPARE(b.run(Direction::Push, m_server.conninfo(db)).status, AllianceSync::Result::Done);

        Player a(1);
        a.region(0, 0, 0, QStringLiteral("Heimat"), 301);
        const QStringList before = a.everything();
        {
            PgConnection holder(m_server.conninfo(db), QString(), PgConnection::Options());
            holder.exec("BEGIN");
            holder.exec("LOCK TABLE einheiten IN ACCESS EXCLUSIVE MODE");
            for (Direction d : {Direction::Pull, Direction::Push}) {
                const AllianceSync::Result r = a.run(d, m_server.conninfo(db), QString(), 1000);
                QCOMPARE(r.status, AllianceSync::Result::Failed);
                QVERIFY2(r.message.contains(QStringLiteral("innerhalb von 1 s nicht geantwortet")),
                    qPrintable(r.message));
                QVERIFY2(
                    r.message.endsWith(QStringLiteral("nichts geändert.")), qPrintable(r.message));
            }
        }
        QCOMPARE(a.everything(), before);
        QCOMPARE(
            m_server.sql(db, QStringLiteral("SELECT count(*) FROM regionen")), QStringLiteral("1"));
    }

    // A server that wants a password: it is asked for, used and never remembered.
    void passwordIsAskedAndNeverStored()
    {
        const QString db = QStringLiteral("mitgliederkarte");
        m_server.sql(QStringLiteral("postgres"),
            QStringLiteral("CREATE DATABASE %1 OWNER mitglied").arg(db));
        const QString server = m_server.tcpConninfo(db, QStringLiteral("mitglied"));
        Player a(1);
        a.region(0, 0, 0, QStringLiteral("Heimat"), 301);

        AllianceSync::Result r = a.run(Direction::Push, server);
        QCOMPARE(r.status, AllianceSync::Result::Failed);
        QVERIFY(r.needsPassword);
        QVERIFY2(
            r.message.contains(QStringLiteral("verlangt ein Passwort")), qPrintable(r.message));
        r = a.run(Direction::Push, server, QStringLiteral("falsch"));
        QVERIFY(r.needsPassword);
        QVERIFY2(r.message.contains(QStringLiteral("Passwort abgelehnt")), qPrintable(r.message));
        r = a.run(Direction::Push, server, QStringLiteral("geheim"));
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        QCOMPARE(r.up.rows[0], 1);
        // A password typed into the server's text is used, and left out when remembered.
        r = a.run(Direction::Pull, server + QStringLiteral(" password=geheim"));
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));

        ShareProgress progress;
        AllianceSync sync(*a.h.session, progress);
        sync.rememberServer(server + QStringLiteral(" password='geh eim' sslmode=disable"));
        const QString stored
            = QString::fromUtf8(readBytes(SlotSettings(a.h.session->workspace(), 1).filePath()));
        QVERIFY2(!stored.contains(QStringLiteral("geh")), qPrintable(stored));
        QVERIFY2(!stored.contains(QStringLiteral("password")), qPrintable(stored));
        QCOMPARE(sync.rememberedServer(),
            QStringLiteral("user=mitglied dbname=%1 host=127.0.0.1 port=%2 sslmode=disable")
                .arg(db)
                .arg(m_server.port()));
        QVERIFY(!readBytes(a.h.ws.file(QStringLiteral("tolvimar.cfg"))).contains("127.0.0.1"));
    }

    // The roles of the user guide: the owner's first sync creates the map, the members
    // read and write it through the default privileges and are named as senders.
    void membersAsTheGuideSetsThemUp()
    {
        const QString db = QStringLiteral("allianzkarte");
        m_server.sql(QStringLiteral("postgres"), QStringLiteral("CREATE ROLE allianz LOGIN"));
        m_server.sql(QStringLiteral("postgres"),
            QStringLiteral("CREATE DATABASE allianzkarte OWNER allianz"));
        m_server.sql(db, QStringLiteral("CREATE ROLE mitglieder NOLOGIN"));
        m_server.sql(db,
            QStringLiteral("ALTER DEFAULT PRIVILEGES FOR ROLE allianz IN SCHEMA public GRANT "
                           "SELECT, INSERT, UPDATE ON TABLES TO mitglieder"));
        m_server.sql(QStringLiteral("postgres"),
            QStringLiteral("CREATE ROLE anna LOGIN IN ROLE mitglieder"));
        m_server.sql(QStringLiteral("postgres"),
            QStringLiteral("CREATE ROLE bert LOGIN IN ROLE mitglieder"));
        Player owner(1);
        AllianceSync::Result r
            = owner.run(Direction::Sync, m_server.conninfo(db, QStringLiteral("allianz")));
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        Player anna(2);
        anna.region(1, 1, 0, QStringLiteral("Annas Fund"), 301);
        anna.unit(3, QStringLiteral("Kundschafter"), 301, QString(), QString());
        r = anna.run(Direction::Sync, m_server.conninfo(db, QStringLiteral("anna")));
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        Player bert(3);
        bert.region(1, 1, 0, QStringLiteral("Berts Fund"), 302);
        r = bert.run(Direction::Sync, m_server.conninfo(db, QStringLiteral("bert")));
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        QCOMPARE(counts(r.up), QStringLiteral("1 0 0 0"));
        QCOMPARE(counts(r.down), QStringLiteral("0 0 0 1"));
        QCOMPARE(m_server.sql(db,
                     QStringLiteral("SELECT \"Regionname\" || ' von ' || \"Benutzer\" FROM "
                                    "regionen")),
            QStringLiteral("Berts Fund von bert"));
        QCOMPARE(m_server.sql(db, QStringLiteral("SELECT \"Benutzer\" FROM einheiten")),
            QStringLiteral("anna"));
    }

    // The command line without a terminal: libpq's password file, or a clear refusal.
    void passwordFileOnTheCommandLine()
    {
        const QString db = QStringLiteral("dateikarte");
        m_server.sql(QStringLiteral("postgres"),
            QStringLiteral("CREATE DATABASE %1 OWNER mitglied").arg(db));
        Player a(1);
        a.region(0, 0, 0, QStringLiteral("Heimat"), 301);
        const QStringList args
            = {QStringLiteral("--workspace"), a.h.ws.path(), QStringLiteral("share"),
                QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("--server"),
                m_server.tcpConninfo(db, QStringLiteral("mitglied")), QStringLiteral("push")};
        auto run = [&](const QString &passfile, QString *out, QString *err) {
            QProcess cli;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("PGPASSFILE"), passfile);
            cli.setProcessEnvironment(env);
            cli.setStandardInputFile(QProcess::nullDevice());
            cli.start(QStringLiteral(TOLVIMAR_CLI), args);
            cli.waitForFinished(60000);
            *out = QString::fromUtf8(cli.readAllStandardOutput());
            *err = QString::fromUtf8(cli.readAllStandardError());
            return cli.exitCode();
        };
        QString out;
        QString err;
        QCOMPARE(run(QStringLiteral("/nonexistent/pgpass"), &out, &err), 2);
        QVERIFY2(err.contains(QStringLiteral("verlangt ein Passwort")), qPrintable(err));
        QVERIFY2(err.contains(QStringLiteral("~/.pgpass")), qPrintable(err));

        const QString passfile = a.h.ws.file(QStringLiteral("pgpass"));
        writeBytes(passfile,
            QStringLiteral("127.0.0.1:%1:%2:mitglied:geheim\n")
                .arg(m_server.port())
                .arg(db)
                .toUtf8());
        QFile::setPermissions(passfile, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(run(passfile, &out, &err), 0);
        QCOMPARE(out,
            QStringLiteral(
                "Hochgeladen: 1 Zeile (Regionen 1, Burgen 0, Schiffe 0, Einheiten 0)\n"));
    }

    // sslmode of the connection string is followed: this server offers no SSL.
    void sslmodeIsHonoured()
    {
        Player a(1);
        const AllianceSync::Result r = a.run(Direction::Pull,
            m_server.tcpConninfo(QStringLiteral("postgres"), QStringLiteral("mitglied"))
                + QStringLiteral(" sslmode=require"),
            QStringLiteral("geheim"));
        QCOMPARE(r.status, AllianceSync::Result::Failed);
        QVERIFY2(r.message.contains(QStringLiteral("SSL")), qPrintable(r.message));
    }

    // A pull redraws the world map shown and drops the stale picture of another level.
    void pullRedrawsTheMaps()
    {
        const QString server = m_server.conninfo(m_server.createDatabase());
        Player a(1);
        Player b(2);
        a.region(0, 0, 0, QStringLiteral("Heimat"), 301);
        a.region(0, 0, 1, QStringLiteral("Keller"), 301);
        Session &session = *a.h.session;
        MapOperations maps(session);
        QVERIFY(maps.displayWorldMapHex());
        QCOMPARE(session.mapState().worldMap().size(), QSize(8, 8));
        QCOMPARE(maps.switchLevel(1), MapOperations::SwitchResult::Rendered);
        QCOMPARE(maps.switchLevel(0), MapOperations::SwitchResult::Loaded);
        QVERIFY(QFile::exists(session.worldMapFile(1)));

        b.region(3, 2, 0, QStringLiteral("Osten"), 302);
        b.region(1, 0, 1, QStringLiteral("Gang"), 302);
        b.run(Direction::Push, server);
        const AllianceSync::Result r = a.run(Direction::Pull, server);
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        QCOMPARE(session.mapState().worldMap().size(), QSize(40, 24));
        QVERIFY(!QFile::exists(session.worldMapFile(1)));
        QCOMPARE(maps.switchLevel(1), MapOperations::SwitchResult::Rendered);
        QCOMPARE(session.mapState().worldMap().size(), QSize(16, 8));
    }

    void commandLine()
    {
        const QString db = m_server.createDatabase();
        Player a(1);
        a.region(0, 0, 0, QStringLiteral("Heimat"), 301);
        a.unit(9, QStringLiteral("Wache"), 301, QStringLiteral("X"), QStringLiteral("Armee"));
        const QString ws = a.h.ws.path();
        QString out;
        QString err;
        QCOMPARE(
            runCli({QStringLiteral("--workspace"), ws, QStringLiteral("share"),
                       QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("--server"),
                       m_server.conninfo(db), QStringLiteral("push")},
                &out, &err),
            0);
        QCOMPARE(out,
            QStringLiteral(
                "Hochgeladen: 2 Zeilen (Regionen 1, Burgen 0, Schiffe 0, Einheiten 1)\n"));

        Player b(2);
        const QString wsB = b.h.ws.path();
        QCOMPARE(
            runCli({QStringLiteral("--workspace"), wsB, QStringLiteral("share"),
                       QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("--server"),
                       m_server.conninfo(db), QStringLiteral("sync")},
                &out, &err),
            0);
        QCOMPARE(out,
            QStringLiteral("Hochgeladen: 0 Zeilen (Regionen 0, Burgen 0, Schiffe 0, Einheiten 0)\n"
                           "Heruntergeladen: 2 Zeilen (Regionen 1, Burgen 0, Schiffe 0, "
                           "Einheiten 1)\n"));
        QCOMPARE(b.units(), QStringList {QStringLiteral("9|Wache|301|NULL|NULL|NULL")});

        // Usage errors and a failing server: exit 2.
        const QStringList bad[] = {
            {QStringLiteral("share"), QStringLiteral("--slot"), QStringLiteral("1"),
                QStringLiteral("push")},
            {QStringLiteral("share"), QStringLiteral("--slot"), QStringLiteral("1"),
                QStringLiteral("--server"), m_server.conninfo(db), QStringLiteral("both")},
            {QStringLiteral("share"), QStringLiteral("--slot"), QStringLiteral("9"),
                QStringLiteral("--server"), m_server.conninfo(db), QStringLiteral("pull")},
        };
        for (const QStringList &args : bad) {
            QCOMPARE(runCli(QStringList {QStringLiteral("--workspace"), ws} + args, &out, &err), 2);
            QVERIFY2(err.contains(QStringLiteral("Aufruf:")), qPrintable(err));
        }
        const QStringList before = a.everything();
        QCOMPARE(
            runCli({QStringLiteral("--workspace"), ws, QStringLiteral("share"),
                       QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("--server"),
                       QStringLiteral("host=127.0.0.1 port=%1 dbname=x user=y")
                           .arg(TestPostgres::freePort()),
                       QStringLiteral("sync")},
                &out, &err),
            2);
        QVERIFY2(
            err.contains(QStringLiteral("Keine Verbindung zum Allianzserver")), qPrintable(err));
        QVERIFY2(err.contains(QStringLiteral("In der eigenen Datenbank wurde nichts geändert.")),
            qPrintable(err));
        QCOMPARE(out, QString());
        QCOMPARE(a.everything(), before);
    }

    // A pull that fails after it wrote some rows keeps none of them.
    void failedPullKeepsNothing()
    {
        const QString db = m_server.createDatabase();
        Player b(2);
        b.region(4, 4, 3, QStringLiteral("Fern"), 301);
        b.ship(1, QStringLiteral("Kahn"), 301);
        b.unit(5, QStringLiteral("Bote"), 301, QString(), QString());
        QCOMPARE(b.run(Direction::Push, m_server.conninfo(db)).status, AllianceSync::Result::Done);

        Player a(1);
        a.region(0, 0, 0, QStringLiteral("Heimat"), 301);
        const QStringList before = a.everything();
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(
            QStringLiteral("TOLVIMAR_TEST_FAULTS"), QStringLiteral("memory:share-pull-einheiten"));
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(TOLVIMAR_CLI),
            {QStringLiteral("--workspace"), a.h.ws.path(), QStringLiteral("share"),
                QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("--server"),
                m_server.conninfo(db), QStringLiteral("pull")});
        QVERIFY(cli.waitForFinished(60000));
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        QCOMPARE(cli.exitCode(), 2);
        QVERIFY2(err.contains(QStringLiteral("Speicher")), qPrintable(err));
        QCOMPARE(a.everything(), before);
    }

    // The own units' orders are the player's own: they never reach the server, and a
    // pulled row of the unit leaves the ones the player has.
    void ownOrdersStayPrivate()
    {
        const QString db = m_server.createDatabase();
        const QString server = m_server.conninfo(db);
        Player a(1);
        Player b(2);
        a.unit(7, QStringLiteral("Späher"), 302, QString(), QString());
        a.exec(QStringLiteral(
                   "UPDATE einheiten SET \"Default Befehl\" = 'ARBEITE' WHERE \"Einheit Nr\" = 7"),
            {});
        b.unit(7, QStringLiteral("Späher alt"), 301, QString(), QString());
        b.exec(QStringLiteral("UPDATE einheiten SET \"Default Befehl\" = 'LERNE Hiebwaffen' "
                              "WHERE \"Einheit Nr\" = 7"),
            {});
        AllianceSync::Result r = a.run(Direction::Push, server);
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        r = b.run(Direction::Pull, server);
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        QCOMPARE(counts(r.down), QStringLiteral("0 0 0 1"));
        QCOMPARE(b.rows(QStringLiteral("einheiten"),
                     QStringLiteral("\"Einheit Name\", \"Default Befehl\""), QStringLiteral("1")),
            QStringList {QStringLiteral("Späher|LERNE Hiebwaffen")});
        QCOMPARE(m_server.sql(db,
                     QStringLiteral("SELECT count(*) FROM information_schema.columns WHERE "
                                    "table_name = 'einheiten' AND column_name = 'Default Befehl'")),
            QStringLiteral("0"));
    }

    // A member may write anything into the server's tables. Rows dated after the turn
    // that follows the newest report read, far-off coordinates, absurd levels and
    // numbers that are no numbers of the game are refused, counted and named; the rest
    // comes in, and the map can still be drawn.
    void hostileRowsAreRefused()
    {
        const QString db = m_server.createDatabase();
        const QString server = m_server.conninfo(db);
        Player b(2);
        b.region(0, 0, 0, QStringLiteral("Heimat"), 312);
        QVERIFY(b.run(Direction::Push, server).status == AllianceSync::Result::Done);
        const QString region = QStringLiteral(
            "INSERT INTO regionen (\"Breite\", \"Länge\", \"Ebene\", \"Regionname\", "
            "\"Regiontyp\", \"Info Datum\") VALUES (%1, %2, %3, 'Fremd', 'Wald', %4)");
        struct Hostile
        {
            QString sql;
            QString named; // empty: the row is sound and comes in
        };
        const QList<Hostile> rows = {
            {region.arg(1).arg(0).arg(0).arg(401), QString()},
            {region.arg(400).arg(-400).arg(0).arg(312), QString()},
            {region.arg(0).arg(1).arg(99).arg(312), QString()},
            {region.arg(2).arg(0).arg(0).arg(402), QStringLiteral("Region 2/0: Info Datum 402")},
            {region.arg(3).arg(0).arg(0).arg(2147483647),
                QStringLiteral("Region 3/0: Info Datum 2147483647")},
            {region.arg(5).arg(0).arg(0).arg(-301), QStringLiteral("Region 5/0: Info Datum -301")},
            {region.arg(2147483647).arg(0).arg(0).arg(312),
                QStringLiteral("Region 2147483647/0: Koordinaten")},
            {region.arg(0).arg(-2147483648LL).arg(0).arg(312),
                QStringLiteral("Region 0/-2147483648: Koordinaten")},
            {region.arg(401).arg(0).arg(0).arg(312), QStringLiteral("Region 401/0: Koordinaten")},
            {region.arg(6).arg(0).arg(2147483647).arg(312),
                QStringLiteral("Region 6/0/2147483647: Ebene")},
            {region.arg(7).arg(0).arg(100).arg(312), QStringLiteral("Region 7/0/100: Ebene")},
            {QStringLiteral("INSERT INTO einheiten (\"Einheit Nr\", \"Einheit Name\", \"Info "
                            "Datum\") VALUES (-5, 'Fremd', 312)"),
                QStringLiteral("Einheit -5: Nummer")},
            {QStringLiteral("INSERT INTO schiffe (\"Schiffs Nr\", \"Info Datum\") VALUES (0, 312)"),
                QStringLiteral("Schiff 0: Nummer")},
            {QStringLiteral("INSERT INTO burgen (\"Burg Nr\", \"Info Datum\") VALUES (3, "
                            "2147483647)"),
                QStringLiteral("Burg 3: Info Datum 2147483647")},
        };
        for (const Hostile &row : rows)
            m_server.sql(db, row.sql);

        Player a(1);
        ActiveGame game = a.h.session->game();
        game.newestTurn = 312;
        a.h.session->setGame(game);
        a.region(0, 0, 0, QStringLiteral("Heimat"), 312);
        const AllianceSync::Result r = a.run(Direction::Pull, server);
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        QCOMPARE(counts(r.down), QStringLiteral("3 0 0 0"));
        QVERIFY2(r.message.contains(QStringLiteral(
                     "Abgelehnt: 11 Zeilen (Regionen 8, Burgen 1, Schiffe 1, Einheiten 1)")),
            qPrintable(r.message));
        for (const Hostile &row : rows) {
            if (!row.named.isEmpty())
                QVERIFY2(r.message.contains(row.named), qPrintable(row.named + u'\n' + r.message));
        }
        QCOMPARE(a.regions(),
            QStringList({QStringLiteral("0|0|0|Heimat|312|NULL"),
                QStringLiteral("0|1|99|Fremd|312|NULL"), QStringLiteral("1|0|0|Fremd|401|NULL"),
                QStringLiteral("400|-400|0|Fremd|312|NULL")}));
        QCOMPARE(a.rows(QStringLiteral("ebenen"), QStringLiteral("\"Ebene\""), QStringLiteral("1")),
            QStringList {QStringLiteral("99")});
        QCOMPARE(
            a.rows(QStringLiteral("einheiten"), QStringLiteral("count(*)"), QStringLiteral("1"))
                + a.rows(QStringLiteral("schiffe"), QStringLiteral("count(*)"), QStringLiteral("1"))
                + a.rows(QStringLiteral("burgen"), QStringLiteral("count(*)"), QStringLiteral("1")),
            QStringList({QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}));
        // The map of level 0 (the farthest sound regions included) and the small map draw.
        MapOperations maps(*a.h.session);
        QVERIFY(maps.displayWorldMapHex());
        QCOMPARE(maps.switchLevel(99), MapOperations::SwitchResult::Rendered);
    }

    // The player's own report decides about the own units and about every row of its
    // turn, however the server dated them: a pull never takes the player's units, and
    // the import writes over rows dated after the newest report the player has read.
    void ownReportDecides()
    {
        const QString db = m_server.createDatabase();
        const QString server = m_server.conninfo(db);
        Player a(4711);
        // Turn 40 is the date code 404.
        const QStringList report = reportHeader()
            + QStringList {QStringLiteral("REGION 3 -4"), QStringLiteral("\"Flach\";Name"),
                QStringLiteral("\"Wald\";Terrain"), QStringLiteral("500;Bauern"),
                QStringLiteral("EINHEIT 1"), QStringLiteral("\"Hier\";Name"),
                QStringLiteral("4711;Partei"), QStringLiteral("5;Anzahl")};
        QCOMPARE(a.h.import(report).status, ReportImporter::Result::Imported);
        AllianceSync::Result r = a.run(Direction::Push, server);
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));

        // A member rewrites both, dated one turn ahead (which a pull takes).
        m_server.sql(db,
            QStringLiteral("UPDATE einheiten SET \"Partei Nr\" = 666, \"Einheit Name\" = "
                           "'Fremd', \"Info Datum\" = 405"));
        m_server.sql(db,
            QStringLiteral("UPDATE regionen SET \"Regionname\" = 'Fremd', \"Info Datum\" = 405"));
        r = a.run(Direction::Pull, server);
        QVERIFY2(r.status == AllianceSync::Result::Done, qPrintable(r.message));
        const QString unitFields
            = QStringLiteral("\"Einheit Nr\", \"Einheit Name\", \"Partei Nr\", "
                             "\"Info Datum\"");
        QCOMPARE(a.rows(QStringLiteral("einheiten"), unitFields, QStringLiteral("1")),
            QStringList {QStringLiteral("1|Hier|4711|404")});
        QCOMPARE(a.regions(), QStringList {QStringLiteral("3|-4|0|Fremd|405|NULL")});

        // A unit row from a pull of an older version, dated far ahead, and the region:
        // the player's report of the turn writes over both.
        a.exec(QStringLiteral("UPDATE einheiten SET \"Partei Nr\" = 666, \"Info Datum\" = "
                              "2147483647"),
            {});
        QCOMPARE(a.h.import(report).status, ReportImporter::Result::Imported);
        QCOMPARE(a.rows(QStringLiteral("einheiten"), unitFields, QStringLiteral("1")),
            QStringList {QStringLiteral("1|Hier|4711|404")});
        QCOMPARE(a.regions(), QStringList {QStringLiteral("3|-4|0|Flach|404|NULL")});
    }

    // Notices of the server reach the terminal with their control characters escaped,
    // as its errors do.
    void noticesAreEscaped()
    {
        const QString db = m_server.createDatabase();
        Player a(1);
        a.region(0, 0, 0, QStringLiteral("Heimat"), 301);
        QVERIFY(a.run(Direction::Pull, m_server.conninfo(db)).status == AllianceSync::Result::Done);
        m_server.sql(db,
            QStringLiteral("CREATE FUNCTION laut() RETURNS trigger AS $$ BEGIN RAISE NOTICE "
                           "E'\\x1b]0;Titel\\x07\\x1b[2JAchtung'; RETURN NEW; END $$ "
                           "LANGUAGE plpgsql"));
        m_server.sql(db,
            QStringLiteral("CREATE TRIGGER laut BEFORE INSERT ON regionen FOR EACH ROW "
                           "EXECUTE FUNCTION laut()"));
        const CliRun run = runCliProcess(inWorkspace(a.h.ws.path(),
            {QStringLiteral("share"), QStringLiteral("--slot"), QStringLiteral("1"),
                QStringLiteral("--server"), m_server.conninfo(db), QStringLiteral("push")}));
        QVERIFY2(run.code == 0, qPrintable(run.where()));
        QVERIFY2(!run.err.contains('\x1b') && !run.err.contains('\x07'), run.err.constData());
        QVERIFY2(run.errText().contains(QStringLiteral("\\x1b]0;Titel\\x07\\x1b[2JAchtung")),
            qPrintable(run.errText()));
    }

    // A server that answers every wait in time but never finishes: --timeout bounds the
    // whole run, connecting included; it ends with exit 2, nothing changed, and the
    // workspace is free for the next command.
    void timeoutBoundsTheWholeRun()
    {
        const QString db = m_server.createDatabase();
        Player a(1);
        a.region(0, 0, 0, QStringLiteral("Heimat"), 301);
        const QStringList before = a.everything();
        // After the login, and while connecting with libpq's connect_timeout switched off.
        for (const bool duringLogin : {false, true}) {
            const DribblingServer dribbler(
                {QByteArrayLiteral("Gleich \x1b[5mfertig\x07")}, duringLogin);
            QElapsedTimer timer;
            timer.start();
            const CliRun run
                = runCliProcess(inWorkspace(a.h.ws.path(),
                                    {QStringLiteral("share"), QStringLiteral("--slot"),
                                        QStringLiteral("1"), QStringLiteral("--timeout"),
                                        QStringLiteral("2"), QStringLiteral("--server"),
                                        dribbler.conninfo() + QStringLiteral(" connect_timeout=0"),
                                        QStringLiteral("pull")}),
                    {}, QString(), 60000);
            QCOMPARE(run.code, 2);
            QVERIFY2(
                run.errText().contains(QStringLiteral("länger als 2 s")), qPrintable(run.where()));
            QVERIFY2(
                run.errText().contains(QStringLiteral("nichts geändert")), qPrintable(run.where()));
            QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
            // The notice that came before is shown, escaped.
            QVERIFY2(!run.err.contains('\x1b'), run.err.constData());
            QVERIFY2(run.errText().contains(QStringLiteral("Gleich \\x1b[5mfertig\\x07")),
                qPrintable(run.where()));
            QCOMPARE(a.everything(), before);
        }
        const CliRun next = runCliProcess(inWorkspace(a.h.ws.path(),
            {QStringLiteral("share"), QStringLiteral("--slot"), QStringLiteral("1"),
                QStringLiteral("--timeout"), QStringLiteral("60"), QStringLiteral("--server"),
                m_server.conninfo(db), QStringLiteral("push")}));
        QVERIFY2(next.code == 0, qPrintable(next.where()));

        // Not a number of seconds: a usage error.
        for (const QString &bad :
            {QStringLiteral("0"), QStringLiteral("-3"), QStringLiteral("x")}) {
            const CliRun wrong = runCliProcess(inWorkspace(a.h.ws.path(),
                {QStringLiteral("share"), QStringLiteral("--slot"), QStringLiteral("1"),
                    QStringLiteral("--timeout"), bad, QStringLiteral("--server"),
                    m_server.conninfo(db), QStringLiteral("push")}));
            QCOMPARE(wrong.code, 2);
            QVERIFY2(
                wrong.errText().contains(QStringLiteral("--timeout")), qPrintable(wrong.where()));
        }
    }

private:
    TestPostgres m_server;
};

QTEST_MAIN(TestShare)
#include "test_share.moc"
