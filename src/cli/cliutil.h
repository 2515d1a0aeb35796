#pragma once

#include "base/scriptedprompter.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QTextStream>
#include <memory>

namespace tolvimar {
class Prompter;
class Session;
} // namespace tolvimar

namespace tolvimar::cli {

// What every command shares: the output streams, the parsed command line, the
// options of a command and the opening of a game slot.

// stdout and stderr; control characters are written escaped ("\x1b").
QTextStream &out();
QTextStream &err();
// The same escaping for a text.
QString escaped(const QString &text);
// Prints the problem and the usage text to stderr; returns 2.
int usage(const QString &problem);
// The usage text (built from the command table).
QString usageText();

struct Arguments
{
    QString workspace = QDir::currentPath();
    QString command;
    QStringList rest;
};

// Splits off the global options and the command; returns false on a usage error.
bool parseGlobal(const QStringList &arguments, Arguments *parsed, QString *problem);

// Options of a command: "--name value" pairs, flags and positional arguments.
struct CommandOptions
{
    QHash<QString, QString> values;
    QSet<QString> flags;
    QStringList positional;
};

bool parseCommandOptions(const QStringList &rest, const QStringList &valueOptions,
    const QStringList &flagOptions, CommandOptions *options, QString *problem);
// Reads --slot; returns 0 and sets problem when it is missing or not 1 to 6.
int slotOption(const CommandOptions &options, QString *problem);

// Opens the workspace of a command that works on one that exists: a mistyped
// --workspace is reported instead of made into a new workspace. Throws UserError.
std::unique_ptr<Session> openWorkspace(const Arguments &args, Prompter &prompter);

// Messages and questions of core go to stderr.
void echoToStderr(ScriptedPrompter &prompter);
// Opens slot k as the selection dialog would, with the slot's name and game type
// (or the given type).
void openSlot(Session &session, int slot, const QString &typeOverride);

// A command that takes only "--slot K": the game opened as the program opens it.
struct OpenedSlot
{
    ScriptedPrompter prompter;
    std::unique_ptr<Session> session;
};

// Opens the slot of a command whose only option is "--slot K"; returns -1 with the
// slot opened, or the exit status of a usage error.
int openSlotCommand(const Arguments &args, OpenedSlot *opened);

} // namespace tolvimar::cli
