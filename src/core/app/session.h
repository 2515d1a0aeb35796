#pragma once

#include "../report/ordertemplate.h"
#include "../report/reportpages.h"
#include "../base/activegame.h"
#include "../base/configuration.h"
#include "../base/workspace.h"

#include <QObject>
#include <memory>

namespace tolvimar {

class Database;
class Prompter;

// One run of the program on one workspace: the configuration the selection dialog
// read, the database, and the active game with its report pages, status values and
// order template. Core owns this state; the window observes it.
class Session : public QObject
{
    Q_OBJECT
public:
    // Opens (creating when missing) the configuration file and the database of the
    // workspace. Throws UserError.
    Session(const QString &workspaceDir, Prompter &prompter, QObject *parent = nullptr);
    ~Session() override;

    const Workspace &workspace() const { return m_workspace; }
    Database &database() { return *m_db; }
    Prompter &prompter() { return m_prompter; }

    // The configuration as read at program start for the selection dialog.
    const Configuration &selection() const { return m_selection; }
    // A fresh read of the configuration file (every writer works read-modify-write).
    Configuration loadConfiguration() const;

    // Opens game slot k with the name and game-type text of the selection dialog.
    // Throws UserError when a numeric line of the slot is not a number; the steps
    // before stay done.
    void spielinitialisierung(int game, const QString &name, const QString &typeText);
    // Writes the active game's values into its configuration block.
    void saveAktuelleOptionen();
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
    ActiveGame &game() { return m_game; }
    QString caption() const;

    const StatusValues &status() const { return m_status; }
    void setStatus(const StatusValues &status);
    void setStatusValue(StatusField field, const QString &value);

    const ReportPages &pages() const { return m_pages; }
    void setPages(const ReportPages &pages);

    OrderTemplate &orderTemplate() { return m_template; }

    // Rows of the points statistics grid, headings first; empty when not shown.
    const QList<QStringList> &pointsGrid() const { return m_pointsGrid; }
    void setPointsGrid(const QList<QStringList> &grid);

    QString worldMapFile(int level) const;

signals:
    void gameOpened();
    void statusChanged();
    void pagesChanged();
    void pointsGridChanged();

private:
    void ensureGameFolders() const;

    Workspace m_workspace;
    Prompter &m_prompter;
    Configuration m_selection;
    std::unique_ptr<Database> m_db;
    ActiveGame m_game;
    StatusValues m_status;
    ReportPages m_pages;
    OrderTemplate m_template;
    QList<QStringList> m_pointsGrid;
};

} // namespace tolvimar
