#include "base/configuration.h"
#include "db/database.h"
#include "reportgenerator.h"
#include "testsupport.h"

#include <QDirIterator>
#include <QProcess>
#include <QSqlQuery>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

QString integrity(const QString &path)
{
    Database db(path);
    QSqlQuery q(db.connection());
    if (!q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next())
        return QStringLiteral("no answer");
    return q.value(0).toString();
}

enum class KillWhen { JournalStarted, DatabaseFileWritten };

// The slot's files as a player sees them (the kept imports aside) and its block of
// the configuration file.
QMap<QString, QByteArray> slotFiles(const TempWorkspace &ws)
{
    QMap<QString, QByteArray> files;
    const QString folder = ws.file(QStringLiteral("spiel1"));
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(folder).relativeFilePath(it.next());
        if (!relative.startsWith(QStringLiteral("undo/")))
            files.insert(relative, readBytes(it.filePath()));
    }
    const Configuration config = ws.config();
    for (int offset = 0; offset < Configuration::kBlockLines; ++offset)
        files.insert(
            QStringLiteral("cfg-%1").arg(offset).toUtf8(), config.line(1, offset).toUtf8());
    return files;
}

// Temporaries anywhere in the workspace.
QStringList temporaries(const TempWorkspace &ws)
{
    QStringList found;
    QDirIterator it(ws.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName().contains(QStringLiteral(".tmp-")))
            found.append(path);
    }
    return found;
}

// The kept imports' folders of slot 1.
QStringList keptFolders(const TempWorkspace &ws)
{
    return QDir(ws.file(QStringLiteral("spiel1/undo")))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

Q_DECLARE_METATYPE(KillWhen)

// An import that is killed while it writes leaves the database as it was before
// that import: SQLite rolls the interrupted transaction back when the file is next
// opened.
class TestImportKill : public QObject
{
    Q_OBJECT
private slots:
    void killedImport_data()
    {
        QTest::addColumn<KillWhen>("when");
        QTest::newRow("journal started") << KillWhen::JournalStarted;
        QTest::newRow("database file written") << KillWhen::DatabaseFileWritten;
    }

    void killedImport()
    {
        QFETCH(KillWhen, when);
        TempWorkspace ws;
        const QStringList import {QStringLiteral("--workspace"), ws.path(),
            QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("1"),
            QStringLiteral("--type"), QStringLiteral("Kalmora")};
        QCOMPARE(
            runCli(import + QStringList {fixture(QStringLiteral("reports/kalmora-klein.cr"))}), 0);
        const QString database = ws.file(QStringLiteral("kalmora.sqlite"));
        const QString journal = database + QStringLiteral("-journal");
        const QStringList before = tableRows(database);
        const qint64 sizeBefore = QFileInfo(database).size();
        QVERIFY(before.size() > 10);

        // Far more than the page cache holds, so that pages reach the file early.
        ReportGenerator::Options options;
        options.targetBytes = 16 << 20;
        options.seed = 5;
        const QString report = ws.file(QStringLiteral("gross.cr"));
        ReportGenerator(options).writeFile(report);

        QProcess cli;
        cli.start(QStringLiteral(TOLVIMAR_CLI), import + QStringList {report});
        QVERIFY(cli.waitForStarted());
        auto reached = [&] {
            if (when == KillWhen::JournalStarted)
                return QFileInfo(journal).size() > 0;
            return QFileInfo::exists(journal) && QFileInfo(database).size() > sizeBefore;
        };
        QDeadlineTimer deadline(120000);
        while (!reached()) {
            if (cli.waitForFinished(1))
                QFAIL("the import ended before it could be killed");
            QVERIFY2(!deadline.hasExpired(), "the import wrote nothing in time");
        }
        cli.kill();
        QVERIFY(cli.waitForFinished());
        QCOMPARE(cli.exitStatus(), QProcess::CrashExit);
        QVERIFY(QFile::exists(journal));

        QCOMPARE(tableRows(database), before);
        QCOMPARE(integrity(database), QStringLiteral("ok"));
        QCOMPARE(QFileInfo(database).size(), sizeBefore);
        // And the workspace takes the next report as usual; a journal that was never
        // finished (killed before its first sync) is cleared by that write.
        QCOMPARE(
            runCli(import + QStringList {fixture(QStringLiteral("reports/kalmora-klein.cr"))}), 0);
        QVERIFY(!QFile::exists(journal));
    }

    // An undo killed while it writes leaves the import in place; the next undo then
    // takes it back whole.
    void killedUndo()
    {
        TempWorkspace ws;
        const QStringList import {QStringLiteral("--workspace"), ws.path(),
            QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("1"),
            QStringLiteral("--type"), QStringLiteral("Kalmora")};
        const QStringList undo {QStringLiteral("--workspace"), ws.path(),
            QStringLiteral("undo-import"), QStringLiteral("--slot"), QStringLiteral("1")};
        QCOMPARE(
            runCli(import + QStringList {fixture(QStringLiteral("reports/kalmora-klein.cr"))}), 0);
        const QString database = ws.file(QStringLiteral("kalmora.sqlite"));
        const QString journal = database + QStringLiteral("-journal");
        const QStringList beforeImport = tableRows(database, 1);

        ReportGenerator::Options options;
        options.targetBytes = 16 << 20;
        options.seed = 5;
        const QString report = ws.file(QStringLiteral("gross.cr"));
        ReportGenerator(options).writeFile(report);
        QCOMPARE(runCli(import + QStringList {report}), 0);
        const QStringList afterImport = tableRows(database, 1);
        const QStringList files
            = QDir(ws.file(QStringLiteral("spiel1/status-data"))).entryList(QDir::Files);

        QProcess cli;
        cli.start(QStringLiteral(TOLVIMAR_CLI), undo);
        QVERIFY(cli.waitForStarted());
        QDeadlineTimer deadline(120000);
        while (QFileInfo(journal).size() == 0) {
            if (cli.waitForFinished(1))
                QFAIL("the undo ended before it could be killed");
            QVERIFY2(!deadline.hasExpired(), "the undo wrote nothing in time");
        }
        cli.kill();
        QVERIFY(cli.waitForFinished());

        QCOMPARE(tableRows(database, 1), afterImport);
        QCOMPARE(integrity(database), QStringLiteral("ok"));
        QCOMPARE(QDir(ws.file(QStringLiteral("spiel1/status-data"))).entryList(QDir::Files), files);
        QCOMPARE(runCli(undo), 0);
        QCOMPARE(tableRows(database, 1), beforeImport);
    }

    // Killed after the commit, while the files are replaced: the next command that
    // opens the workspace finishes the replacement, so that the files show the turn
    // the database holds, no temporary stays and the import can still be taken back.
    void killedAfterTheCommit_data()
    {
        QTest::addColumn<bool>("undoing");
        QTest::addColumn<QString>("killAt");
        QTest::newRow("import, first rename") << false << QStringLiteral("-kaempfe.txt");
        QTest::newRow("import, a later rename") << false << QStringLiteral("-meldungen.txt");
        QTest::newRow("undo, removal of the order file")
            << true << QStringLiteral("Zug-Spiel1-4-Mai.txt");
        QTest::newRow("undo, a later rename") << true << QStringLiteral("-handel.txt");
    }

    void killedAfterTheCommit()
    {
        QFETCH(bool, undoing);
        QFETCH(QString, killAt);
        ReportGenerator::Options options;
        options.targetBytes = 120000;
        options.seed = 3;
        options.turn = 41;
        TempWorkspace killed;
        TempWorkspace whole;
        const QString report = whole.file(QStringLiteral("bericht-41.cr"));
        ReportGenerator(options).writeFile(report);
        const QString first = fixture(QStringLiteral("reports/kalmora-klein.cr"));
        auto import = [](const TempWorkspace &ws, const QString &path) {
            return inWorkspace(ws.path(),
                {QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("1"),
                    QStringLiteral("--type"), QStringLiteral("Kalmora"), QStringLiteral("--yes"),
                    path});
        };
        auto undo = [](const TempWorkspace &ws) {
            return inWorkspace(ws.path(),
                {QStringLiteral("undo-import"), QStringLiteral("--slot"), QStringLiteral("1")});
        };
        const QString database = killed.file(QStringLiteral("kalmora.sqlite"));
        QMap<QString, QByteArray> beforeLast;
        for (const TempWorkspace *ws : {&killed, &whole}) {
            QCOMPARE(runCliProcess(import(*ws, first)).code, 0);
            beforeLast = slotFiles(*ws);
            if (undoing)
                QCOMPARE(runCliProcess(import(*ws, report)).code, 0);
        }
        const QStringList rowsBefore = tableRows(database, 1);
        const QStringList lastStep = undoing ? undo(killed) : import(killed, report);
        const CliRun run = runCliProcess(lastStep, {QStringLiteral("kill:") + killAt});
        QVERIFY2(run.code == -1, qPrintable(run.where()));
        QVERIFY(tableRows(database, 1) != rowsBefore);
        QCOMPARE(runCliProcess(undoing ? undo(whole) : import(whole, report)).code, 0);

        // Any command that opens the workspace.
        const CliRun status = runCliProcess(inWorkspace(killed.path(),
            {QStringLiteral("status"), QStringLiteral("--slot"), QStringLiteral("1")}));
        QVERIFY2(status.code == 0, qPrintable(status.where()));
        QVERIFY2(
            status.errText().contains(QStringLiteral("nachgezogen")), qPrintable(status.where()));
        QCOMPARE(temporaries(killed), QStringList());
        QCOMPARE(slotFiles(killed), slotFiles(whole));
        QCOMPARE(keptFolders(killed).size(), keptFolders(whole).size());
        // The import kept before is whole: taking it back gives the state before it.
        QCOMPARE(runCliProcess(undo(killed)).code, 0);
        if (!undoing)
            QCOMPARE(slotFiles(killed), beforeLast);
    }
};

QTEST_GUILESS_MAIN(TestImportKill)
#include "test_import_kill.moc"
