#include "app/importundo.h"
#include "base/configuration.h"
#include "reportgenerator.h"
#include "testsupport.h"

#include <QDirIterator>
#include <QtTest>
#include <sys/stat.h>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// What a slot is: its rows, the files of its folder (the kept imports aside) and its
// block of the configuration file.
struct SlotState
{
    QStringList rows;
    QMap<QString, QByteArray> files;
    QStringList configuration;

    bool operator==(const SlotState &o) const
    {
        return rows == o.rows && files == o.files && configuration == o.configuration;
    }
};

char *toString(const SlotState &s)
{
    return qstrdup(qPrintable(QStringLiteral("%1 rows, files %2")
                                  .arg(s.rows.size())
                                  .arg(QStringList(s.files.keys()).join(u", "))));
}

SlotState slotState(const TempWorkspace &ws, int slot)
{
    SlotState s;
    s.rows = tableRows(ws.file(QStringLiteral("kalmora.sqlite")), slot);
    const QString folder = ws.file(QStringLiteral("spiel%1").arg(slot));
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(folder).relativeFilePath(path);
        if (!relative.startsWith(QStringLiteral("undo/")))
            s.files.insert(relative, readBytes(path));
    }
    const Configuration config = ws.config();
    for (int offset = 0; offset < Configuration::kBlockLines; ++offset)
        s.configuration.append(config.line(slot, offset));
    return s;
}

QStringList cli(const TempWorkspace &ws, const QStringList &args)
{
    return QStringList {QStringLiteral("--workspace"), ws.path()} + args;
}

int importInto(const TempWorkspace &ws, int slot, const QString &type, const QString &report)
{
    return runCli(cli(ws,
        {QStringLiteral("import"), QStringLiteral("--slot"), QString::number(slot),
            QStringLiteral("--type"), type, QStringLiteral("--yes"), report}));
}

int undo(const TempWorkspace &ws, int slot, QString *out = nullptr, QString *err = nullptr)
{
    return runCli(
        cli(ws, {QStringLiteral("undo-import"), QStringLiteral("--slot"), QString::number(slot)}),
        out, err);
}

// A generated Kalmora report of the same world for a turn: a later turn changes rows
// that the earlier one wrote.
QString report(const TempWorkspace &ws, int turn, quint64 seed = 3)
{
    ReportGenerator::Options o;
    o.targetBytes = 120000;
    o.seed = seed;
    o.turn = turn;
    const QString path = ws.file(QStringLiteral("bericht-%1-%2.cr").arg(turn).arg(seed));
    ReportGenerator(o).writeFile(path);
    return path;
}

// The folders of the kept imports of slot 1.
QStringList keptFolders(const TempWorkspace &ws)
{
    return QDir(ws.file(QStringLiteral("spiel1/undo")))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// The one folder in `after` that is not in `before`.
QString added(const QStringList &before, const QStringList &after)
{
    QStringList added;
    for (const QString &name : after) {
        if (!before.contains(name))
            added.append(name);
    }
    return added.size() == 1 ? added.first() : QString();
}

CliRun undoRun(const TempWorkspace &ws)
{
    // A limit on memory, so that reading without end fails instead of filling the machine
    // (the time limit alone stands guard under AddressSanitizer).
    return runCliProcess(
        cli(ws, {QStringLiteral("undo-import"), QStringLiteral("--slot"), QStringLiteral("1")}), {},
        kAddressSanitizer ? QString() : QStringLiteral("ulimit -v 4000000"), 30000);
}

// Every file below a folder with its bytes, links not followed but named.
QMap<QString, QByteArray> tree(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        const QString relative = QDir(folder).relativeFilePath(path);
        if (info.isSymLink())
            files.insert(relative, "-> " + QFile::encodeName(info.symLinkTarget()));
        else if (info.isFile())
            files.insert(relative, readBytes(path));
        else
            files.insert(relative, "folder");
    }
    return files;
}

enum class Tampering { Fifo, LinkToDevice, LinkOutside, FolderIsLink };

} // namespace

Q_DECLARE_METATYPE(Tampering)

// An import can be taken back: the slot's rows, files and configuration block become
// what they were before it, other slots stay as they are, and the player's edits of
// the order file are kept beside it.
class TestUndoImport : public QObject
{
    Q_OBJECT
private slots:
    void undoesImportsOneAfterAnother()
    {
        TempWorkspace ws;
        const QString turn40 = report(ws, 40);
        const QString turn41 = report(ws, 41);
        const QString other = fixture(QStringLiteral("reports/sulvitan-klein.cr"));

        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"),
                     fixture(QStringLiteral("reports/kalmora-klein.cr"))),
            0);
        const SlotState beforeFirst = slotState(ws, 1);
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), turn40), 0);
        const SlotState beforeSecond = slotState(ws, 1);
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), turn41), 0);
        QVERIFY(!(slotState(ws, 1) == beforeSecond));
        QCOMPARE(importInto(ws, 2, QStringLiteral("Sulvitan"), other), 0);
        const SlotState otherSlot = slotState(ws, 2);

        QString out;
        QCOMPARE(undo(ws, 1, &out), 0);
        QVERIFY2(out.contains(QStringLiteral("bericht-41-3.cr")), qPrintable(out));
        QCOMPARE(slotState(ws, 1), beforeSecond);
        QCOMPARE(slotState(ws, 2), otherSlot);
        QCOMPARE(undo(ws, 1), 0);
        QCOMPARE(slotState(ws, 1), beforeFirst);
        QCOMPARE(slotState(ws, 2), otherSlot);
        // The first import is still kept; the one before it is not there to take back.
        QCOMPARE(undo(ws, 1), 0);
        QString err;
        QCOMPARE(undo(ws, 1, &out, &err), 1);
        QVERIFY2(err.contains(QStringLiteral("keinen Import")), qPrintable(err));
        QCOMPARE(slotState(ws, 2), otherSlot);
        QCOMPARE(undo(ws, 2), 0);
        QCOMPARE(undo(ws, 2), 1);
    }

    // Three imports a slot are kept; an import after an undo starts a new entry.
    void keepsTheLastThree()
    {
        TempWorkspace ws;
        QList<SlotState> states {slotState(ws, 1)};
        for (int turn = 40; turn < 44; ++turn) {
            QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, turn)), 0);
            states.append(slotState(ws, 1));
        }
        QCOMPARE(undo(ws, 1), 0);
        QCOMPARE(slotState(ws, 1), states[3]);
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 45)), 0);
        QCOMPARE(undo(ws, 1), 0);
        QCOMPARE(slotState(ws, 1), states[3]);
        QCOMPARE(undo(ws, 1), 0);
        QCOMPARE(slotState(ws, 1), states[2]);
        QCOMPARE(undo(ws, 1), 0);
        QCOMPARE(slotState(ws, 1), states[1]);
        QCOMPARE(undo(ws, 1), 1);
        // No kept files are left behind once nothing can be taken back.
        QCOMPARE(QDir(ws.file(QStringLiteral("spiel1/undo")))
                     .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            QStringList());
    }

    // Orders edited after the import are not lost: they stay beside the order file.
    void keepsEditedOrders()
    {
        TempWorkspace ws;
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 40)), 0);
        const SlotState before = slotState(ws, 1);
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 41)), 0);
        const QString orders = ws.file(QStringLiteral("spiel1/Zug-Spiel1-4-Mai.txt"));
        QVERIFY(QFileInfo::exists(orders));
        QByteArray edited = readBytes(orders);
        edited.replace("NAECHSTER", "; von Hand\r\n NAECHSTER");
        writeBytes(orders, edited);

        QString out;
        QCOMPARE(undo(ws, 1, &out), 0);
        QVERIFY2(out.contains(QStringLiteral("als ")) && out.contains(QStringLiteral(".bak")),
            qPrintable(out));
        QCOMPARE(readBytes(orders + QStringLiteral(".bak")), edited);
        // The order file of turn 41 was new: it is gone, its edits are in the backup.
        QVERIFY(!QFileInfo::exists(orders));
        SlotState after = slotState(ws, 1);
        after.files.remove(QStringLiteral("Zug-Spiel1-4-Mai.txt.bak"));
        QCOMPARE(after, before);
    }

    // In the window: the session shows the state before the import once it is undone.
    void sessionFollows()
    {
        ImportHarness h;
        QCOMPARE(h.importFile(fixture(QStringLiteral("reports/kalmora-klein.cr"))).status,
            ReportImporter::Result::Imported);
        const QStringList orders = h.session->orderTemplate().lines();
        const QString datum = h.status(StatusField::Datum);
        QCOMPARE(ImportUndo(*h.session).available(), 1);
        QCOMPARE(h.importFile(report(h.ws, 41)).status, ReportImporter::Result::Imported);
        QCOMPARE(ImportUndo(*h.session).available(), 2);
        QVERIFY(h.status(StatusField::Datum) != datum);

        const ImportUndo::Result result = ImportUndo(*h.session).undoLastImport();
        QCOMPARE(result.status, ImportUndo::Result::Undone);
        QCOMPARE(h.status(StatusField::Datum), datum);
        QCOMPARE(h.session->orderTemplate().lines(), orders);
        QCOMPARE(h.session->game().newestTurn, 404);
        QCOMPARE(ImportUndo(*h.session).available(), 1);
    }

    // Importing the same turn again: the player's edited unit blocks are carried over
    // into the new template when he says so; units the report no longer has keep their
    // orders as a comment at the end.
    void reimportCarriesEditedOrdersOver_data()
    {
        QTest::addColumn<bool>("carry");
        QTest::newRow("carried over") << true;
        QTest::newRow("not carried over") << false;
    }
    void reimportCarriesEditedOrdersOver()
    {
        QFETCH(bool, carry);
        ImportHarness h;
        const QString first = fixture(QStringLiteral("reports/kalmora-klein.cr"));
        QCOMPARE(h.importFile(first).status, ReportImporter::Result::Imported);
        const QString orders = h.ws.file(QStringLiteral("spiel1/Zug-Spiel1-4-April.txt"));
        QByteArray edited = readBytes(orders);
        QVERIFY(edited.contains("    MACHE Holz"));
        edited.replace("    MACHE Holz", "    LERNE Holzf\xe4llen");
        edited.replace("    KAUFE 5 Seide", "    VERKAUFE 5 Balsam");
        writeBytes(orders, edited);

        // The same turn without the trader (unit 4714, "3my").
        QByteArray again = readBytes(first);
        const qsizetype from = again.indexOf("EINHEIT 4714");
        const qsizetype to = again.indexOf("EINHEIT 5000");
        again.remove(from, to - from);
        const QString second = h.ws.file(QStringLiteral("wieder.cr"));
        writeBytes(second, again);
        h.prompter.log.clear();
        h.prompter.yesNoAnswers.enqueue(carry);
        QCOMPARE(h.importFile(second).status, ReportImporter::Result::Imported);
        QVERIFY2(h.prompter.texts().first().contains(QStringLiteral("bearbeitet")),
            qPrintable(h.prompter.texts().join(u'\n')));
        // Return keeps the edits.
        QVERIFY(h.prompter.log.first().yesDefault);

        const QString now = QString::fromLatin1(readBytes(orders));
        QCOMPARE(now.contains(QStringLiteral("    LERNE Holzf\u00e4llen")), carry);
        QCOMPARE(now.contains(QStringLiteral("    MACHE Holz")), !carry);
        QCOMPARE(now.contains(QStringLiteral(";     VERKAUFE 5 Balsam")), carry);
        QVERIFY(!now.contains(QStringLiteral("\n    VERKAUFE 5 Balsam")));
        QCOMPARE(h.session->orderTemplate().text().contains(QStringLiteral("LERNE Holzf")), carry);
        // The comment stands before the end of the orders, the edits also in the backup.
        if (carry) {
            const qsizetype comment = now.indexOf(QStringLiteral("; EINHEIT 3my;"));
            QVERIFY(comment > 0);
            QVERIFY(comment < now.indexOf(QStringLiteral(" NAECHSTER")));
        }
        QCOMPARE(readBytes(orders + QStringLiteral(".bak")), edited);
    }

    // A kept file replaced by something else is refused before anything changes:
    // nothing is read without end, and nothing outside the kept folder is copied in.
    void refusesTamperedKeptFiles_data()
    {
        QTest::addColumn<Tampering>("tampering");
        QTest::newRow("FIFO") << Tampering::Fifo;
        QTest::newRow("link to a device") << Tampering::LinkToDevice;
        QTest::newRow("link to a file outside") << Tampering::LinkOutside;
        QTest::newRow("kept folder is a link") << Tampering::FolderIsLink;
    }
    void refusesTamperedKeptFiles()
    {
        QFETCH(Tampering, tampering);
        TempWorkspace ws;
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 40)), 0);
        const QStringList keptBefore = keptFolders(ws);
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 41)), 0);
        const SlotState imported = slotState(ws, 1);
        const QString folder
            = ws.file(QStringLiteral("spiel1/undo/") + added(keptBefore, keptFolders(ws)));
        const QString kept = QDir(folder).filePath(QStringLiteral("0"));
        QVERIFY(QFileInfo(kept).isFile());
        const QString secret = ws.file(QStringLiteral("geheim.txt"));
        writeBytes(secret, "geheim\n");
        QVERIFY(QFile::remove(kept));
        switch (tampering) {
        case Tampering::Fifo:
            QCOMPARE(::mkfifo(QFile::encodeName(kept).constData(), 0600), 0);
            break;
        case Tampering::LinkToDevice:
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), kept));
            break;
        case Tampering::LinkOutside:
            QVERIFY(QFile::link(secret, kept));
            break;
        case Tampering::FolderIsLink: {
            const QString elsewhere = ws.file(QStringLiteral("anderswo"));
            QVERIFY(QDir().rename(folder, elsewhere));
            writeBytes(QDir(elsewhere).filePath(QStringLiteral("0")), "geheim\n");
            QVERIFY(QFile::link(elsewhere, folder));
            break;
        }
        }

        const CliRun run = undoRun(ws);
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QVERIFY2(
            run.errText().contains(QStringLiteral("aufbewahrte Fassung")), qPrintable(run.where()));
        QCOMPARE(slotState(ws, 1), imported);
    }

    // A status file that is a symbolic link is restored through it: its target gets
    // the content from before the import, and the link stays.
    void restoresThroughLinkedStatusFiles_data()
    {
        QTest::addColumn<bool>("absolute");
        QTest::newRow("absolute link") << true;
        QTest::newRow("relative link") << false;
    }
    void restoresThroughLinkedStatusFiles()
    {
        QFETCH(bool, absolute);
        TempWorkspace ws;
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 40)), 0);
        const QDir statusData(ws.file(QStringLiteral("spiel1/status-data")));
        const QDir outside(ws.file(QStringLiteral("aussen")));
        QVERIFY(QDir().mkpath(outside.path()));
        QMap<QString, QByteArray> before;
        for (const QString &name : statusData.entryList(QDir::Files)) {
            before.insert(name, readBytes(statusData.filePath(name)));
            QVERIFY(QDir().rename(statusData.filePath(name), outside.filePath(name)));
            const QString target
                = absolute ? outside.filePath(name) : QStringLiteral("../../aussen/") + name;
            QVERIFY(QFile::link(target, statusData.filePath(name)));
        }
        QVERIFY(before.size() > 5);
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 41)), 0);
        int changed = 0;
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            changed += readBytes(outside.filePath(it.key())) != it.value();
        QVERIFY(changed > 0);

        const CliRun run = undoRun(ws);
        QVERIFY2(run.code == 0, qPrintable(run.where()));
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            QVERIFY(QFileInfo(statusData.filePath(it.key())).isSymLink());
            QCOMPARE(readBytes(outside.filePath(it.key())), it.value());
        }
    }

    // The player's own older backup of an order file is never overwritten, neither by
    // the import's backup nor by the undo's.
    void keepsOlderBackups()
    {
        TempWorkspace ws;
        const QString turn41 = report(ws, 41);
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), turn41), 0);
        const QString orders = ws.file(QStringLiteral("spiel1/Zug-Spiel1-4-Mai.txt"));
        const QString backup = orders + QStringLiteral(".bak");
        writeBytes(backup, "alte Sicherung\r\n");
        QByteArray firstEdit = readBytes(orders);
        firstEdit.replace("NAECHSTER", "; erste Bearbeitung\r\nNAECHSTER");
        writeBytes(orders, firstEdit);
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), turn41), 0);
        QCOMPARE(readBytes(backup), QByteArray("alte Sicherung\r\n"));
        QByteArray secondEdit = readBytes(orders);
        QVERIFY(secondEdit != firstEdit);
        secondEdit.replace("NAECHSTER", "; zweite Bearbeitung\r\nNAECHSTER");
        writeBytes(orders, secondEdit);

        const CliRun run = undoRun(ws);
        QVERIFY2(run.code == 0, qPrintable(run.where()));
        QCOMPARE(readBytes(backup), QByteArray("alte Sicherung\r\n"));
        QCOMPARE(readBytes(orders), firstEdit);
        // The second edit is kept under a backup name that the message names.
        bool found = false;
        for (const QString &name :
            QDir(ws.file(QStringLiteral("spiel1")))
                .entryList({QStringLiteral("Zug-Spiel1-4-Mai.txt.bak*")}, QDir::Files)) {
            if (readBytes(ws.file(QStringLiteral("spiel1/") + name)) == secondEdit) {
                found = true;
                QVERIFY2(QString::fromUtf8(run.out).contains(name), qPrintable(run.where()));
            }
        }
        QVERIFY2(found, qPrintable(run.where()));
    }

    // What the player changed after the import stays: a slot setting of the
    // configuration block, and a status file edited by hand (kept beside it).
    void keepsWhatThePlayerChangedAfterTheImport()
    {
        TempWorkspace ws;
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 40)), 0);
        const SlotState before = slotState(ws, 1);
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 41)), 0);
        Configuration config = ws.config();
        const QString checker = QStringLiteral("/opt/pruefer/pruefe");
        QVERIFY(config.line(1, Configuration::CheckerPath) != checker);
        config.setLine(1, Configuration::CheckerPath, checker);
        config.save();
        const QString fights = QDir(ws.file(QStringLiteral("spiel1/status-data")))
                                   .entryList({QStringLiteral("*-kaempfe.txt")})
                                   .value(0);
        QVERIFY(!fights.isEmpty());
        const QString fightsPath = ws.file(QStringLiteral("spiel1/status-data/") + fights);
        const QByteArray edited = readBytes(fightsPath) + "von Hand\n";
        writeBytes(fightsPath, edited);

        const CliRun run = undoRun(ws);
        QVERIFY2(run.code == 0, qPrintable(run.where()));
        QCOMPARE(ws.config().line(1, Configuration::CheckerPath), checker);
        QCOMPARE(readBytes(fightsPath + QStringLiteral(".bak")), edited);
        QVERIFY2(QString::fromUtf8(run.out).contains(fights + QStringLiteral(".bak")),
            qPrintable(run.where()));
        SlotState after = slotState(ws, 1);
        QCOMPARE(after.configuration.value(Configuration::CheckerPath), checker);
        after.configuration[Configuration::CheckerPath]
            = before.configuration.value(Configuration::CheckerPath);
        after.files.remove(QStringLiteral("status-data/") + fights + QStringLiteral(".bak"));
        QCOMPARE(after, before);
    }

    // A kept import's folder, or the folder of all of them, that is a symbolic link
    // never leads to files outside being deleted: neither by an undo nor when an
    // import drops the oldest kept one.
    void linkedUndoFoldersDeleteNothingOutside_data()
    {
        QTest::addColumn<bool>("wholeFolder");
        QTest::addColumn<bool>("byImport");
        QTest::newRow("kept folder, undo") << false << false;
        QTest::newRow("undo folder, undo") << true << false;
        QTest::newRow("kept folder, dropped by an import") << false << true;
        QTest::newRow("undo folder, dropped by an import") << true << true;
    }
    void linkedUndoFoldersDeleteNothingOutside()
    {
        QFETCH(bool, wholeFolder);
        QFETCH(bool, byImport);
        TempWorkspace ws;
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 40)), 0);
        const QStringList keptBefore = keptFolders(ws);
        QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 41)), 0);
        // The folder of the import of turn 41: the newest, and the oldest kept after two more.
        const QString oldest = added(keptBefore, keptFolders(ws));
        if (byImport) {
            QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 42)), 0);
            QCOMPARE(importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 43)), 0);
        }
        const QString undoFolder = ws.file(QStringLiteral("spiel1/undo"));
        const QString elsewhere = ws.file(QStringLiteral("anderswo"));
        const QString linked = wholeFolder ? undoFolder : QDir(undoFolder).filePath(oldest);
        QVERIFY(QDir().rename(linked, elsewhere));
        writeBytes(QDir(elsewhere).filePath(QStringLiteral("fremd.txt")), "fremd\n");
        writeBytes(QDir(elsewhere).filePath(QStringLiteral("unter/fremd.txt")), "fremd\n");
        QVERIFY(QFile::link(elsewhere, linked));
        const QMap<QString, QByteArray> outside = tree(elsewhere);

        if (byImport) {
            importInto(ws, 1, QStringLiteral("Kalmora"), report(ws, 44));
        } else {
            const CliRun run = undoRun(ws);
            QVERIFY2(run.code == 2, qPrintable(run.where()));
        }
        QCOMPARE(tree(elsewhere), outside);
    }

    // Carried over as the player left the file: a block he deleted stays deleted (its
    // report orders only as a comment), and what he wrote outside a unit's block (under
    // a region header, after a blank line below a unit) stays where he wrote it.
    void reimportKeepsDeletionsAndLinesOutsideBlocks()
    {
        ImportHarness h;
        const QString report = fixture(QStringLiteral("reports/kalmora-klein.cr"));
        QCOMPARE(h.importFile(report).status, ReportImporter::Result::Imported);
        const QString orders = h.ws.file(QStringLiteral("spiel1/Zug-Spiel1-4-April.txt"));
        QByteArray edited = readBytes(orders);
        const qsizetype from = edited.indexOf(" EINHEIT 3mx;");
        const qsizetype to = edited.indexOf(" EINHEIT 3my;");
        QVERIFY(from > 0 && to > from);
        edited.remove(from, to - from);
        const qsizetype region = edited.indexOf(" ; Zorbek Lohn 13\r\n");
        QVERIFY(region > 0);
        edited.insert(region + 19, "    ; Treffpunkt am Turm\r\n");
        const qsizetype next = edited.indexOf("\r\n REGION 3,-4");
        QVERIFY(next > 0);
        edited.insert(next + 2, "    GIB 3mw 5 Silber\r\n");
        writeBytes(orders, edited);

        h.prompter.yesNoAnswers.enqueue(true);
        const ReportImporter::Result result = h.importFile(report);
        QCOMPARE(result.status, ReportImporter::Result::Imported);
        const QString now = QString::fromLatin1(readBytes(orders));
        // Not brought back as a block, but kept readable at the end.
        QVERIFY2(!now.contains(QStringLiteral("\r\n EINHEIT 3mx;")), qPrintable(now));
        QVERIFY(now.contains(QStringLiteral("\r\n; EINHEIT 3mx;")));
        QVERIFY(now.contains(QStringLiteral("\r\n;     LERNE Segeln\r\n")));
        QVERIFY(now.indexOf(QStringLiteral("; EINHEIT 3mx;")) < now.indexOf(u" NAECHSTER"));
        // The lines outside the blocks, in their places.
        QVERIFY2(now.contains(QStringLiteral(" ; Zorbek Lohn 13\r\n    ; Treffpunkt am Turm\r\n")),
            qPrintable(now));
        const qsizetype gib = now.indexOf(QStringLiteral("\r\n    GIB 3mw 5 Silber\r\n"));
        QVERIFY2(gib > now.indexOf(u" EINHEIT 3my;"), qPrintable(now));
        QVERIFY(gib < now.indexOf(u" REGION 3,-4"));
        const QString notes = result.notes.join(u'\n');
        QVERIFY2(notes.contains(QStringLiteral("(3mx) fehlten")), qPrintable(notes));
        QVERIFY2(notes.contains(QStringLiteral("an 1 Stellen")), qPrintable(notes));
    }
};

QTEST_GUILESS_MAIN(TestUndoImport)
#include "test_undo_import.moc"
