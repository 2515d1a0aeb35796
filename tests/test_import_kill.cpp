#include "db/database.h"
#include "reportgenerator.h"
#include "testsupport.h"

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
};

QTEST_GUILESS_MAIN(TestImportKill)
#include "test_import_kill.moc"
