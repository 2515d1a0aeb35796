#include "unitcommands.h"

#include "app/session.h"
#include "base/errors.h"
#include "base/identifiertext.h"
#include "base/identifiers.h"
#include "base/position.h"
#include "base/textfile.h"
#include "base/workspacelock.h"
#include "cliutil.h"
#include "orders/orderblock.h"
#include "orders/orderedit.h"
#include "orders/unitrecord.h"

#include <QDir>

namespace tolvimar::cli {

namespace {

// A unit's identifier text as the unit list shows it; 0 when it is none.
int unitNumber(const QString &text, int base)
{
    int number = 0;
    return parseIdentifierText(text, base, &number) ? number : 0;
}

// The command's game, region position and unit number, read from "--slot K X Y NR
// [--level L]"; returns -1 when all is well, else the exit status.
struct UnitArguments
{
    OpenedSlot opened;
    // An edit holds the workspace from before the game is opened: it reads the turn,
    // the order file and the unit's row as the last writer left them.
    bool holdsWorkspace = false;
    std::optional<WorkspaceWriteScope> write;
    CommandOptions options;
    QString position;
    int number = 0;
    QString numberText;
    QString input; // set-orders: the orders file and its bytes
    QByteArray inputBytes;
};

// An orders file for one unit is small; a larger one is a mistake.
constexpr qint64 kMaxOrdersBytes = qint64(1) << 20;

int openUnitCommand(
    const Arguments &args, const QStringList &valueOptions, int positionalCount, UnitArguments *u)
{
    QString problem;
    if (!parseCommandOptions(args.rest, valueOptions, {}, &u->options, &problem))
        return usage(problem);
    const int slot = slotOption(u->options, &problem);
    if (slot == 0)
        return usage(problem);
    const QStringList &p = u->options.positional;
    if (p.size() != positionalCount)
        return usage(args.command + QStringLiteral(": falsche Anzahl von Argumenten."));
    int level = 0;
    const QString levelText
        = u->options.values.value(QStringLiteral("--level"), QStringLiteral("0"));
    if (!parseStrictInt(levelText, &level))
        return usage(QStringLiteral("--level braucht eine Zahl."));
    if (positionalCount >= 3) {
        int x = 0;
        int y = 0;
        if (!parseStrictInt(p[0], &x) || !parseStrictInt(p[1], &y))
            return usage(QStringLiteral("X und Y müssen Zahlen sein."));
        u->position = positionText(x, y, level);
    }
    echoToStderr(u->opened.prompter);
    u->opened.session = openWorkspace(args, u->opened.prompter);
    if (u->holdsWorkspace)
        u->write.emplace(&u->opened.session->workspaceLock());
    openSlot(*u->opened.session, slot, QString());
    u->numberText = p[positionalCount >= 3 ? 2 : 0];
    u->number = unitNumber(u->numberText, u->opened.session->game().base);
    if (u->number == 0)
        return usage(u->numberText + QStringLiteral(" ist keine Einheitennummer."));
    return -1;
}

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    text.replace(u'\r', QStringLiteral("\\n"));
    text.replace(u'\n', QStringLiteral("\\n"));
    return text;
}

int noUnit(const UnitArguments &u)
{
    err() << "Keine Einheit " << u.numberText << " in Region " << u.position << ".\n";
    return 1;
}

int noBlock(const UnitOrdersEdit &edit)
{
    err() << "Die Zugdatei " << QDir::toNativeSeparators(edit.orderFile)
          << " enthält keine Einheit " << edit.unitText << ".\n";
    return 1;
}

} // namespace

int unit(const Arguments &args)
{
    UnitArguments u;
    if (const int exitCode
        = openUnitCommand(args, {QStringLiteral("--slot"), QStringLiteral("--level")}, 3, &u);
        exitCode >= 0)
        return exitCode;
    Session &session = *u.opened.session;
    UnitRecord record(session.database());
    const std::optional<UnitViewTexts> view
        = record.selectUnit(session.game(), u.position, u.number);
    if (!view)
        return noUnit(u);
    const QString camouflage = !view->camouflageEnabled ? QStringLiteral("-")
        : view->camouflaged                             ? QStringLiteral("ja")
                                                        : QStringLiteral("nein");
    out() << "Parteizugehörigkeit: " << view->factionNumber << "\n"
          << "Partei Name: " << view->factionName << "\n"
          << "getarnt?: " << camouflage << "\n"
          << "Anzahl Personen: " << view->persons << "\n"
          << "Silber: " << view->silver << "\n"
          << "militärischer Status: " << view->status << "\n"
          << "Kampfkraft: " << view->hitpoints << "\n"
          << "Beschreibung: " << oneLine(view->description) << "\n"
          << "Gegenstände:\n";
    for (const QString &line : view->items)
        out() << line << "\n";
    out() << "Talente:\n";
    for (const QString &line : view->skills)
        out() << line << "\n";
    return 0;
}

int orders(const Arguments &args)
{
    UnitArguments u;
    if (const int exitCode = openUnitCommand(args, {QStringLiteral("--slot")}, 1, &u);
        exitCode >= 0)
        return exitCode;
    Session &session = *u.opened.session;
    const QString path = session.orderFile().path();
    const QStringList lines = readTextLines(path);
    const ActiveGame &game = session.game();
    const QString unitText = numberText(u.number, game.type, game.base);
    const std::optional<BlockRange> block = findUnitBlock(lines, unitText);
    if (!block) {
        err() << "Die Zugdatei " << QDir::toNativeSeparators(path) << " enthält keine Einheit "
              << unitText << ".\n";
        return 1;
    }
    for (int i = block->header; i < block->end; ++i)
        out() << lines[i] << "\n";
    return 0;
}

int setOrders(const Arguments &args)
{
    UnitArguments u;
    u.holdsWorkspace = true;
    const QStringList valueOptions
        = {QStringLiteral("--slot"), QStringLiteral("--level"), QStringLiteral("--mark")};
    // The orders are read before the workspace is held, so that bad input waits for nothing.
    {
        CommandOptions options;
        QString problem;
        if (parseCommandOptions(args.rest, valueOptions, {}, &options, &problem)
            && options.positional.size() == 4) {
            u.input = options.positional[3];
            u.inputBytes = readRegularFile(u.input, kMaxOrdersBytes);
        }
    }
    if (const int exitCode = openUnitCommand(args, valueOptions, 4, &u); exitCode >= 0)
        return exitCode;
    const QString markText = u.options.values.value(QStringLiteral("--mark"));
    if (!markText.isEmpty() && markText != QStringLiteral("none") && markText != QStringLiteral("x")
        && markText != QStringLiteral("X"))
        return usage(QStringLiteral("--mark ist none, x oder X."));
    Session &session = *u.opened.session;
    const ActiveGame &game = session.game();

    if (!UnitRecord(session.database()).selectUnit(game, u.position, u.number))
        return noUnit(u);
    UnitOrdersEdit edit;
    edit.orderFile = session.orderFile().path();
    edit.game = game.number;
    edit.position = u.position;
    edit.number = u.number;
    edit.unitText = numberText(u.number, game.type, game.base);
    // A unit without a block is named as such before its orders are looked at.
    if (!findUnitBlock(readTextLines(edit.orderFile), edit.unitText))
        return noBlock(edit);
    edit.orders = ordersOfFile(u.inputBytes, edit.unitText, u.input);
    // Without --mark the unit keeps its mark.
    if (markText == QStringLiteral("none"))
        edit.mark = UnitMark::None;
    else if (markText == QStringLiteral("x"))
        edit.mark = UnitMark::Plain;
    else if (markText == QStringLiteral("X"))
        edit.mark = UnitMark::Long;
    switch (writeUnitOrders(session.database(), &session.workspaceLock(), edit)) {
    case UnitOrdersResult::NoUnit:
        return noUnit(u);
    case UnitOrdersResult::NoBlock:
        return noBlock(edit);
    case UnitOrdersResult::Written:
        break;
    }
    out() << "Befehle von Einheit " << edit.unitText
          << " geschrieben: " << QDir::toNativeSeparators(edit.orderFile) << "\n";
    return 0;
}

} // namespace tolvimar::cli
