#include "cliutil.h"

#include "app/session.h"

namespace tolvimar::cli {

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

int usage(const QString &problem)
{
    if (!problem.isEmpty())
        err() << problem << "\n";
    err() << usageText();
    err().flush();
    return 2;
}

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

void echoToStderr(ScriptedPrompter &prompter)
{
    prompter.echo = [](const ScriptedPrompter::Entry &e) {
        err() << e.text << "\n";
        err().flush();
    };
}

void openSlot(Session &session, int slot, const QString &typeOverride)
{
    const Configuration &config = session.selection();
    const QString type
        = typeOverride.isEmpty() ? config.line(slot, Configuration::GameTypeText) : typeOverride;
    session.spielinitialisierung(slot, config.line(slot, Configuration::GameName), type);
}

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

} // namespace tolvimar::cli
