#include "gamecommands.h"

#include "app/importundo.h"
#include "app/reportimporter.h"
#include "app/session.h"
#include "base/errors.h"
#include "base/workspace.h"
#include "cliutil.h"
#include "orders/checker.h"
#include "report/importprogress.h"

namespace tolvimar::cli {

int init(const Arguments &args)
{
    if (!args.rest.isEmpty())
        return usage(QStringLiteral("init kennt keine weiteren Argumente."));
    ScriptedPrompter prompter;
    Session session(args.workspace, prompter);
    out() << "Arbeitsverzeichnis " << QDir::toNativeSeparators(session.workspace().dir())
          << " ist bereit.\n";
    return 0;
}

int import(const Arguments &args)
{
    CommandOptions options;
    QString problem;
    if (!parseCommandOptions(args.rest, {QStringLiteral("--slot"), QStringLiteral("--type")},
            {QStringLiteral("--yes")}, &options, &problem))
        return usage(problem);
    const int slot = slotOption(options, &problem);
    if (slot == 0)
        return usage(problem);
    const QString type = options.values.value(QStringLiteral("--type"));
    if (!type.isEmpty() && !parseGameType(type))
        return usage(QStringLiteral("--type ist Kalmora oder Sulvitan."));
    if (options.positional.size() != 1)
        return usage(QStringLiteral("import braucht genau eine CR-Datei."));

    ScriptedPrompter prompter;
    prompter.defaultYes = options.flags.contains(QStringLiteral("--yes"));
    echoToStderr(prompter);
    Session session(args.workspace, prompter);
    openSlot(session, slot, type);
    ImportProgress progress;
    const ReportImporter::Result result
        = ReportImporter(session, progress).importFile(options.positional.first());
    switch (result.status) {
    case ReportImporter::Result::Imported:
    case ReportImporter::Result::ImportedIncomplete:
        for (const QString &line : result.closingLines())
            out() << line << "\n";
        // Imported, but a file or the display could not follow (on stderr).
        return result.status == ReportImporter::Result::Imported ? 0 : 3;
    case ReportImporter::Result::Refused:
    case ReportImporter::Result::Cancelled:
        err() << "Der CR wurde nicht eingelesen.\n";
        return 1;
    case ReportImporter::Result::Failed:
        return 2;
    }
    return 2;
}

int undoImport(const Arguments &args)
{
    OpenedSlot opened;
    if (const int exitCode = openSlotCommand(args, &opened); exitCode >= 0)
        return exitCode;
    const ImportUndo::Result result = ImportUndo(*opened.session).undoLastImport();
    switch (result.status) {
    case ImportUndo::Result::Undone:
        out() << result.message << "\n";
        return 0;
    case ImportUndo::Result::NothingToUndo:
        err() << result.message << "\n";
        return 1;
    case ImportUndo::Result::Failed:
        break;
    }
    err() << result.message << "\n";
    return 2;
}

int status(const Arguments &args)
{
    OpenedSlot opened;
    if (const int exitCode = openSlotCommand(args, &opened); exitCode >= 0)
        return exitCode;
    const Session &session = *opened.session;
    const StatusValues &s = session.status();
    const struct
    {
        StatusField field;
        const char *label;
    } rows[] = {
        {StatusField::ParteiName, "Partei Name"},
        {StatusField::Datum, "Datum"},
        {StatusField::Punkte, "Punkte :"},
        {StatusField::PunkteMittel, "Punkte mittel:"},
        {StatusField::Einheiten, "Einheiten"},
        {StatusField::Personen, "Personen"},
        {StatusField::Silber, "Silber"},
        {StatusField::Imigranten, "Imigranten"},
        {StatusField::MaxImigranten, "max. Imigranten"},
        {StatusField::Gesamteinkommen, "Gesamteinkommen :"},
        {StatusField::OrkVermehrung, "Ork Vermehrung"},
    };
    for (const auto &r : rows) {
        if (r.field == StatusField::OrkVermehrung && !session.game().isKalmora())
            continue;
        out() << QString::fromUtf8(r.label).leftJustified(18) << s[r.field] << "\n";
    }
    out() << "\nGesamtproduktion\n";
    for (const QString &line : s.gesamtproduktion)
        out() << "  " << line << "\n";
    out() << "\nPunkte Statistik\n";
    for (const QStringList &row : session.pointsGrid()) {
        QStringList cells;
        for (const QString &c : row)
            cells.append(c.rightJustified(14));
        out() << cells.join(QString()) << "\n";
    }
    return 0;
}

int check(const Arguments &args)
{
    OpenedSlot opened;
    if (const int exitCode = openSlotCommand(args, &opened); exitCode >= 0)
        return exitCode;
    // Without a report there is no turn, and the order file would have no name.
    if (opened.session->status()[StatusField::Datum].isEmpty()) {
        err() << "Spiel " << opened.session->game().number
              << " hat noch keinen Bericht eingelesen; es gibt keine Zugvorlage zum Prüfen.\n";
        return 1;
    }
    OrderFile orderFile = opened.session->orderFile();
    const OrderChecker::Result result = OrderChecker(opened.session->game()).run(orderFile);
    if (result.status != OrderChecker::Result::Ran) {
        err() << result.message << "\n";
        if (!result.output.isEmpty())
            out() << result.output;
        return 2;
    }
    out() << result.output;
    return 0;
}

} // namespace tolvimar::cli
