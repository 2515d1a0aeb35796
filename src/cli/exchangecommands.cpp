#include "exchangecommands.h"

#include "app/session.h"
#include "base/errors.h"
#include "base/position.h"
#include "cliutil.h"
#include "map/mapexchange.h"
#include "map/regionentry.h"

namespace tolvimar::cli {

namespace {

// Reads an integer option or argument; sets problem when it is not a whole number.
bool readInt(const QString &text, const QString &what, int *value, QString *problem)
{
    if (parseStrictInt(text, value))
        return true;
    *problem = what + QStringLiteral(" braucht eine ganze Zahl, nicht \"") + text
        + QStringLiteral("\".");
    return false;
}

// --level L, absent: every level (export) or the given default.
bool levelOption(const CommandOptions &options, std::optional<int> *level, QString *problem)
{
    const auto it = options.values.constFind(QStringLiteral("--level"));
    if (it == options.values.constEnd())
        return true;
    int value = 0;
    if (!readInt(*it, QStringLiteral("--level"), &value, problem))
        return false;
    *level = value;
    return true;
}

struct OpenGame
{
    ScriptedPrompter prompter;
    std::unique_ptr<Session> session;

    OpenGame(const Arguments &args, int slot)
    {
        echoToStderr(prompter);
        session = openWorkspace(args, prompter);
        openSlot(*session, slot, QString());
    }
    MapExchange exchange()
    {
        return MapExchange(session->database(), session->game().number, prompter);
    }
};

} // namespace

int exportMap(const Arguments &args)
{
    // "--around X Y" takes two values; the rest are plain options.
    QStringList rest = args.rest;
    std::optional<QPoint> around;
    QString problem;
    if (const qsizetype at = rest.indexOf(QStringLiteral("--around")); at >= 0) {
        if (at + 2 >= rest.size())
            return usage(QStringLiteral("--around braucht X und Y."));
        int x = 0;
        int y = 0;
        if (!readInt(rest[at + 1], QStringLiteral("--around"), &x, &problem)
            || !readInt(rest[at + 2], QStringLiteral("--around"), &y, &problem))
            return usage(problem);
        around = QPoint(x, y);
        rest.remove(at, 3);
    }
    CommandOptions options;
    if (!parseCommandOptions(rest,
            {QStringLiteral("--slot"), QStringLiteral("--level"), QStringLiteral("--radius")}, {},
            &options, &problem))
        return usage(problem);
    const int slot = slotOption(options, &problem);
    if (slot == 0)
        return usage(problem);
    if (options.positional.size() != 1)
        return usage(QStringLiteral("export-map braucht genau eine Ausgabedatei."));
    std::optional<int> level;
    if (!levelOption(options, &level, &problem))
        return usage(problem);
    int radius = 8;
    if (options.values.contains(QStringLiteral("--radius"))) {
        if (!around)
            return usage(QStringLiteral("--radius gilt nur mit --around X Y."));
        if (!readInt(options.values.value(QStringLiteral("--radius")), QStringLiteral("--radius"),
                &radius, &problem))
            return usage(problem);
        if (radius < 0)
            return usage(
                QStringLiteral("--radius braucht eine Zahl ab 0, nicht \"%1\".").arg(radius));
    }

    OpenGame game(args, slot);
    const QString path = options.positional.first();
    // A level the game does not know would give an empty file that looks like success.
    if (level && game.exchange().wholeMapLines(level).isEmpty()) {
        err() << "Ebene " << *level << " hat in Spiel " << slot
              << " keine Regionen; keine Datei geschrieben.\n";
        return 1;
    }
    const QString message = around ? game.exchange().writeArea(path, *around, radius, level)
                                   : game.exchange().writeWholeMap(path, level);
    out() << message << "\n";
    return 0;
}

int importMap(const Arguments &args)
{
    CommandOptions options;
    QString problem;
    if (!parseCommandOptions(args.rest, {QStringLiteral("--slot")}, {}, &options, &problem))
        return usage(problem);
    const int slot = slotOption(options, &problem);
    if (slot == 0)
        return usage(problem);
    if (options.positional.size() != 1)
        return usage(QStringLiteral("import-map braucht genau eine Kartendatei."));
    OpenGame game(args, slot);
    const int added = game.exchange().importFile(options.positional.first());
    out() << "Kartendaten eingelesen: " << added
          << (added == 1 ? " Region hinzugefügt.\n" : " Regionen hinzugefügt.\n");
    return 0;
}

int addRegion(const Arguments &args)
{
    CommandOptions options;
    QString problem;
    if (!parseCommandOptions(args.rest,
            {QStringLiteral("--slot"), QStringLiteral("--terrain"), QStringLiteral("--name"),
                QStringLiteral("--export-good"), QStringLiteral("--level")},
            {}, &options, &problem))
        return usage(problem);
    const int slot = slotOption(options, &problem);
    if (slot == 0)
        return usage(problem);
    EnteredRegion region;
    if (options.positional.size() != 2)
        return usage(QStringLiteral("add-region braucht die Koordinaten X und Y."));
    if (!readInt(options.positional[0], QStringLiteral("X"), &region.x, &problem)
        || !readInt(options.positional[1], QStringLiteral("Y"), &region.y, &problem))
        return usage(problem);
    region.terrain = options.values.value(QStringLiteral("--terrain"));
    if (!RegionEntry::terrains().contains(region.terrain))
        return usage(QStringLiteral("--terrain ist eines von: ")
            + RegionEntry::terrains().join(QStringLiteral(", ")) + u'.');
    std::optional<int> level;
    if (!levelOption(options, &level, &problem))
        return usage(problem);
    region.level = level.value_or(0);
    region.name = options.values.value(QStringLiteral("--name"));
    region.exportGood = options.values.value(QStringLiteral("--export-good"));

    OpenGame game(args, slot);
    const bool existed
        = RegionEntry(game.session->database(), game.session->game().number).save(region);
    out() << "Region " << positionText(region.x, region.y, region.level)
          << (existed ? " geändert.\n" : " angelegt.\n");
    return 0;
}

} // namespace tolvimar::cli
