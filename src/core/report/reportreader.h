#pragma once

#include "../base/activegame.h"
#include "../base/textfile.h"
#include "reportpages.h"
#include "skippedblocks.h"

#include <QStringList>
#include <optional>

namespace tolvimar {

class Database;
class ImportProgress;
class Prompter;
class ReportLines;
struct ImportContext;

// What an import starts from: the game's values and the pages and status values
// of the previous import.
struct ImportStart
{
    ActiveGame game;
    int mapLevel = 0; // the selected map level (the template's region lines show it)
    StatusValues status;
    ReportPages pages;
    // Date code of the newest report the slot has read (the configuration keeps it
    // after an older report too); rows dated later came from elsewhere.
    qint64 newestReadDate = 0;
};

// What a report said: the game's values as its header sets them, the new pages,
// status values and order template.
struct ImportOutcome
{
    bool refused = false; // the report belongs to the other game type
    QString refusalMessage;
    std::optional<GameType> reportType; // set when refused for its game type
    ActiveGame game;
    ReportPages pages;
    StatusValues status;
    QStringList orderTemplate;
    TextEncoding encoding = TextEncoding::Utf8;
    qint64 dateCode = 0;
    int version = 0;
    int regions = 0;
    int units = 0; // distinct units: a block given twice counts once
    SkippedBlocks skipped; // blocks the import passed over unread
    // Lines (indexes) with a word where a number stands that the import only adds to a
    // total: they added nothing.
    QList<int> wordValueLines;
};

// Reads a computer report into the tables: checks version and game type, reads the
// faction header, renders the report pages, writes regions, ships, castles and units
// and builds the order template. The caller holds the transaction; nothing here
// asks a question while it is open.
class ReportReader
{
public:
    ReportReader(Database &db, ImportProgress &progress);

    // The report's version from its first line. Throws ConversionError.
    static int version(const ReportLines &lines);
    // The turn its header names (";Runde"), if it names one that reads as a number.
    static std::optional<int> turn(const ReportLines &lines);
    // The faction the report's header names: its number (nullopt when the header
    // names none that reads as a number) and its name.
    struct Faction
    {
        std::optional<int> number;
        QString name;
    };
    static Faction faction(const ReportLines &lines);
    // Versions the import knows; others are read only when the user agrees.
    static bool isSupportedVersion(int version) { return version >= 34 && version <= 45; }

    ImportOutcome read(const ReportLines &lines, const ImportStart &start);

    // Called with the cursor on the ";Runde" line / the ";Punkte" line.
    static void readTurnDate(ImportContext &ctx);
    static void readPoints(ImportContext &ctx);

private:
    bool readHeader(ImportContext &ctx, ImportOutcome &outcome);
    void writeTemplateHead(ImportContext &ctx);
    void writeOwnFactionRow(ImportContext &ctx);
    void extract(ImportContext &ctx, ImportOutcome &outcome);

    Database &m_db;
    ImportProgress &m_progress;
};

} // namespace tolvimar
