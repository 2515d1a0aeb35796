#include "session.h"

#include "../analysis/pointsstatistics.h"
#include "../db/database.h"
#include "../map/smallmap.h"
#include "../base/errors.h"
#include "../base/gamefiles.h"
#include "../base/prompter.h"
#include "statusstore.h"

#include <QDir>
#include <QFileInfo>

namespace tolvimar {

Session::Session(const QString &workspaceDir, Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_workspace(workspaceDir)
    , m_prompter(prompter)
{
    m_workspace.ensure();
    m_selection.setFilePath(m_workspace.configPath());
    m_selection.load();
    m_db = std::make_unique<Database>(m_workspace.databasePath());
}

Session::~Session() = default;

Configuration Session::loadConfiguration() const
{
    Configuration config(m_workspace.configPath());
    config.load();
    return config;
}

QString Session::caption() const
{
    return m_game.typeText + QStringLiteral(" Assistent");
}

void Session::spielinitialisierung(int game, const QString &name, const QString &typeText)
{
    // The lines the selection dialog read are the source of the game's values.
    Configuration scratch = m_selection;
    m_game = ActiveGame();
    m_game.number = game;
    m_game.typeText = typeText;
    m_game.name = name;
    m_game.type = gameTypeFromText(typeText);
    m_game.mapLevel = 0;

    m_prompter.setBusy(true);
    struct BusyGuard
    {
        Prompter &p;
        ~BusyGuard() { p.setBusy(false); }
    } busy {m_prompter};

    m_template.clear();
    m_template.setSaved(true);

    m_game.factionName = scratch.line(game, Configuration::FactionName);
    m_game.factionNumber = scratch.intLine(game, Configuration::FactionNumber);
    m_game.newestTurn = scratch.intLine(game, Configuration::NewestTurn);
    m_game.programPath
        = m_workspace.resolveProgramPath(scratch.line(game, Configuration::ProgramPath));
    m_game.originX = scratch.intLine(game, Configuration::OriginX);
    m_game.originY = scratch.intLine(game, Configuration::OriginY);
    m_game.homeX = scratch.intLine(game, Configuration::HomeX);
    m_game.homeY = scratch.intLine(game, Configuration::HomeY);
    m_game.currentX = m_game.homeX;
    m_game.currentY = m_game.homeY;
    m_game.base = scratch.intLine(game, Configuration::IdentifierBase, 36);
    if (m_game.base < 2 || m_game.base > 36) {
        throw UserError(QStringLiteral("Die Konfigurationsdatei %1, Zeile %2: die Basis %3 liegt "
                                       "nicht zwischen 2 und 36.")
                            .arg(QDir::toNativeSeparators(scratch.filePath()))
                            .arg(Configuration::blockBase(game) + Configuration::IdentifierBase + 1)
                            .arg(m_game.base));
    }
    m_game.umlaut = scratch.intLine(game, Configuration::Umlaut);
    m_game.checkerPath = scratch.line(game, Configuration::CheckerPath);
    ensureGameFolders();
    emit gameOpened();

    drawSmallMap(*this);
    zeigePunkteStatistik(*this);
    if (!QFileInfo::exists(worldMapFile(0)))
        m_prompter.notice(
            QStringLiteral("Keine Weltkarte gespeichert (%1); \"Karte aktualisieren\" "
                           "zeichnet sie.")
                .arg(QDir::toNativeSeparators(worldMapFile(0))));
    StatusStore(*this).loadStatusData();
}

void Session::ensureGameFolders() const
{
    QDir().mkpath(imagesDir(m_game.programPath));
    QDir().mkpath(statusDataDir(m_game.programPath));
}

void Session::saveAktuelleOptionen()
{
    Configuration config = loadConfiguration();
    const int k = m_game.number;
    config.setLine(k, Configuration::GameName, m_game.name);
    config.setLine(k, Configuration::GameTypeText, m_game.typeText);
    config.setLine(k, Configuration::FactionName, m_game.factionName);
    config.setLine(k, Configuration::FactionNumber, QString::number(m_game.factionNumber));
    if (config.intLine(k, Configuration::NewestTurn) < m_game.newestTurn)
        config.setLine(k, Configuration::NewestTurn, QString::number(m_game.newestTurn));
    if (m_game.mapLevel == 0) {
        config.setLine(k, Configuration::OriginX, QString::number(m_game.originX, 'g', 17));
        config.setLine(k, Configuration::OriginY, QString::number(m_game.originY, 'g', 17));
    }
    config.setLine(k, Configuration::IdentifierBase, QString::number(m_game.base));
    config.setLine(k, Configuration::Umlaut, QString::number(m_game.umlaut));
    config.save();
}

void Session::cleanup()
{
    m_pages.cleanup();
    emit pagesChanged();
}

Session::Settings Session::settings() const
{
    const Configuration config = loadConfiguration();
    const int k = m_game.number;
    return {config.line(k, Configuration::HomeX), config.line(k, Configuration::HomeY),
        config.line(k, Configuration::ProgramPath), config.line(k, Configuration::CheckerPath)};
}

void Session::saveSettings(const Settings &settings)
{
    Configuration config = loadConfiguration();
    const int k = m_game.number;
    config.setLine(k, Configuration::HomeX, settings.homeX);
    config.setLine(k, Configuration::HomeY, settings.homeY);
    config.setLine(k, Configuration::ProgramPath, settings.programPath);
    config.setLine(k, Configuration::CheckerPath, settings.checkerPath);
    config.save();
    m_game.programPath = m_workspace.resolveProgramPath(settings.programPath);
    m_game.checkerPath = settings.checkerPath;
    ensureGameFolders();
}

void Session::setStatus(const StatusValues &status)
{
    m_status = status;
    emit statusChanged();
}

void Session::setStatusValue(StatusField field, const QString &value)
{
    m_status[field] = value;
    emit statusChanged();
}

void Session::setPages(const ReportPages &pages)
{
    m_pages = pages;
    emit pagesChanged();
}

void Session::setPointsGrid(const QList<QStringList> &grid)
{
    m_pointsGrid = grid;
    emit pointsGridChanged();
}

QString Session::worldMapFile(int level) const
{
    return tolvimar::worldMapFile(m_game.programPath, m_game.number, level);
}

} // namespace tolvimar
