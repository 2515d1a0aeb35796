#include "reportimporter.h"

#include "../base/errors.h"
#include "../base/prompter.h"
#include "../db/database.h"
#include "../report/importprogress.h"
#include "../report/reportlines.h"
#include "../report/reportreader.h"
#include "session.h"
#include "statusstore.h"
#include "turnsummary.h"

#include <QDir>
#include <QElapsedTimer>

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
    m_progress.setStep(QString());
    m_progress.setPercent(0);

    if (!ReportReader::isSupportedVersion(ReportReader::version(lines))) {
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

    const ImportStart start {
        m_session.game(), m_session.mapState().level(), m_session.status(), m_session.pages()};
    Transaction transaction(m_session.database());
    const ImportOutcome outcome = ReportReader(m_session.database(), m_progress).read(lines, start);
    if (outcome.refused) {
        transaction.rollback();
        m_session.prompter().message(
            Prompter::Kind::Information, QStringLiteral("Information"), outcome.refusalMessage);
        result.status = Result::Refused;
        return result;
    }
    transaction.commit();

    result.status = Result::Imported;
    result.dateCode = outcome.dateCode;
    result.dateText = outcome.status[StatusField::Datum];
    result.regions = outcome.regions;
    result.units = outcome.units;
    finish(outcome);
    return result;
}

void ReportImporter::finish(const ImportOutcome &outcome)
{
    m_session.setGame(outcome.game);
    m_session.setPages(outcome.pages);
    m_session.setStatus(outcome.status);
    OrderTemplate &orders = m_session.orderTemplate();
    orders.setEncoding(outcome.encoding);
    orders.setLines(outcome.orderTemplate);
    orders.setSaved(true);
    m_progress.setStep(QStringLiteral("Erstellen der Zugvorlage beendet"));

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
    const bool kalmora = outcome.game.isKalmora();
    if ((kalmora && outcome.version < 43) || !kalmora)
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
