#include "reportimporter.h"

#include "../analysis/pointsstatistics.h"
#include "../base/errors.h"
#include "../base/faultinjection.h"
#include "../base/filebatch.h"
#include "../base/gamefiles.h"
#include "../base/identifiers.h"
#include "../base/prompter.h"
#include "../base/workspacelock.h"
#include "../db/database.h"
#include "../orders/carryover.h"
#include "../orders/orderfile.h"
#include "../orders/orderlanguage.h"
#include "../report/datecode.h"
#include "../report/importprogress.h"
#include "../report/reportlines.h"
#include "../report/reportreader.h"
#include "filestep.h"
#include "importundo.h"
#include "job.h"
#include "session.h"
#include "statusstore.h"
#include "turnsummary.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <memory>

namespace tolvimar {

namespace {

const QString kTitle = QStringLiteral("CR einlesen");

// "1 Wert ist keine Zahl: Zeile 1656", "3 Werte sind keine Zahl: Zeilen 12, 40, 77"; the
// first ten lines are named (counted from 1).
QString wordValuesText(const QList<int> &lineIndexes)
{
    if (lineIndexes.isEmpty())
        return QString();
    constexpr int kNamed = 10;
    QStringList numbers;
    for (int i = 0; i < lineIndexes.size() && i < kNamed; ++i)
        numbers.append(QString::number(lineIndexes[i] + 1));
    QString text = lineIndexes.size() == 1
        ? QStringLiteral("1 Wert ist keine Zahl: Zeile ") + numbers.first()
        : QStringLiteral("%1 Werte sind keine Zahl: Zeilen %2")
              .arg(lineIndexes.size())
              .arg(numbers.join(QStringLiteral(", ")));
    if (lineIndexes.size() > kNamed)
        text += QStringLiteral(" und %1 weitere").arg(lineIndexes.size() - kNamed);
    return text;
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

QStringList ReportImporter::Result::closingLines() const
{
    QStringList lines {QStringLiteral("Eingelesen: %1 (%2), %3 Regionen, %4 Einheiten, %5 s")
                           .arg(dateText)
                           .arg(dateCode)
                           .arg(regions)
                           .arg(units)
                           .arg(QString::number(seconds, 'f', 2))};
    if (!skipped.isEmpty())
        lines.append(skipped);
    if (!wordValues.isEmpty())
        lines.append(wordValues);
    return lines;
}

// The session's pages wait in a compact copy while the import builds new ones; they
// come back unless the import replaced them. (The template stays in its document.)
struct ReportImporter::PreviousOnHold
{
    Session &session;
    explicit PreviousOnHold(Session &s)
        : session(s)
    {
        session.holdPages();
    }
    ~PreviousOnHold() { restore(); }
    // Without the memory to bring them back now, they stay held: the next read of the
    // pages brings them back.
    void restore() noexcept
    {
        try {
            session.restoreHeldPages();
        } catch (...) {
        }
    }
    PreviousOnHold(const PreviousOnHold &) = delete;
    PreviousOnHold &operator=(const PreviousOnHold &) = delete;
};

ReportImporter::ReportImporter(Session &session, ImportProgress &progress)
    : m_session(session)
    , m_progress(progress)
{
}

ReportImporter::~ReportImporter() = default;

QString ReportImporter::chooseFile()
{
    return m_session.prompter().openFileName(QStringLiteral("CR einlesen"),
        {QStringLiteral("Berichte (*.cr *.txt)"), QStringLiteral("Alle Dateien (*)")});
}

ReportImporter::Result ReportImporter::chooseAndImport()
{
    const QString path = chooseFile();
    if (path.isEmpty())
        return {};
    return importFile(path);
}

template<typename Question> auto ReportImporter::asked(Question &&question)
{
    QElapsedTimer open;
    open.start();
    auto answer = question();
    m_questionNanoseconds += open.nsecsElapsed();
    return answer;
}

template<typename Step> void ReportImporter::guarded(Step &&step)
{
    const QString &path = m_path;
    try {
        step();
    } catch (const JobCancelled &) {
        m_result.status = Result::Cancelled;
        m_result.message = QStringLiteral("Das Einlesen von %1 wurde abgebrochen; die Datenbank "
                                          "und die Dateien sind unverändert.")
                               .arg(QDir::toNativeSeparators(path));
    } catch (const ConversionError &e) {
        m_result.status = Result::Failed;
        m_result.message = conversionMessage(path, e);
    } catch (const UserError &e) {
        m_result.status = Result::Failed;
        m_result.message = e.message();
    } catch (const std::bad_alloc &) {
        m_result.status = Result::Failed;
        m_result.message = QStringLiteral("Der CR %1 ist zu groß für den verfügbaren Speicher.")
                               .arg(QDir::toNativeSeparators(path));
    } catch (const std::exception &e) {
        m_result.status = Result::Failed;
        m_result.message
            = QStringLiteral("Fehler beim Einlesen von %1: %2")
                  .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(e.what()));
    }
}

ReportImporter::Result ReportImporter::importFile(const QString &path)
{
    {
        ProgressScope scope(m_progress);
        if (begin(path))
            work(m_session.database(), nullptr);
        takeOver();
    }
    return end();
}

bool ReportImporter::begin(const QString &path)
{
    m_timer.start();
    m_questionNanoseconds = 0;
    m_path = path;
    m_result = Result();
    m_working = false;
    m_committed = false;
    guarded([&] {
        // Held only while the report is read: the decoded text is the largest block of
        // memory of an import, and staging and publishing the files need none of it.
        m_lines = std::make_unique<ReportLines>(ReportLines::load(path));
        const ReportLines &lines = *m_lines;
        m_progress.setStep(QString());
        m_progress.setPercent(0);
        if (lines.repairs().badBytes > 0) {
            m_result.notes.append(
                QStringLiteral("Der CR %1 ist UTF-8, enthält aber %2 ungültige Bytes (das erste "
                               "in Zeile %3); sie wurden durch \uFFFD ersetzt.")
                    .arg(QDir::toNativeSeparators(path))
                    .arg(lines.repairs().badBytes)
                    .arg(lines.repairs().firstBadLine));
        }

        if (!ReportReader::isSupportedVersion(ReportReader::version(lines))) {
            const bool yes = asked([&] {
                return m_session.prompter().askYesNo(Prompter::Kind::Warning,
                    QStringLiteral("Warnung"),
                    QStringLiteral(
                        "Der CR ist neuer oder älter als die letzten unterstützten CR "
                        "(CR34-CR45). Trotzdem "
                        "einlesen (Auch wenn es sehr wahrscheinlich kein groesseres Problem "
                        "geben wird sollte "
                        "in jedem Fall ein Backup des Databaseverzeichnis gemacht werden)?"));
            });
            if (!yes) {
                m_result.status = Result::Refused;
                return;
            }
        }
        if (!askOtherFaction(lines)) {
            m_result.status = Result::Refused;
            return;
        }
        m_carryOver = askCarryOver(lines);

        // The reader starts from the pages an import keeps; the session's full pages and
        // its template wait compactly until the new ones replace them, or come back if
        // the import fails. The worker reads nothing of the session: what it needs is
        // copied here.
        ReportPages kept = m_session.pages();
        kept.cleanup();
        m_start = ImportStart {
            m_session.game(), m_session.mapState().level(), m_session.status(), kept, 0};
        kept = ReportPages();
        m_mapOrigin = m_session.mapState().origin();
        m_databasePath = m_session.database().path();
        m_workspaceDir = m_session.workspace().dir();
        m_onHold = std::make_unique<PreviousOnHold>(m_session);
        m_working = true;
    });
    return m_working;
}

void ReportImporter::workOnOwnConnection(JobControl *control)
{
    if (!m_working)
        return;
    std::unique_ptr<Database> db;
    guarded([&] { db = std::make_unique<Database>(m_databasePath); });
    if (db)
        work(*db, control);
    else
        m_working = false;
}

void ReportImporter::work(Database &db, JobControl *control)
{
    if (!m_working)
        return;
    guarded([&] {
        Result &result = m_result;
        const WorkspaceWriteScope write(&m_session.workspaceLock());
        m_start.newestReadDate
            = m_session.loadConfiguration().intLine(m_start.game.number, Configuration::NewestTurn);
        FileBatch batch;
        const CacheScope cache(db, m_lines->byteSize());
        Transaction transaction(db);
        FileStepJournal journal(db, m_workspaceDir);
        std::unique_ptr<ImportUndoRecord> undo;
        if (m_undoKept)
            undo = std::make_unique<ImportUndoRecord>(m_session, db, m_path);
        ImportOutcome outcome = ReportReader(db, m_progress).read(*m_lines, m_start);
        m_lines.reset();
        m_start.pages = ReportPages();
        if (outcome.refused) {
            transaction.rollback();
            result.status = Result::Refused;
            result.message = outcome.refusalMessage;
            result.otherGameType = outcome.reportType.has_value();
            return;
        }
        Staged staged = stage(db, outcome, batch, result, undo.get());
        if (undo)
            result.undoBytes = undo->finish(journal);
        journal.prepare(batch);
        if (control)
            control->passPointOfNoReturn();
        transaction.commit();
        m_committed = true;
        if (undo)
            undo->committed();

        result.status = Result::Imported;
        result.dateCode = outcome.dateCode;
        result.dateText = outcome.status[StatusField::Datum];
        result.regions = outcome.regions;
        result.units = outcome.units;
        result.skipped = outcome.skipped.text();
        result.wordValues = wordValuesText(outcome.wordValueLines);
        m_outcome = std::move(outcome);
        m_staged = std::move(staged);

        // The report is in the database now; what follows can only leave files or the
        // window behind, and is reported as such.
        try {
            m_failures = journal.publish(batch);
            if (!m_failures.isEmpty())
                m_afterCommitReason = QStringLiteral("nicht alle Dateien konnten ersetzt werden");
        } catch (const std::bad_alloc &) {
            m_afterCommitReason = QStringLiteral("danach reichte der Speicher nicht");
        } catch (const UserError &e) {
            m_afterCommitReason = QStringLiteral("danach trat ein Fehler auf: ") + e.message();
        } catch (const std::exception &e) {
            m_afterCommitReason
                = QStringLiteral("danach trat ein Fehler auf: ") + QString::fromLocal8Bit(e.what());
        }
        m_unpublished = batch.pending();
    });
    m_lines.reset();
}

void ReportImporter::takeOver()
{
    const QString &path = m_path;
    if (m_committed) {
        m_committed = false;
        QString reason = m_afterCommitReason;
        bool shown = false;
        if (reason.isEmpty()) {
            try {
                FaultInjection::memoryPoint("after-commit");
                finish(m_outcome, m_staged);
                shown = true;
            } catch (const std::bad_alloc &) {
                reason = QStringLiteral("danach reichte der Speicher nicht");
            } catch (const UserError &e) {
                reason = QStringLiteral("danach trat ein Fehler auf: ") + e.message();
            } catch (const std::exception &e) {
                reason = QStringLiteral("danach trat ein Fehler auf: ")
                    + QString::fromLocal8Bit(e.what());
            }
        }
        m_outcome = ImportOutcome();
        m_staged = Staged();
        if (!reason.isEmpty()) {
            m_result.status = Result::ImportedIncomplete;
            QStringList text {
                QStringLiteral("Der CR %1 wurde in die Datenbank übernommen, aber %2.")
                    .arg(QDir::toNativeSeparators(path), reason),
            };
            if (!m_failures.isEmpty() || !m_unpublished.isEmpty()) {
                text.append(
                    QStringLiteral("Diese Dateien zeigen noch den Stand vor dem Einlesen:"));
                for (const FileBatch::Failure &f : m_failures)
                    text.append(
                        QStringLiteral("  %1: %2").arg(QDir::toNativeSeparators(f.path), f.error));
                for (const QString &file : m_unpublished)
                    text.append(QStringLiteral("  ") + QDir::toNativeSeparators(file));
            }
            if (!shown)
                text.append(QStringLiteral("Das Fenster zeigt den neuen Stand erst, wenn das Spiel "
                                           "das nächste Mal geöffnet wird."));
            text += m_result.notes;
            m_result.message = text.join(u'\n');
        }
    }
    // The previous pages and template come back unless the import replaced them.
    m_onHold.reset();
    m_working = false;
}

ReportImporter::Result ReportImporter::end()
{
    const QString &path = m_path;
    takeOver();
    Result result = std::move(m_result);
    m_result = Result();

    // The work is done; the messages below wait for the player.
    result.seconds = std::max<qint64>(0, m_timer.nsecsElapsed() - m_questionNanoseconds) / 1e9;
    // work() catches what happens after the commit itself: a failure that reaches
    // here left the database and every file as they were.
    if (result.status == Result::Failed) {
        result.message
            += QStringLiteral("\nDer CR wurde nicht übernommen; die Datenbank ist unverändert.");
        m_session.prompter().message(Prompter::Kind::Error, kTitle, result.message);
    } else if (result.status == Result::Refused && result.otherGameType && m_gameSwitchOffered) {
        const QString switchButton = QStringLiteral("Spiel wechseln");
        result.switchGameWanted = m_session.prompter().askChoice(Prompter::Kind::Information,
                                      QStringLiteral("Information"),
                                      result.message + u'\n'
                                          + QStringLiteral("„Spiel wechseln“ öffnet die Spielwahl; "
                                                           "im gewählten Spiel wird der CR dann "
                                                           "eingelesen."),
                                      {switchButton, QStringLiteral("OK")})
            == 0;
    } else if (result.status == Result::Refused && !result.message.isEmpty()) {
        m_session.prompter().message(
            Prompter::Kind::Information, QStringLiteral("Information"), result.message);
    } else if (result.status == Result::ImportedIncomplete) {
        m_session.prompter().message(Prompter::Kind::Warning, kTitle, result.message);
    } else if (result.status == Result::Imported && !result.notes.isEmpty()) {
        m_session.prompter().message(Prompter::Kind::Information, kTitle, result.notes.join(u'\n'));
    }
    result.path = path;
    return result;
}

bool ReportImporter::askCarryOver(const ReportLines &lines)
{
    const std::optional<int> turn = ReportReader::turn(lines);
    if (!turn)
        return false;
    const ActiveGame &game = m_session.game();
    const QString orderPath
        = orderFilePath(game.programPath, game.number, dateFromTurn(*turn).text);
    if (!ImportUndo(m_session).ordersEditedSinceImport(orderPath))
        return false;
    // Return keeps the player's edits.
    return asked([&] {
        return m_session.prompter().askYesNoDefaultYes(Prompter::Kind::Confirmation, kTitle,
            QStringLiteral("Die Zugvorlage %1 dieser Runde wurde nach ihrem Einlesen bearbeitet. "
                           "Sollen die bearbeiteten Befehle in die neue Zugvorlage übernommen "
                           "werden (je Einheit, auch was außerhalb der Einheiten steht; gelöschte "
                           "Blöcke bleiben gelöscht; Befehle von Einheiten, die der Report nicht "
                           "mehr zeigt, als Kommentar am Ende)?")
                .arg(QDir::toNativeSeparators(orderPath)));
    });
}

bool ReportImporter::askOtherFaction(const ReportLines &lines)
{
    const ActiveGame &game = m_session.game();
    const ReportReader::Faction faction = ReportReader::faction(lines);
    // A game that has read no report yet belongs to whichever faction comes first.
    if (game.factionNumber == 0 || !faction.number || *faction.number == game.factionNumber)
        return true;
    const auto named = [&game](const QString &name, int number) {
        return QStringLiteral("„%1“ (%2)").arg(name, numberText(number, game.type, game.base));
    };
    return asked([&] {
        return m_session.prompter().askYesNo(Prompter::Kind::Warning, kTitle,
            QStringLiteral("Der CR ist von der Partei %1, dieses Spiel gehört der Partei %2. "
                           "Eingelesen ersetzt er die Partei des Spiels. Trotzdem einlesen?")
                .arg(named(faction.name, *faction.number),
                    named(game.factionName, game.factionNumber)));
    });
}

ReportImporter::Staged ReportImporter::stage(Database &db, const ImportOutcome &outcome,
    FileBatch &batch, Result &result, ImportUndoRecord *undo)
{
    const ActiveGame &game = outcome.game;
    result.notes += PointsStatistics(db).writeFactionRow(game, game.newestTurn, outcome.status);

    Staged staged;
    const bool kalmora = game.isKalmora();
    if ((kalmora && outcome.version < 43) || !kalmora)
        staged.income = incomeSummary(outcome.pages[Page::Einkommen], game);
    else
        staged.income.total = outcome.status[StatusField::Gesamteinkommen];
    staged.pages = StatusStore::pagesToSave(game, outcome.pages, staged.income.total);
    StatusStore::stageStatusFiles(batch, game, staged.pages);

    Configuration config = m_session.loadConfiguration();
    Session::applyGameLines(config, game, m_start.mapLevel, m_mapOrigin);
    StatusStore::setStatusLines(config, game, outcome.status);
    batch.stage(config.filePath(), config.fileBytes());
    if (undo)
        undo->setWrittenConfiguration(config);

    // Orders the player saved for this turn are kept when the new template differs.
    const QString orderPath
        = orderFilePath(game.programPath, game.number, outcome.status[StatusField::Datum]);
    staged.orderTemplate = outcome.orderTemplate;
    QByteArray previous;
    const bool hadOrders = QFileInfo(orderPath).isFile();
    if (hadOrders) {
        QFile old(orderPath);
        if (!old.open(QIODevice::ReadOnly))
            throw UserError(QStringLiteral("Die Zugvorlage %1 kann nicht gelesen werden: %2")
                                .arg(QDir::toNativeSeparators(orderPath), old.errorString()));
        previous = old.readAll();
        if (m_carryOver) {
            const CarriedOverOrders carried
                = carryOverEditedOrders(splitLines(decodeText(previous)), staged.orderTemplate);
            result.notes.append(QStringLiteral("Bearbeitete Befehle von %1 Einheiten wurden in "
                                               "die neue Zugvorlage übernommen.")
                                    .arg(carried.units));
            if (carried.places > 0)
                result.notes.append(QStringLiteral("Bearbeitete Zeilen außerhalb der Einheiten "
                                                   "wurden an %1 Stellen übernommen.")
                                        .arg(carried.places));
            if (!carried.deleted.isEmpty())
                result.notes.append(
                    QStringLiteral("Die Blöcke von %1 Einheiten (%2) fehlten in der bearbeiteten "
                                   "Zugvorlage; sie bleiben draußen und stehen nur als Kommentar "
                                   "am Ende der Zugvorlage.")
                        .arg(carried.deleted.size())
                        .arg(carried.deleted.join(QStringLiteral(", "))));
            if (!carried.gone.isEmpty())
                result.notes.append(
                    QStringLiteral("Die Befehle von %1 Einheiten, die der Report nicht mehr "
                                   "zeigt (%2), stehen als Kommentar am Ende der Zugvorlage.")
                        .arg(carried.gone.size())
                        .arg(carried.gone.join(QStringLiteral(", "))));
        }
    }
    const QByteArray orders = OrderFile::bytes(staged.orderTemplate, outcome.encoding);
    bool backedUp = false;
    if (hadOrders) {
        if (previous != orders) {
            // Beside any older backup, which stays as it is.
            const QString backup = unusedBackupPath(orderPath);
            batch.stage(backup, previous);
            backedUp = true;
            result.notes.append(
                QStringLiteral("Die gespeicherte Zugvorlage %1 wich von der neuen "
                               "ab; sie wurde als %2 aufbewahrt.")
                    .arg(QDir::toNativeSeparators(orderPath), QDir::toNativeSeparators(backup)));
        }
    }
    batch.stage(orderPath, orders, backedUp);
    stageLearntWords(outcome, batch, result);
    if (undo) {
        for (const QString &target : batch.pending())
            undo->keepFile(target, batch.stagedHash(target));
        undo->setWrittenOrders(orderPath, orders);
    }
    return staged;
}

void ReportImporter::stageLearntWords(
    const ImportOutcome &outcome, FileBatch &batch, Result &result)
{
    // One pass over the new template's orders; the file changes only for new words.
    const QString programPath = outcome.game.programPath;
    const QStringList words
        = unknownOrderWords(outcome.orderTemplate, OrderLanguage::forGame(programPath));
    if (words.isEmpty())
        return;
    const QString path = learntOrderWordsFile(programPath);
    QByteArray previous;
    if (QFileInfo(path).isFile()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            result.notes.append(QStringLiteral("Die gelernten Befehlsworte %1 können nicht gelesen "
                                               "werden (%2); neue Worte wurden nicht gelernt.")
                                    .arg(QDir::toNativeSeparators(path), file.errorString()));
            return;
        }
        previous = file.readAll();
    }
    batch.stage(path, learntWordsFileBytes(previous, words));
}

void ReportImporter::finish(const ImportOutcome &outcome, const Staged &staged)
{
    m_session.setGame(outcome.game);
    m_session.setPages(staged.pages);
    StatusValues status = outcome.status;
    status[StatusField::Gesamteinkommen] = staged.income.total;
    m_session.setStatus(status);
    OrderTemplate &orders = m_session.orderTemplate();
    orders.setEncoding(outcome.encoding);
    orders.setLines(staged.orderTemplate);
    orders.setSaved(true);
    m_progress.setStep(QStringLiteral("Erstellen der Zugvorlage beendet"));
    m_progress.setStep(QStringLiteral("Neue Parteigroesse wird ermittelt"));
    if (staged.income.failedLine)
        reportIncomeFailure(m_session, *staged.income.failedLine, true);
    if (outcome.game.isKalmora())
        runOrcSummary(m_session, true);
    m_progress.setStep(QStringLiteral("Gesamtproduktionsdaten werden berechnet"));
    fillPointsStatistics(m_session);
    runProductionSummary(m_session);
}

} // namespace tolvimar
