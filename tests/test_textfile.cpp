#include "base/compactlines.h"
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

    // Held lines come back exactly, whatever characters they hold.
    void compactLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("none") << QStringList {};
        QTest::newRow("one empty line") << QStringList {QString()};
        QTest::newRow("Latin-1") << QStringList {"Grüße", "", "Öl 3, Maß", "\xff\x01"};
        QTest::newRow("beyond Latin-1 in the last line")
            << QStringList {"Grüße", "", "5 \u20ac \u201eHandel\u201c"};
        QTest::newRow("surrogate pair and lone surrogate")
            << QStringList {"Drache \U0001F409", QString(QChar(0xd800)) + u'x', ""};
    }
    void compactLines()
    {
        QFETCH(QStringList, lines);
        const CompactLines compact(lines);
        QCOMPARE(compact.count(), lines.size());
        const QStringList back = compact.lines();
        QCOMPARE(back.size(), lines.size());
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY2(back[i] == lines[i], qPrintable(QString::number(i)));
    }

    // Detection and decoding; a clean text also encodes back to its bytes. One damaged
    // byte must not turn a UTF-8 text into Windows-1252 (every umlaut would be stored as
    // two characters); a text with more than a handful of bad bytes, or fewer valid
    // sequences than bad bytes, is Windows-1252.
    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<bool>("roundTrip");
        QTest::newRow("utf-8") << QByteArray("Gr\xc3\xbcn") << QString::fromUtf8("Grün")
                               << int(TextEncoding::Utf8) << true;
        QTest::newRow("windows-1252") << QByteArray("Gr\xfcn \x80") << QString::fromUtf8("Grün €")
                                      << int(TextEncoding::Windows1252) << true;
        QTest::newRow("utf-8 with BOM")
            << QByteArray("\xef\xbb\xbf\xc3\x84") << QString::fromUtf8("Ä")
            << int(TextEncoding::Utf8) << false;
        QTest::newRow("cut utf-8 is 1252") << QByteArray("a\xc3") << QString::fromUtf8("aÃ")
                                           << int(TextEncoding::Windows1252) << true;
        QTest::newRow("one bad byte in UTF-8")
            << QByteArray("Gr\xc3\xbcn \xfc Gr\xc3\xbc\xc3\x9f"
                          "e")
            << QString::fromUtf8("Grün \uFFFD Grüße") << int(TextEncoding::Utf8) << false;
        QTest::newRow("Windows-1252 with a UTF-8-like pair")
            << QByteArray("Gr\xfcn \xc3\xa4 K\xf6nig \xe4") << QString::fromUtf8("Grün Ã¤ König ä")
            << int(TextEncoding::Windows1252) << false;
        QTest::newRow("more than a handful of bad bytes")
            << QByteArray("\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4"
                          "\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4 \xe4\xe4\xe4\xe4\xe4\xe4")
            << QString::fromUtf8("Ã¤Ã¤Ã¤Ã¤Ã¤Ã¤Ã¤Ã¤Ã¤Ã¤Ã¤Ã¤Ã¤Ã¤ ääääää")
            << int(TextEncoding::Windows1252) << false;
    }
    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(int, encoding);
        QFETCH(bool, roundTrip);
        TextEncoding detected = TextEncoding::Utf8;
        QCOMPARE(decodeText(bytes, &detected), text);
        QCOMPARE(int(detected), encoding);
        if (roundTrip)
            QCOMPARE(encodeText(text, TextEncoding(encoding)), bytes);
    }

    // A report that names its charset in its first block is read in that charset.
    void declaredCharset_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("encoding");
        QTest::newRow("Latin-1 although it looks like UTF-8")
            << QByteArray("VERSION 42\n\"ISO-8859-1\";charset\n\"M\xc3\xa4rz\";Name\n")
            << QString::fromUtf8("\"MÃ¤rz\";Name") << int(TextEncoding::Windows1252);
        QTest::newRow("UTF-8 with many bad bytes")
            << QByteArray("VERSION 42\r\n\"UTF-8\";charset\r\n\"\xfc\xfc\xfc\xfc\xfc\xfc\xfc "
                          "Gr\xc3\xbcn\";Name\r\n")
            << QString::fromUtf8("\"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD Grün\";Name")
            << int(TextEncoding::Utf8);
        QTest::newRow("named after the first block: not a declaration")
            << QByteArray("VERSION 42\nPARTEI 1\n\"UTF-8\";charset\n\"M\xe4rz\";Name\n")
            << QString::fromUtf8("\"März\";Name") << int(TextEncoding::Windows1252);
    }
    void declaredCharset()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, line);
        QFETCH(int, encoding);
        const ReportLines report = ReportLines::fromBytes(bytes);
        QCOMPARE(report.line(report.count() - 1).toString(), line);
        QCOMPARE(int(report.encoding()), encoding);
    }
};

QTEST_APPLESS_MAIN(TestTextFile)
#include "test_textfile.moc"
