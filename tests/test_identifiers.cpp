#include "base/errors.h"
#include "report/datecode.h"
#include "base/identifiers.h"

#include <QtTest>

using namespace tolvimar;

class TestIdentifiers : public QObject
{
    Q_OBJECT
private slots:
    void idToStr_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("base");
        QTest::addColumn<QString>("expected");
        QTest::newRow("35") << qint64(35) << 36 << "z";
        QTest::newRow("21 is capital L") << qint64(21) << 36 << "L";
        QTest::newRow("36") << qint64(36) << 36 << "10";
        QTest::newRow("1295") << qint64(1295) << 36 << "zz";
        QTest::newRow("0 is empty") << qint64(0) << 36 << "";
        QTest::newRow("negative is empty") << qint64(-5) << 36 << "";
        QTest::newRow("decimal base") << qint64(105) << 10 << "105";
        QTest::newRow("4711") << qint64(4711) << 36 << "3mv";
    }
    void idToStr()
    {
        QFETCH(qint64, value);
        QFETCH(int, base);
        QFETCH(QString, expected);
        QCOMPARE(tolvimar::idToStr(value, base), expected);
    }

    void strToId_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("L") << "L" << 21;
        QTest::newRow("10") << "10" << 36;
        QTest::newRow("1A") << "1A" << 46;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("foreign character counts -1") << "1-" << 35;
    }
    void strToId()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(tolvimar::strToId(text, 36), expected);
    }

    void roundTrip()
    {
        // Sampled over the whole positive range, both ends included.
        for (qint64 v = 1; v < 2147483647LL; v = v * 7 + 3) {
            QCOMPARE(tolvimar::strToId(tolvimar::idToStr(v, 36), 36), int(v));
        }
        QCOMPARE(tolvimar::strToId(tolvimar::idToStr(2147483647LL, 36), 36), 2147483647);
    }

    void strToIdNeverOverflows()
    {
        QCOMPARE(
            tolvimar::strToId(QString(200, u'z'), 36), tolvimar::strToId(QString(200, u'z'), 36));
    }

    void formatTalent_data()
    {
        QTest::addColumn<QString>("talent");
        QTest::addColumn<int>("persons");
        QTest::addColumn<QString>("expected");
        QTest::newRow("300 3 / 10") << "300 3" << 10 << "[30] 3";
        QTest::newRow("7 1 / 2") << "7 1" << 2 << "[3] 1";
        QTest::newRow("no persons") << "300 3" << 0 << "[0] 3";
    }
    void formatTalent()
    {
        QFETCH(QString, talent);
        QFETCH(int, persons);
        QFETCH(QString, expected);
        QCOMPARE(tolvimar::formatTalent(talent, persons), expected);
    }

    void formatTalentRejectsNonNumbers()
    {
        QVERIFY_THROWS_EXCEPTION(ConversionError, tolvimar::formatTalent(QStringLiteral("x 3"), 2));
        QVERIFY_THROWS_EXCEPTION(ConversionError, tolvimar::formatTalent(QStringLiteral("300"), 2));
    }

    void dateFromTurn_data()
    {
        QTest::addColumn<int>("turn");
        QTest::addColumn<qint64>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("12") << 12 << qint64(112) << "Dezember im Jahre 1";
        QTest::newRow("13") << 13 << qint64(201) << "Januar im Jahre 2";
        QTest::newRow("25") << 25 << qint64(301) << "Januar im Jahre 3";
        QTest::newRow("40") << 40 << qint64(404) << "April im Jahre 4";
        QTest::newRow("0") << 0 << qint64(12) << "Dezember im Jahre 0";
    }
    void dateFromTurn()
    {
        QFETCH(int, turn);
        QFETCH(qint64, code);
        QFETCH(QString, text);
        const GameDate d = tolvimar::dateFromTurn(turn);
        QCOMPARE(d.code, code);
        QCOMPARE(d.text, text);
    }

    void strictInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "42" << true << 42;
        QTest::newRow("negative") << "-34" << true << -34;
        QTest::newRow("blanks") << " 7 " << true << 7;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("letters") << "4a" << false << 0;
        QTest::newRow("too big") << "2147483648" << false << 0;
        QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
        QTest::newRow("sign only") << "-" << false << 0;
    }
    void strictInt()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        int parsed = 0;
        QCOMPARE(parseStrictInt(text, &parsed), ok);
        if (ok)
            QCOMPARE(parsed, value);
    }
};

QTEST_APPLESS_MAIN(TestIdentifiers)
#include "test_identifiers.moc"
