#pragma once

#include "../base/activegame.h"
#include "../orders/checker.h"
#include "mailsettings.h"

#include <QString>

namespace tolvimar {

class OrderFile;
class WorkspaceLock;

// Sends the order file by e-mail: the checker first, then the message through the
// player's server, and a copy of what was sent, with the date and the server's
// answer, in the game folder's "gesendet/". Nothing is marked as sent on a failure.
class OrderSending
{
public:
    struct Check
    {
        enum Status {
            Passed, // the checker ran and found nothing (exit 0)
            Failed, // it ran and reported errors (another exit status)
            NotRun, // none is configured, or it could not run: sending goes on
        };
        Status status = NotRun;
        QString output; // what the checker printed
        QString message; // why it did not run, or what it reported
        int exitCode = 0;
    };

    struct Result
    {
        bool sent = false;
        QString message; // "Gesendet an … (250 …)", or why nothing was sent
        QString reply; // the server's answer
        QString copyPath; // the copy in "gesendet/"
        QString copyProblem; // sent, but the copy could not be kept
        bool loginRefused = false; // the server refused user or password
    };

    OrderSending(const ActiveGame &game, OrderFile &orderFile);

    // Saves the order file and runs the checker on it when one is configured.
    Check check(int timeoutMs = 60000);
    // The checker's part of check() on the file as saved, for a window that runs it
    // on a worker thread after saving the order file itself.
    static bool hasChecker(const ActiveGame &game);
    static Check checkSaved(const ActiveGame &game, const QString &orderPath, WorkspaceLock *lock,
        int timeoutMs = 60000);
    // Saves the order file and sends it as it is then on disk.
    Result send(const MailSettings &settings, const QString &password);
    // The folder of the copies: "gesendet/" in the program path.
    static QString sentFolder(const QString &programPath);

    // What a run of the checker (or its failure to save or start) means for sending.
    static Check checkOf(const OrderChecker::Result &ran);

private:
    ActiveGame m_game;
    OrderFile &m_orderFile;
};

} // namespace tolvimar
