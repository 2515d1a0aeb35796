#pragma once

#include "app/session.h"
#include "base/scriptedprompter.h"
#include "db/database.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace tolvimar::bench {

// A workspace (a temporary one, or the folder given) whose slot 1 is to hold the
// Kalmora game "Bench". With a faction, its configuration names the faction and the
// newest turn first; rows go into the database before start() opens the game.
class BenchGame
{
public:
    explicit BenchGame(int faction = 0, int turn = 0, const QString &workspace = QString());

    Session &session() { return *m_session; }
    Database &database() { return m_session->database(); }
    void start();

    ScriptedPrompter prompter;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Session> m_session;
};

// Units for the military reports, numbered from 100 at positions of a 400 x 250 block:
// one in seven of faction 4800, the others of `faction`; the groups in turn; one in
// `olderEvery` (0: none) of the turn before; weapons, talents and horses by number.
// Call it inside a transaction.
void writeArmyUnits(Database &db, int game, int count, int faction, int turn,
    const QStringList &groups, int olderEvery = 0);

} // namespace tolvimar::bench
