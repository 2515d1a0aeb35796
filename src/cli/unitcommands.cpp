#include "unitcommands.h"

#include "app/session.h"
#include "base/errors.h"
#include "base/position.h"
#include "base/textfile.h"
#include "cliutil.h"
#include "orders/orderblock.h"
#include "orders/unitrecord.h"
#include "report/identifiers.h"

#include <QDir>
#include <QRegularExpression>

namespace tolvimar::cli {

namespace {

// A unit's identifier text as the unit list shows it; 0 when it is none.
int unitNumber(const QString &text, int base)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9A-Za-z]+$"));
    if (!digits.match(text).hasMatch())
        return 0;
    const int number = strToId(text, base);
    return number > 0 ? number : 0;
}

// The command's game, region position and unit number, read from "--slot K X Y NR
// [--level L]"; returns -1 when all is well, else the exit status.
struct UnitArguments
{
    OpenedSlot opened;
    CommandOptions options;
    QString position;
    int number = 0;
    QString numberText;
};

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
    u->opened.session = std::make_unique<Session>(args.workspace, u->opened.prompter);
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
    if (const int exitCode = openUnitCommand(args,
            {QStringLiteral("--slot"), QStringLiteral("--level"), QStringLiteral("--mark")}, 4, &u);
        exitCode >= 0)
        return exitCode;
    const QString markText = u.options.values.value(QStringLiteral("--mark"));
    if (!markText.isEmpty() && markText != QStringLiteral("none") && markText != QStringLiteral("x")
        && markText != QStringLiteral("X"))
        return usage(QStringLiteral("--mark ist none, x oder X."));
    Session &session = *u.opened.session;
    const ActiveGame &game = session.game();
    const QStringList editorLines = readTextLines(u.options.positional[3]);

    // The order file as it is on disk, in its own encoding.
    OrderFile orderFile = session.orderFile();
    TextEncoding encoding = TextEncoding::Utf8;
    const QStringList lines = readTextLines(orderFile.path(), &encoding);
    OrderTemplate &orders = session.orderTemplate();
    orders.setEncoding(encoding);
    orders.setLines(lines);

    UnitRecord record(session.database());
    const std::optional<UnitViewTexts> view = record.selectUnit(game, u.position, u.number);
    if (!view)
        return noUnit(u);
    OrderBlock block(orders, session.database());
    const OrderBlock::Opened opened = block.open(game, *view);
    if (opened.lines.isEmpty()) {
        err() << "Die Zugdatei " << QDir::toNativeSeparators(orderFile.path())
              << " enthält keine Einheit " << block.unitText() << ".\n";
        return 1;
    }
    // Without --mark the unit keeps the mark the editor would show.
    UnitMark mark = opened.mark;
    if (markText == QStringLiteral("none"))
        mark = UnitMark::None;
    else if (markText == QStringLiteral("x"))
        mark = UnitMark::Plain;
    else if (markText == QStringLiteral("X"))
        mark = UnitMark::Long;
    block.apply(editorLines, mark);
    orderFile.save();
    out() << "Befehle von Einheit " << block.unitText()
          << " geschrieben: " << QDir::toNativeSeparators(orderFile.path()) << "\n";
    return 0;
}

} // namespace tolvimar::cli
