#include "db/database.h"
#include "gamefixture.h"
#include "reportgenerator.h"
#include "testsupport.h"

#include <QDirIterator>
#include <QLockFile>
#include <QProcess>
#include <QSqlQuery>
#include <QThread>
#include <QtTest>
#include <csignal>
#include <cstring>
#include <sys/stat.h>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// Runs the command line tool with faults injected through the test hook, optionally
// under a limit of virtual memory, and never longer than the deadline.
CliRun cli(const QStringList &arguments, const QStringList &faults = {}, int memoryKib = 0,
    int deadlineMs = 120000)
{
    return runCliProcess(arguments, faults,
        memoryKib > 0 ? QStringLiteral("ulimit -v %1").arg(memoryKib) : QString(), deadlineMs);
}

QStringList importArgs(const QString &ws, const QString &report, int slot = 1,
    const QString &type = QStringLiteral("Kalmora"))
{
    return {QStringLiteral("--workspace"), ws, QStringLiteral("import"), QStringLiteral("--slot"),
        QString::number(slot), QStringLiteral("--type"), type, report};
}

QStringList slotArgs(const QString &ws, const QString &command)
{
    return {
        QStringLiteral("--workspace"), ws, command, QStringLiteral("--slot"), QStringLiteral("1")};
}

// Every file of a directory tree with its bytes.
// The files of a workspace, but for the map tiles that opening a game writes when they
// are missing (installation data, not the game's).
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(dir).relativeFilePath(path);
        if (relative.contains(QStringLiteral("/images/")))
            continue;
        files.insert(relative, readBytes(path));
    }
    return files;
}

QStringList leftoverTemporaries(const QString &dir)
{
    QStringList found;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains(QStringLiteral(".tmp-")))
            found.append(path);
    }
    return found;
}

// A connection of the test's own that holds the database's write lock.
class DatabaseHolder
{
public:
    explicit DatabaseHolder(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("BEGIN IMMEDIATE")));
    }
    ~DatabaseHolder()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(kName, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(kName);
    }

private:
    static inline const QString kName = QStringLiteral("test-holder");
};

// A shell script as order checker.
QString writeScript(const QString &path, const QByteArray &body)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeBytes(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

// Dead or a zombie: gone for every purpose of a test.
bool processGone(qint64 pid)
{
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return true;
        const QByteArray fields = stat.readAll();
        const qsizetype close = fields.lastIndexOf(')');
        if (close > 0 && fields.mid(close + 2, 1) == "Z")
            return true;
        QThread::msleep(50);
    }
    return false;
}

enum class Setup { None, OrderFileIsDirectory, StatusDataIsFile, DatabaseHeld };

} // namespace

Q_DECLARE_METATYPE(Setup)

// A workspace under faults: full disks, files in the way, a second program, too
// little memory, special files, runaway checkers. Whatever happens, what the program
// says is true, and an import is one unit as far as the disk allows.
class TestFaults : public QObject
{
    Q_OBJECT
private slots:
    // Exit 2 says "nothing changed" and nothing did; exit 3 says "imported, but" and
    // names what is missing with the system's reason.
    void importIsOneUnit_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("errPart");
        QTest::addColumn<QString>("staysOld"); // a file that keeps its old content

        const QString enospc = QString::fromLocal8Bit(std::strerror(ENOSPC));
        const QString eio = QString::fromLocal8Bit(std::strerror(EIO));
        QTest::newRow("disk full: status file")
            << Setup::None << QStringList {QStringLiteral("write:1-handel.txt")} << 2 << enospc
            << QString();
        QTest::newRow("disk full: configuration")
            << Setup::None << QStringList {QStringLiteral("write:tolvimar.cfg")} << 2 << enospc
            << QString();
        QTest::newRow("disk full: order file")
            << Setup::None << QStringList {QStringLiteral("write:Zug-Spiel1-4-Mai.txt")} << 2
            << enospc << QString();
        QTest::newRow("directory where the order file goes")
            << Setup::OrderFileIsDirectory << QStringList {} << 2 << QStringLiteral("Verzeichnis")
            << QString();
        QTest::newRow("file where status-data goes")
            << Setup::StatusDataIsFile << QStringList {} << 2
            << QStringLiteral("kann nicht angelegt werden") << QString();
        QTest::newRow("database held by another program")
            << Setup::DatabaseHeld << QStringList {} << 2
            << QStringLiteral("wird gerade von einem anderen Programm benutzt") << QString();
        QTest::newRow("rename of a status file fails")
            << Setup::None << QStringList {QStringLiteral("rename:1-handel.txt")} << 3 << eio
            << QStringLiteral("spiel1/status-data/1-handel.txt");
        QTest::newRow("rename of the configuration fails")
            << Setup::None << QStringList {QStringLiteral("rename:tolvimar.cfg")} << 3 << eio
            << QStringLiteral("tolvimar.cfg");
        QTest::newRow("memory runs out after the commit")
            << Setup::None << QStringList {QStringLiteral("memory:after-commit")} << 3
            << QStringLiteral("Speicher") << QString();
    }
    void importIsOneUnit()
    {
        QFETCH(Setup, setup);
        QFETCH(QStringList, faults);
        QFETCH(int, exitCode);
        QFETCH(QString, errPart);
        QFETCH(QString, staysOld);

        TempWorkspace ws;
        QTemporaryDir inputs;
        QCOMPARE(
            cli(importArgs(ws.path(), fixture(QStringLiteral("reports/kalmora-klein.cr")))).code,
            0);
        const QString next = inputs.filePath(QStringLiteral("mai.cr"));
        writeBytes(next, replaced(kalmoraReportBytes(), "40;Runde", "41;Runde"));
        if (setup == Setup::OrderFileIsDirectory)
            QVERIFY(QDir().mkpath(ws.file(QStringLiteral("spiel1/Zug-Spiel1-4-Mai.txt"))));
        if (setup == Setup::StatusDataIsFile) {
            QVERIFY(QDir(ws.file(QStringLiteral("spiel1/status-data"))).removeRecursively());
            writeBytes(ws.file(QStringLiteral("spiel1/status-data")), "kein Ordner");
        }
        const QMap<QString, QByteArray> before = snapshot(ws.path());

        CliRun run;
        if (setup == Setup::DatabaseHeld) {
            DatabaseHolder holder(ws.file(QStringLiteral("kalmora.sqlite")));
            run = cli(importArgs(ws.path(), next), faults);
        } else {
            run = cli(importArgs(ws.path(), next), faults);
        }
        QVERIFY2(run.code == exitCode,
            qPrintable(QStringLiteral("exit %1: %2").arg(run.code).arg(run.errText())));
        QVERIFY2(run.errText().contains(errPart), qPrintable(run.errText()));
        QVERIFY2(
            !run.errText().contains(QStringLiteral("Unknown error")), qPrintable(run.errText()));
        QVERIFY2(leftoverTemporaries(ws.path()).isEmpty(),
            qPrintable(leftoverTemporaries(ws.path()).join(u'\n')));

        const QMap<QString, QByteArray> after = snapshot(ws.path());
        if (exitCode == 2) {
            QVERIFY(run.errText().contains(QStringLiteral("unverändert")));
            QCOMPARE(after.keys(), before.keys());
            for (auto it = before.cbegin(); it != before.cend(); ++it)
                QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
            return;
        }
        // Imported, but: the database holds the new turn, the message says so and names
        // what stayed behind, and that file indeed holds the previous import.
        QVERIFY(!run.errText().contains(QStringLiteral("unverändert")));
        QVERIFY(run.errText().contains(QStringLiteral("übernommen")));
        QCOMPARE(queryValue(ws.file(QStringLiteral("kalmora.sqlite")),
                     QStringLiteral("SELECT MAX(\"Datum\") FROM parteien"))
                     .toInt(),
            405);
        QCOMPARE(queryValue(ws.file(QStringLiteral("kalmora.sqlite")),
                     QStringLiteral("SELECT COUNT(*) FROM statistik WHERE \"Länge\" = 5000"))
                     .toInt(),
            2);
        if (!staysOld.isEmpty()) {
            QVERIFY2(
                run.errText().contains(QFileInfo(staysOld).fileName()), qPrintable(run.errText()));
            QCOMPARE(after.value(staysOld), before.value(staysOld));
        }
        // Every file the fault did not touch is new.
        QVERIFY(after.value(QStringLiteral("spiel1/Zug-Spiel1-4-Mai.txt")).size() > 0);
    }

    // The issue's own case: too little memory somewhere in the import. Whatever the
    // limit, "unverändert" is said only when the workspace is unchanged, and the
    // program never dies of it.
    void memoryLimitNeverLies()
    {
        if (kAddressSanitizer)
            QSKIP("AddressSanitizer reserves more address space than any limit here allows");
        QTemporaryDir inputs;
        const QString report = inputs.filePath(QStringLiteral("gross.cr"));
        ReportGenerator::Options options;
        options.targetBytes = 5 << 20;
        ReportGenerator(options).writeFile(report);

        auto attempt = [&](int kib) {
            TempWorkspace ws;
            cli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("init")});
            const QMap<QString, QByteArray> before = snapshot(ws.path());
            const CliRun run = cli(importArgs(ws.path(), report), {}, kib);
            // Below what the program and its libraries need to be loaded at all, the
            // loader refuses to start it: nothing of ours ran, so there is nothing to judge.
            if (run.code == 127
                && run.errText().contains(QStringLiteral("error while loading shared libraries")))
                return 1;
            const QMap<QString, QByteArray> after = snapshot(ws.path());
            const QString where = QStringLiteral("limit %1 KiB, exit %2: %3")
                                      .arg(kib)
                                      .arg(run.code)
                                      .arg(run.errText().left(600));
            if (run.code != 0 && run.code != 2 && run.code != 3)
                qWarning("%s", qPrintable(where));
            [&] {
                QVERIFY2(run.code == 0 || run.code == 2 || run.code == 3, qPrintable(where));
                if (run.errText().contains(QStringLiteral("unverändert")))
                    QVERIFY2(after == before, qPrintable(where));
                if (run.code == 3)
                    QVERIFY2(
                        run.errText().contains(QStringLiteral("übernommen")), qPrintable(where));
                QVERIFY2(leftoverTemporaries(ws.path()).isEmpty(), qPrintable(where));
            }();
            return run.code;
        };
        // Find where the import starts to get through, then try the limits around it,
        // where memory runs out late in the import.
        int low = 40000;
        int high = 400000;
        QCOMPARE(attempt(high), 0);
        while (high - low > 2000) {
            const int middle = (low + high) / 2;
            if (attempt(middle) == 0)
                high = middle;
            else
                low = middle;
            if (QTest::currentTestFailed())
                return;
        }
        for (int kib = low - 6000; kib <= high + 3000; kib += 1000) {
            attempt(kib);
            if (QTest::currentTestFailed())
                return;
        }
    }

    // Six imports into six slots at the same time: every one that says it imported
    // has its lines in the configuration; one that could not wait long enough says
    // so and changed nothing.
    void concurrentImportsKeepEveryLine()
    {
        const QByteArray report = kalmoraReportBytes();
        for (int round = 0; round < 8; ++round) {
            TempWorkspace ws;
            QTemporaryDir inputs;
            const QString path = inputs.filePath(QStringLiteral("bericht.cr"));
            writeBytes(path, report);
            QList<QProcess *> imports;
            for (int slot = 1; slot <= 6; ++slot) {
                auto *p = new QProcess(this);
                p->start(QStringLiteral(TOLVIMAR_CLI), importArgs(ws.path(), path, slot));
                imports.append(p);
            }
            const Configuration config = [&] {
                for (QProcess *p : imports)
                    p->waitForFinished(120000);
                return ws.config();
            }();
            int imported = 0;
            for (int slot = 1; slot <= 6; ++slot) {
                QProcess *p = imports[slot - 1];
                const QString err = QString::fromUtf8(p->readAllStandardError());
                const QString where = QStringLiteral("round %1, slot %2, exit %3: %4")
                                          .arg(round)
                                          .arg(slot)
                                          .arg(p->exitCode())
                                          .arg(err);
                QCOMPARE(p->exitStatus(), QProcess::NormalExit);
                if (p->exitCode() == 0) {
                    ++imported;
                    QVERIFY2(config.line(slot, Configuration::FactionName)
                            == QStringLiteral("Die Grauen Falken"),
                        qPrintable(where));
                    QVERIFY2(config.line(slot, Configuration::NewestTurn) == QStringLiteral("404"),
                        qPrintable(where));
                    QVERIFY2(config.line(slot, Configuration::StatusFirst + 3)
                            == QStringLiteral("April im Jahre 4"),
                        qPrintable(where));
                } else {
                    QVERIFY2(err.contains(QStringLiteral("gerade")), qPrintable(where));
                    QVERIFY2(
                        config.line(slot, Configuration::FactionName).isEmpty(), qPrintable(where));
                }
            }
            qDeleteAll(imports);
            QVERIFY(imported > 0);
        }
    }

    // A second writer waits a few seconds for the first, then stops and says why.
    void secondWriterStopsAndChangesNothing()
    {
        TempWorkspace ws;
        QVERIFY(cli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("init")}).code == 0);
        const QMap<QString, QByteArray> before = snapshot(ws.path());
        QLockFile other(ws.file(QStringLiteral("tolvimar.lock")));
        QVERIFY(other.tryLock(0));
        QElapsedTimer timer;
        timer.start();
        const CliRun run
            = cli(importArgs(ws.path(), fixture(QStringLiteral("reports/kalmora-klein.cr"))));
        QCOMPARE(run.code, 2);
        QVERIFY(timer.elapsed() >= 3000);
        QVERIFY2(run.errText().contains(QStringLiteral("anderen Tolvimar-Programm")),
            qPrintable(run.errText()));
        QVERIFY(run.errText().contains(QStringLiteral("unverändert")));
        QMap<QString, QByteArray> after = snapshot(ws.path());
        after.remove(QStringLiteral("tolvimar.lock"));
        QMap<QString, QByteArray> expected = before;
        expected.remove(QStringLiteral("tolvimar.lock"));
        QCOMPARE(after, expected);
        other.unlock();
        QCOMPARE(
            cli(importArgs(ws.path(), fixture(QStringLiteral("reports/kalmora-klein.cr")))).code,
            0);
    }

    // Opening a database that another program holds says so, not that the file is
    // no database.
    void lockedDatabaseIsNamedLocked()
    {
        TempWorkspace ws;
        QVERIFY(cli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("init")}).code == 0);
        const QString name = QStringLiteral("exclusive");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(ws.file(QStringLiteral("kalmora.sqlite")));
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")));
            const CliRun run = cli(slotArgs(ws.path(), QStringLiteral("status")));
            QCOMPARE(run.code, 2);
            QVERIFY2(run.errText().contains(QStringLiteral("wird gerade von einem anderen Programm "
                                                           "benutzt")),
                qPrintable(run.errText()));
            QVERIFY(!run.errText().contains(QStringLiteral("keine lesbare Datenbank")));
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }

    // Only regular files of a sane size are read; nothing hangs or eats the memory.
    void reportMustBeARegularFileOfSaneSize_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("errPart");
        QTest::newRow("FIFO") << "fifo"
                              << "keine gewöhnliche Datei";
        QTest::newRow("endless device") << "zero"
                                        << "keine gewöhnliche Datei";
        QTest::newRow("directory") << "dir"
                                   << "Verzeichnis";
        QTest::newRow("over 1 GB") << "huge"
                                   << "eingelesen werden Berichte bis 1024 MB";
    }
    void reportMustBeARegularFileOfSaneSize()
    {
        QFETCH(QString, kind);
        QFETCH(QString, errPart);
        TempWorkspace ws;
        QCOMPARE(cli({QStringLiteral("--workspace"), ws.path(), QStringLiteral("init")}).code, 0);
        QTemporaryDir inputs;
        QString path = inputs.filePath(QStringLiteral("bericht.cr"));
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == u"zero")
            path = QStringLiteral("/dev/zero");
        else if (kind == u"dir")
            QVERIFY(QDir().mkpath(path));
        else {
            // Sparse: a size past the limit costs no disk.
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(kalmoraReportBytes());
            QVERIFY(f.resize((qint64(1) << 30) + 1));
        }
        const QByteArray database = readBytes(ws.file(QStringLiteral("kalmora.sqlite")));
        QElapsedTimer timer;
        timer.start();
        // The limit keeps a program that would read without end from hurting the machine.
        const CliRun run
            = cli(importArgs(ws.path(), path), {}, kAddressSanitizer ? 0 : 3000000, 30000);
        QVERIFY2(run.code == 2,
            qPrintable(QStringLiteral("exit %1: %2").arg(run.code).arg(run.errText())));
        QVERIFY2(run.errText().contains(errPart), qPrintable(run.errText()));
        QVERIFY(timer.elapsed() < 20000);
        QCOMPARE(readBytes(ws.file(QStringLiteral("kalmora.sqlite"))), database);
    }

    // The checker: output bounded, crashes named, directories named, the whole process
    // group gone afterwards, options on the checker line.
    void checker_data()
    {
        QTest::addColumn<QString>("line"); // the checker line; %1 is the tools folder
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("outPart");
        QTest::addColumn<QString>("errPart");

        QTest::newRow("endless output is cut")
            << "%1/viel.sh" << QStringList {} << 0 << "der Rest wurde abgeschnitten"
            << "";
        QTest::newRow("crash is a crash") << "%1/absturz.sh" << QStringList {} << 2 << ""
                                          << "abgestürzt";
        QTest::newRow("directory") << "%1" << QStringList {} << 2 << ""
                                   << "kein ausführbares Programm";
        QTest::newRow("options") << "%1/args.sh -Lde -w4" << QStringList {} << 0
                                 << "[-Lde] [-w4] [Zug-Spiel1-4-April.txt]"
                                 << "";
        QTest::newRow("quoted program with options")
            << "\"%1/mit leer/args.sh\" -x \"a b\"" << QStringList {} << 0
            << "[-x] [a b] [Zug-Spiel1-4-April.txt]"
            << "";
        QTest::newRow("existing file with blanks runs as it is")
            << "%1/mit leer/args.sh" << QStringList {} << 0 << "[Zug-Spiel1-4-April.txt]"
            << "";
        QTest::newRow("missing program with options")
            << "%1/fehlt.sh -x" << QStringList {} << 2 << ""
            << "nicht gefunden";
        QTest::newRow("memory runs out on the output")
            << "%1/args.sh" << QStringList {QStringLiteral("memory:checker-output")} << 2 << ""
            << "Speicher";
    }
    void checker()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, faults);
        QFETCH(int, exitCode);
        QFETCH(QString, outPart);
        QFETCH(QString, errPart);
        TempWorkspace ws;
        QCOMPARE(
            cli(importArgs(ws.path(), fixture(QStringLiteral("reports/kalmora-klein.cr")))).code,
            0);
        const QString tools = ws.file(QStringLiteral("werkzeug"));
        writeScript(
            tools + QStringLiteral("/viel.sh"), "head -c 40000000 /dev/zero | tr '\\0' x\necho\n");
        writeScript(tools + QStringLiteral("/absturz.sh"), "echo bis hier\nkill -SEGV $$\n");
        const QByteArray args = "for a in \"$@\"; do printf '[%s] ' \"$a\"; done\necho\n";
        writeScript(tools + QStringLiteral("/args.sh"), args);
        writeScript(tools + QStringLiteral("/mit leer/args.sh"), args);
        ws.setLine(1, Configuration::CheckerPath, line.arg(tools));

        const CliRun run = cli(slotArgs(ws.path(), QStringLiteral("check")), faults);
        QVERIFY2(run.code == exitCode,
            qPrintable(QStringLiteral("exit %1: %2").arg(run.code).arg(run.errText())));
        QVERIFY2(QString::fromUtf8(run.out.right(2000)).contains(outPart),
            qPrintable(QString::fromUtf8(run.out.right(500))));
        QVERIFY2(run.errText().contains(errPart), qPrintable(run.errText()));
        // Never more than the bound and its note.
        QVERIFY(run.out.size() < (16 << 20) + 1000);
        QVERIFY(QFileInfo(ws.file(QStringLiteral("spiel1/status-data/check.txt"))).size()
            < (16 << 20) + 1000);
    }

    // Nothing the checker starts outlives it: not when it ends, not when it hangs.
    void checkerLeavesNoProcess_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("timeoutMs");
        QTest::newRow("ends, leaving a child behind")
            << QByteArray("sleep 300 &\necho $! > kind.pid\n") << 20000;
        QTest::newRow("hangs with a child")
            << QByteArray("sleep 300 &\necho $! > kind.pid\nsleep 300\n") << 1000;
    }
    void checkerLeavesNoProcess()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, timeoutMs);
        ImportHarness h(QStringLiteral("Kalmora"), 1);
        h.importFile(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        setCheckerPath(*h.session, writeScript(h.ws.file(QStringLiteral("pruefer.sh")), script));
        runChecker(*h.session, timeoutMs);
        const QByteArray pid = readBytes(h.ws.file(QStringLiteral("spiel1/kind.pid"))).trimmed();
        QVERIFY(!pid.isEmpty());
        QVERIFY2(processGone(pid.toLongLong()), pid.constData());
    }

    // Silver and persons past 2^31 are summed and recorded; a value that does not fit
    // even 64 bits is named, and the rest of the row is recorded.
    void largeSums_data()
    {
        QTest::addColumn<QByteArray>("points");
        QTest::addColumn<QString>("silver");
        QTest::addColumn<QString>("pointsStored");
        QTest::addColumn<QString>("errPart");
        QTest::newRow("silver past 2^31") << QByteArray("812") << "4000000000"
                                          << "812"
                                          << "";
        QTest::newRow("points past 64 bits") << QByteArray("99999999999999999999") << "4000000000"
                                             << ""
                                             << "zu groß";
    }
    void largeSums()
    {
        QFETCH(QByteArray, points);
        QFETCH(QString, silver);
        QFETCH(QString, pointsStored);
        QFETCH(QString, errPart);
        TempWorkspace ws;
        QTemporaryDir inputs;
        QByteArray report = replaced(kalmoraReportBytes(), "812;Punkte", points + ";Punkte");
        report = replaced(report, "340;Silber", "2000000000;Silber");
        report = replaced(report, "500;Silber", "1999999910;Silber");
        const QString path = inputs.filePath(QStringLiteral("reich.cr"));
        writeBytes(path, report);
        const CliRun run = cli(importArgs(ws.path(), path));
        QVERIFY2(run.code == 0, qPrintable(run.errText()));
        QVERIFY2(!run.errText().contains(QStringLiteral("keine Zahl")), qPrintable(run.errText()));
        QVERIFY2(run.errText().contains(errPart), qPrintable(run.errText()));
        const QString db = ws.file(QStringLiteral("kalmora.sqlite"));
        QCOMPARE(
            queryValue(
                db, QStringLiteral("SELECT \"ParteiSilber\" FROM statistik WHERE \"Länge\" = 5000"))
                .toString(),
            silver);
        QCOMPARE(queryValue(db,
                     QStringLiteral("SELECT \"PunkteNeu\" FROM statistik WHERE \"Länge\" = 5000"))
                     .toString(),
            pointsStored);
        const CliRun status = cli(slotArgs(ws.path(), QStringLiteral("status")));
        QVERIFY(
            QString::fromUtf8(status.out).contains(QStringLiteral("Silber            ") + silver));
    }

    // Control characters of a report reach the terminal escaped.
    void terminalEscapes_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("command");
        QTest::newRow("error line")
            << QByteArray("12;Anzahl") << QByteArray("1\x1b[2J\x1b]0;x\x07;Anzahl") << "import";
        QTest::newRow("status values")
            << QByteArray("\"Die Grauen Falken\";Parteiname")
            << QByteArray("\"Die \x1b]0;Titel\x07 Falken\";Parteiname") << "status";
    }
    void terminalEscapes()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, command);
        TempWorkspace ws;
        QTemporaryDir inputs;
        const QString path = inputs.filePath(QStringLiteral("bericht.cr"));
        writeBytes(path, replaced(kalmoraReportBytes(), from, to));
        CliRun run = cli(importArgs(ws.path(), path));
        if (command == u"status")
            run = cli(slotArgs(ws.path(), QStringLiteral("status")));
        const QByteArray printed = run.out + run.err;
        QVERIFY2(printed.contains("\\x1b"), printed.constData());
        for (char c = 1; c < 0x20; ++c) {
            if (c != '\n' && c != '\t')
                QVERIFY2(
                    !printed.contains(c), qPrintable(QStringLiteral("raw byte %1").arg(int(c))));
        }
    }

    // One bad byte in a UTF-8 report does not damage every umlaut; the import warns
    // and names the line.
    void oneBadByteKeepsUtf8()
    {
        TempWorkspace ws;
        QTemporaryDir inputs;
        QByteArray report = readBytes(fixture(QStringLiteral("reports/sulvitan-klein.cr")));
        const int line = int(report.left(report.indexOf("Lindenhain")).count('\n')) + 1;
        report = replaced(report, "Lindenhain", "Linden\xFChain");
        const QString path = inputs.filePath(QStringLiteral("bericht.cr"));
        writeBytes(path, report);
        ws.setLine(1, Configuration::GameTypeText, QStringLiteral("Sulvitan"));
        const CliRun run = cli(importArgs(ws.path(), path, 1, QStringLiteral("Sulvitan")));
        QVERIFY2(run.code == 0, qPrintable(run.errText()));
        QVERIFY2(run.errText().contains(QStringLiteral("Zeile %1").arg(line)),
            qPrintable(run.errText()));
        const QString db = ws.file(QStringLiteral("kalmora.sqlite"));
        // The umlauts are stored as they were written; the bad byte alone is replaced.
        QCOMPARE(queryValue(db, QStringLiteral("SELECT \"Partei Name\" FROM parteien")).toString(),
            QStringLiteral("Lindenhüter"));
        QCOMPARE(
            queryValue(db, QStringLiteral("SELECT \"Einheit Name\" FROM einheiten")).toString(),
            QStringLiteral("Förster"));
        QCOMPARE(queryValue(db,
                     QStringLiteral("SELECT \"Regionname\" FROM regionen WHERE "
                                    "\"Regionname\" LIKE 'Linden%'"))
                     .toString(),
            QStringLiteral("Linden\uFFFDhain"));
    }

    // A second import of a turn keeps the orders the player saved for it.
    void reimportKeepsEditedOrders()
    {
        TempWorkspace ws;
        const QString report = fixture(QStringLiteral("reports/kalmora-klein.cr"));
        QCOMPARE(cli(importArgs(ws.path(), report)).code, 0);
        const QString orders = ws.file(QStringLiteral("spiel1/Zug-Spiel1-4-April.txt"));
        const QString backup = orders + QStringLiteral(".bak");
        const QByteArray fresh = readBytes(orders);
        // The same template again: nothing to keep.
        QCOMPARE(cli(importArgs(ws.path(), report)).code, 0);
        QVERIFY(!QFileInfo::exists(backup));
        // The player's edits are kept beside the new template, and the import says so.
        const QByteArray edited = fresh + " ; meine Befehle\r\n";
        writeBytes(orders, edited);
        const CliRun run = cli(importArgs(ws.path(), report));
        QCOMPARE(run.code, 0);
        QCOMPARE(readBytes(orders), fresh);
        QCOMPARE(readBytes(backup), edited);
        QVERIFY2(run.errText().contains(QStringLiteral("Zug-Spiel1-4-April.txt.bak")),
            qPrintable(run.errText()));
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "test_faults.moc"
