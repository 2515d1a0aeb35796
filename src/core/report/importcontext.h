#pragma once

#include "../base/activegame.h"
#include "../db/table.h"
#include "reportlines.h"
#include "reportpages.h"
#include "skippedblocks.h"

#include <QHash>
#include <QSet>
#include <memory>

namespace tolvimar {

class Database;
class ImportProgress;

// The working state of one import, shared by the driver and the extractors: the
// report's lines and the line cursor, the game values as the header sets them, the
// pages, status values and template being built, and the open tables.
struct ImportContext
{
    ImportContext(
        const ReportLines &lines, Database &db, const ActiveGame &game, ImportProgress &progress);

    const ReportLines &lines;
    Database &db;
    ImportProgress &progress;
    int cursor = 1;
    int mapLevel = 0; // the selected map level: the template's region lines show it

    ActiveGame game; // a copy; becomes the session's on success
    qint64 dateCode = 0; // of this report
    // Of the newest report read before this one: no own report dated a row later.
    qint64 newestReadDate = 0;
    int version = 0;
    bool inBattle = false;
    QString password;
    int recruitmentCost = 0;

    ReportPages pages;
    StatusValues status;
    QStringList orderTemplate;

    // Message values live for the whole import.
    int messageType = 0;
    int messageAmount = 0;
    QString messageText;
    // Lines whose value the import only adds to a total, and which hold a word where a
    // number stands: they add nothing and are named after the import (line indexes).
    QList<int> wordValueLines;

    // Item and skill fields of the units table by name.
    QHash<QString, int> itemFields;
    QHash<QString, int> skillFields;
    // Owner and captain entries "building;unit" and "ship;unit" in number text.
    QSet<QString> ownerList;
    QSet<QString> captainList;

    // Faction names as the immigration report shows them, looked up once.
    QHash<int, QString> factionNames;

    // The region read last: position text and name.
    QString regionPosition;
    QString regionName;

    std::unique_ptr<Table> regionen, ebenen, schiffe, burgen, einheiten, parteien, statistik;
    void openTables();

    // Blocks passed over unread.
    SkippedBlocks skippedBlocks;
    // With the cursor on a block's header: counts the block as skipped and moves to
    // the next header (or the end).
    void skipBlock();
    // Passes over blocks that the import does not know, wherever they stand.
    void skipForeignBlocks();
    // The block being read ends here: at the end of the report or at the header of a
    // block the import knows (unknown blocks on the way are passed over). Blocks of a
    // `continuing` tag are read in the same pass.
    bool atBlockEnd(std::initializer_list<QStringView> continuing = {});
    // The cursor stands on the header of a block of this tag (after unknown blocks).
    bool atBlock(QStringView tag);

    // Stops the import: the report cannot be read as it stands at this line. The
    // message names the file, the line (counted from 1), the reason and the line.
    [[noreturn]] void refuseAt(int lineIndex, const QString &reason) const;

    QStringView line() const { return lines.line(cursor); }
    QStringView lineAt(int i) const { return lines.line(i); }
    bool atEnd() const { return cursor >= lines.count(); }
    int percent() const;
    QString numberText(qint64 value) const;
    // Adds to a status field that holds a decimal text.
    void addToStatus(StatusField field, qint64 amount);

    // Newer knowledge wins: the row being edited takes this report unless its `Info
    // Datum` (the field infoDatum) holds a newer date code. A date beyond every report
    // the player has read is no knowledge of the player's (a row of an alliance member,
    // or a forged one): the player's own report decides over it.
    bool takesReport(const Table &row, int infoDatum) const;
    // Dates and posts the row when it takes the report, else cancels the edit.
    void commitUnlessNewer(Table &row, int infoDatum) const;
};

} // namespace tolvimar
