// libFuzzer target: every input is imported as a report into a fresh copy of an empty
// workspace, with every question answered Yes. Whatever the bytes, the import must
// end with a result (imported, refused or failed) and leave no trace for the next run.

#include "app/reportimporter.h"
#include "app/session.h"
#include "base/scriptedprompter.h"
#include "base/workspace.h"
#include "fuzzworkspace.h"
#include "report/importprogress.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace tolvimar;

namespace {

fuzz::FuzzWorkspace *state = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    (void)argc;
    state = new fuzz::FuzzWorkspace((*argv)[0], QStringLiteral("import"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString report = state->file(QStringLiteral("report.cr"));
    state->prepare(bytes, report);
    const QString type
        = bytes.contains("\"Sulvitan\"") ? QStringLiteral("Sulvitan") : QStringLiteral("Kalmora");

    ScriptedPrompter prompter;
    prompter.defaultYes = true;
    auto session = std::make_unique<Session>(state->workspace(), prompter);
    session->openGame(1, QStringLiteral("Fuzz"), type);
    ImportProgress progress;
    const ReportImporter::Result result = ReportImporter(*session, progress).importFile(report);
    // A failure always says what went wrong.
    if (result.status == ReportImporter::Result::Failed && result.message.isEmpty())
        std::abort();
    return 0;
}
