#include "commands.h"

#include "app/errors.h"
#include "app/scriptedprompter.h"
#include "app/session.h"
#include "app/workspace.h"

#include <QDir>
#include <QTextStream>

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

const char *kUsage =
    "Aufruf: tolvimar-cli [--workspace DIR] BEFEHL ...\n"
    "Befehle:\n"
    "  init                                  Arbeitsverzeichnis anlegen\n";

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
        return usage(QStringLiteral("Unbekannter Befehl: ") + args.command);
    } catch (const UserError &e) {
        err() << e.message() << "\n";
        return 2;
    }
}

} // namespace tolvimar::cli
