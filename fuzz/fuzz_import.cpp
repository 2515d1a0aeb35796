// libFuzzer target: every input is imported as a report into a fresh copy of an empty
// workspace, with every question answered Yes. Whatever the bytes, the import must
// end with a result (imported, refused or failed) and leave no trace for the next run.

#include "base/scriptedprompter.h"
#include "app/session.h"
#include "base/workspace.h"
#include "app/reportimporter.h"
#include "report/importprogress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace tolvimar;

namespace {

struct FuzzState
{
    // On a memory file system when there is one: the database syncs on every commit.
    QTemporaryDir root {QDir(QStringLiteral("/dev/shm")).exists()
            ? QStringLiteral("/dev/shm/fuzz-import-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/fuzz-import-XXXXXX")};
    QString templateDir;
    QString workspace;
    QString report;
};

FuzzState *state = nullptr;

void copyWorkspace(const QString &from, const QString &to)
{
    QDir(to).removeRecursively();
    QDir().mkpath(to);
    for (const QString &name : {QStringLiteral("tolvimar.cfg"), QStringLiteral("kalmora.sqlite")})
        QFile::copy(from + u'/' + name, to + u'/' + name);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static int appArgc = 1;
    static char *appArgv[] = {(*argv)[0], nullptr};
    (void)argc;
    new QCoreApplication(appArgc, appArgv); // lives as long as the process
    state = new FuzzState;
    if (!state->root.isValid())
        std::abort();
    state->templateDir = state->root.filePath(QStringLiteral("template"));
    state->workspace = state->root.filePath(QStringLiteral("ws"));
    state->report = state->root.filePath(QStringLiteral("report.cr"));
    // A workspace made once: the configuration file and the database with every table.
    ScriptedPrompter prompter;
    Session session(state->templateDir, prompter);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(state->report);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    }
    copyWorkspace(state->templateDir, state->workspace);
    const QString type
        = bytes.contains("\"Sulvitan\"") ? QStringLiteral("Sulvitan") : QStringLiteral("Kalmora");

    ScriptedPrompter prompter;
    prompter.defaultYes = true;
    auto session = std::make_unique<Session>(state->workspace, prompter);
    session->spielinitialisierung(1, QStringLiteral("Fuzz"), type);
    ImportProgress progress;
    const ReportImporter::Result result
        = ReportImporter(*session, progress).importFile(state->report);
    // A failure always says what went wrong.
    if (result.status == ReportImporter::Result::Failed && result.message.isEmpty())
        std::abort();
    return 0;
}
