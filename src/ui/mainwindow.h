#pragma once

#include "report/reportpages.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QStringListModel;
class QTabWidget;
class QTableWidget;
class QTimer;

namespace tolvimar {

class AboutBox;
class CheckerOutputWindow;
class OrderEditorWindow;
class ProgressWindow;
class Prompter;
class RegionEntryDialog;
class SelectionDialog;
class Session;
class SettingsDialog;
class StatusIndicator;

// The main window: menus, map area, detail pages, report pages and the order
// template editor. Handlers delegate to core; the window shows what core holds.
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

    QTimer *autosaveTimer() const { return m_timer1; }
    // Shows the page "Zugvorlage" with the template in the editor.
    QPlainTextEdit *showTemplatePage();

public slots:
    void startGame(int game, const QString &name, const QString &typeText);

    void Neu1Click();
    void Speichern1Click();
    void ZugVorlageSpeichern1Click();
    void Optionen1Click();
    void Beenden1Click();
    void Info1Click();
    void Button6Click();
    void ZugChecker1Click();
    void Taschenrechner1Click();
    void RichEdit4Change();
    void Timer1Timer();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    QWidget *buildMapColumn();
    QWidget *buildDetailPages();
    QWidget *buildReportPages();
    QWidget *buildStatusPage();
    QListView *addListPage(Page page, const QString &objectName, QWidget *extra = nullptr);
    QPlainTextEdit *addTextPage(Page page, const QString &objectName);

    void showError(const QString &text);
    void refreshPages();
    void refreshStatus();
    void showInfoDatum();
    void loadWorldMap();
    void refreshTemplate();
    void loadTemplateIntoEditor();
    void refreshPointsGrid();
    void showSaved(bool saved);

    Session &m_session;
    Prompter &m_prompter;
    Windows m_windows;

    QTabWidget *m_pageControl1 = nullptr;
    QTabWidget *m_pageControl2 = nullptr;
    QStringListModel *m_listModels[int(Page::Count)] = {};
    QListView *m_listViews[int(Page::Count)] = {};
    QPlainTextEdit *m_texts[int(Page::Count)] = {};
    QWidget *m_pageWidgets[int(Page::Count)] = {};
    QLineEdit *m_statusEdits[11] = {};
    QStringListModel *m_productionModel = nullptr;
    QPlainTextEdit *m_richEdit4 = nullptr;
    StatusIndicator *m_shape1 = nullptr;
    QTableWidget *m_pointsGrid = nullptr;
    QLineEdit *m_infoDatumGruppen = nullptr;
    QLineEdit *m_infoDatumSchiffe = nullptr;
    QLabel *m_statusPanels[3] = {};
    QTimer *m_timer1 = nullptr;
    bool m_loadingTemplate = false;
    bool m_templateStale = false; // the editor does not show the template yet
};

} // namespace tolvimar
