#pragma once

#include "app/mapoperations.h"
#include "map/hexgeometry.h"
#include "map/mapstate.h"
#include "orders/orderproblems.h"
#include "updown.h"

#include <QMainWindow>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace tolvimar {

struct PlaceHit;
class AboutBox;
class CheckerOutputWindow;
class DetailPages;
class MapOperations;
class MapPanel;
class OrderEditorWindow;
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

    MapPanel *mapPanel() const { return m_mapPanel; }
    DetailPages *detailPages() const { return m_detailPages; }
    ReportPagesWidget *reportPages() const { return m_reportPages; }
    QTimer *autosaveTimer() const { return m_timer1; }
    RecentReports *recentReports() const { return m_recentReports; }
    // Shows the page "Zugvorlage" with the template in the editor.
    QPlainTextEdit *showTemplatePage();

public slots:
    void startGame(int game, const QString &name, const QString &typeText);
    // Shows everything known about region (x, y) of the selected level.
    void getSekKoo(int x, int y);

    // Jumps to a region: its level shown, both maps on it with the region marked, and
    // its pages ("Region Info" in front).
    void showRegion(int x, int y, int level);
    // Jumps to a unit's newest known region and selects it on the page "Einheiten".
    // False (with a note in the status bar) when the unit has no known position.
    bool showUnit(int number);
    // The search box (Ctrl+K): units by number or name, regions by name or x/y. One hit
    // is shown at once, several are offered in a list under the box.
    void searchPlaces();

    // The maps: rendering, the level switch, pointer handlers (pixels of the unzoomed
    // pictures), the arrows and the overlay toggles.
    void Button4Click();
    void Inselkarteexportieren1Click();
    void Button9Click();
    void Image1MouseMove(int x, int y);
    void Image1MouseDown(int x, int y);
    void Image82MouseMove(int x, int y);
    void Image82MouseDown(int x, int y);
    void UpDown1Click(tolvimar::UpDown::Button button);
    void UpDown2Click(tolvimar::UpDown::Button button);
    void ToolButton1Click();
    void ToolButton2Click();
    void Button7Click();

    void Neu1Click();
    void ImportRueckgaengig1Click();
    // Imports a report (asks for it when path is empty); an imported one becomes recent.
    void importReport(const QString &path);
    void Speichern1Click();
    void ZugVorlageSpeichern1Click();
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

    // The unit list of the region shown read anew (marks set by the order editor).
    void refreshUnitList();

    // Writing orders: the moves to the next or previous unit with problems or without
    // orders (F8, Shift+F8), replacing in the template (Ctrl+H), the program's own
    // hints, and a problem chosen in the problem list.
    void NaechsteEinheit1Click();
    void VorigeEinheit1Click();
    void Ersetzen1Click();
    void Befehlsdurchsicht1Click();
    void showProblem(const tolvimar::OrderProblem &problem);
signals:
    // getSekKoo has shown a region; the unit view is emptied.
    void regionShown();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void connectOrderWriting();
    void buildToolBar();
    void buildStatusBar();
    void connectSession();
    void showError(const QString &title, const QString &text);
    void showCaption(const QString &caption);
    void connectMaps();
    void buildZoomMenu(QMenu *menu);
    void refreshLevels();
    void showLevelName();
    void showOverlay(OverlayKind kind);
    void showPointer(const RegionCoord &region, bool onWorldMap);
    void mapFailed(const QString &text);
    std::optional<int> regionViewLevel() const;
    // A double click on a report row: the region (and unit) it names shown as a click
    // on the map and in the unit list would show it.
    void connectReportRows();
    void showRegionAt(int x, int y, int level);
    void showUnitAt(const QString &position, int number);
    MapOperations::SwitchResult switchToLevel(int level);
    void showMarkers();
    void showZoomedMap();
    void turnPage(bool forward);
    void jumpTo(const PlaceHit &hit);
    void selectUnitRow(int number);
    // Hands the game's order vocabulary to the template page and the order editor.
    void applyOrderVocabulary();
    // Lists the problems and marks their units in the unit list.
    void showProblems(const QList<OrderProblem> &problems, const QString &output);
    void moveToUnitToReview(bool forward);
    // Shows the unit's region and selects the unit in the unit list.
    void selectUnitInRegion(const QString &unitText);

    Session &m_session;
    Prompter &m_prompter;
    Windows m_windows;

    MapPanel *m_mapPanel = nullptr;
    DetailPages *m_detailPages = nullptr;
    ReportPagesWidget *m_reportPages = nullptr;
    QLabel *m_statusPanels[3] = {};
    QTimer *m_timer1 = nullptr;
    RecentReports *m_recentReports = nullptr;
    std::unique_ptr<MapOperations> m_maps;
    QToolButton *m_toolButton1 = nullptr;
    QToolButton *m_toolButton2 = nullptr;
    QPushButton *m_button7 = nullptr;
    QLineEdit *m_searchBox = nullptr;
    QMenu *m_searchResults = nullptr;
    QuickReference *m_quickReference = nullptr;
    QList<QAction *> m_zoomActions;
    QSet<QString> m_problemUnits;
    // The region last named under the pointer, so a move within a cell asks nothing.
    std::optional<std::pair<RegionCoord, bool>> m_pointerRegion;
};

} // namespace tolvimar
