#include "base/errors.h"
#include "base/identifiers.h"
#include "db/database.h"
#include "gamefixture.h"
#include "orders/orderblock.h"
#include "orders/unitrecord.h"
#include "testsupport.h"

#include <QDirIterator>
#include <QLockFile>
#include <QProcess>
#include <QSqlQuery>
#include <QThread>
#include <QtTest>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// The command line tool with faults injected through the test hook, optionally with a
// limit on the size of the files it writes (in KiB: the system refuses writes past it,
// as a full disk does), and never longer than the deadline.
CliRun cli(const QStringList &arguments, const QStringList &faults = {}, int fileLimitKib = -1,
    int deadlineMs = 120000)
{
    // Ignored, the signal leaves the failing write to report the error.
    return runCliProcess(arguments, faults,
        fileLimitKib >= 0 ? QStringLiteral("trap '' XFSZ; ulimit -f %1").arg(fileLimitKib)
                          : QString(),
        deadlineMs);
}

QString flagsOf(const QString &database, int unit)
{
    return queryValue(database,
        QStringLiteral("SELECT \"Flags\" FROM einheiten WHERE \"Einheit Nr\" = %1").arg(unit))
        .toString();
}

const QString kOrders = QStringLiteral("spiel1/Zug-Spiel1-4-April.txt");

// A workspace with the small Kalmora report imported into slot 1.
struct Imported
{
    TempWorkspace ws;
    QTemporaryDir inputs;

    explicit Imported(const QByteArray &report = kalmoraReportBytes())
    {
        const QString path = inputs.filePath(QStringLiteral("bericht.cr"));
        writeBytes(path, report);
        const CliRun run = cli(inWorkspace(ws.path(),
            {QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("1"),
                QStringLiteral("--type"), QStringLiteral("Kalmora"), path}));
        if (run.code != 0)
            qFatal("import failed: %s", qPrintable(run.where()));
    }
    CliRun run(const QStringList &arguments, const QStringList &faults = {}, int limit = -1) const
    {
        return cli(inWorkspace(ws.path(), arguments), faults, limit);
    }
    QString input(const QString &name, const QByteArray &bytes) const
    {
        const QString path = inputs.filePath(name);
        writeBytes(path, bytes);
        return path;
    }
    QString file(const QString &relative) const { return ws.file(relative); }
    QString database() const { return ws.file(QStringLiteral("kalmora.sqlite")); }
    QByteArray orders() const { return readBytes(ws.file(kOrders)); }
};

QStringList setOrders(const QString &unit, const QString &file, const QStringList &extra = {})
{
    return QStringList {QStringLiteral("set-orders"), QStringLiteral("--slot"), QStringLiteral("1"),
               QStringLiteral("1"), QStringLiteral("2"), unit}
    + extra + QStringList {file};
}

// Six own units in region 1/2: the report's three and three more.
QByteArray sixUnits()
{
    QByteArray extra;
    for (int number : {4716, 4717, 4718}) {
        extra += "EINHEIT " + QByteArray::number(number) + "\r\n\"Neu " + QByteArray::number(number)
            + "\";Name\r\n4711;Partei\r\n1;Anzahl\r\n\"Menschen\";Typ\r\nCOMMANDS\r\n\"LERNE "
              "Taktik\"\r\nGEGENSTAENDE\r\n5;Silber\r\n";
    }
    return replaced(kalmoraReportBytes(), "REGION 2 2\r\n", extra + "REGION 2 2\r\n");
}

bool isRoot()
{
    return ::geteuid() == 0;
}

} // namespace

// The program under hostile use of its views and edits: edits at the same time, edits
// during an import, half-done edits, pictures on a full disk, special files, numbers
// and names that do not fit. What it says is true, and nothing stored is lost.
class TestHostileUse : public QObject
{
    Q_OBJECT
private slots:
    // Six edits of six units started together: every one survives, orders and mark.
    void parallelEditsKeepEveryEdit()
    {
        Imported game(sixUnits());
        const QStringList units {QStringLiteral("3mw"), QStringLiteral("3mx"),
            QStringLiteral("3my"), idToStr(4716, 36), idToStr(4717, 36), idToStr(4718, 36)};
        for (int round = 0; round < 3; ++round) {
            QList<QProcess *> edits;
            for (const QString &unit : units) {
                const QString file = game.input(unit + QStringLiteral(".txt"),
                    QStringLiteral("ARBEITE %1 %2\n").arg(unit).arg(round).toUtf8());
                auto *p = new QProcess(this);
                p->start(QStringLiteral(TOLVIMAR_CLI),
                    inWorkspace(game.ws.path(),
                        setOrders(unit, file, {QStringLiteral("--mark"), QStringLiteral("X")})));
                edits.append(p);
            }
            for (QProcess *p : edits) {
                QVERIFY(p->waitForFinished(60000));
                QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
            }
            qDeleteAll(edits);
            const QString orders = QString::fromLatin1(game.orders());
            for (const QString &unit : units)
                QVERIFY2(orders.contains(QStringLiteral("ARBEITE %1 %2").arg(unit).arg(round)),
                    qPrintable(
                        QStringLiteral("round %1, unit %2:\n%3").arg(round).arg(unit, orders)));
            for (int number : {4712, 4713, 4714, 4716, 4717, 4718})
                QVERIFY(flagsOf(game.database(), number).endsWith(u'X'));
        }
    }

    // The order editor of the window waits for the workspace lock too, and changes
    // neither the template nor the mark when it cannot get it.
    void windowEditWaitsForTheLock()
    {
        ImportHarness h(QStringLiteral("Kalmora"), 1);
        QCOMPARE(h.importFile(fixture(QStringLiteral("reports/kalmora-klein.cr"))).status,
            ReportImporter::Result::Imported);
        UnitRecord record(h.session->database());
        const std::optional<UnitViewTexts> unit
            = record.selectUnit(h.session->game(), QStringLiteral("1/2"), 4713);
        QVERIFY(unit);
        OrderBlock block(
            h.session->orderTemplate(), h.session->database(), &h.session->workspaceLock());
        const OrderBlock::Opened opened = block.open(h.session->game(), *unit);
        QVERIFY(!opened.lines.isEmpty());
        const QStringList before = h.session->orderTemplate().lines();
        h.session->workspaceLock().setWaitMs(300);
        QLockFile other(h.session->workspaceLock().filePath());
        QVERIFY(other.tryLock(0));
        QString message;
        try {
            block.apply({opened.lines.first(), QStringLiteral("    ARBEITE")}, UnitMark::Long);
        } catch (const UserError &e) {
            message = e.message();
        }
        QVERIFY2(message.contains(QStringLiteral("gesperrt")), qPrintable(message));
        QCOMPARE(h.session->orderTemplate().lines(), before);
        QCOMPARE(h.value(QStringLiteral("SELECT \"Flags\" FROM einheiten WHERE \"Einheit Nr\" = "
                                        "4713"))
                     .toString(),
            QString());
        other.unlock();
        block.apply({opened.lines.first(), QStringLiteral("    ARBEITE")}, UnitMark::Long);
        QVERIFY(h.session->orderTemplate().lines().contains(QStringLiteral("    ARBEITE")));
    }

    // An edit started while an import of the same turn holds the workspace edits the
    // template that import writes, never the one before it.
    void editDuringImportEditsTheNewTemplate()
    {
        Imported game;
        // The same turn with other orders and enough regions to keep the import busy.
        QByteArray report = replaced(kalmoraReportBytes(), "\"MACHE Holz\"", "\"MACHE Stein\"");
        QByteArray oceans;
        for (int i = 0; i < 60000; ++i)
            oceans += "REGION " + QByteArray::number(100 + i % 300) + ' '
                + QByteArray::number(100 + i / 300) + "\r\n\"Ozean\";Terrain\r\n";
        report += oceans;
        const QString next = game.input(QStringLiteral("neu.cr"), report);
        const QString edit = game.input(QStringLiteral("befehle.txt"), "ARBEITE fleissig\n");

        QProcess import;
        import.start(QStringLiteral(TOLVIMAR_CLI),
            inWorkspace(game.ws.path(),
                {QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("1"), next}));
        // Once the import holds the workspace, the edit starts.
        const QString lock = game.file(QStringLiteral("tolvimar.lock"));
        QDeadlineTimer deadline(30000);
        while (!QFileInfo::exists(lock) && !deadline.hasExpired()
            && import.state() != QProcess::NotRunning)
            QThread::msleep(2);
        QVERIFY2(QFileInfo::exists(lock), "the import never held the workspace");
        const CliRun run = game.run(setOrders(QStringLiteral("3mx"), edit));
        QVERIFY(import.waitForFinished(120000));
        QCOMPARE(import.exitCode(), 0);

        const QByteArray orders = game.orders();
        QVERIFY2(orders.contains("MACHE Stein"), orders.constData());
        QVERIFY2(!orders.contains("MACHE Holz"), orders.constData());
        if (run.code == 0) {
            QVERIFY2(orders.contains("ARBEITE fleissig"), orders.constData());
        } else {
            QCOMPARE(run.code, 2);
            QVERIFY2(run.errText().contains(QStringLiteral("gesperrt")), qPrintable(run.where()));
        }
    }

    // When the order file cannot be written, the mark is not stored either.
    void markAndOrdersGoTogether_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("disk full") << QStringLiteral("write:Zug-Spiel1-4-April.txt");
        QTest::newRow("rename refused") << QStringLiteral("rename:Zug-Spiel1-4-April.txt");
    }
    void markAndOrdersGoTogether()
    {
        QFETCH(QString, fault);
        Imported game;
        const QByteArray before = game.orders();
        const QString edit = game.input(QStringLiteral("befehle.txt"), "ARBEITE\n");
        const CliRun run = game.run(
            setOrders(QStringLiteral("3mx"), edit, {QStringLiteral("--mark"), QStringLiteral("X")}),
            {fault});
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QCOMPARE(game.orders(), before);
        QCOMPARE(flagsOf(game.database(), 4713), QString());
        QVERIFY(!run.errText().contains(QStringLiteral("Unknown error")));
    }

    // A picture that cannot be written whole is an error; the previous file stays.
    void picturesCutShortFail_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("output"); // relative to the workspace
        QTest::addColumn<int>("limitKib");
        QTest::newRow("small map")
            << QStringList {"small-map", "--slot", "1", "1", "2", "--out", "%1/klein.png"}
            << "klein.png" << 2;
        QTest::newRow("overlay") << QStringList {"overlay", "--slot", "1", "ships", "--out",
            "%1/schiffe.png"} << "schiffe.png"
                                 << 0;
        QTest::newRow("world map cache")
            << QStringList {"render-map", "--slot", "1"} << "spiel1/images/worldmap-1.bmp" << 16;
    }
    void picturesCutShortFail()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        QFETCH(int, limitKib);
        Imported game;
        // A map large enough to be cut short, its cache drawn once.
        QCOMPARE(game.run({"add-region", "--slot", "1", "40", "40", "--terrain", "Wald"}).code, 0);
        QCOMPARE(game.run({"render-map", "--slot", "1"}).code, 0);
        const QString path = game.file(output);
        if (!output.startsWith(QStringLiteral("spiel1")))
            writeBytes(path, "ALT");
        const QByteArray before = readBytes(path);
        for (QString &a : arguments)
            a.replace(QStringLiteral("%1"), game.ws.path());
        const CliRun run = game.run(arguments, {}, limitKib);
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(QString::fromLocal8Bit(std::strerror(EFBIG))),
            qPrintable(run.where()));
        QVERIFY(!run.errText().contains(QStringLiteral("Unknown error")));
        QCOMPARE(readBytes(path), before);
    }

    // A world map that can be drawn can be read again; an absurd one is refused.
    void worldMapLimits()
    {
        Imported game;
        // 7192 x 4792 pixels, past what the image reader takes by default.
        QCOMPARE(
            game.run({"add-region", "--slot", "1", "600", "600", "--terrain", "Wald"}).code, 0);
        CliRun run = game.run({"render-map", "--slot", "1"});
        QVERIFY2(run.code == 0, qPrintable(run.where()));
        run = game.run({"status", "--slot", "1"});
        QVERIFY2(run.code == 0, qPrintable(run.where()));
        QVERIFY2(!run.errText().contains(QStringLiteral("Weltkarte")), qPrintable(run.where()));

        const QByteArray cache
            = readBytes(game.file(QStringLiteral("spiel1/images/worldmap-1.bmp")));
        QCOMPARE(
            game.run({"add-region", "--slot", "1", "1400", "1400", "--terrain", "Wald"}).code, 0);
        run = game.run({"render-map", "--slot", "1"});
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(QStringLiteral("1400")), qPrintable(run.where()));
        QVERIFY2(run.errText().contains(QStringLiteral("zu groß")), qPrintable(run.where()));
        QVERIFY(readBytes(game.file(QStringLiteral("spiel1/images/worldmap-1.bmp"))) == cache);
    }

    // The first line of an orders file is the unit's header only when it is one.
    void firstLineOfOrders_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("block"); // the unit's block afterwards, or a message part
        QTest::newRow("header as orders prints it")
            << QByteArray(" EINHEIT 3mx;\tB\xC3\xA4"
                          "cker [3,90$,S25]\n    ARBEITE\n")
            << 0
            << QByteArray(" EINHEIT 3mx;\tB\xE4"
                          "cker [3,90$,S25]\r\n    ARBEITE\r\n");
        QTest::newRow("plain header") << QByteArray("EINHEIT 3mx\nARBEITE\n") << 0
                                      << QByteArray(" EINHEIT 3mx;\tB\xE4"
                                                    "cker [3,90$,S25]\r\n"
                                                    "ARBEITE\r\n");
        QTest::newRow("orders only") << QByteArray("ARBEITE\nLERNE Taktik\n") << 0
                                     << QByteArray(" EINHEIT 3mx;\tB\xE4"
                                                   "cker [3,90$,S25]\r\n"
                                                   "ARBEITE\r\nLERNE Taktik\r\n");
        QTest::newRow("header of another unit")
            << QByteArray(" EINHEIT 3my;\tH\n ARBEITE\n") << 2 << QByteArray("3my");
    }
    void firstLineOfOrders()
    {
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, block);
        Imported game;
        const QByteArray before = game.orders();
        const CliRun run = game.run(
            setOrders(QStringLiteral("3mx"), game.input(QStringLiteral("befehle.txt"), input)));
        QVERIFY2(run.code == exitCode, qPrintable(run.where()));
        if (exitCode == 0) {
            QVERIFY2(game.orders().contains(block + " EINHEIT 3my;"), game.orders().constData());
        } else {
            QVERIFY2(run.err.contains(block), qPrintable(run.where()));
            QCOMPARE(game.orders(), before);
        }
    }

    // Orders cannot forge the template's structure or bring binary data into it.
    void forgedStructureRefused_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("errPart");
        QTest::newRow("region header")
            << QByteArray("ARBEITE\n REGION 0,0 ; Irgendwo\n") << "Zeile 2";
        QTest::newRow("second unit header")
            << QByteArray("ARBEITE\n EINHEIT 3mz;\tFremd [1,0$]\n") << "Zeile 2";
        QTest::newRow("end of the orders")
            << QByteArray("ARBEITE\n NAECHSTER\nLERNE Taktik\n") << "NAECHSTER";
        QTest::newRow("end, small and indented")
            << QByteArray("ARBEITE\n\t naechster\n") << "Zeile 2";
        QTest::newRow("faction header") << QByteArray("PARTEI 3mv \"geheim\"\n") << "Zeile 1";
        QTest::newRow("NUL byte") << QByteArray("ARBEITE\0 REGION 0,0\n", 20) << "Steuerzeichen";
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFE"
                                              "A\0R\0B\0\n\0",
            10) << "UTF-16";
        QTest::newRow("control character") << QByteArray("ARBEITE\x1b[2J\n") << "Zeile 1";
    }
    void forgedStructureRefused()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, errPart);
        Imported game;
        const QByteArray before = game.orders();
        const CliRun run = game.run(
            setOrders(QStringLiteral("3mx"), game.input(QStringLiteral("befehle.txt"), input),
                {QStringLiteral("--mark"), QStringLiteral("X")}));
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(errPart), qPrintable(run.where()));
        QCOMPARE(game.orders(), before);
        QCOMPARE(flagsOf(game.database(), 4713), QString());
    }

    // Only regular files of a sane size are read as orders or map data.
    void inputsMustBeRegularFiles_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("errPart");
        for (const char *command : {"set-orders", "import-map"}) {
            QTest::addRow("%s: FIFO", command) << command << "fifo"
                                               << "keine gewöhnliche Datei";
            QTest::addRow("%s: endless device", command) << command << "zero"
                                                         << "keine gewöhnliche Datei";
            QTest::addRow("%s: too large", command) << command << "huge"
                                                    << "zu groß";
        }
    }
    void inputsMustBeRegularFiles()
    {
        QFETCH(QString, command);
        QFETCH(QString, kind);
        QFETCH(QString, errPart);
        Imported game;
        QString path = game.inputs.filePath(QStringLiteral("eingabe.txt"));
        if (kind == u"fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == u"zero") {
            path = QStringLiteral("/dev/zero");
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("REGION 1 1\n");
            QVERIFY(f.resize(qint64(1) << 31));
        }
        const QByteArray before = game.orders();
        QElapsedTimer timer;
        timer.start();
        const QStringList arguments = command == u"set-orders"
            ? setOrders(QStringLiteral("3mx"), path)
            : QStringList {
                QStringLiteral("import-map"), QStringLiteral("--slot"), QStringLiteral("1"), path};
        const CliRun run = cli(inWorkspace(game.ws.path(), arguments), {}, -1, 30000);
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(errPart), qPrintable(run.where()));
        QVERIFY(timer.elapsed() < 20000);
        QCOMPARE(game.orders(), before);
    }

    // Output paths: written through a symbolic link, never replacing a FIFO or a device.
    void outputPathsKeepTheirKind_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("command");
        for (const char *command : {"small-map", "export-map"}) {
            QTest::addRow("%s: symbolic link", command) << "link" << command;
            QTest::addRow("%s: dangling link", command) << "dangling" << command;
            QTest::addRow("%s: FIFO", command) << "fifo" << command;
            QTest::addRow("%s: link to a FIFO", command) << "linkfifo" << command;
            QTest::addRow("%s: device", command) << "device" << command;
        }
    }
    void outputPathsKeepTheirKind()
    {
        QFETCH(QString, kind);
        QFETCH(QString, command);
        Imported game;
        const QString dir = game.inputs.path();
        const QString out = dir + QStringLiteral("/ausgabe");
        const QString target = dir + QStringLiteral("/ziel");
        const QByteArray outName = QFile::encodeName(out);
        if (kind == u"link") {
            writeBytes(target, "ALT");
            QVERIFY(QFile::link(target, out));
        } else if (kind == u"dangling") {
            QVERIFY(QFile::link(target, out));
        } else if (kind == u"fifo") {
            QCOMPARE(::mkfifo(outName.constData(), 0600), 0);
        } else if (kind == u"linkfifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
            QVERIFY(QFile::link(target, out));
        } else {
            if (!isRoot())
                QSKIP("making a device node needs root");
            // A null device of our own, never one of the system's.
            QCOMPARE(::mknod(outName.constData(), S_IFCHR | 0600, makedev(1, 3)), 0);
        }
        const QStringList arguments = command == u"small-map"
            ? QStringList {QStringLiteral("small-map"), QStringLiteral("--slot"),
                QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2"),
                QStringLiteral("--out"), out}
            : QStringList {
                QStringLiteral("export-map"), QStringLiteral("--slot"), QStringLiteral("1"), out};
        const CliRun run = cli(inWorkspace(game.ws.path(), arguments), {}, -1, 30000);
        struct stat st
        {
        };
        if (kind == u"link" || kind == u"dangling") {
            QVERIFY2(run.code == 0, qPrintable(run.where()));
            QVERIFY(QFileInfo(out).isSymLink());
            const QByteArray written = readBytes(target);
            QVERIFY(written.size() > 3);
            QVERIFY(command == u"export-map" ? written.startsWith("REGION")
                                             : written.startsWith("\x89PNG"));
            return;
        }
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(QStringLiteral("keine gewöhnliche Datei")),
            qPrintable(run.where()));
        QCOMPARE(::lstat(outName.constData(), &st), 0);
        if (kind == u"fifo")
            QVERIFY(S_ISFIFO(st.st_mode));
        else if (kind == u"linkfifo")
            QVERIFY(S_ISLNK(st.st_mode));
        else
            QVERIFY(S_ISCHR(st.st_mode));
    }

    // A unit number past 32 bits does not wrap onto another unit.
    void unitNumbersPast32Bits()
    {
        Imported game;
        // 4713 (3mx) plus 2^32 in base 36.
        const QString wrapped = idToStr(4713 + (qint64(1) << 32), 36);
        const QList<QStringList> commands {
            {"unit", "--slot", "1", "1", "2", wrapped},
            {"orders", "--slot", "1", wrapped},
            {"set-group", "--slot", "1", "1/2", wrapped, "Händler"},
            {"groups", "--slot", "1", "--unit", wrapped},
        };
        for (const QStringList &arguments : commands) {
            const CliRun run = game.run(arguments);
            QVERIFY2(run.code == 2, qPrintable(arguments.first() + u' ' + run.where()));
            QVERIFY2(run.errText().contains(wrapped), qPrintable(run.where()));
            QVERIFY(!run.out.contains("cker"));
        }
        QCOMPARE(queryValue(game.database(),
                     QStringLiteral("SELECT \"Gruppe\" FROM einheiten WHERE \"Einheit Nr\" = 4713"))
                     .toString(),
            QString());
    }

    // A unit whose block the report gives twice is one row, and the closing line counts
    // the units stored, not the blocks read.
    void duplicatedUnitBlockCountedOnce()
    {
        ImportHarness h;
        QByteArray report = readBytes(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        const qsizetype from = report.indexOf("EINHEIT 4714");
        const qsizetype to = report.indexOf("EINHEIT 5000");
        QVERIFY(from > 0 && to > from);
        report.insert(to, report.mid(from, to - from));
        const QString path = h.ws.file(QStringLiteral("doppelt.cr"));
        writeBytes(path, report);
        const ReportImporter::Result result = h.importFile(path);
        QCOMPARE(result.status, ReportImporter::Result::Imported);
        const int stored = queryValue(h.session->database(),
            QStringLiteral("SELECT COUNT(*) FROM einheiten WHERE \"Spiel\" = 1"))
                               .toInt();
        QVERIFY(stored > 0);
        QCOMPARE(result.units, stored);
        QVERIFY2(
            result.closingLines().first().contains(QStringLiteral(" %1 Einheiten").arg(stored)),
            qPrintable(result.closingLines().first()));
    }

    // Map data files that are no map data, and exports of nothing, say what was wrong.
    void mapDataThatIsNone_data()
    {
        QTest::addColumn<QStringList>("arguments"); // %1: a file of the bytes below
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("errPart");
        const QStringList import {"import-map", "--slot", "1", "%1"};
        QTest::newRow("UTF-16") << import
                                << QByteArray("\xFF\xFER\0E\0G\0I\0O\0N\0 \0"
                                              "9\0 \0"
                                              "9\0\r\0\n\0",
                                       26)
                                << 2 << "UTF-16";
        QTest::newRow("binary") << import
                                << QByteArray("\x7F"
                                              "ELF\x02\x01\x01\0\0\0REGION 9 9",
                                       20)
                                << 2 << "keine Textdatei";
        QTest::newRow("no region")
            << import << QByteArray("Hallo\r\nWelt\r\n") << 2 << "keine Zeile";
        QTest::newRow("missing level")
            << QStringList {"export-map", "--slot", "1", "--level", "7", "%1"} << QByteArray("ALT")
            << 1 << "Ebene 7";
        QTest::newRow("negative radius") << QStringList {"export-map", "--slot", "1", "--around",
            "1", "2", "--radius", "-1", "%1"}
                                         << QByteArray("ALT") << 2 << "--radius";
    }
    void mapDataThatIsNone()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, bytes);
        QFETCH(int, exitCode);
        QFETCH(QString, errPart);
        Imported game;
        const QString path = game.input(QStringLiteral("karte.txt"), bytes);
        for (QString &a : arguments)
            a.replace(QStringLiteral("%1"), path);
        const int regions
            = queryValue(game.database(), QStringLiteral("SELECT COUNT(*) FROM regionen")).toInt();
        const CliRun run = game.run(arguments);
        QVERIFY2(run.code == exitCode, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(errPart), qPrintable(run.where()));
        QCOMPARE(readBytes(path), bytes);
        QCOMPARE(
            queryValue(game.database(), QStringLiteral("SELECT COUNT(*) FROM regionen")).toInt(),
            regions);
    }

    // Names survive the way through a map data file, whatever they hold.
    void mapDataKeepsEveryName()
    {
        Imported game;
        const QStringList names {QStringLiteral("Falle\";Terrain"), QStringLiteral("Zwei\nZeilen"),
            QStringLiteral("\"Zitat\";Name"), QStringLiteral("Back\\slash"),
            QStringLiteral("\u0141\u00f3d\u017a \u6771\u4eac")};
        {
            Database db(game.database());
            Transaction transaction(db);
            GameRows regions(db, 1);
            for (int i = 0; i < names.size(); ++i)
                regions.region(50 + i, 50, 0,
                    {{QStringLiteral("Regiontyp"), QStringLiteral("Wald")},
                        {QStringLiteral("Regionname"), names[i]}});
            transaction.commit();
        }
        const QString file = game.inputs.filePath(QStringLiteral("karte.txt"));
        QVERIFY(game.run({"export-map", "--slot", "1", file}).code == 0);
        const CliRun run = game.run({"import-map", "--slot", "2", file});
        QVERIFY2(run.code == 0, qPrintable(run.where()));
        for (int i = 0; i < names.size(); ++i) {
            Database db(game.database());
            QSqlQuery query(db.connection());
            query.prepare(QStringLiteral("SELECT \"Regionname\", \"Regiontyp\" FROM regionen "
                                         "WHERE \"Spiel\" = 2 AND \"Breite\" = ?"));
            query.addBindValue(50 + i);
            QVERIFY(query.exec() && query.next());
            QCOMPARE(query.value(0).toString(), names[i]);
            QCOMPARE(query.value(1).toString(), QStringLiteral("Wald"));
        }
        // A file of plain names stays in Windows-1252, as it always was.
        TempWorkspace plain;
        const QString plainFile = game.inputs.filePath(QStringLiteral("einfach.txt"));
        QVERIFY(game.run({"export-map", "--slot", "1", "--around", "1", "2", "--radius", "1",
                             plainFile})
                    .code
            == 0);
        QVERIFY2(readBytes(plainFile).contains("\"Weidenau\";Name\r\n"),
            readBytes(plainFile).constData());
        QVERIFY(!readBytes(plainFile).contains("charset"));
    }

    // A database of another program is not made ours; a mistyped workspace is not
    // created; the checker needs a template.
    void otherDatabasesAndMissingWorkspaces_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("errPart");
        QTest::newRow("foreign tables only") << "foreign"
                                             << "anderen Programms";
        QTest::newRow("our table in another layout") << "layout"
                                                     << "regionen";
    }
    void otherDatabasesAndMissingWorkspaces()
    {
        QFETCH(QString, setup);
        QFETCH(QString, errPart);
        TempWorkspace workspace;
        const QString path = workspace.file(QStringLiteral("kalmora.sqlite"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), setup);
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(setup == u"foreign"
                    ? QStringLiteral("CREATE TABLE kunden (nr INTEGER, name TEXT)")
                    : QStringLiteral("CREATE TABLE regionen (x INTEGER, y INTEGER)")));
            db.close();
        }
        QSqlDatabase::removeDatabase(setup);
        const QByteArray before = readBytes(path);
        const CliRun run = cli(inWorkspace(workspace.path(), {"status", "--slot", "1"}));
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(errPart), qPrintable(run.where()));
        QCOMPARE(readBytes(path), before);
    }
    void mistypedWorkspaceIsNotCreated()
    {
        QTemporaryDir parent;
        const QString missing = parent.filePath(QStringLiteral("vertippt"));
        for (const char *command : {"status", "region", "export-map"}) {
            QStringList arguments {command, "--slot", "1"};
            if (qstrcmp(command, "region") == 0)
                arguments << "1"
                          << "2";
            if (qstrcmp(command, "export-map") == 0)
                arguments << parent.filePath(QStringLiteral("karte.txt"));
            const CliRun run = cli(inWorkspace(missing, arguments));
            QVERIFY2(run.code == 2, qPrintable(run.where()));
            QVERIFY2(run.errText().contains(QStringLiteral("kein Arbeitsverzeichnis")),
                qPrintable(run.where()));
            QVERIFY(!QFileInfo::exists(missing));
        }
    }
    void checkWithoutReport()
    {
        Imported game;
        const CliRun run = game.run({"check", "--slot", "2"});
        QVERIFY2(run.code == 1, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(QStringLiteral("keinen Bericht")), qPrintable(run.where()));
        QVERIFY(!QFileInfo::exists(game.file(QStringLiteral("Zug-Spiel2--.txt"))));
        QVERIFY(!QFileInfo::exists(game.file(QStringLiteral("spiel2/Zug-Spiel2--.txt"))));
    }

    // A group change under a lock says "gesperrt", in the words of the program.
    void groupChangeUnderALock_data()
    {
        QTest::addColumn<bool>("database"); // the database held, else the workspace
        QTest::newRow("database held") << true;
        QTest::newRow("workspace held") << false;
    }
    void groupChangeUnderALock()
    {
        QFETCH(bool, database);
        Imported game;
        const QString name = QStringLiteral("halter");
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        QLockFile other(game.file(QStringLiteral("tolvimar.lock")));
        db.setDatabaseName(game.database());
        QVERIFY(db.open());
        if (database)
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE")));
        else
            QVERIFY(other.tryLock(0));
        const CliRun run = game.run({"set-group", "--slot", "1", "1/2", "3mx", "Händler"});
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(QStringLiteral("gesperrt")), qPrintable(run.where()));
        QVERIFY(!run.errText().contains(QStringLiteral("Unable to fetch row")));
        QVERIFY(!run.errText().contains(QStringLiteral("database is locked")));
    }

    // An overlay of a read-only workspace is drawn without caching the map.
    void overlayOfReadOnlyWorkspace()
    {
        Imported game;
        const QString out = QDir(game.inputs.path()).filePath(QStringLiteral("schiffe.png"));
        QString dir = game.ws.path();
        QTemporaryDir mountPoint;
        bool mounted = false;
        if (isRoot()) {
            // Root writes anywhere; a read-only mount stops it as it stops everyone.
            const QByteArray from = QFile::encodeName(game.ws.path());
            const QByteArray to = QFile::encodeName(mountPoint.path());
            if (::mount(from.constData(), to.constData(), nullptr, MS_BIND, nullptr) != 0)
                QSKIP("no read-only mount here");
            mounted = true;
            if (::mount(nullptr, to.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr)
                != 0) {
                ::umount(to.constData());
                QSKIP("no read-only mount here");
            }
            dir = mountPoint.path();
        } else {
            QVERIFY(QFile::setPermissions(game.file(QStringLiteral("spiel1/images")),
                QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            QVERIFY(QFile::setPermissions(
                game.ws.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }
        const CliRun run = cli(inWorkspace(dir, {"overlay", "--slot", "1", "ships", "--out", out}));
        if (mounted)
            ::umount(QFile::encodeName(mountPoint.path()).constData());
        else {
            QFile::setPermissions(game.ws.path(),
                QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QFile::setPermissions(game.file(QStringLiteral("spiel1/images")),
                QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        QVERIFY2(run.code == 0, qPrintable(run.where()));
        QVERIFY(readBytes(out).startsWith("\x89PNG"));
        QVERIFY(!QFileInfo::exists(game.file(QStringLiteral("spiel1/images/worldmap-1.bmp"))));
    }
};

QTEST_GUILESS_MAIN(TestHostileUse)
#include "test_hostile_use.moc"
