#include "commands.h"

#include "app/reportimporter.h"
#include "app/session.h"
#include "base/errors.h"
#include "base/scriptedprompter.h"
#include "base/workspace.h"
#include "orders/checker.h"
#include "report/importprogress.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QTextStream>
#include <memory>
#include <new>

namespace tolvimar::cli {

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Text from a report or a configuration goes to a terminal: control characters in
// it are shown escaped (\x1b), never sent raw, so that they cannot steer the terminal.
QString escaped(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool control = (u < 0x20 && u != u'\n' && u != u'\t') || (u >= 0x7F && u < 0xA0);
        if (control)
            result += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result;
}

const char *kUsage
    = "Aufruf: tolvimar-cli [--workspace DIR] BEFEHL ...\n"
      "Befehle:\n"
      "  init                                  Arbeitsverzeichnis anlegen\n"
      "  import --slot K [--type Kalmora|Sulvitan] [--yes] DATEI\n"
      "                                        CR in Spiel K einlesen\n"
      "  status --slot K                       Statuswerte, Summen und Punkte von Spiel K\n"
      "  check --slot K                        Zug-Checker auf die Zugvorlage von Spiel K\n";

int usage(const QString &problem)
{
    if (!problem.isEmpty())
        err() << problem << "\n";
    err() << kUsage;
    err().flush();
    return 2;
}

struct Arguments
{
    QString workspace = QDir::currentPath();
    QString command;
    QStringList rest;
};

// Splits off the global options and the command; returns false on a usage error.
bool parseGlobal(const QStringList &arguments, Arguments *parsed, QString *problem)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (parsed->command.isEmpty()) {
            if (a == QStringLiteral("--workspace")) {
                if (++i >= arguments.size()) {
                    *problem = QStringLiteral("--workspace braucht ein Verzeichnis.");
                    return false;
                }
                parsed->workspace = arguments[i];
            } else if (a.startsWith(QStringLiteral("--workspace="))) {
                parsed->workspace = a.mid(12);
            } else if (a.startsWith(u'-')) {
                *problem = QStringLiteral("Unbekannte Option: ") + a;
                return false;
            } else {
                parsed->command = a;
            }
        } else {
            parsed->rest.append(a);
        }
    }
    if (parsed->command.isEmpty()) {
        *problem = QStringLiteral("Kein Befehl angegeben.");
        return false;
    }
    return true;
}

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

// Options of a command: "--name value" pairs, flags and positional arguments.
struct CommandOptions
{
    QHash<QString, QString> values;
    QSet<QString> flags;
    QStringList positional;
};

bool parseCommandOptions(const QStringList &rest, const QStringList &valueOptions,
    const QStringList &flagOptions, CommandOptions *options, QString *problem)
{
    for (int i = 0; i < rest.size(); ++i) {
        const QString &a = rest[i];
        if (valueOptions.contains(a)) {
            if (++i >= rest.size()) {
                *problem = a + QStringLiteral(" braucht einen Wert.");
                return false;
            }
            options->values.insert(a, rest[i]);
        } else if (flagOptions.contains(a)) {
            options->flags.insert(a);
        } else if (a.startsWith(QStringLiteral("--"))) {
            *problem = QStringLiteral("Unbekannte Option: ") + a;
            return false;
        } else {
            options->positional.append(a);
        }
    }
    return true;
}

// Reads --slot; returns 0 and sets problem when it is missing or not 1 to 6.
int slotOption(const CommandOptions &options, QString *problem)
{
    bool ok = false;
    const int slot = options.values.value(QStringLiteral("--slot")).toInt(&ok);
    if (!ok || slot < 1 || slot > 6) {
        *problem = QStringLiteral("--slot braucht eine Spielnummer von 1 bis 6.");
        return 0;
    }
    return slot;
}

// Messages and questions of core go to stderr.
void echoToStderr(ScriptedPrompter &prompter)
{
    prompter.echo = [](const ScriptedPrompter::Entry &e) {
        err() << escaped(e.text) << "\n";
        err().flush();
    };
}

// Opens slot k as the selection dialog would, with the slot's name and game type
// (or the given type).
void openSlot(Session &session, int slot, const QString &typeOverride)
{
    const Configuration &config = session.selection();
    const QString type
        = typeOverride.isEmpty() ? config.line(slot, Configuration::GameTypeText) : typeOverride;
    session.spielinitialisierung(slot, config.line(slot, Configuration::GameName), type);
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
    if (!type.isEmpty() && type != QStringLiteral("Kalmora") && type != QStringLiteral("Sulvitan"))
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
        out() << "Eingelesen: " << escaped(result.dateText) << " (" << result.dateCode << "), "
              << result.regions << " Regionen, " << result.units << " Einheiten, "
              << QString::number(result.seconds, 'f', 2) << " s\n";
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

// A command that takes only "--slot K": the game opened as the program opens it.
struct OpenedSlot
{
    ScriptedPrompter prompter;
    std::unique_ptr<Session> session;
};

// Returns -1 with the slot opened, or the exit status of a usage error.
int openSlotCommand(const Arguments &args, OpenedSlot *opened)
{
    CommandOptions options;
    QString problem;
    if (!parseCommandOptions(args.rest, {QStringLiteral("--slot")}, {}, &options, &problem))
        return usage(problem);
    const int slot = slotOption(options, &problem);
    if (slot == 0)
        return usage(problem);
    if (!options.positional.isEmpty())
        return usage(args.command + QStringLiteral(" kennt keine weiteren Argumente."));
    echoToStderr(opened->prompter);
    opened->session = std::make_unique<Session>(args.workspace, opened->prompter);
    openSlot(*opened->session, slot, QString());
    return -1;
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
        out() << QString::fromUtf8(r.label).leftJustified(18) << escaped(s[r.field]) << "\n";
    }
    out() << "\nGesamtproduktion\n";
    for (const QString &line : s.gesamtproduktion)
        out() << "  " << escaped(line) << "\n";
    out() << "\nPunkte Statistik\n";
    for (const QStringList &row : session.pointsGrid()) {
        QStringList cells;
        for (const QString &c : row)
            cells.append(escaped(c).rightJustified(14));
        out() << cells.join(QString()) << "\n";
    }
    return 0;
}

int check(const Arguments &args)
{
    OpenedSlot opened;
    if (const int exitCode = openSlotCommand(args, &opened); exitCode >= 0)
        return exitCode;
    OrderFile orderFile = opened.session->orderFile();
    const OrderChecker::Result result = OrderChecker(opened.session->game()).run(orderFile);
    if (result.status != OrderChecker::Result::Ran) {
        err() << escaped(result.message) << "\n";
        if (!result.output.isEmpty())
            out() << escaped(result.output);
        return 2;
    }
    out() << escaped(result.output);
    return 0;
}

} // namespace

int run(const QStringList &arguments)
{
    Arguments args;
    QString problem;
    if (!parseGlobal(arguments, &args, &problem))
        return usage(problem);
    try {
        if (args.command == QStringLiteral("init"))
            return init(args);
        if (args.command == QStringLiteral("import"))
            return import(args);
        if (args.command == QStringLiteral("status"))
            return status(args);
        if (args.command == QStringLiteral("check"))
            return check(args);
        return usage(QStringLiteral("Unbekannter Befehl: ") + args.command);
    } catch (const UserError &e) {
        err() << escaped(e.message()) << "\n";
        return 2;
    } catch (const std::bad_alloc &) {
        err() << "Der Speicher reichte nicht für den Befehl " << args.command
              << "; er wurde abgebrochen.\n";
        return 2;
    }
}

} // namespace tolvimar::cli
