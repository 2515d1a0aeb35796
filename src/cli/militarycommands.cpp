#include "militarycommands.h"

#include "app/session.h"
#include "cliutil.h"
#include "military/armies.h"
#include "military/groupings.h"
#include "military/recordlist.h"
#include "military/shipregister.h"

namespace tolvimar::cli {

namespace {

const QString kDate = QStringLiteral("--date");

// Takes "--date OP VALUE" out of the arguments; without it the newest turn is meant.
bool takeDateOption(QStringList *rest, QString *comparison, QString *value, QString *problem)
{
    const qsizetype at = rest->indexOf(kDate);
    if (at < 0)
        return true;
    if (at + 2 >= rest->size()) {
        *problem = QStringLiteral("--date braucht einen Vergleich (=, > oder <) und einen Wert.");
        return false;
    }
    *comparison = rest->at(at + 1);
    *value = rest->at(at + 2);
    rest->remove(at, 3);
    if (rest->contains(kDate)) {
        *problem = QStringLiteral("--date darf nur einmal stehen.");
        return false;
    }
    return true;
}

// Parses the command's options (no positional arguments unless positionalCount
// says so); returns 0 with the slot in *slot, or the exit status of a usage error.
int parseSlotOptions(const QStringList &rest, const QStringList &valueOptions, int positionalCount,
    CommandOptions *options, int *slot)
{
    QString problem;
    if (!parseCommandOptions(
            rest, QStringList {QStringLiteral("--slot")} + valueOptions, {}, options, &problem))
        return usage(problem);
    *slot = slotOption(*options, &problem);
    if (*slot == 0)
        return usage(problem);
    if (options->positional.size() != positionalCount) {
        return usage(options->positional.size() > positionalCount
                ? QStringLiteral("Unerwartetes Argument: ") + options->positional.last()
                : QStringLiteral("Es fehlen Argumente."));
    }
    return 0;
}

// Opens the slot as the selection dialog would.
void openGame(const Arguments &args, int slot, OpenedSlot *opened)
{
    echoToStderr(opened->prompter);
    opened->session = openWorkspace(args, opened->prompter);
    openSlot(*opened->session, slot, QString());
}

bool factionOption(const CommandOptions &options, int *faction, QString *problem)
{
    const QString text = options.values.value(QStringLiteral("--faction"));
    if (text.isEmpty())
        return true;
    bool ok = false;
    *faction = text.toInt(&ok);
    if (!ok)
        *problem = QStringLiteral("--faction braucht eine Parteinummer (-2 für alle).");
    return ok;
}

void printRows(const GridRows &rows)
{
    for (const QStringList &row : rows)
        out() << row.join(u'\t') << "\n";
}

} // namespace

int groups(const Arguments &args)
{
    QStringList rest = args.rest;
    GroupingSelection selection;
    QString problem;
    if (!takeDateOption(&rest, &selection.dateComparison, &selection.date, &problem))
        return usage(problem);
    CommandOptions options;
    int slot = 0;
    if (const int status = parseSlotOptions(rest,
            {QStringLiteral("--group"), QStringLiteral("--faction"), QStringLiteral("--unit"),
                QStringLiteral("--name")},
            0, &options, &slot))
        return status;
    if (!factionOption(options, &selection.faction, &problem))
        return usage(problem);
    selection.group = options.values.value(QStringLiteral("--group"), selection.group);
    selection.unitNumber = options.values.value(QStringLiteral("--unit"));
    selection.unitName = options.values.value(QStringLiteral("--name"));

    OpenedSlot opened;
    openGame(args, slot, &opened);
    Session &session = *opened.session;
    if (selection.date.isEmpty())
        selection.date = QString::number(session.game().newestTurn);
    const GroupingReport report = Groupings(session.database()).report(session.game(), selection);
    out() << report.count << "\n";
    printRows(report.gridRows());
    return 0;
}

int setGroup(const Arguments &args)
{
    CommandOptions options;
    int slot = 0;
    if (const int status = parseSlotOptions(args.rest, {}, 3, &options, &slot))
        return status;
    const QString &position = options.positional[0];
    const QString &unit = options.positional[1];
    const QString &group = options.positional[2];
    if (!Groupings::groupMenuEntries().contains(group)) {
        return usage(QStringLiteral("Gruppe ist eine von: ")
            + Groupings::groupMenuEntries().join(QStringLiteral(", ")));
    }

    OpenedSlot opened;
    openGame(args, slot, &opened);
    Session &session = *opened.session;
    if (group == QStringLiteral("Steuereintreiber")) {
        out() << "Steuereintreiber: keine Änderung.\n";
        return 0;
    }
    if (!Groupings(session.database())
             .groupchange(session.game(), group, position, unit, &session.workspaceLock())) {
        err() << "Keine Einheit " << unit << " in " << position << " in Spiel " << slot << ".\n";
        return 1;
    }
    out() << "Einheit " << unit << " in " << position << ": Gruppe " << group << "\n";
    return 0;
}

int army(const Arguments &args)
{
    CommandOptions options;
    int slot = 0;
    if (const int status
        = parseSlotOptions(args.rest, {QStringLiteral("--army")}, 0, &options, &slot))
        return status;
    const QString choice = options.values.value(QStringLiteral("--army"), QStringLiteral("Alle"));
    if (!Armies::armyChoices().contains(choice)) {
        return usage(QStringLiteral("--army ist eines von: ")
            + Armies::armyChoices().join(QStringLiteral(", ")));
    }

    OpenedSlot opened;
    openGame(args, slot, &opened);
    Session &session = *opened.session;
    const ArmyReport report = Armies(session.database()).report(session.game(), choice);
    out() << "Soldaten: " << report.soldiers << "\n";
    out() << "Waffen: " << report.weapons << "\n";
    out() << "Fernwaffen: " << report.rangedWeapons << "\n";
    printRows(report.rows);
    return 0;
}

int ships(const Arguments &args)
{
    QStringList rest = args.rest;
    ShipRegisterSelection selection;
    QString problem;
    if (!takeDateOption(&rest, &selection.dateComparison, &selection.date, &problem))
        return usage(problem);
    CommandOptions options;
    int slot = 0;
    if (const int status = parseSlotOptions(
            rest, {QStringLiteral("--faction"), QStringLiteral("--type")}, 0, &options, &slot))
        return status;
    if (!factionOption(options, &selection.faction, &problem))
        return usage(problem);
    selection.type = options.values.value(QStringLiteral("--type"), selection.type);

    OpenedSlot opened;
    openGame(args, slot, &opened);
    Session &session = *opened.session;
    if (selection.date.isEmpty())
        selection.date = QString::number(session.game().newestTurn);
    const ShipRegisterReport report
        = ShipRegister(session.database()).report(session.game(), selection);
    out() << "gefundene Schiffe: " << report.count << "\n";
    printRows(report.rows);
    return 0;
}

} // namespace tolvimar::cli
