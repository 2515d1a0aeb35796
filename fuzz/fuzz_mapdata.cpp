// libFuzzer target: every input is read as a map data file into game 1 of a fresh
// copy of an empty workspace. A refused file leaves no region behind; a file that is
// read survives the round trip: its export read into game 2 gives the same regions,
// and read again into game 1 adds nothing.

#include "app/session.h"
#include "base/errors.h"
#include "base/scriptedprompter.h"
#include "base/textfile.h"
#include "db/gamequeries.h"
#include "fuzzworkspace.h"
#include "map/mapexchange.h"

#include <QFile>
#include <cstdint>
#include <cstdlib>

using namespace tolvimar;

namespace {

fuzz::FuzzWorkspace *state = nullptr;

// A text after a trip through a Windows-1252 file: what the code page lacks becomes
// "?". The leading 0xFF is never UTF-8, so the bytes are read as Windows-1252. A text
// that begins with ";" comes back whole: the value starts after the opening quote.
QString asWritten(const QString &text)
{
    return decodeText("\xFF" + encodeText(text, TextEncoding::Windows1252)).mid(1);
}

// Texts are compared unless the written file reads as UTF-8 while holding other
// bytes than ASCII: such a file is taken for UTF-8, as any game file is.
bool sameRegions(const QVector<MapDataRow> &a, const QVector<MapDataRow> &b, bool compareTexts)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].level != b[i].level)
            return false;
        if (compareTexts
            && (asWritten(a[i].terrain) != b[i].terrain || asWritten(a[i].name) != b[i].name))
            return false;
    }
    return true;
}

bool readsAsWritten(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray bytes = file.readAll();
    TextEncoding detected = TextEncoding::Utf8;
    decodeText(bytes, &detected);
    bool ascii = true;
    for (const char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    return ascii || detected == TextEncoding::Windows1252;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    (void)argc;
    state = new fuzz::FuzzWorkspace((*argv)[0], QStringLiteral("mapdata"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString input = state->file(QStringLiteral("karte.txt"));
    const QString exported = state->file(QStringLiteral("export.txt"));
    state->prepare(bytes, input);
    ScriptedPrompter prompter;
    Session session(state->workspace(), prompter);
    GameQueries queries(session.database());
    MapExchange first(session.database(), 1, prompter);
    int added = 0;
    try {
        added = first.importFile(input);
    } catch (const UserError &e) {
        // Refused: said why, kept nothing.
        if (e.message().isEmpty() || !queries.mapDataRows(1, std::nullopt).isEmpty())
            std::abort();
        return 0;
    }
    const QVector<MapDataRow> read = queries.mapDataRows(1, std::nullopt);
    if (read.size() != added)
        std::abort();
    first.writeWholeMap(exported, std::nullopt);
    MapExchange second(session.database(), 2, prompter);
    if (second.importFile(exported) != added || first.importFile(exported) != 0)
        std::abort();
    if (!sameRegions(read, queries.mapDataRows(2, std::nullopt), readsAsWritten(exported)))
        std::abort();
    return 0;
}
