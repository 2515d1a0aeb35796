#pragma once

#include "../base/activegame.h"
#include "../base/configuration.h"
#include "../base/workspace.h"
#include "../base/workspacelock.h"
#include "../map/mapstate.h"
#include "../orders/orderfile.h"
#include "../orders/ordertemplate.h"
#include "../report/reportpages.h"

#include <QObject>
#include <memory>

namespace tolvimar {

class Database;
class OrderVocabulary;
class Prompter;

// One run of the program on one workspace: the configuration the selection dialog
// read, the database, and the active game with its report pages, status values,
// order template and map position. Core owns this state; the window observes it.
class Session : public QObject
{
    Q_OBJECT
public:
    // Opens (creating when missing) the configuration file and the database of the
    // workspace. Throws UserError.
    Session(const QString &workspaceDir, Prompter &prompter, QObject *parent = nullptr);
    ~Session() override;

    const Workspace &workspace() const { return m_workspace; }
    // Held by every write of the workspace.
    WorkspaceLock &workspaceLock() { return m_lock; }
    Database &database() { return *m_db; }
    Prompter &prompter() { return m_prompter; }

    // The configuration as read at program start for the selection dialog.
    const Configuration &selection() const { return m_selection; }
    // A fresh read of the configuration file (every writer works read-modify-write).
    Configuration loadConfiguration() const;

    // Opens game slot k with the name and game-type text of the selection dialog.
    // Throws UserError when a numeric line of the slot is not a number; the steps
    // before stay done.
    void openGame(int game, const QString &name, const QString &typeText);
    // Reads the configuration file again and opens the active game anew, after its
    // rows and files were put back as they were.
    void reopenGame();
    // Writes the active game's values into its configuration block.
    void saveGameSlot();
    // The lines saveGameSlot writes, for a game's values.
    void fillGameSlot(Configuration &config, const ActiveGame &game) const;
    // The same lines for a map level and origin taken earlier (an import's worker
    // thread reads nothing of the live map state).
    static void applyGameLines(
        Configuration &config, const ActiveGame &game, int mapLevel, const QPointF &mapOrigin);
    // Empties the report pages before an import.
    void cleanup();

    struct Settings
    {
        QString homeX, homeY, programPath, checkerPath;
    };
    Settings settings() const;
    // Writes the four lines and takes the new program and checker path into memory.
    void saveSettings(const Settings &settings);

    const ActiveGame &game() const { return m_game; }
    // The import hands over the values its report set.
    void setGame(const ActiveGame &game);
    QString caption() const;

    MapState &mapState() { return m_mapState; }
    const MapState &mapState() const { return m_mapState; }

    const StatusValues &status() const { return m_status; }
    void setStatus(const StatusValues &status);
    void setStatusValue(StatusField field, const QString &value);

    const ReportPages &pages() const
    {
        restoreHeldPages();
        return m_pages;
    }
    // Replaces the pages (and drops held ones).
    void setPages(const ReportPages &pages);
    // While an import builds new pages, the old ones wait in a compact copy: as lists
    // of lines the pages of a large report take tens of megabytes. Nothing is
    // signalled (the window keeps its own copy); pages() brings them back first.
    void holdPages();
    // Brings the held pages back, unless setPages() replaced them since.
    void restoreHeldPages() const;

    OrderTemplate &orderTemplate() { return m_template; }
    // The order file of the newest import's turn.
    OrderFile orderFile()
    {
        return OrderFile(m_game, m_status[StatusField::Datum], m_template, &m_lock);
    }

    // What the order lines of the active game may name (order words, names, ids), for
    // the colouring, the completion and the hints. Built on first use and kept until
    // the game changes (an import, the settings, another game) or it is dropped.
    std::shared_ptr<const OrderVocabulary> orderVocabulary();
    // The lines of the word files that could not be read when it was built.
    const QStringList &orderVocabularyProblems() const { return m_vocabularyProblems; }
    // After the player changed the word file: the next use builds it anew.
    void dropOrderVocabulary();

    // Rows of the points statistics grid, headings first; empty when not shown.
    const QList<QStringList> &pointsGrid() const { return m_pointsGrid; }
    void setPointsGrid(const QList<QStringList> &grid);

    QString worldMapFile(int level) const;

signals:
    void gameOpened();
    void gameChanged();
    void statusChanged();
    void pagesChanged();
    void pointsGridChanged();

private:
    void ensureGameFolders() const;

    Workspace m_workspace;
    Prompter &m_prompter;
    WorkspaceLock m_lock;
    Configuration m_selection;
    std::unique_ptr<Database> m_db;
    ActiveGame m_game;
    MapState m_mapState;
    StatusValues m_status;
    mutable ReportPages m_pages;
    struct HeldPages;
    mutable std::unique_ptr<HeldPages> m_heldPages;
    OrderTemplate m_template;
    QList<QStringList> m_pointsGrid;
    std::shared_ptr<const OrderVocabulary> m_vocabulary;
    QStringList m_vocabularyProblems;
};

} // namespace tolvimar
