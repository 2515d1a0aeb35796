#include "base/textfile.h"
#include "report/reportlines.h"

#include <QtTest>

using namespace tolvimar;

class TestTextFile : public QObject
{
    Q_OBJECT
private slots:
    void lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("LF") << QByteArray("a\nbb\n") << QStringList {"a", "bb"};
        QTest::newRow("CR LF") << QByteArray("a\r\nbb\r\n") << QStringList {"a", "bb"};
        QTest::newRow("CR") << QByteArray("a\rbb\r") << QStringList {"a", "bb"};
        QTest::newRow("no final break") << QByteArray("a\nbb") << QStringList {"a", "bb"};
        QTest::newRow("empty lines") << QByteArray("\n\r\n\r") << QStringList {"", "", ""};
        QTest::newRow("LF then CR") << QByteArray("a\n\rb") << QStringList {"a", "", "b"};
        QTest::newRow("one char") << QByteArray("x") << QStringList {"x"};
        QTest::newRow("empty") << QByteArray() << QStringList {};
    }
    void lines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        const ReportLines report = ReportLines::fromBytes(bytes);
        QStringList got;
        for (int i = 0; i < report.count(); ++i)
            got.append(report.line(i).toString());
        QCOMPARE(got, lines);
        QCOMPARE(splitLines(decodeText(bytes)), lines);
        // Past either end there is an empty line.
        QVERIFY(report.line(report.count()).isEmpty());
        QVERIFY(report.line(-1).isEmpty());
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("encoding");
        QTest::newRow("utf-8") << QByteArray("Gr\xc3\xbcn") << QString::fromUtf8("Grün")
                               << int(TextEncoding::Utf8);
        QTest::newRow("windows-1252") << QByteArray("Gr\xfcn \x80") << QString::fromUtf8("Grün €")
                                      << int(TextEncoding::Windows1252);
        QTest::newRow("utf-8 with BOM") << QByteArray("\xef\xbb\xbf\xc3\x84")
                                        << QString::fromUtf8("Ä") << int(TextEncoding::Utf8);
        QTest::newRow("cut utf-8 is 1252")
            << QByteArray("a\xc3") << QString::fromUtf8("aÃ") << int(TextEncoding::Windows1252);
    }
    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(int, encoding);
        TextEncoding detected = TextEncoding::Utf8;
        QCOMPARE(decodeText(bytes, &detected), text);
        QCOMPARE(int(detected), encoding);
        if (!bytes.startsWith("\xef\xbb\xbf"))
            QCOMPARE(encodeText(text, TextEncoding(encoding)), bytes);
    }
};

QTEST_APPLESS_MAIN(TestTextFile)
#include "test_textfile.moc"
