#include "mapcommands.h"

#include "app/mapoperations.h"
#include "app/session.h"
#include "base/errors.h"
#include "base/gamefiles.h"
#include "base/position.h"
#include "cliutil.h"
#include "map/imagefile.h"

#include <QFileInfo>

namespace tolvimar::cli {

namespace {

// The options every map command shares: --slot K, an optional --level L and, for
// the pictures, --out FILE.
struct MapCommand
{
    int slot = 0;
    std::optional<int> level;
    QString outFile;
    QStringList positional;
};

bool parseMapCommand(const Arguments &args, bool withOut, MapCommand *command, int *exitCode)
{
    CommandOptions options;
    QString problem;
    QStringList valueOptions = {QStringLiteral("--slot"), QStringLiteral("--level")};
    if (withOut)
        valueOptions.append(QStringLiteral("--out"));
    if (!parseCommandOptions(args.rest, valueOptions, {}, &options, &problem)) {
        *exitCode = usage(problem);
        return false;
    }
    command->slot = slotOption(options, &problem);
    if (command->slot == 0) {
        *exitCode = usage(problem);
        return false;
    }
    if (options.values.contains(QStringLiteral("--level"))) {
        int level = 0;
        if (!parseStrictInt(options.values.value(QStringLiteral("--level")), &level)) {
            *exitCode = usage(QStringLiteral("--level braucht eine ganze Zahl."));
            return false;
        }
        command->level = level;
    }
    if (withOut) {
        command->outFile = options.values.value(QStringLiteral("--out"));
        if (command->outFile.isEmpty()) {
            *exitCode = usage(args.command + QStringLiteral(" braucht --out DATEI.png."));
            return false;
        }
    }
    command->positional = options.positional;
    return true;
}

// Writes a picture as PNG, atomically. Throws UserError.
void savePng(const QImage &image, const QString &path)
{
    writeImageFile(path, image, "PNG");
}

} // namespace

int renderMap(const Arguments &args)
{
    MapCommand command;
    int exitCode = 0;
    if (!parseMapCommand(args, false, &command, &exitCode))
        return exitCode;
    if (!command.positional.isEmpty())
        return usage(QStringLiteral("render-map kennt keine weiteren Argumente."));
    ScriptedPrompter prompter;
    echoToStderr(prompter);
    const std::unique_ptr<Session> opened = openWorkspace(args, prompter);
    Session &session = *opened;
    openSlot(session, command.slot, QString());
    MapOperations maps(session);
    const int level = command.level.value_or(0);
    maps.selectLevel(level);
    if (!maps.displayWorldMapHex()) {
        err() << "Ebene " << level << " hat keine Regionen; keine Karte geschrieben.\n";
        return 1;
    }
    const MapState &state = session.mapState();
    out() << "Datei: " << QDir::toNativeSeparators(session.worldMapFile(level)) << "\n"
          << "Breite: " << state.worldMapSize().width() << "\n"
          << "Höhe: " << state.worldMapSize().height() << "\n"
          << "Ursprung: " << positionText(state.origin().x(), state.origin().y()) << "\n";
    return 0;
}

int smallMap(const Arguments &args)
{
    MapCommand command;
    int exitCode = 0;
    if (!parseMapCommand(args, true, &command, &exitCode))
        return exitCode;
    int x = 0;
    int y = 0;
    if (command.positional.size() != 2 || !parseStrictInt(command.positional[0], &x)
        || !parseStrictInt(command.positional[1], &y))
        return usage(QStringLiteral("small-map braucht die Koordinaten X Y als ganze Zahlen."));
    ScriptedPrompter prompter;
    echoToStderr(prompter);
    const std::unique_ptr<Session> opened = openWorkspace(args, prompter);
    Session &session = *opened;
    openSlot(session, command.slot, QString());
    MapOperations maps(session);
    // Without --level the region view sees every level, as after the game's start.
    if (command.level)
        maps.selectLevel(*command.level);
    maps.displaySmallMap(x, y);
    savePng(session.mapState().smallMap(), command.outFile);
    return 0;
}

int overlay(const Arguments &args)
{
    MapCommand command;
    int exitCode = 0;
    if (!parseMapCommand(args, true, &command, &exitCode))
        return exitCode;
    static const QHash<QString, OverlayKind> kinds = {
        {QStringLiteral("ships"), OverlayKind::Ships},
        {QStringLiteral("units"), OverlayKind::Units},
        {QStringLiteral("messages"), OverlayKind::RegionMessages},
    };
    if (command.positional.size() != 1 || !kinds.contains(command.positional.first()))
        return usage(QStringLiteral("overlay braucht ships, units oder messages."));
    ScriptedPrompter prompter;
    echoToStderr(prompter);
    const std::unique_ptr<Session> opened = openWorkspace(args, prompter);
    Session &session = *opened;
    openSlot(session, command.slot, QString());
    MapOperations maps(session);
    const int level = command.level.value_or(0);
    // A world map drawn here is cached where the workspace can be written; a
    // read-only one still gets its overlay.
    const QFileInfo images(imagesDir(session.game().programPath));
    if (!QFileInfo(session.workspace().dir()).isWritable() || !images.isWritable()) {
        maps.setCaching(false);
        err() << "Das Arbeitsverzeichnis ist schreibgeschützt; die Weltkarte wird nicht "
                 "zwischengespeichert.\n";
    }
    // The layer lies on the world map of the level: its cache, or a new rendering.
    const bool shown = level != 0
        ? maps.switchLevel(level) != MapOperations::SwitchResult::NoRegions
        : !session.mapState().worldMap().isNull() || maps.displayWorldMapHex();
    if (!shown) {
        err() << "Ebene " << level << " hat keine Regionen; keine Ebene gezeichnet.\n";
        return 1;
    }
    bool admitted = true;
    const OverlayLayer layer = maps.drawOverlay(kinds.value(command.positional.first()), &admitted);
    if (!admitted)
        err() << "Keine eigenen Einheiten der neuesten Runde.\n";
    if (layer.badPositions > 0)
        err() << layer.badPositions << " Positionen sind nicht lesbar.\n";
    savePng(layer.image, command.outFile);
    out() << "Datei: " << QDir::toNativeSeparators(command.outFile) << "\n"
          << "Breite: " << layer.image.width() << "\n"
          << "Höhe: " << layer.image.height() << "\n";
    return 0;
}

} // namespace tolvimar::cli
