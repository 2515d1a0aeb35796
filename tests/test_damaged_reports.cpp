#include "testsupport.h"

#include <QtTest>

using namespace tolvimar::test;

namespace {

// The same bytes on every run.
QByteArray noise(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 x = seed;
    for (char &c : bytes) {
        x = x * 1664525u + 1013904223u;
        c = char(x >> 24);
    }
    return bytes;
}

QByteArray sulvitan()
{
    return readBytes(fixture(QStringLiteral("reports/sulvitan-klein.cr")));
}

// 1-based number of the line where the text first occurs.
int lineOf(const QByteArray &bytes, const QByteArray &text)
{
    const qsizetype at = bytes.indexOf(text);
    Q_ASSERT(at >= 0);
    return int(bytes.left(at).count('\n')) + 1;
}

QByteArray cutAfter(const QByteArray &bytes, const QByteArray &text)
{
    const qsizetype at = bytes.indexOf(text);
    Q_ASSERT(at >= 0);
    return bytes.left(at + text.size());
}

QStringList importArguments(const TempWorkspace &ws, const QString &type, const QString &file)
{
    return {QStringLiteral("--workspace"), ws.path(), QStringLiteral("import"),
        QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("--type"), type, file};
}

using Codes = QList<int>;

} // namespace

Q_DECLARE_METATYPE(Codes)

// A report damaged on its way by mail: whatever the bytes, the command line import
// ends with a clean status, names the line at fault, and a refused or failed import
// leaves the database as it was, byte for byte.
class TestDamagedReports : public QObject
{
    Q_OBJECT
private slots:
    void damagedReport_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<Codes>("codes"); // the exit statuses that are right
        QTest::addColumn<int>("faultLine"); // for status 2: the line the message names

        const QByteArray k = kalmoraReportBytes();
        const QByteArray s = sulvitan();
        const QString K = QStringLiteral("Kalmora");
        const QString S = QStringLiteral("Sulvitan");
        const Codes any {0, 1, 2};

        QTest::newRow("empty file") << K << QByteArray() << Codes {2} << 1;
        QTest::newRow("only line breaks") << K << QByteArray("\r\n\n\r\r\n") << Codes {2} << 1;
        QTest::newRow("VERSION without number")
            << K << replaced(k, "VERSION 42", "VERSION") << Codes {2} << 1;
        QTest::newRow("empty first line") << K << "\r\n" + k << Codes {2} << 1;
        QTest::newRow("version far ahead")
            << K << replaced(k, "VERSION 42", "VERSION 99") << Codes {1} << 0;
        QTest::newRow("cut in the header") << K << cutAfter(k, "40;Ru") << any << 0;
        QTest::newRow("cut after a region header")
            << K << cutAfter(k, "REGION 3 -4 1") << Codes {0} << 0;
        QTest::newRow("cut after a unit keyword")
            << K << cutAfter(k, "EINHEIT ") << Codes {2} << lineOf(k, "EINHEIT ");
        QTest::newRow("cut at half") << K << k.left(k.size() / 2) << any << 0;
        QTest::newRow("cut at nine tenths") << K << k.left(k.size() * 9 / 10) << any << 0;
        QTest::newRow("random bytes") << K << noise(4096, 1) << Codes {1, 2} << 0;
        QTest::newRow("random bytes inside")
            << K << k.left(k.size() * 4 / 10) + noise(300, 2) + k.mid(k.size() / 2) << any << 0;
        QTest::newRow("random bytes after the end") << K << k + noise(2000, 3) << any << 0;
        QTest::newRow("letter in a region number") << K << replaced(k, "1250;Bauern", "12x0;Bauern")
                                                   << Codes {2} << lineOf(k, "1250;Bauern");
        QTest::newRow("letter in a unit number")
            << K << replaced(k, "12;Anzahl", "1O;Anzahl") << Codes {2} << lineOf(k, "12;Anzahl");
        QTest::newRow("letter in the turn")
            << K << replaced(k, "40;Runde", "4O;Runde") << Codes {2} << lineOf(k, "40;Runde");
        QTest::newRow("letter in a message type")
            << K << replaced(k, "2097;type", "2o97;type") << Codes {2} << lineOf(k, "2097;type");
        QTest::newRow("letter in a region header")
            << K << replaced(k, "REGION 1 2", "REGION 1 b") << Codes {2} << lineOf(k, "REGION 1 2");
        QTest::newRow("letter in an alliance status")
            << K << replaced(k, "27;Status", "27x;Status") << Codes {2} << lineOf(k, "27;Status");
        QTest::newRow("battle without coordinates")
            << K << replaced(k, "BATTLE 1 2", "BATTLE ") << Codes {2} << lineOf(k, "BATTLE 1 2");
        QTest::newRow("base out of range")
            << K << replaced(k, "36;Basis", "99;Basis") << Codes {2} << lineOf(k, "36;Basis");
        QTest::newRow("number too large") << K << replaced(k, "1250;Bauern", "99999999999;Bauern")
                                          << Codes {2} << lineOf(k, "1250;Bauern");
        QTest::newRow("huge line of text")
            << K
            << replaced(k, "\"Weidenau\";Name\r\n",
                   "\"Weidenau\";Name\r\n" + QByteArray(5 << 20, 'x') + "\r\n")
            << Codes {0} << 0;
        QTest::newRow("huge number")
            << K << replaced(k, "1250;Bauern", QByteArray(5 << 20, '7') + ";Bauern") << Codes {2}
            << lineOf(k, "1250;Bauern");
        QTest::newRow("NUL bytes in a number")
            << K << replaced(k, "1250;Bauern", QByteArray("12\0\0;Bauern", 11)) << Codes {2}
            << lineOf(k, "1250;Bauern");
        QTest::newRow("NUL bytes in a name")
            << K << replaced(k, "\"Weidenau\";Name", QByteArray("\"Wei\0\0au\";Name", 15))
            << Codes {0} << 0;
        QTest::newRow("old line ends")
            << K << QByteArray(k).replace("\r\n", "\r") << Codes {0} << 0;
        QTest::newRow("byte order mark on Windows-1252") << K << "\xEF\xBB\xBF" + k << any << 0;
        QTest::newRow("Windows-1252 byte in UTF-8")
            << S << replaced(s, "Lindenhain", "Linden\xFChain") << Codes {0} << 0;
        QTest::newRow("UTF-8 cut inside a character")
            << S << s.left(s.indexOf("\xC3") + 1) << any << 0;
        QTest::newRow("random bytes in UTF-8") << S << s + noise(500, 4) << any << 0;
    }

    void damagedReport()
    {
        QFETCH(QString, type);
        QFETCH(QByteArray, report);
        QFETCH(Codes, codes);
        QFETCH(int, faultLine);

        // A workspace that already knows a report.
        TempWorkspace ws;
        ws.setLine(1, tolvimar::Configuration::GameTypeText, type);
        const QString good
            = fixture(type == u"Kalmora" ? QStringLiteral("reports/kalmora-klein.cr")
                                         : QStringLiteral("reports/sulvitan-klein.cr"));
        QCOMPARE(runCli(importArguments(ws, type, good)), 0);
        const QString database = ws.file(QStringLiteral("kalmora.sqlite"));
        const QByteArray before = readBytes(database);
        QVERIFY(!before.isEmpty());

        const QString path = ws.file(QStringLiteral("bericht.cr"));
        writeBytes(path, report);
        QString out, err;
        const int code = runCli(importArguments(ws, type, path), &out, &err);
        QVERIFY2(codes.contains(code),
            qPrintable(QStringLiteral("exit %1\n%2").arg(code).arg(err.left(2000))));
        if (code != 0) {
            QVERIFY2(readBytes(database) == before, "the database changed");
            QVERIFY(!QFile::exists(database + QStringLiteral("-journal")));
            QVERIFY(!err.isEmpty());
        }
        if (code == 2) {
            QVERIFY2(err.contains(QStringLiteral("bericht.cr")), qPrintable(err.left(2000)));
            QVERIFY2(err.size() < 4000, "the message repeats a huge line");
        }
        if (faultLine > 0 && code == 2)
            QVERIFY2(err.contains(QStringLiteral("Zeile %1:").arg(faultLine)),
                qPrintable(err.left(2000)));
    }
};

QTEST_GUILESS_MAIN(TestDamagedReports)
#include "test_damaged_reports.moc"
