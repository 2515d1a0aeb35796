#pragma once

#include "app/session.h"
#include "base/configuration.h"
#include "base/gamefiles.h"
#include "base/scriptedprompter.h"
#include "base/workspace.h"
#include "db/database.h"
#include "gamefixture.h"
#include "testsupport.h"

#include <QVariantList>
#include <memory>

namespace tolvimar::test {

// A workspace whose slot 1 is a Kalmora game of faction 42 with newest turn 705, and
// rows written straight into its tables before the game is started.
struct MapGame
{
    static constexpr int kFaction = 42;
    static constexpr int kTurn = 705;

    MapGame()
    {
        ws.setLine(1, Configuration::GameName, QStringLiteral("Karten"));
        ws.setLine(1, Configuration::GameTypeText, QStringLiteral("Kalmora"));
        ws.setLine(1, Configuration::FactionNumber, QString::number(kFaction));
        ws.setLine(1, Configuration::NewestTurn, QString::number(kTurn));
        session = std::make_unique<Session>(ws.path(), prompter);
    }

    // Sets a configuration line; the session reads the file anew (as a restart would).
    void setLine(int offset, const QString &text)
    {
        session.reset();
        ws.setLine(1, offset, text);
        session = std::make_unique<Session>(ws.path(), prompter);
    }

    void start() { session->openGame(1, QStringLiteral("Karten"), QStringLiteral("Kalmora")); }

    // Rows of slot 1 dated the newest turn unless a row says otherwise.
    GameRows rows() { return GameRows(session->database(), 1, kTurn); }

    void exec(const QString &sql, const QVariantList &values)
    {
        execute(session->database(), sql, values);
    }

    void region(int x, int y, int level, const QString &terrain, const QString &name = QString(),
        const QString &surroundings = QString(), int infoDatum = kTurn)
    {
        rows().region(x, y, level,
            {{QStringLiteral("Regiontyp"), terrain}, {QStringLiteral("Regionname"), name},
                {QStringLiteral("Umgebung"), surroundings},
                {QStringLiteral("Info Datum"), infoDatum}});
    }

    void level(int level, const QString &name) { rows().level(level, name); }

    void ship(int number, const QString &position, int faction, int infoDatum = kTurn)
    {
        rows().ship(number, position,
            {{QStringLiteral("Partei"), faction}, {QStringLiteral("Info Datum"), infoDatum}});
    }

    void unit(int number, const QString &position, const QString &flags = QString(),
        int faction = kFaction, int infoDatum = kTurn)
    {
        rows().unit(number, position,
            {{QStringLiteral("Partei Nr"), faction}, {QStringLiteral("Info Datum"), infoDatum},
                {QStringLiteral("Flags"), flags}});
    }

    // A rectangle of regions on a level, all of one terrain.
    void block(int minX, int maxX, int minY, int maxY, int level, const QString &terrain)
    {
        for (int x = minX; x <= maxX; ++x)
            for (int y = minY; y <= maxY; ++y)
                region(x, y, level, terrain);
    }

    // A file of the slot's images folder (known before the game starts).
    QString imagesPath(const QString &name) const
    {
        const QString programPath = Workspace(ws.path()).resolveProgramPath(
            ws.config().line(1, Configuration::ProgramPath));
        return imageFile(programPath, name);
    }

    TempWorkspace ws;
    ScriptedPrompter prompter;
    std::unique_ptr<Session> session;
};

} // namespace tolvimar::test
