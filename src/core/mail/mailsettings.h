#pragma once

#include "../base/activegame.h"

#include <QString>

namespace tolvimar {

class Workspace;
class WorkspaceLock;

// How a slot's orders are sent: kept with the slot's other settings
// ("tolvimar-spielK.ini"). The password is never among them.
struct MailSettings
{
    QString serverUrl; // "smtps://host:465" or "smtp://host:587"
    QString user; // empty: no login (only to a server on this machine)
    QString from; // the player's address
    QString to; // the game's order address
    QString subject; // empty: the default subject
    bool attach = false; // the orders as an attached file instead of the message text
    QString caFile; // certificates to trust instead of the system's; empty: the system's
    int timeoutSeconds = 60; // for the whole sending

    // Reads the slot's values; throws UserError when the file cannot be read.
    static MailSettings load(const Workspace &workspace, int game);
    // Stores them under the workspace lock. Throws UserError.
    void save(const Workspace &workspace, int game, WorkspaceLock *lock) const;

    // The subject to send: the one set, else "Befehle" and the faction's identifier.
    QString subjectFor(const ActiveGame &game) const;
};

} // namespace tolvimar
