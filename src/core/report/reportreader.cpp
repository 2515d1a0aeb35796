#include "reportreader.h"

#include "../base/errors.h"
#include "../db/database.h"
#include "../db/schema.h"
#include "blocklines.h"
#include "datecode.h"
#include "extractors.h"
#include "identifiers.h"
#include "importcontext.h"
#include "importprogress.h"
#include "messagerules.h"

#include <climits>

namespace tolvimar {

namespace {

bool isSectionEnd(const ImportContext &ctx)
{
    return ctx.atEnd() || hasKeyword(ctx.line(), {u"REGION ", u"DURCHREISEREGION "});
}

bool isRegionHeader(QStringView line)
{
    return !isQuotedLine(line) && line.startsWith(u"REGION")
        && !hasKeyword(line,
            {u"REGIONSEREIGNISSE", u"REGIONSKOMMENTAR", u"REGIONSNACHRICHTEN",
                u"REGIONSBOTSCHAFTEN"});
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
    const QStringView first = lines.line(0);
    const qsizetype semicolon = first.indexOf(u';');
    return toInt(semicolon >= 0 ? first.mid(8, semicolon - 8) : first.mid(8), first, 0);
}

ImportOutcome ReportReader::read(const ReportLines &lines, const ImportStart &start)
{
    ImportOutcome outcome;
    ImportContext ctx(lines, m_db, start.game, m_progress);
    ctx.mapLevel = start.mapLevel;
    ctx.cursor = 1;
    ctx.dateCode = start.game.newestTurn;
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
    return outcome;
}

bool ReportReader::readHeader(ImportContext &ctx, ImportOutcome &outcome)
{
    while (!ctx.atEnd()) {
        const QStringView line = ctx.line();
        // A report without a faction header starts with its first region.
        if (isRegionHeader(line) && !line.contains(u';'))
            return true;
        const int i = ctx.cursor;
        if (containsText(line, u";Spiel")) {
            const QString gameName = quotedText(line);
            if ((gameName == u"Kalmora" && ctx.game.type == GameType::Sulvitan)
                || (gameName == u"Sulvitan" && ctx.game.type == GameType::Kalmora)) {
                outcome.refused = true;
                outcome.refusalMessage
                    = QStringLiteral("Tolvimar wurde nicht mit dem Spieltyp des CR initialisiert. "
                                     "Bitte beenden und "
                                     "neustarten um diesen CR zu lesen.");
                return false;
            }
        }
        if (containsText(line, u";Runde"))
            getDatum(ctx);
        if (containsText(line, u"PARTEI "))
            ctx.game.factionNumber = toInt(line.mid(7), line, i);
        if (containsText(line, u";Passwort"))
            ctx.password = quotedText(line);
        if (containsText(line, u";Rekrutierungskosten"))
            ctx.recruitmentCost = intValue(line, i);
        if (containsText(line, u";Punkte") && !containsText(line, u";Punktedurch"))
            getPunkte(ctx);
        if (containsText(line, u"Anzahl Immigranten"))
            ctx.status[StatusField::Imigranten] = numberText(line).toString();
        if (containsText(line, u"Max. Immigranten"))
            ctx.status[StatusField::MaxImigranten] = numberText(line).toString();
        if (containsText(line, u"Parteiname"))
            ctx.game.factionName = quotedText(line);
        if (containsText(line, u";Umlaute"))
            ctx.game.umlaut = intValue(line, i);
        if (containsText(line, u";Basis")) {
            const int base = intValue(line, i);
            if (base < 2 || base > 36)
                throw ConversionError(i, line.toString(), numberText(line).toString());
            ctx.game.base = base;
        }
        ++ctx.cursor;
        if (ctx.atEnd())
            break;
        const QStringView next = ctx.line();
        if (!next.contains(u';') && !containsText(next, u"PARTEI "))
            break;
    }
    return true;
}

void ReportReader::getDatum(ImportContext &ctx)
{
    const int turn = intValue(ctx.line(), ctx.cursor);
    const GameDate date = dateFromTurn(turn);
    if (date.code > INT_MAX || date.code < INT_MIN)
        throw ConversionError(ctx.cursor, ctx.line().toString(), numberText(ctx.line()).toString());
    ctx.dateCode = date.code;
    ctx.game.newestTurn = date.code;
    ctx.status[StatusField::Datum] = date.text;
}

void ReportReader::getPunkte(ImportContext &ctx)
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
    while (!ctx.atEnd()) {
        if (isRegionHeader(ctx.line())) {
            runExtractor(ctx, getRegionInfo);
            ++outcome.regions;
        }
        if (hasKeyword(ctx.line(), {u"BURG"}))
            runExtractor(ctx, getBurgInfo);
        if (hasKeyword(ctx.line(), {u"SCHIFF"}))
            runExtractor(ctx, getSchiffInfo);
        const QStringView line = ctx.line();
        if (!isQuotedLine(line) && line.startsWith(u"EINHEIT")
            && !containsText(line, u"EINHEITSBOTSCHAFTEN")) {
            runExtractor(ctx, getEinheitenInfo);
            ++outcome.units;
        }
        ++ctx.cursor;
    }
}

} // namespace tolvimar
