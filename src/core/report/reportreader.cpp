#include "reportreader.h"

#include "../base/errors.h"
#include "../base/identifiers.h"
#include "../db/database.h"
#include "../db/schema.h"
#include "blocklines.h"
#include "datecode.h"
#include "extractors.h"
#include "importcontext.h"
#include "importprogress.h"
#include "messagerules.h"

#include <algorithm>
#include <QSet>
#include <climits>

namespace tolvimar {

namespace {

bool isSectionEnd(const ImportContext &ctx)
{
    if (ctx.atEnd())
        return true;
    const QStringView tag = blockTag(ctx.line());
    return tag == u"REGION" || tag == u"DURCHREISEREGION";
}

// Each extractor moves forward; should one ever step back behind where it began,
// the walk goes on from its start so that it cannot loop.
template<typename Extractor> void runExtractor(ImportContext &ctx, Extractor extractor)
{
    const int start = ctx.cursor;
    extractor(ctx);
    if (ctx.cursor < start)
        ctx.cursor = start;
}

} // namespace

ReportReader::ReportReader(Database &db, ImportProgress &progress)
    : m_db(db)
    , m_progress(progress)
{
}

int ReportReader::version(const ReportLines &lines)
{
    const QStringView first = headerText(lines.line(0));
    const qsizetype semicolon = first.indexOf(u';');
    return toInt(semicolon >= 0 ? first.mid(8, semicolon - 8) : first.mid(8), first, 0);
}

std::optional<int> ReportReader::turn(const ReportLines &lines)
{
    for (int i = 1; i < lines.count(); ++i) {
        const QStringView line = lines.line(i);
        if (blockTag(line) == u"REGION")
            break;
        if (lineKey(line) == u"Runde") {
            int turn = 0;
            if (parseStrictInt(numberText(line), &turn))
                return turn;
            return std::nullopt;
        }
    }
    return std::nullopt;
}

ReportReader::Faction ReportReader::faction(const ReportLines &lines)
{
    Faction faction;
    for (int i = 1; i < lines.count(); ++i) {
        const QStringView line = lines.line(i);
        if (blockTag(line) == u"REGION")
            break;
        if (!faction.number && opensBlockWithNumber(line, u"PARTEI")) {
            int number = 0;
            if (!parseStrictInt(line.mid(7).trimmed(), &number))
                break;
            faction.number = number;
        } else if (faction.number && lineKey(line) == u"Parteiname") {
            faction.name = quotedText(line);
            break;
        }
    }
    return faction;
}

ImportOutcome ReportReader::read(const ReportLines &lines, const ImportStart &start)
{
    ImportOutcome outcome;
    ImportContext ctx(lines, m_db, start.game, m_progress);
    ctx.mapLevel = start.mapLevel;
    ctx.cursor = 1;
    ctx.dateCode = start.game.newestTurn;
    ctx.newestReadDate = std::max(start.newestReadDate, start.game.newestTurn);
    ctx.status = start.status;
    for (StatusField f : {StatusField::Gesamteinkommen, StatusField::Einheiten,
             StatusField::Personen, StatusField::Silber})
        ctx.status[f] = QStringLiteral("0");
    ctx.pages = start.pages;
    ctx.pages.cleanup();
    ctx.version = version(lines);

    ctx.openTables();
    if (!readHeader(ctx, outcome))
        return outcome;
    ctx.status[StatusField::ParteiName] = ctx.game.factionName;
    writeTemplateHead(ctx);
    writeOwnFactionRow(ctx);

    while (!isSectionEnd(ctx))
        applySectionRule(ctx);

    const TableDef &units = schema::einheiten();
    for (const QString &item : schema::itemFieldNames())
        ctx.itemFields.insert(item, units.fieldIndex(item));
    for (const QString &skill : schema::skillFieldNames())
        ctx.skillFields.insert(skill, units.fieldIndex(skill));

    extract(ctx, outcome);

    ctx.orderTemplate.append(QString());
    ctx.orderTemplate.append(QStringLiteral(" NAECHSTER"));
    ctx.orderTemplate.append(QString());
    ctx.pages.sortIncome();

    outcome.game = ctx.game;
    outcome.pages = ctx.pages;
    outcome.status = ctx.status;
    outcome.orderTemplate = ctx.orderTemplate;
    outcome.encoding = lines.encoding();
    outcome.dateCode = ctx.dateCode;
    outcome.version = ctx.version;
    outcome.skipped = ctx.skippedBlocks;
    outcome.wordValueLines = ctx.wordValueLines;
    return outcome;
}

bool ReportReader::readHeader(ImportContext &ctx, ImportOutcome &outcome)
{
    // Blocks the import does not know may stand anywhere in the header; they neither
    // end it nor lend it their keys.
    ctx.skipForeignBlocks();
    bool factionRead = false;
    while (!ctx.atEnd()) {
        const QStringView raw = ctx.line();
        const QStringView line = headerText(raw);
        const QStringView tag = blockTag(line);
        // A report without a faction header starts with its first region.
        if (tag == u"REGION")
            return true;
        const int i = ctx.cursor;
        const QStringView key = lineKey(line);
        if (key == u"Spiel") {
            // A report of an unknown game may be read by either.
            const std::optional<GameType> reportType = parseGameType(quotedText(line));
            if (reportType && *reportType != ctx.game.type) {
                outcome.refused = true;
                outcome.refusalMessage
                    = QStringLiteral("Tolvimar wurde nicht mit dem Spieltyp des CR initialisiert. "
                                     "Bitte beenden und "
                                     "neustarten um diesen CR zu lesen.")
                    + u'\n'
                    + QStringLiteral("Der CR ist vom Spieltyp %1, Spiel %2 ist vom Spieltyp %3.")
                          .arg(gameTypeName(*reportType))
                          .arg(ctx.game.number)
                          .arg(gameTypeName(ctx.game.type));
                outcome.reportType = reportType;
                return false;
            }
        } else if (key == u"Runde") {
            readTurnDate(ctx);
        } else if (key == u"Passwort") {
            ctx.password = quotedText(line);
        } else if (key == u"Rekrutierungskosten") {
            ctx.recruitmentCost = intValue(line, i);
        } else if (key == u"Punkte") {
            readPoints(ctx);
        } else if (key == u"Anzahl Immigranten") {
            ctx.status[StatusField::Imigranten] = numberText(line).toString();
        } else if (key == u"Max. Immigranten") {
            ctx.status[StatusField::MaxImigranten] = numberText(line).toString();
        } else if (key == u"Parteiname") {
            ctx.game.factionName = quotedText(line);
        } else if (key == u"Umlaute") {
            ctx.game.umlaut = intValue(line, i);
        } else if (key == u"Basis") {
            const int base = intValue(line, i);
            if (base < 2 || base > 36)
                throw ConversionError(i, line.toString(), numberText(line).toString());
            ctx.game.base = base;
        } else if (opensBlockWithNumber(raw, u"PARTEI")) {
            ctx.game.factionNumber = toInt(line.mid(7), line, i);
            factionRead = true;
        } else if (opensBlockWithNumber(raw, u"VERSION")) {
            // A repeated version line, as merged reports hold it, belongs to the header
            // when it names the same version.
            if (toInt(line.mid(8), line, i) != ctx.version)
                ctx.refuseAt(i,
                    QStringLiteral("eine zweite Versionszeile nennt eine andere Version als "
                                   "die erste (VERSION %1).")
                        .arg(ctx.version));
        }
        ++ctx.cursor;
        ctx.skipForeignBlocks();
        if (ctx.atEnd())
            break;
        // The header goes on over value lines, a repeated version line and the faction
        // line; a second faction line ends it (the section rules read that block).
        const QStringView next = ctx.line();
        if (!next.contains(u';') && !opensBlockWithNumber(next, u"VERSION")
            && (factionRead || !opensBlockWithNumber(next, u"PARTEI")))
            break;
    }
    return true;
}

void ReportReader::readTurnDate(ImportContext &ctx)
{
    const int turn = intValue(ctx.line(), ctx.cursor);
    const GameDate date = dateFromTurn(turn);
    if (date.code > INT_MAX || date.code < INT_MIN)
        throw ConversionError(ctx.cursor, ctx.line().toString(), numberText(ctx.line()).toString());
    ctx.dateCode = date.code;
    ctx.game.newestTurn = date.code;
    ctx.status[StatusField::Datum] = date.text;
}

void ReportReader::readPoints(ImportContext &ctx)
{
    ctx.status[StatusField::Punkte] = numberText(ctx.line()).toString();
    ctx.status[StatusField::PunkteMittel] = numberText(ctx.lineAt(ctx.cursor + 1)).toString();
}

void ReportReader::writeTemplateHead(ImportContext &ctx)
{
    const QString faction = ctx.game.isKalmora() ? idToStr(ctx.game.factionNumber, ctx.game.base)
                                                 : QString::number(ctx.game.factionNumber);
    ctx.orderTemplate = {
        QStringLiteral(" PARTEI ") + faction + QStringLiteral(" \"") + ctx.password + u'"',
        QString(), QStringLiteral(" ; ZORBEK -l -w4 -r") + QString::number(ctx.recruitmentCost)};
}

void ReportReader::writeOwnFactionRow(ImportContext &ctx)
{
    // A map-only report into a game that never saw its faction names none.
    if (ctx.game.factionNumber == 0)
        return;
    Table &t = *ctx.parteien;
    t.editOrAppend({ctx.game.number, ctx.game.factionNumber});
    t.setValue(u"Partei Name", ctx.game.factionName);
    t.setValue(u"Datum", ctx.dateCode);
    t.post();
}

void ReportReader::extract(ImportContext &ctx, ImportOutcome &outcome)
{
    // A unit whose block comes twice is one row: counted by its number.
    QSet<QString> unitNumbers;
    while (!ctx.atEnd()) {
        const QStringView tag = blockTag(ctx.line());
        // Faction blocks and a repeated version line between regions are read by
        // their section rules, as before the first region.
        if (tag == u"PARTEI" || tag == u"VERSION") {
            applySectionRule(ctx);
            continue;
        }
        if (!tag.isEmpty() && tag != u"REGION" && tag != u"BURG" && tag != u"SCHIFF"
            && tag != u"EINHEIT") {
            ctx.skipBlock();
            continue;
        }
        if (tag == u"REGION") {
            runExtractor(ctx, extractRegion);
            ++outcome.regions;
        }
        if (blockTag(ctx.line()) == u"BURG")
            runExtractor(ctx, extractCastle);
        if (blockTag(ctx.line()) == u"SCHIFF")
            runExtractor(ctx, extractShip);
        if (blockTag(ctx.line()) == u"EINHEIT") {
            unitNumbers.insert(ctx.line().mid(7).trimmed().toString());
            runExtractor(ctx, extractUnit);
            outcome.units = int(unitNumbers.size());
        }
        ++ctx.cursor;
    }
}

} // namespace tolvimar
