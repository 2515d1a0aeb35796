#include "benchgame.h"

#include "base/configuration.h"
#include "base/workspace.h"

#include <QSqlQuery>

namespace tolvimar::bench {

BenchGame::BenchGame(int faction, int turn, const QString &workspace)
{
    const QString dir = workspace.isEmpty() ? m_dir.path() : workspace;
    if (faction > 0) {
        Configuration config(Workspace(dir).configPath());
        config.createFresh();
        config.setLine(1, Configuration::GameTypeText, QStringLiteral("Kalmora"));
        config.setLine(1, Configuration::FactionNumber, QString::number(faction));
        config.setLine(1, Configuration::NewestTurn, QString::number(turn));
        config.save();
    }
    m_session = std::make_unique<Session>(dir, prompter);
}

void BenchGame::start()
{
    m_session->openGame(1, QStringLiteral("Bench"), QStringLiteral("Kalmora"));
}

void writeArmyUnits(Database &db, int game, int count, int faction, int turn,
    const QStringList &groups, int olderEvery)
{
    QSqlQuery u(db.connection());
    u.prepare(QStringLiteral(
        R"(INSERT INTO einheiten ("Spiel", "Einheit Nr", "Einheit Position", "Einheit Name",
               "Partei Nr", "Info Datum", "Personen", "Gruppe", "Hiebwaffen", "Ausdauer",
               "Speer", "Schwert", "Bogen", "Pferd")
           VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?))"));
    for (int i = 0; i < count; ++i) {
        const int persons = 1 + i % 50;
        const bool older = olderEvery > 0 && i % olderEvery == 0;
        const QVariantList values
            = {game, 100 + i, QStringLiteral("%1/%2").arg(i % 400).arg(i / 400 % 250),
                QStringLiteral("Einheit %1").arg(i), i % 7 == 0 ? 4800 : faction,
                older ? turn - 1 : turn, persons, groups[i % groups.size()],
                QStringLiteral("%1 3").arg(persons * 180), QStringLiteral("%1 2").arg(persons * 90),
                i % 3, i % 4, i % 5, i % 2};
        for (int k = 0; k < values.size(); ++k)
            u.bindValue(k, values[k]);
        u.exec();
    }
}

} // namespace tolvimar::bench
