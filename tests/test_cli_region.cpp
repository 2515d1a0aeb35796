#include "testsupport.h"

#include <QtTest>

using namespace tolvimar::test;
using namespace Qt::StringLiterals;

namespace {

// Every line the command prints for Weidenau, each followed by a line break.
const QStringList kWeidenauLines = {u"Weidenau  1/2"_s, u""_s, u"Region Name: Weidenau"_s,
    u"Region Typ: Ebene"_s, u"X / Y: 1 / 2"_s, u"Bäume: 420"_s, u"Bauern: 2350"_s, u"Pferde: 80"_s,
    u"Eisen: 0"_s, u"Laen: -1"_s, u"Mallorn: 0"_s, u"Lohn: 13"_s, u"Bauern Silber: 51000"_s,
    u"Unterhaltung: 2100"_s, u"rekrutieren: 58"_s, u"Luxusgüter zum Preis: 23"_s, u"Balsam: 12"_s,
    u"Gewürze: -8"_s, u"Juwelen: 40"_s, u"Myrrhe: 22"_s, u"Oel: -15"_s, u"Seide: 30"_s,
    u"Weihrauch: 18"_s, u"Straße: 0, 0, 75, 0, 0, 0"_s,
    u"Region Beschreibung: Sanfte Hügel und weite Felder."_s,
    u"Region Umgebung:  Ein Bach fließt nach Osten."_s, u""_s, u"Einheiten in Region :"_s,
    u"-Burg : Falkenhorst, Burg, größe: 250 (6t)"_s, u"              Holzfäller (3mw) , Menschen"_s,
    u"-Schiff : Seeschwalbe, Boot, zu 60% fertig. [25]"_s,
    u"              Bäcker (3mx) , Menschen"_s, u"    Händler (3my) , Zwerge"_s,
    u"    Fremde Späher (3uw) , Elfen"_s, u""_s, u"Die Region wird bewacht von :"_s,
    u" Händler (3my) für Die Grauen Falken"_s, u""_s, u"Parteieigentum"_s, u"Silber: 930"_s,
    u"Leute: 17"_s, u"Holz: 5"_s, u"Stein: 0"_s, u"Eisen: 0"_s, u"Lean: 0"_s, u"Mallorn: 0"_s,
    u"Pferde    : 0"_s, u"Wagen     : 0"_s, u""_s, u"Speer     : 0"_s, u"Schwert   : 0"_s,
    u"Bogen     : 0"_s, u""_s, u"Regions Stati"_s,
    u"Datum\tBäume\tEisen\tLaen\tMallorn\tBauern\tPferde\tBauern Silber"_s,
    u"404\t420\t0\t-1\t0\t2350\t80\t51000"_s, u""_s};

} // namespace

class TestCliRegion : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_ws.path().size() > 0);
        QCOMPARE(runCli({u"--workspace"_s, m_ws.path(), u"import"_s, u"--slot"_s, u"1"_s,
                     u"--type"_s, u"Kalmora"_s, fixture(u"reports/kalmora-klein.cr"_s)}),
            0);
    }

    // Every section in its order, each ended by an empty line.
    void wholeOutput()
    {
        QString out, err;
        QCOMPARE(region({u"1"_s, u"2"_s}, &out, &err), 0);
        QVERIFY2(err.isEmpty(), qPrintable(err));
        QCOMPARE(out, kWeidenau);
    }

    // Line breaks of the surroundings text stay on the caption's line as "\n".
    void multiLineValues()
    {
        const QString report = m_ws.file(u"umgebung.cr"_s);
        writeBytes(report,
            (reportHeader()
                + QStringList {u"REGION 0 0"_s, u"\"Nebelau\";Name"_s, u"\"Ebene\";Terrain"_s,
                    u"PREISE"_s, u"1;Balsam"_s, u"2;Gewuerz"_s, u"3;Juwel"_s, u"4;Myrrhe"_s,
                    u"5;Oel"_s, u"6;Seide"_s, u"7;Weihrauch"_s, u"UMGEBUNG"_s, u"\"Ein Bach.\""_s,
                    u"\"Ein Wald.\""_s})
                .join(u"\r\n"_s)
                .toUtf8());
        QCOMPARE(runCli({u"--workspace"_s, m_ws.path(), u"import"_s, u"--slot"_s, u"2"_s,
                     u"--type"_s, u"Kalmora"_s, report}),
            0);
        QString out;
        QCOMPARE(runCli({u"--workspace"_s, m_ws.path(), u"region"_s, u"--slot"_s, u"2"_s, u"0"_s,
                            u"0"_s},
                     &out),
            0);
        QVERIFY2(out.split(u'\n').contains(u"Region Umgebung:  Ein Bach.\\nEin Wald."_s),
            qPrintable(out));
    }

    void checkBoxesAndLevels_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("expected"); // lines that must be there
        QTest::addColumn<QStringList>("absent"); // lines that must not
        QTest::newRow("own only") << QStringList {u"1"_s, u"2"_s, u"--own-only"_s}
                                  << QStringList {u"    Händler (3my) , Zwerge"_s}
                                  << QStringList {u"    Fremde Späher (3uw) , Elfen"_s};
        QTest::newRow("level 1") << QStringList {u"3"_s, u"-4"_s, u"--level"_s, u"1"_s,
            u"--all-turns"_s}
                                 << QStringList {u"Schattental  3/-4"_s,
                                        u"    Späher der Tiefe (3mz) , Untote"_s, u"Balsam: 1"_s,
                                        u"Silber: 10"_s}
                                 << QStringList();
        QTest::newRow("no region") << QStringList {u"3"_s, u"-4"_s}
                                   << QStringList {u"Keine Informationen über Region"_s,
                                          u"Region Name: "_s, u"Silber: 0"_s}
                                   << QStringList {u"    Späher der Tiefe (3mz) , Untote"_s};
    }
    void checkBoxesAndLevels()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, absent);
        QString out;
        QCOMPARE(region(arguments, &out), 0);
        const QStringList lines = out.split(u'\n');
        for (const QString &line : expected)
            QVERIFY2(lines.contains(line), qPrintable(line + u"\n\n"_s + out));
        for (const QString &line : absent)
            QVERIFY2(!lines.contains(line), qPrintable(line + u"\n\n"_s + out));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no Y") << QStringList {u"1"_s};
        QTest::newRow("X not a number") << QStringList {u"a"_s, u"2"_s};
        QTest::newRow("level not a number") << QStringList {u"1"_s, u"2"_s, u"--level"_s, u"x"_s};
        QTest::newRow("unknown option") << QStringList {u"1"_s, u"2"_s, u"--alle"_s};
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QString out, err;
        QCOMPARE(region(arguments, &out, &err), 2);
        QVERIFY(out.isEmpty());
        QVERIFY2(err.contains(u"region --slot K X Y"_s), qPrintable(err));
    }

private:
    int region(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr)
    {
        return runCli(QStringList {u"--workspace"_s, m_ws.path(), u"region"_s, u"--slot"_s, u"1"_s}
                + arguments,
            out, err);
    }

    static const QString kWeidenau;
    TempWorkspace m_ws;
};

const QString TestCliRegion::kWeidenau = kWeidenauLines.join(u'\n') + u'\n';

QTEST_GUILESS_MAIN(TestCliRegion)
#include "test_cli_region.moc"
