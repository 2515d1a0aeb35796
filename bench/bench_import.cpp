// Import at scale: for each shape of report (standard, dense units, map-heavy)
// generates a large report, imports it into a fresh workspace and once more into the
// same database, and prints time, throughput, peak memory and the ratio to a plain
// read-decode-split pass; then what keeping an import's undo costs: the next turn of
// the same world imported into the workspace of the first import, with and without
// keeping what it changes (time, and the disk that the kept changes and files take);
// then, for the standard shape, times opening the game and the first screen.
//
// Every measurement runs in a child process of this program, so that each peak
// memory figure (VmHWM) is the high-water mark of that step alone, including the
// few megabytes that Qt and the program take before the step starts (printed as
// "base").
//
// With --repeat N every step runs N times and the fastest run is printed (the
// machine is shared; the fastest run is the one least disturbed).
//
//   bench_import [--size 30M] [--seed 1] [--game Kalmora|Sulvitan] [--repeat N] [--keep DIR]
//                [--shape standard|dense|map]

#include "app/reportimporter.h"
#include "app/session.h"
#include "appwindows.h"
#include "base/errors.h"
#include "base/scriptedprompter.h"
#include "report/importprogress.h"
#include "report/reportlines.h"
#include "reportgenerator.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sys/resource.h>

using namespace tolvimar;

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

// A line "Name:   1234 kB" of /proc/self/status, in kB; -1 when it is not there.
qint64 procStatusKb(const char *name)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(name) + ':';
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Processor time of this process so far (user and system), in seconds.
double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double cpuAtStart = 0;

void printResult(double seconds, qint64 baseKb, const QString &extra = QString())
{
    out() << "RESULT seconds=" << QString::number(seconds, 'f', 4)
          << " cpu=" << QString::number(cpuSeconds() - cpuAtStart, 'f', 4)
          << " hwm=" << procStatusKb("VmHWM") << " base=" << baseKb
          << (extra.isEmpty() ? QString() : u' ' + extra) << "\n";
    out().flush();
}

int childLoad(const QString &file)
{
    const qint64 base = procStatusKb("VmRSS");
    cpuAtStart = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    const ReportLines lines = ReportLines::load(file);
    const double seconds = timer.nsecsElapsed() / 1e9;
    printResult(seconds, base, QStringLiteral("lines=%1").arg(lines.count()));
    return 0;
}

int childImport(
    const QString &workspace, const QString &file, const QString &type, bool undoKept = true)
{
    ScriptedPrompter prompter;
    prompter.defaultYes = true;
    Session session(workspace, prompter);
    session.openGame(1, QStringLiteral("Bench"), type);
    const qint64 base = procStatusKb("VmRSS");
    ImportProgress progress;
    cpuAtStart = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    ReportImporter importer(session, progress);
    importer.setUndoKept(undoKept);
    const auto result = importer.importFile(file);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (result.status != ReportImporter::Result::Imported) {
        QTextStream(stderr) << "import failed: " << result.message << "\n";
        return 1;
    }
    printResult(seconds, base,
        QStringLiteral("regions=%1 units=%2 undo=%3")
            .arg(result.regions)
            .arg(result.units)
            .arg(result.undoBytes));
    return 0;
}

int childOpen(const QString &workspace, const QString &type)
{
    const qint64 base = procStatusKb("VmRSS");
    QElapsedTimer timer;
    timer.start();
    ScriptedPrompter prompter;
    Session session(workspace, prompter);
    session.openGame(1, QStringLiteral("Bench"), type);
    printResult(timer.nsecsElapsed() / 1e9, base);
    return 0;
}

// The first screen: the windows as the program creates them, then slot 1 started
// from the selection, until the events that this queued have been handled.
int childScreen(const QString &workspace, const QString &type)
{
    const qint64 base = procStatusKb("VmRSS");
    QElapsedTimer timer;
    timer.start();
    ScriptedPrompter prompter;
    Session session(workspace, prompter);
    auto main = createWindows(session, prompter, true);
    QCoreApplication::processEvents();
    const double windows = timer.nsecsElapsed() / 1e9;
    main->startGame(1, QStringLiteral("Bench"), type);
    QCoreApplication::processEvents();
    printResult(
        timer.nsecsElapsed() / 1e9, base, QStringLiteral("windows=%1").arg(windows, 0, 'f', 4));
    return 0;
}

struct Figures
{
    bool ok = false;
    double seconds = 0;
    double cpu = 0;
    qint64 hwmKb = 0;
    qint64 baseKb = 0;
    QString extra;
};

Figures runChildOnce(const QStringList &arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(),
        QStringList {QStringLiteral("--child")} + arguments);
    p.waitForFinished(-1);
    Figures f;
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString &line : text.split(u'\n')) {
        if (!line.startsWith(QStringLiteral("RESULT ")))
            continue;
        for (const QString &pair : line.mid(7).split(u' ')) {
            const QString key = pair.section(u'=', 0, 0);
            const QString value = pair.section(u'=', 1);
            if (key == u"seconds")
                f.seconds = value.toDouble();
            else if (key == u"cpu")
                f.cpu = value.toDouble();
            else if (key == u"hwm")
                f.hwmKb = value.toLongLong();
            else if (key == u"base")
                f.baseKb = value.toLongLong();
            else
                f.extra += pair + u' ';
        }
        f.ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    return f;
}

int repeatCount = 1;

// The fastest of the runs; before each, prepare() sets the stage.
Figures runChild(const QStringList &arguments, const std::function<void()> &prepare = {})
{
    Figures best;
    for (int i = 0; i < repeatCount; ++i) {
        if (prepare)
            prepare();
        const Figures f = runChildOnce(arguments);
        if (!f.ok)
            return f;
        if (i == 0 || f.seconds < best.seconds)
            best = f;
    }
    return best;
}

// A copy of a workspace folder, so that each run starts from the same state.
void copyFolder(const QString &from, const QString &to)
{
    QDir(to).removeRecursively();
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(path);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(path, target);
    }
}

qint64 folderBytes(const QString &dir)
{
    qint64 bytes = 0;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        bytes += it.fileInfo().size();
    }
    return bytes;
}

QString mb(double bytes)
{
    return QString::number(bytes / (1024.0 * 1024.0), 'f', 1);
}

// The targets of an import: at most 1.2 s, at least 25 MB/s, at most 10 times the
// plain pass, at most 180 MB peak memory.
void printImport(
    const QString &title, const Figures &f, const Figures &plain, qint64 bytes, qint64 lines)
{
    const double mbPerS = bytes / (1024.0 * 1024.0) / f.seconds;
    const double ratio = f.seconds / plain.seconds;
    const double peak = f.hwmKb * 1024.0;
    const double limit = 180.0 * 1024 * 1024;
    out() << title << ": " << QString::number(f.seconds, 'f', 2) << " s (processor "
          << QString::number(f.cpu, 'f', 2) << " s), " << QString::number(mbPerS, 'f', 1)
          << " MB/s, " << QString::number(lines / f.seconds, 'f', 0) << " lines/s, peak "
          << mb(peak) << " MB (base " << mb(f.baseKb * 1024.0) << " MB), "
          << QString::number(ratio, 'f', 1) << " x plain pass  ["
          << (f.seconds <= 1.2 ? "ok" : "MISS") << " <=1.2 s, " << (mbPerS >= 25 ? "ok" : "MISS")
          << " >=25 MB/s, " << (ratio <= 10 ? "ok" : "MISS") << " <=10x, "
          << (peak <= limit ? "ok" : "MISS") << " <= " << mb(limit) << " MB]\n";
}

// One shape: the report, the plain pass and both imports; with screens, also opening
// the game and the first screen.
int benchShape(ReportGenerator::Options options, const QString &dir, bool screens)
{
    const QString type = options.game == ReportGenerator::Game::Kalmora
        ? QStringLiteral("Kalmora")
        : QStringLiteral("Sulvitan");
    const QString shape = ReportGenerator::shapeName(options.shape);
    const QString file = dir + QStringLiteral("/bench-%1.cr").arg(shape);
    const QString workspace = dir + QStringLiteral("/workspace-%1").arg(shape);
    QDir(workspace).removeRecursively();

    QElapsedTimer timer;
    timer.start();
    const ReportGenerator::Stats stats = ReportGenerator(options).writeFile(file);
    out() << "\n== shape " << shape << "\nreport: " << type << ", " << mb(stats.bytes) << " MB, "
          << stats.lines << " lines, " << stats.regions << " regions, " << stats.units << " units ("
          << stats.ownUnits << " own), " << stats.messages << " messages; generated in "
          << QString::number(timer.elapsed() / 1000.0, 'f', 2) << " s\n";
    out().flush();

    const Figures plain = runChild({QStringLiteral("load"), file});
    if (!plain.ok) {
        QTextStream(stderr) << "plain pass failed\n";
        return 1;
    }
    out() << "plain pass (ReportLines::load): " << QString::number(plain.seconds, 'f', 3)
          << " s (processor " << QString::number(plain.cpu, 'f', 3) << " s), "
          << QString::number(stats.bytes / (1024.0 * 1024.0) / plain.seconds, 'f', 1)
          << " MB/s, peak " << mb(plain.hwmKb * 1024.0) << " MB\n";
    out().flush();

    const QStringList import {QStringLiteral("import"), workspace, file, type};
    const Figures first = runChild(import, [&] { QDir(workspace).removeRecursively(); });
    if (!first.ok)
        return 1;
    printImport(
        QStringLiteral("first import (all rows new)"), first, plain, stats.bytes, stats.lines);
    out().flush();
    const QString afterFirst = workspace + QStringLiteral("-first");
    copyFolder(workspace, afterFirst);
    const Figures second = runChild(import);
    if (!second.ok)
        return 1;
    printImport(QStringLiteral("second import (all rows updated)"), second, plain, stats.bytes,
        stats.lines);
    out() << "database: " << mb(QFileInfo(workspace + QStringLiteral("/kalmora.sqlite")).size())
          << " MB\n";
    out().flush();

    // The next turn of the same world into the workspace of the first import, once
    // keeping what it changes and once not.
    ReportGenerator::Options next = options;
    next.turn = options.turn + 1;
    const QString nextFile = dir + QStringLiteral("/bench-%1-next.cr").arg(shape);
    ReportGenerator(next).writeFile(nextFile);
    const QString scratch = workspace + QStringLiteral("-next");
    const auto restore = [&] { copyFolder(afterFirst, scratch); };
    const Figures kept = runChild({QStringLiteral("import"), scratch, nextFile, type}, restore);
    const qint64 keptDisk = QFileInfo(scratch + QStringLiteral("/kalmora.sqlite")).size()
        + folderBytes(scratch + QStringLiteral("/spiel1/undo"));
    const Figures without
        = runChild({QStringLiteral("import-without-undo"), scratch, nextFile, type}, restore);
    const qint64 withoutDisk = QFileInfo(scratch + QStringLiteral("/kalmora.sqlite")).size();
    if (!kept.ok || !without.ok)
        return 1;
    const double extra = kept.seconds / without.seconds - 1;
    out() << "next turn, keeping the undo: " << QString::number(kept.seconds, 'f', 2)
          << " s (processor " << QString::number(kept.cpu, 'f', 2)
          << " s); without: " << QString::number(without.seconds, 'f', 2) << " s (processor "
          << QString::number(without.cpu, 'f', 2) << " s); " << QString::number(100 * extra, 'f', 1)
          << " % more time [" << (extra <= 0.15 ? "ok" : "MISS") << " <= 15 %], "
          << QString::number(100 * (kept.cpu / without.cpu - 1), 'f', 1)
          << " % more processor time; kept "
          << kept.extra.section(QStringLiteral("undo="), 1).section(u' ', 0, 0) << " bytes, disk +"
          << mb(keptDisk - withoutDisk) << " MB\n";
    out().flush();
    QDir(scratch).removeRecursively();
    QDir(afterFirst).removeRecursively();
    if (!screens)
        return 0;

    const Figures open = runChild({QStringLiteral("open"), workspace, type});
    out() << "open game (Session + openGame): " << QString::number(open.seconds, 'f', 3) << " s ["
          << (open.ok && open.seconds < 1 ? "ok" : "MISS") << " < 1 s]\n";
    const Figures screen = runChild({QStringLiteral("screen"), workspace, type});
    out() << "first screen (createWindows offscreen, start slot 1): "
          << QString::number(screen.seconds, 'f', 3) << " s, " << screen.extra.trimmed() << " ["
          << (screen.ok && screen.seconds < 1 ? "ok" : "MISS") << " < 1 s]\n";
    out().flush();
    return 0;
}

int parent(const QStringList &args)
{
    ReportGenerator::Options options;
    options.targetBytes = 30LL * 1024 * 1024;
    QString keep;
    QList<ReportGenerator::Shape> shapes {ReportGenerator::Shape::Standard,
        ReportGenerator::Shape::DenseUnits, ReportGenerator::Shape::MapHeavy};
    for (int i = 1; i < args.size(); ++i) {
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        ReportGenerator::Shape shape;
        if (args[i] == u"--size" && ReportGenerator::parseSize(next) > 0)
            options.targetBytes = ReportGenerator::parseSize(args[++i]);
        else if (args[i] == u"--seed")
            options.seed = args[++i].toULongLong();
        else if (args[i] == u"--game" && (next == u"Kalmora" || next == u"Sulvitan"))
            options.game = args[++i] == u"Kalmora" ? ReportGenerator::Game::Kalmora
                                                   : ReportGenerator::Game::Sulvitan;
        else if (args[i] == u"--keep" && !next.isEmpty())
            keep = args[++i];
        else if (args[i] == u"--repeat" && next.toInt() > 0)
            repeatCount = args[++i].toInt();
        else if (args[i] == u"--shape" && ReportGenerator::parseShape(next, &shape)) {
            shapes = {shape};
            ++i;
        } else {
            QTextStream(stderr) << "usage: bench_import [--size 30M] [--seed N] [--game "
                                   "Kalmora|Sulvitan] [--repeat N] [--keep DIR] "
                                   "[--shape standard|dense|map]\n";
            return 2;
        }
    }
    QTemporaryDir temp;
    const QString dir = keep.isEmpty() ? temp.path() : keep;
    QDir().mkpath(dir);
    out() << "runs per step: " << repeatCount << " (the fastest is shown)\n";
    for (ReportGenerator::Shape shape : shapes) {
        options.shape = shape;
        if (const int status = benchShape(options, dir, shape == ReportGenerator::Shape::Standard))
            return status;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 2 && std::strcmp(argv[1], "--child") == 0) {
        // Only the first screen needs widgets; the others run without them.
        const bool screen = argc >= 3 && std::strcmp(argv[2], "screen") == 0;
        std::unique_ptr<QCoreApplication> app;
        if (screen)
            app = std::make_unique<QApplication>(argc, argv);
        else
            app = std::make_unique<QCoreApplication>(argc, argv);
        const QStringList a = QCoreApplication::arguments();
        try {
            if (a.value(2) == u"load" && a.size() == 4)
                return childLoad(a[3]);
            if (a.value(2) == u"import" && a.size() == 6)
                return childImport(a[3], a[4], a[5]);
            if (a.value(2) == u"import-without-undo" && a.size() == 6)
                return childImport(a[3], a[4], a[5], false);
            if (a.value(2) == u"open" && a.size() == 5)
                return childOpen(a[3], a[4]);
            if (screen && a.size() == 5)
                return childScreen(a[3], a[4]);
        } catch (const UserError &e) {
            QTextStream(stderr) << e.message() << "\n";
            return 1;
        }
        return 2;
    }
    QCoreApplication app(argc, argv);
    try {
        return parent(QCoreApplication::arguments());
    } catch (const UserError &e) {
        QTextStream(stderr) << e.message() << "\n";
        return 1;
    }
}
