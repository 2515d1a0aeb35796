#include "importer.h"

#include "../analysis/pointsstatistics.h"
#include "../analysis/turnsummary.h"
#include "../app/session.h"
#include "../app/statusstore.h"
#include "../base/errors.h"
#include "../base/prompter.h"
#include "../db/database.h"
#include "../db/schema.h"
#include "blocklines.h"
#include "datecode.h"
#include "extractors.h"
#include "identifiers.h"
#include "importcontext.h"
#include "importprogress.h"
#include "messagerules.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <climits>

namespace tolvimar {

namespace {

const QString kTitle = QStringLiteral("CR einlesen");

// The progress window is shown for the whole import and hidden again in every case.
struct ProgressScope
{
    ImportProgress &progress;
    explicit ProgressScope(ImportProgress &p)
        : progress(p)
    {
        progress.begin();
    }
    ~ProgressScope() { progress.end(); }
};

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

// A large report touches most pages of the tables it writes, and many of them more
// than once; with SQLite's default cache of 2 MB they would go to the file several
// times before the commit. For the import the cache grows to half the report's size
// (at most 32 MB, within the memory an import may take) and shrinks back afterwards.
class ImportCache
{
public:
    ImportCache(Database &db, qint64 reportBytes)
        : m_db(db)
        , m_previous(db.cacheSizeKib())
    {
        const qint64 kib = qMax<qint64>(m_previous, qMin<qint64>(reportBytes / 2048, 32 * 1024));
        if (kib != m_previous)
            m_db.setCacheSizeKib(int(kib));
    }
    ~ImportCache()
    {
        try {
            m_db.setCacheSizeKib(m_previous);
        } catch (const UserError &) {
            // The cache only affects speed.
        }
    }

private:
    Database &m_db;
    int m_previous;
};

// Each extractor moves forward; should one ever step back behind where it began,
// the walk goes on from its start so that it cannot loop.
template<typename Extractor> void runExtractor(ImportContext &ctx, Extractor extractor)
{
    const int start = ctx.cursor;
    extractor(ctx);
    if (ctx.cursor < start)
        ctx.cursor = start;
}

QString conversionMessage(const QString &file, const ConversionError &e)
{
    const QString where = QDir::toNativeSeparators(file);
    if (e.lineIndex() < 0)
        return QStringLiteral("Fehler beim Einlesen von %1: \"%2\" ist keine gültige Zahl.")
            .arg(where, e.value());
    return QStringLiteral(
        "Fehler beim Einlesen von %1, Zeile %2: \"%3\" ist keine gültige Zahl.\nZeile: %4")
        .arg(where)
        .arg(e.lineIndex() + 1)
        .arg(e.value(), e.lineText());
}

} // namespace

ReportImporter::ReportImporter(Session &session, ImportProgress &progress)
    : m_session(session)
    , m_progress(progress)
{
}

ReportImporter::Result ReportImporter::Neu1Click()
{
    const QString path = m_session.prompter().openFileName(QStringLiteral("CR einlesen"),
        {QStringLiteral("Textdateien (*.txt)"), QStringLiteral("Alle (*.*)")});
    if (path.isEmpty())
        return {};
    return importFile(path);
}

ReportImporter::Result ReportImporter::importFile(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    Result result;
    try {
        ProgressScope scope(m_progress);
        result = run(path);
    } catch (const ConversionError &e) {
        result.status = Result::Failed;
        result.message = conversionMessage(path, e);
    } catch (const UserError &e) {
        result.status = Result::Failed;
        result.message = e.message();
    } catch (const std::bad_alloc &) {
        result.status = Result::Failed;
        result.message = QStringLiteral("Der CR %1 ist zu groß für den verfügbaren Speicher.")
                             .arg(QDir::toNativeSeparators(path));
    } catch (const std::exception &e) {
        result.status = Result::Failed;
        result.message = QStringLiteral("Fehler beim Einlesen von %1: %2")
                             .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(e.what()));
    }
    if (result.status == Result::Failed) {
        result.message
            += QStringLiteral("\nDer CR wurde nicht übernommen; die Datenbank ist unverändert.");
        m_session.prompter().message(Prompter::Kind::Error, kTitle, result.message);
    }
    result.seconds = timer.elapsed() / 1000.0;
    return result;
}

ReportImporter::Result ReportImporter::run(const QString &path)
{
    Result result;
    const ReportLines lines = ReportLines::load(path);
    ImportContext ctx(lines, m_session.database(), m_session.game(), m_progress);
    ctx.cursor = 1;
    ctx.dateCode = m_session.game().newestTurn;
    ctx.status = m_session.status();
    for (StatusField f : {StatusField::Gesamteinkommen, StatusField::Einheiten,
             StatusField::Personen, StatusField::Silber})
        ctx.status[f] = QStringLiteral("0");
    ctx.pages = m_session.pages();
    ctx.pages.cleanup();
    m_progress.setStep(QString());
    m_progress.setPercent(0);

    const QStringView first = lines.line(0);
    const qsizetype semicolon = first.indexOf(u';');
    ctx.version = toInt(semicolon >= 0 ? first.mid(8, semicolon - 8) : first.mid(8), first, 0);
    if (ctx.version > 45 || ctx.version < 34) {
        const bool yes = m_session.prompter().askYesNo(Prompter::Kind::Warning,
            QStringLiteral("Warnung"),
            QStringLiteral("Der CR ist neuer oder älter als die letzten unterstützten CR "
                           "(CR34-CR45). Trotzdem "
                           "einlesen (Auch wenn es sehr wahrscheinlich kein groesseres Problem "
                           "geben wird sollte "
                           "in jedem Fall ein Backup des Databaseverzeichnis gemacht werden)?"));
        if (!yes) {
            result.status = Result::Refused;
            return result;
        }
    }

    const ImportCache cache(m_session.database(), QFileInfo(path).size());
    Transaction transaction(m_session.database());
    ctx.openTables();
    if (!readHeader(ctx)) {
        result.status = Result::Refused;
        return result;
    }
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

    extract(ctx, result);
    transaction.commit();
    finish(ctx, result);
    return result;
}

bool ReportImporter::readHeader(ImportContext &ctx)
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
                m_session.prompter().message(Prompter::Kind::Information,
                    QStringLiteral("Information"),
                    QStringLiteral("Tolvimar wurde nicht mit dem Spieltyp des CR initialisiert. "
                                   "Bitte beenden und "
                                   "neustarten um diesen CR zu lesen."));
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

void ReportImporter::getDatum(ImportContext &ctx)
{
    const int turn = intValue(ctx.line(), ctx.cursor);
    const GameDate date = dateFromTurn(turn);
    if (date.code > INT_MAX || date.code < INT_MIN)
        throw ConversionError(ctx.cursor, ctx.line().toString(), numberText(ctx.line()).toString());
    ctx.dateCode = date.code;
    ctx.game.newestTurn = date.code;
    ctx.status[StatusField::Datum] = date.text;
}

void ReportImporter::getPunkte(ImportContext &ctx)
{
    ctx.status[StatusField::Punkte] = numberText(ctx.line()).toString();
    ctx.status[StatusField::PunkteMittel] = numberText(ctx.lineAt(ctx.cursor + 1)).toString();
}

void ReportImporter::writeTemplateHead(ImportContext &ctx)
{
    const QString faction = ctx.game.isKalmora() ? idToStr(ctx.game.factionNumber, ctx.game.base)
                                                 : QString::number(ctx.game.factionNumber);
    ctx.orderTemplate = {
        QStringLiteral(" PARTEI ") + faction + QStringLiteral(" \"") + ctx.password + u'"',
        QString(), QStringLiteral(" ; ZORBEK -l -w4 -r") + QString::number(ctx.recruitmentCost)};
}

void ReportImporter::writeOwnFactionRow(ImportContext &ctx)
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

void ReportImporter::extract(ImportContext &ctx, Result &result)
{
    while (!ctx.atEnd()) {
        if (isRegionHeader(ctx.line())) {
            runExtractor(ctx, getRegionInfo);
            ++result.regions;
        }
        if (hasKeyword(ctx.line(), {u"BURG"}))
            runExtractor(ctx, getBurgInfo);
        if (hasKeyword(ctx.line(), {u"SCHIFF"}))
            runExtractor(ctx, getSchiffInfo);
        const QStringView line = ctx.line();
        if (!isQuotedLine(line) && line.startsWith(u"EINHEIT")
            && !containsText(line, u"EINHEITSBOTSCHAFTEN")) {
            runExtractor(ctx, getEinheitenInfo);
            ++result.units;
        }
        ++ctx.cursor;
    }
}

void ReportImporter::finish(ImportContext &ctx, Result &result)
{
    ctx.orderTemplate.append(QString());
    ctx.orderTemplate.append(QStringLiteral(" NAECHSTER"));
    ctx.orderTemplate.append(QString());
    ctx.pages.sortIncome();

    m_session.game() = ctx.game;
    m_session.setPages(ctx.pages);
    m_session.setStatus(ctx.status);
    OrderTemplate &orders = m_session.orderTemplate();
    orders.setEncoding(ctx.lines.encoding());
    orders.setLines(ctx.orderTemplate);
    orders.setSaved(true);
    m_progress.setStep(QStringLiteral("Erstellen der Zugvorlage beendet"));

    result.status = Result::Imported;
    result.dateCode = ctx.dateCode;
    result.dateText = ctx.status[StatusField::Datum];

    // What follows writes files; a failure there is reported but keeps the import.
    auto reportFailure = [this](const UserError &e) {
        m_session.prompter().message(Prompter::Kind::Error, kTitle, e.message());
    };
    m_progress.setStep(QStringLiteral("Neue Parteigroesse wird ermittelt"));
    try {
        m_session.saveAktuelleOptionen();
    } catch (const UserError &e) {
        reportFailure(e);
    }
    const bool kalmora = ctx.game.isKalmora();
    if ((kalmora && ctx.version < 43) || !kalmora)
        runIncomeSummary(m_session, true);
    if (kalmora)
        runOrcSummary(m_session, true);
    try {
        StatusStore(m_session).saveStatusData();
    } catch (const UserError &e) {
        reportFailure(e);
    }
    m_progress.setStep(QStringLiteral("Gesamtproduktionsdaten werden berechnet"));
    try {
        zeigePunkteStatistik(m_session);
    } catch (const UserError &e) {
        reportFailure(e);
    }
    runProductionSummary(m_session);
}

} // namespace tolvimar
