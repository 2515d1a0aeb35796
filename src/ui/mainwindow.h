#pragma once

#include <QMainWindow>

class QAction;
class QLabel;
class QPlainTextEdit;
class QTimer;

namespace tolvimar {

class AboutBox;
class CheckerOutputWindow;
class DetailPages;
class ImportJob;
class MapPanel;
class MapToolBar;
class Workbench;
class OrderEditorWindow;
class OrderMailing;
class OrderWriting;
class ProgressWindow;
class QuickReference;
class Prompter;
class RecentReports;
class RegionEntryDialog;
class ReportPagesWidget;
class SelectionDialog;
class Session;
class SettingsDialog;

// The main window: menus, tool bar and status bar around the map panel, the detail
// pages and the report pages. Handlers carry the names of their controls and call
// core; the areas show what the session holds.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(Session &session, Prompter &prompter);
    ~MainWindow() override;

    struct Windows
    {
        SettingsDialog *settings = nullptr;
        SelectionDialog *selection = nullptr;
        RegionEntryDialog *regionEntry = nullptr;
        ProgressWindow *progress = nullptr;
        OrderEditorWindow *orderEditor = nullptr;
        AboutBox *about = nullptr;
        CheckerOutputWindow *checkerOutput = nullptr;
    };
    void setWindows(const Windows &windows);
    const Windows &windows() const { return m_windows; }

    // Brings the page "Zugvorlage" with the template editor to the front.
    void showTemplatePage();
    // An import runs on its worker thread; importEnded() follows.
    bool isImportRunning() const { return m_importJob != nullptr; }

public slots:
    void startGame(int game, const QString &name, const QString &typeText);
    // Shows everything known about region (x, y) of the selected level.
    void getSekKoo(int x, int y);

    // "Weltkarte aktualisieren": the world map rendered anew.
    void Inselkarteexportieren1Click();

    void Neu1Click();
    void ImportRueckgaengig1Click();
    // Imports a report (asks for it when path is empty); an imported one becomes recent.
    // The questions are asked at once, the import itself runs as a job: the window
    // stays usable for what does not write the game, importEnded() tells its end.
    void importReport(const QString &path);
    void Speichern1Click();
    void ZugVorlageSpeichern1Click();
    void Befehlesenden1Click();
    void Suchen1Click();
    void Optionen1Click();
    // "Spiel wechseln": back to "Spielwahl" without ending the program.
    void SpielWechseln1Click();
    void Beenden1Click();
    void Info1Click();
    void Button6Click();
    void ZugChecker1Click();
    void Taschenrechner1Click();
    void RichEdit4Change();
    void Timer1Timer();
    void Regioneingeben1Click();
    void Kartendatenimportieren1Click();
    void Kartendatenexportieren1Click();
    void Kartenbereichexportieren1Click();
    // "Mit Allianz abgleichen": the dialog of the alliance server.
    void MitAllianzabgleichen1Click();

    // Writing orders: the moves to the next or previous unit with problems or without
    // orders (F8, Shift+F8), replacing in the template (Ctrl+H), the program's own
    // hints.
    void NaechsteEinheit1Click();
    void VorigeEinheit1Click();
    void Ersetzen1Click();
    void Befehlsdurchsicht1Click();

signals:
    // getSekKoo (or a map click, a jump) has shown a region.
    void regionShown();
    // An import started by importReport has ended, whatever its outcome.
    void importEnded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildStatusBar();
    void connectSession();
    void connectPages();
    void showNotice(const QString &text);
    void showCaption(const QString &caption);
    void importFinished();
    // While an import runs, what writes the game waits: says so and returns true.
    bool refusedWhileImporting();
    // The menu entries and pages that write the game, off while an import runs.
    void setGameWritesEnabled(bool enabled);

    Session &m_session;
    Prompter &m_prompter;
    Windows m_windows;

    MapPanel *m_mapPanel = nullptr;
    DetailPages *m_detailPages = nullptr;
    ReportPagesWidget *m_reportPages = nullptr;
    QLabel *m_statusPanels[3] = {};
    // "Timer1": saves a changed template every five minutes.
    QTimer *m_autosaveTimer = nullptr;
    // "Inselkarteexportieren1": offered once a game is open.
    QAction *m_refreshWorldMapAction = nullptr;
    // "ImportRueckgaengig1": offered while the game has an import to take back.
    QAction *m_undoImportAction = nullptr;
    // The entries that write into the slot: off while an import job runs.
    QList<QAction *> m_slotWriteActions;
    RecentReports *m_recentReports = nullptr;
    Workbench *m_workbench = nullptr;
    MapToolBar *m_toolBar = nullptr;
    OrderWriting *m_orderWriting = nullptr;
    OrderMailing *m_orderMailing = nullptr;
    QuickReference *m_quickReference = nullptr;
    // A report of the other game type, read once "Spiel wechseln" has opened a game.
    QString m_pendingReport;
    ImportJob *m_importJob = nullptr; // while an import runs
};

} // namespace tolvimar
