#include "analysis/summaries.h"

#include <QtTest>

using namespace tolvimar;

class TestAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void income_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("total");
        QTest::newRow("empty") << QStringList {} << "0 Silber";
        QTest::newRow("A earns") << QStringList {QStringLiteral(
            "Die Einheit Bauern (abc) verdient 120 Silber durch Arbeit.")}
                                 << "120 Silber";
        QTest::newRow("D instead") << QStringList {QStringLiteral(
            "Die Einheit Bauern (abc) verdient 80 statt 100 Silber.")}
                                   << "80 Silber";
        QTest::newRow("F only, never A") << QStringList {QStringLiteral(
            "Die Einheit Gaukler (abc) verdient in Weidenau (1,2) 55 Silber mit Unterhaltung.")}
                                         << "55 Silber";
        QTest::newRow("B taxes") << QStringList {QStringLiteral(
            "Die Einheit Vogt (abc) treibt 300 Silber Steuern ein.")}
                                 << "300 Silber";
        QTest::newRow("C taxes without silver") << QStringList {QStringLiteral(
            "Die Einheit Vogt (abc) treibt in Weidenau (1,2) 300 Steuern ein.")}
                                                << "300 Silber";
        QTest::newRow("E taxes in region") << QStringList {QStringLiteral(
            "Die Einheit Vogt (abc) treibt in Weidenau (1,2) 250 Silber an Steuern ein.")}
                                           << "250 Silber";
        QTest::newRow("nothing recognised")
            << QStringList {QStringLiteral("Ein Händler kommt vorbei.")} << "0 Silber";
        QTest::newRow("sum") << QStringList {QStringLiteral("A (a) verdient 120 Silber."),
            QStringLiteral("B (b) verdient 30 Silber.")}
                             << "150 Silber";
    }
    void income()
    {
        QFETCH(QStringList, items);
        QFETCH(QString, total);
        CurrentLine buffer;
        QCOMPARE(incomeTotal(items, 2, 404, buffer), total);
    }

    void incomeShortcutOfGameOne()
    {
        CurrentLine buffer;
        const QStringList saved {
            QStringLiteral("A (a) verdient 120 Silber."), QStringLiteral("zzzz950 Silber")};
        QCOMPARE(incomeTotal(saved, 1, 1604, buffer), QStringLiteral("950 Silber"));
        // Before 1604, and in other games, the list is summed.
        QCOMPARE(incomeTotal(saved, 1, 1603, buffer), QStringLiteral("120 Silber"));
        QCOMPARE(incomeTotal(saved, 2, 1604, buffer), QStringLiteral("120 Silber"));
    }

    void incomeFailureNamesTheLine()
    {
        CurrentLine buffer;
        const QStringList items {QStringLiteral("A (a) verdient 10 Silber."),
            QStringLiteral("B (b) verdient viel Silber.")};
        try {
            incomeTotal(items, 2, 404, buffer);
            QFAIL("must fail");
        } catch (const SummaryError &e) {
            QCOMPARE(e.line, items[1]);
            QCOMPARE(e.partialText, QStringLiteral("10"));
        }
        QCOMPARE(buffer.text(), items[1]);
        buffer.set(QString(200, u'x'));
        QCOMPARE(buffer.text().size(), 81);
    }

    void production_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("amount");
        QTest::newRow("12 wood") << "Holzfäller (abc) produziert 12 Holz." << 0 << 12;
        QTest::newRow("von form") << "Holzfäller (abc) produziert 5 von 10 Holz." << 0 << 5;
        QTest::newRow("statt form") << "Holzfäller (abc) produziert 7 statt 9 Holz." << 0 << 7;
        QTest::newRow("1 wood counts twice") << "Holzfäller (abc) produziert 1 Holz." << 0 << 2;
        QTest::newRow("mindestens") << "Holzfäller (abc) produziert mindestens 4 Holz." << 0 << 0;
        QTest::newRow("stones") << "Steinmetz (abc) produziert 3 Steine." << 1 << 3;
        QTest::newRow("iron") << "Bergleute (abc) produziert 8 Eisen." << 2 << 8;
        QTest::newRow("bred horses") << "Züchter (abc) züchtet 4 Pferde." << 3 << 4;
        QTest::newRow("laen") << "Bergleute (abc) produziert 2 Laen." << 4 << 2;
        QTest::newRow("mallorn instead") << "Förster (abc) produziert 6 Mallorn statt 8." << 5 << 6;
        QTest::newRow("spears") << "Schmied (abc) produziert 9 Speere." << 6 << 9;
        QTest::newRow("bows") << "Bogner (abc) produziert 5 Bögen." << 7 << 5;
        QTest::newRow("swords from iron")
            << "Schmied (abc) produziert 6 Schwerter aus 6 Eisen." << 8 << 6;
        QTest::newRow("swords skip iron")
            << "Schmied (abc) produziert 6 Schwerter aus 6 Eisen." << 2 << 0;
        QTest::newRow("elven bows") << "Elfen (abc) produziert 2 Elfenbögen." << 9 << 2;
        QTest::newRow("elven bows are no bows") << "Elfen (abc) produziert 2 Elfenbögen." << 7 << 0;
        QTest::newRow("crossbows") << "Schreiner (abc) produziert 3 Armbrüste." << 10 << 3;
        QTest::newRow("crossbows are no wood")
            << "Schreiner (abc) produziert 3 Armbrüste aus Holz." << 0 << 0;
    }
    void production()
    {
        QFETCH(QString, item);
        QFETCH(int, index);
        QFETCH(int, amount);
        CurrentLine buffer;
        const QStringList lines = productionTotals({item}, buffer);
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines[index], productionLabels()[index] + QString::number(amount));
    }

    void emptyProduction()
    {
        CurrentLine buffer;
        const QStringList lines = productionTotals({}, buffer);
        QCOMPARE(lines.first(), QStringLiteral("Holz       : 0"));
        QCOMPARE(lines.last(), QStringLiteral("Armbrüste  : 0"));
        QCOMPARE(lines.size(), 11);
    }

    void productionFailureKeepsRunningTotals()
    {
        CurrentLine buffer;
        const QStringList items {QStringLiteral("A (a) produziert 3 Holz."),
            QStringLiteral("B (b) produziert viel Holz.")};
        try {
            productionTotals(items, buffer);
            QFAIL("must fail");
        } catch (const SummaryError &e) {
            QCOMPARE(e.line, items[1]);
            QCOMPARE(e.partialList.first(), QStringLiteral("3"));
        }
    }

    void orcs_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("total");
        QTest::newRow("3 + 4") << QStringList {QStringLiteral(
                                                   "Die Horde (abc) vermehrt sich um 3 Orks."),
            QStringLiteral("Die Bande (def) vermehrt sich um 4 Orks."),
            QStringLiteral("Es regnet.")}
                               << "7 Orks";
        QTest::newRow("none") << QStringList {QStringLiteral("Es regnet.")} << "0 Orks";
    }
    void orcs()
    {
        QFETCH(QStringList, events);
        QFETCH(QString, total);
        QCOMPARE(orcGrowthTotal(events), total);
    }

    void orcFailure()
    {
        QVERIFY_THROWS_EXCEPTION(SummaryError,
            orcGrowthTotal({QStringLiteral("Die Horde vermehrt sich um viele Orks.")}));
    }
};

QTEST_APPLESS_MAIN(TestAnalysis)
#include "test_analysis.moc"
