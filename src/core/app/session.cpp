#include "session.h"

#include "../base/compactlines.h"
#include "../base/errors.h"
#include "../base/filebatch.h"
#include "../base/gamefiles.h"
#include "../base/prompter.h"
#include "../db/database.h"
#include "../orders/ordervocabulary.h"
#include "filestep.h"
#include "mapoperations.h"
#include "statusstore.h"
#include "turnsummary.h"

#include <QDir>
#include <optional>

namespace tolvimar {

Session::Session(const QString &workspaceDir, Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_workspace(workspaceDir)
    , m_prompter(prompter)
    , m_lock(m_workspace.dir())
{
    makeDirectory(m_workspace.dir());
    if (!QFileInfo::exists(m_workspace.configPath())) {
        const WorkspaceWriteScope write(&m_lock);
        m_workspace.ensure();
    }
    m_db = std::make_unique<Database>(m_workspace.databasePath());
    // A program stopped between its commit and its last file leaves a journal: the
    // files are brought to the state of the database before anything reads them.
    const QString journal = FileStepJournal::journalPath(m_workspace.dir());
    if (QFileInfo::exists(journal) || QFileInfo(journal).isSymLink()) {
        // A program that holds the lock is still at its step: nothing was left behind.
        std::optional<WorkspaceWriteScope> write;
        try {
            write.emplace(&m_lock);
        } catch (const UserError &) {
        }
        const QString done = write ? FileStepJournal::recover(*m_db, m_workspace.dir()) : QString();
        if (!done.isEmpty())
            m_prompter.message(
                Prompter::Kind::Warning, QStringLiteral("Dateien nachgezogen"), done);
    }
    m_selection.setFilePath(m_workspace.configPath());
    m_selection.load();
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

void Session::openGame(int game, const QString &name, const QString &typeText)
{
    // The lines the selection dialog read are the source of the game's values.
    Configuration scratch = m_selection;
    // Values read before a failing line stay, as each step of the opening does.
    m_game = ActiveGame();
    ActiveGame &g = m_game;
    g.number = game;
    g.typeText = typeText;
    g.name = name;
    g.type = gameTypeFromText(typeText);

    BusyScope busy(m_prompter);
    m_template.clear();
    m_template.setSaved(true);

    g.factionName = scratch.line(game, Configuration::FactionName);
    g.factionNumber = scratch.intLine(game, Configuration::FactionNumber);
    g.newestTurn = scratch.intLine(game, Configuration::NewestTurn);
    g.programPath = m_workspace.resolveProgramPath(scratch.line(game, Configuration::ProgramPath));
    const QPointF origin(scratch.intLine(game, Configuration::OriginX),
        scratch.intLine(game, Configuration::OriginY));
    g.homeX = scratch.intLine(game, Configuration::HomeX);
    g.homeY = scratch.intLine(game, Configuration::HomeY);
    g.base = scratch.intLine(game, Configuration::IdentifierBase, 36);
    if (g.base < 2 || g.base > 36) {
        throw UserError(QStringLiteral("Die Konfigurationsdatei %1, Zeile %2: die Basis %3 liegt "
                                       "nicht zwischen 2 und 36.")
                            .arg(QDir::toNativeSeparators(scratch.filePath()))
                            .arg(Configuration::blockBase(game) + Configuration::IdentifierBase + 1)
                            .arg(g.base));
    }
    g.umlaut = scratch.intLine(game, Configuration::Umlaut);
    g.checkerPath = scratch.line(game, Configuration::CheckerPath);
    ensureGameFolders();
    m_mapState.reset(origin, QPoint(g.homeX, g.homeY));
    dropOrderVocabulary();
    emit gameChanged();
    emit gameOpened();

    fillPointsStatistics(*this);
    // The small map around home, the level-0 map from its cache (a missing one is noted).
    MapOperations(*this).openGame();
    StatusStore(*this).loadStatusData();
}

void Session::reopenGame()
{
    m_selection.load();
    const ActiveGame game = m_game;
    openGame(game.number, game.name, game.typeText);
}

void Session::setGame(const ActiveGame &game)
{
    m_game = game;
    dropOrderVocabulary();
    emit gameChanged();
}

std::shared_ptr<const OrderVocabulary> Session::orderVocabulary()
{
    if (!m_vocabulary) {
        m_vocabularyProblems.clear();
        m_vocabulary = std::make_shared<const OrderVocabulary>(
            OrderVocabulary::load(*m_db, m_game, &m_vocabularyProblems));
    }
    return m_vocabulary;
}

void Session::dropOrderVocabulary()
{
    m_vocabulary.reset();
    m_vocabularyProblems.clear();
}

void Session::ensureGameFolders() const
{
    // A folder that cannot be made is noted here; the write that needs it says why.
    for (const QString &dir : {imagesDir(m_game.programPath), statusDataDir(m_game.programPath)}) {
        try {
            makeDirectory(dir);
        } catch (const UserError &e) {
            m_prompter.notice(e.message());
        }
    }
}

void Session::saveGameSlot()
{
    const WorkspaceWriteScope write(&m_lock);
    Configuration config = loadConfiguration();
    fillGameSlot(config, m_game);
    config.save();
}

void Session::fillGameSlot(Configuration &config, const ActiveGame &game) const
{
    applyGameLines(config, game, m_mapState.level(), m_mapState.origin());
}

void Session::applyGameLines(
    Configuration &config, const ActiveGame &game, int mapLevel, const QPointF &mapOrigin)
{
    const int k = game.number;
    config.setLine(k, Configuration::GameName, game.name);
    config.setLine(k, Configuration::GameTypeText, game.typeText);
    config.setLine(k, Configuration::FactionName, game.factionName);
    config.setLine(k, Configuration::FactionNumber, QString::number(game.factionNumber));
    if (config.intLine(k, Configuration::NewestTurn) < game.newestTurn)
        config.setLine(k, Configuration::NewestTurn, QString::number(game.newestTurn));
    if (mapLevel == 0) {
        config.setLine(k, Configuration::OriginX, QString::number(mapOrigin.x(), 'g', 17));
        config.setLine(k, Configuration::OriginY, QString::number(mapOrigin.y(), 'g', 17));
    }
    config.setLine(k, Configuration::IdentifierBase, QString::number(game.base));
    config.setLine(k, Configuration::Umlaut, QString::number(game.umlaut));
}

void Session::cleanup()
{
    restoreHeldPages();
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
    // The home region is read as whole numbers when a game starts.
    for (const QString &value : {settings.homeX, settings.homeY}) {
        int number = 0;
        if (!value.trimmed().isEmpty() && !parseStrictInt(value, &number))
            throw UserError(QStringLiteral("Die Heimatregion braucht ganze Zahlen; \"%1\" ist "
                                           "keine. Die Einstellungen wurden nicht gespeichert.")
                                .arg(value));
    }
    const WorkspaceWriteScope write(&m_lock);
    Configuration config = loadConfiguration();
    const int k = m_game.number;
    config.setLine(k, Configuration::HomeX, settings.homeX);
    config.setLine(k, Configuration::HomeY, settings.homeY);
    config.setLine(k, Configuration::ProgramPath, settings.programPath);
    config.setLine(k, Configuration::CheckerPath, settings.checkerPath);
    config.save();
    ActiveGame g = m_game;
    g.programPath = m_workspace.resolveProgramPath(settings.programPath);
    g.checkerPath = settings.checkerPath;
    setGame(g);
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

struct Session::HeldPages
{
    CompactLines lines[int(Page::Count)];
    bool kaempfeRed = false;
};

void Session::setPages(const ReportPages &pages)
{
    m_heldPages.reset();
    m_pages = pages;
    emit pagesChanged();
}

void Session::holdPages()
{
    if (m_heldPages)
        return; // held already, and not brought back since
    auto held = std::make_unique<HeldPages>();
    for (int p = 0; p < int(Page::Count); ++p)
        held->lines[p] = CompactLines(m_pages.lines[p]);
    held->kaempfeRed = m_pages.kaempfeRed;
    m_pages = ReportPages();
    m_heldPages = std::move(held);
}

void Session::restoreHeldPages() const
{
    if (!m_heldPages)
        return;
    ReportPages pages;
    for (int p = 0; p < int(Page::Count); ++p)
        pages.lines[p] = m_heldPages->lines[p].lines();
    pages.kaempfeRed = m_heldPages->kaempfeRed;
    m_pages = std::move(pages);
    m_heldPages.reset();
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
