#include "commands.h"

#include "base/errors.h"
#include "cliutil.h"
#include "exchangecommands.h"
#include "gamecommands.h"
#include "mailcommands.h"
#include "mapcommands.h"
#include "militarycommands.h"
#include "ordercommands.h"
#include "regioncommands.h"
#include "routecommands.h"
#include "sharecommands.h"
#include "unitcommands.h"

#include <new>
#include <optional>

namespace tolvimar::cli {

namespace {

struct Command
{
    const char *name;
    int (*run)(const Arguments &);
    const char *usage; // the command's lines of the usage text
};

const Command kCommands[] = {
    {"init", init, "  init                                  Arbeitsverzeichnis anlegen\n"},
    {"import", import,
        "  import --slot K [--type Kalmora|Sulvitan] [--yes] DATEI\n"
        "                                        CR in Spiel K einlesen\n"},
    {"undo-import", undoImport,
        "  undo-import --slot K                  den letzten Import in Spiel K rückgängig "
        "machen\n"},
    {"status", status,
        "  status --slot K                       Statuswerte, Summen und Punkte von Spiel K\n"},
    {"check", check,
        "  check --slot K                        Zug-Checker auf die Zugvorlage von Spiel K\n"},
    {"send", send,
        "  send --slot K --smtp URL --from ADDR --to ADDR [--user NAME]\n"
        "       [--subject TEXT] [--attach] [--cafile FILE] [--password-file FILE] [--force]\n"
        "                                        Zugdatei prüfen und per Mail senden\n"},
    {"unit", unit,
        "  unit --slot K X Y NR [--level L]      was die Einheitenansicht für Einheit NR zeigt\n"},
    {"orders", orders,
        "  orders --slot K NR                    Befehlsblock von Einheit NR aus der Zugdatei\n"},
    {"set-orders", setOrders,
        "  set-orders --slot K X Y NR [--level L] [--mark none|x|X] DATEI\n"
        "                                        Befehle von Einheit NR durch DATEI ersetzen\n"},
    {"problems", problems,
        "  problems --slot K                     Zeile, Einheit und Meldung des Zug-Checkers,\n"
        "                                        dann die Hinweise\n"},
    {"complete", complete,
        "  complete --slot K X Y NR [--level L] TEXT\n"
        "                                        Vorschläge für das letzte Wort von TEXT\n"},
    {"region", region,
        "  region --slot K X Y [--level L] [--own-only] [--all-turns]\n"
        "                                        was die Karte zur Region (X, Y) zeigt\n"},
    {"route", route,
        "  route --slot K NR X Y [--level L] [--write] [--unbekannte]\n"
        "                                        Weg und Runden von Einheit NR nach X/Y, der\n"
        "                                        NACH-Befehl, auf Wunsch in die Befehle\n"},
    {"render-map", renderMap,
        "  render-map --slot K [--level L]       Weltkarte der Ebene L zeichnen und speichern\n"},
    {"small-map", smallMap,
        "  small-map --slot K X Y [--level L] --out DATEI.png\n"
        "                                        kleine Karte um X/Y als Bild\n"},
    {"overlay", overlay,
        "  overlay --slot K ships|units|messages [--level L] --out DATEI.png\n"
        "                                        eine Einblendung der Weltkarte als Bild\n"},
    {"groups", groups,
        "  groups --slot K [--group G] [--faction N] [--unit ID] [--name TEXT]\n"
        "         [--date OP WERT]               Gruppierungen: Anzahl und Tabelle\n"},
    {"set-group", setGroup,
        "  set-group --slot K POSITION ID GRUPPE Gruppe einer Einheit setzen\n"},
    {"army", army, "  army --slot K [--army \"2. Armee\"]     Armee Info: Summen und Tabelle\n"},
    {"ships", ships,
        "  ships --slot K [--faction N] [--type T] [--date OP WERT]\n"
        "                                        Schiffsregister: Anzahl und Tabelle\n"},
    {"export-map", exportMap,
        "  export-map --slot K DATEI [--level L] [--around X Y --radius R]\n"
        "                                        Kartendaten (ganz oder um X/Y) exportieren\n"},
    {"import-map", importMap,
        "  import-map --slot K DATEI             Kartendaten einlesen (nur fehlende Regionen)\n"},
    {"add-region", addRegion,
        "  add-region --slot K X Y --terrain T [--name N] [--export-good G] [--level L]\n"
        "                                        Region von Hand eingeben\n"},
    {"share", share,
        "  share --slot K --server VERBINDUNG [--timeout SEKUNDEN] push|pull|sync\n"
        "                                        Karte mit dem Allianzserver abgleichen\n"},
};

const Command *findCommand(const QString &name)
{
    for (const Command &c : kCommands) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

// "--help" and "--version" answer on stdout without opening a workspace: before the
// command for the program, after it for that command.
std::optional<int> answerHelp(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == u"--workspace") {
            ++i; // its folder
        } else if (a == u"--help" || a == u"-h") {
            out() << usageText();
            return 0;
        } else if (a == u"--version") {
            out() << "tolvimar-cli " << TOLVIMAR_VERSION << "\n";
            return 0;
        } else if (!a.startsWith(u"--workspace=")) {
            const Command *command = a.startsWith(u'-') ? nullptr : findCommand(a);
            if (!command || !arguments.mid(i + 1).contains(QStringLiteral("--help")))
                return std::nullopt;
            out() << "Aufruf: tolvimar-cli [--workspace DIR]\n"
                  << QString::fromUtf8(command->usage) << "Mehr dazu: man tolvimar-cli\n";
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace

QString usageText()
{
    QString text = QStringLiteral("Aufruf: tolvimar-cli [--workspace DIR] BEFEHL ...\nBefehle:\n");
    for (const Command &c : kCommands)
        text += QString::fromUtf8(c.usage);
    text += QStringLiteral(
        "Optionen:\n"
        "  --workspace DIR                       Arbeitsverzeichnis (Standard: das aktuelle)\n"
        "  -h, --help                            diese Hilfe; BEFEHL --help: die des Befehls\n"
        "  --version                             Programmname und Version\n");
    return text;
}

int run(const QStringList &arguments)
{
    if (const std::optional<int> answered = answerHelp(arguments))
        return *answered;
    Arguments args;
    QString problem;
    if (!parseGlobal(arguments, &args, &problem))
        return usage(problem);
    try {
        for (const Command &c : kCommands) {
            if (args.command == QLatin1String(c.name))
                return c.run(args);
        }
        return usage(QStringLiteral("Unbekannter Befehl: ") + args.command);
    } catch (const UserError &e) {
        err() << e.message() << "\n";
        return 2;
    } catch (const std::bad_alloc &) {
        err() << "Der Speicher reichte nicht für den Befehl " << args.command
              << "; er wurde abgebrochen.\n";
        return 2;
    }
}

} // namespace tolvimar::cli
