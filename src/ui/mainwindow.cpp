#include "mainwindow.h"

#include "aboutbox.h"
#include "alliancesyncdialog.h"
#include "app/importjob.h"
#include "app/importundo.h"
#include "app/mapoperations.h"
#include "app/reportimporter.h"
#include "app/session.h"
#include "attempt.h"
#include "base/position.h"
#include "base/prompter.h"
#include "calculator.h"
#include "detailpages.h"
#include "mappanel.h"
#include "maptoolbar.h"
#include "ordermailing.h"
#include "orders/ordertemplate.h"
#include "orderwriting.h"
#include "quickreference.h"
#include "recentreports.h"
#include "regionentrydialog.h"
#include "reportdrop.h"
#include "reportpageswidget.h"
#include "selectiondialog.h"
#include "settingsdialog.h"
#include "statuspage.h"
#include "templatepage.h"
#include "uiimportprogress.h"
#include "unitviewpanel.h"
#include "windowmemory.h"
#include "workbench.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <utility>

namespace tolvimar {

namespace {

QAction *addMenuAction(
    QMenu *menu, const QString &objectName, const QString &text, const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(objectName);
    action->setShortcut(shortcut);
    return action;
}

} // namespace

MainWindow::MainWindow(Session &session, Prompter &prompter)
    : m_session(session)
    , m_prompter(prompter)
{
    setObjectName(QStringLiteral("Form1"));
    showCaption(QStringLiteral("Kalmora Assistent"));

    // The parts are built here and laid out by the workbench; the window talks to them
    // through their intents and signals.
    m_mapPanel = new MapPanel;
    m_detailPages = new DetailPages;
    m_reportPages = new ReportPagesWidget;
    m_workbench = new Workbench(m_session, m_mapPanel, m_detailPages, m_reportPages, this);
    setCentralWidget(m_workbench);

    m_orderWriting = new OrderWriting(m_session, this, m_reportPages, m_detailPages);
    m_orderMailing = new OrderMailing(m_session, this);
    connect(m_orderMailing, &OrderMailing::statusText, this, &MainWindow::showNotice);
    m_toolBar = new MapToolBar(m_session, m_mapPanel, this);
    addToolBar(m_toolBar);
    connect(m_toolBar, &MapToolBar::placeChosen, m_workbench, &Workbench::jumpTo);
    connect(m_toolBar, &MapToolBar::notice, this, &MainWindow::showNotice);
    buildMenus();
    buildStatusBar();

    m_autosaveTimer = new QTimer(this);
    m_autosaveTimer->setObjectName(QStringLiteral("Timer1"));
    m_autosaveTimer->setInterval(300000);
    connect(m_autosaveTimer, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    m_autosaveTimer->start();

    connectSession();
    connectPages();
    connect(new ReportDrop(this), &ReportDrop::reportDropped, this, &MainWindow::importReport);
}

MainWindow::~MainWindow() = default;

void MainWindow::connectSession()
{
    // The title bar marks an unsaved template the way the desktop does ("[*]").
    connect(&m_session.orderTemplate(), &OrderTemplate::savedChanged, this,
        [this](bool saved) { setWindowModified(!saved); });
    connect(&m_session, &Session::gameOpened, this, [this] {
        showCaption(m_session.caption());
        m_refreshWorldMapAction->setEnabled(true);
    });
}

void MainWindow::connectPages()
{
    connect(m_reportPages, &ReportPagesWidget::checkRequested, this, &MainWindow::Button6Click);
    connect(m_reportPages, &ReportPagesWidget::templateEdited, this, &MainWindow::RichEdit4Change);
    connect(m_orderWriting, &OrderWriting::regionToShow, m_workbench, &Workbench::showRegion);
    connect(m_orderWriting, &OrderWriting::notice, this, &MainWindow::showNotice);
    connect(m_mapPanel, &MapPanel::notice, this, &MainWindow::showNotice);
    connect(m_detailPages, &DetailPages::regionShown, this, &MainWindow::regionShown);
    connect(m_mapPanel, &MapPanel::statusText, this,
        [this](int panel, const QString &text) { m_statusPanels[panel]->setText(text); });
    // "Weg planen": the unit view names the unit, shows its way and takes it as order.
    if (auto *unitView = m_detailPages->findChild<UnitViewPanel *>()) {
        connect(unitView, &UnitViewPanel::unitShown, m_mapPanel, &MapPanel::setRouteUnit);
        connect(m_mapPanel, &MapPanel::routeText, unitView, &UnitViewPanel::showTravelTime);
        connect(
            unitView, &UnitViewPanel::moveOrderRequested, m_mapPanel, &MapPanel::writeRouteOrder);
    }
}

void MainWindow::setWindows(const Windows &windows)
{
    m_windows = windows;
    if (m_windows.selection) {
        connect(
            m_windows.selection, &SelectionDialog::startRequested, this, &MainWindow::startGame);
    }
    m_detailPages->setOrderEditor(m_windows.orderEditor);
    m_orderWriting->setWindows(m_windows.orderEditor, m_windows.checkerOutput);
    if (m_windows.regionEntry) {
        // The saved region is shown: the small map drawn around it, its title and pages.
        connect(m_windows.regionEntry, &RegionEntryDialog::regionSaved, this,
            [this](const Position &place) {
                m_mapPanel->showSmallMapAround(place.x, place.y);
                getSekKoo(place.x, place.y);
                statusBar()->showMessage(
                    QStringLiteral("Region %1 gespeichert").arg(positionText(place.x, place.y)));
            });
    }
}

void MainWindow::buildMenus()
{
    using W = MainWindow;
    QMenu *menu = nullptr;
    const auto open = [&](const char *name, const char *text) {
        menu = menuBar()->addMenu(QString::fromUtf8(text));
        menu->setObjectName(QString::fromLatin1(name));
    };
    // An entry whose handler is a method of the window.
    const auto add = [&](const char *name, const char *text, void (W::*handler)(),
                         const QKeySequence &key = {}) {
        QAction *action
            = addMenuAction(menu, QString::fromLatin1(name), QString::fromUtf8(text), key);
        if (handler)
            connect(action, &QAction::triggered, this, handler);
        return action;
    };

    open("Datei1", "&Datei");
    m_slotWriteActions << add("Neu1", "&CR einlesen", &W::Neu1Click, Qt::CTRL | Qt::Key_O);
    m_recentReports = new RecentReports(menu, this);
    connect(m_recentReports, &RecentReports::importRequested, this, &MainWindow::importReport);
    m_undoImportAction = add(
        "ImportRueckgaengig1", "Letzten Import &rückgängig machen", &W::ImportRueckgaengig1Click);
    connect(menu, &QMenu::aboutToShow, this,
        [this] { m_undoImportAction->setEnabled(ImportUndo(m_session).available() > 0); });
    m_slotWriteActions << add(
        "Speichern1", "Zugvorlage &Speichern", &W::Speichern1Click, Qt::CTRL | Qt::Key_S);
    m_slotWriteActions << add("ZugVorlageSpeichern1", "&Zugvorlage Speichern unter...",
        &W::ZugVorlageSpeichern1Click, Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    m_slotWriteActions << add("Befehlesenden1", "Befehle sen&den", &W::Befehlesenden1Click);
    add("Suchen1", "In der Zugvorlage s&uchen...", &W::Suchen1Click, Qt::CTRL | Qt::Key_F);
    m_slotWriteActions << add(
        "Ersetzen1", "In der Zugvorlage &ersetzen...", &W::Ersetzen1Click, Qt::CTRL | Qt::Key_H);
    add("NaechsteEinheit1", "&Nächste Einheit prüfen", &W::NaechsteEinheit1Click, Qt::Key_F8);
    add("VorigeEinheit1", "&Vorige Einheit prüfen", &W::VorigeEinheit1Click,
        Qt::SHIFT | Qt::Key_F8);
    menu->addSeparator();
    m_slotWriteActions << add("SpielWechseln1", "Spiel &wechseln...", &W::SpielWechseln1Click);
    m_slotWriteActions << add("Optionen1", "&Optionen", &W::Optionen1Click);
    menu->addSeparator();
    add("Beenden1", "&Beenden", &W::Beenden1Click, Qt::CTRL | Qt::Key_Q);

    open("Karte1", "&Karte");
    m_refreshWorldMapAction = add("Inselkarteexportieren1", "&Weltkarte aktualisieren",
        &W::Inselkarteexportieren1Click, Qt::Key_F5);
    m_refreshWorldMapAction->setEnabled(false);
    m_mapPanel->addZoomMenu(menu);
    connect(add("Suchen2", "Einheit oder Region &suchen", nullptr, Qt::CTRL | Qt::Key_K),
        &QAction::triggered, m_toolBar, &MapToolBar::focusSearch);
    m_slotWriteActions << add(
        "Regioneingeben1", "&Region manuell eingeben", &W::Regioneingeben1Click);
    add("K1", "&Koordinaten Umrechnen (Ursprung)", nullptr)->setEnabled(false);
    menu->addSeparator();
    m_slotWriteActions << add(
        "Kartendatenimportieren1", "Kartendaten &importieren", &W::Kartendatenimportieren1Click);
    add("Kartendatenexportieren1", "Gesamtkarte &exportieren", &W::Kartendatenexportieren1Click);
    add("Kartenbereichexportieren1", "Kartenbereich e&xportieren",
        &W::Kartenbereichexportieren1Click);
    menu->addSeparator();
    m_slotWriteActions << add(
        "MitAllianzabgleichen1", "Mit &Allianz abgleichen", &W::MitAllianzabgleichen1Click);

    open("Tools1", "&Tools");
    m_slotWriteActions << add("ZugChecker1", "&Zug Checker", &W::ZugChecker1Click);
    add("Befehlsdurchsicht1", "&Befehle durchsehen (Hinweise)", &W::Befehlsdurchsicht1Click);
    add("Taschenrechner1", "&Taschenrechner", &W::Taschenrechner1Click);

    open("Hilfe1", "&Hilfe");
    connect(add("KurzReferenz1", "&Kurz Referenz", nullptr, Qt::Key_F1), &QAction::triggered, this,
        [this] {
            if (!m_quickReference)
                m_quickReference = new QuickReference(this);
            m_quickReference->show();
            m_quickReference->raise();
        });
    add("Info1", "&Info", &W::Info1Click);
}

void MainWindow::buildStatusBar()
{
    auto *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    const int widths[3] = {500, 50, 50};
    for (int i = 0; i < 3; ++i) {
        m_statusPanels[i] = new QLabel(bar);
        m_statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_statusPanels[i]->setMinimumWidth(widths[i]);
        bar->addWidget(m_statusPanels[i], i == 0 ? 1 : 0);
    }
}

void MainWindow::showCaption(const QString &caption)
{
    setWindowTitle(caption + QStringLiteral("[*]"));
    setWindowModified(!m_session.orderTemplate().isSaved());
}

void MainWindow::showTemplatePage()
{
    m_reportPages->showTemplatePage();
}

void MainWindow::showNotice(const QString &text)
{
    statusBar()->showMessage(text);
}

void MainWindow::startGame(int game, const QString &name, const QString &typeText)
{
    show();
    setEnabled(true);
    // The keys of the window (Ctrl+K, Ctrl+PgDown, ...) work at once.
    raise();
    activateWindow();
    showCaption(typeText + QStringLiteral(" Assistent"));
    attempt(
        m_prompter, QStringLiteral("Fehler"), [&] { m_session.openGame(game, name, typeText); });
    m_mapPanel->scrollWorldMapToMiddle();
    if (!m_pendingReport.isEmpty() && m_session.game().isOpen())
        importReport(std::exchange(m_pendingReport, QString()));
}

void MainWindow::getSekKoo(int x, int y)
{
    m_session.mapState().selectRegion({x, y, m_session.mapState().level()});
}

void MainWindow::Inselkarteexportieren1Click()
{
    m_mapPanel->renderWorldMap();
}

void MainWindow::Neu1Click()
{
    importReport(QString());
}

void MainWindow::importReport(const QString &path)
{
    if (refusedWhileImporting())
        return;
    auto *job = new ImportJob(m_session, this);
    job->importer().setGameSwitchOffered(m_windows.selection != nullptr);
    const QString file = path.isEmpty() ? job->importer().chooseFile() : path;
    if (file.isEmpty()) {
        delete job;
        return;
    }
    // The autosave waits: the template is being replaced.
    m_autosaveTimer->stop();
    m_importJob = job;
    setGameWritesEnabled(false);
    connect(job, &Job::finished, this, &MainWindow::importFinished);
    if (job->start(file))
        new JobProgressView(job, m_windows.progress);
    else
        importFinished();
}

void MainWindow::importFinished()
{
    ImportJob *job = std::exchange(m_importJob, nullptr);
    const ReportImporter::Result result = job->end();
    job->deleteLater();
    setGameWritesEnabled(true);
    m_autosaveTimer->start();
    if (result.switchGameWanted) {
        // The report of the other game type is read once a game is chosen.
        SpielWechseln1Click();
        if (!isEnabled())
            m_pendingReport = result.path;
        emit importEnded();
        return;
    }
    if (result.status == ReportImporter::Result::Imported
        || result.status == ReportImporter::Result::ImportedIncomplete) {
        m_recentReports->add(result.path);
        // The maps show the new turn at once, not only after "Weltkarte aktualisieren".
        attempt(m_prompter, QStringLiteral("Karte"),
            [&] { MapOperations(m_session).showImportedGame(); });
        statusBar()->showMessage(result.closingLines().join(QStringLiteral(". ")));
    } else if (result.status == ReportImporter::Result::Cancelled && !result.message.isEmpty()) {
        statusBar()->showMessage(result.message);
    }
    emit importEnded();
}

bool MainWindow::refusedWhileImporting()
{
    if (!m_importJob)
        return false;
    m_prompter.message(Prompter::Kind::Information, QStringLiteral("Information"),
        QStringLiteral("Ein CR wird gerade eingelesen. Bitte warten, bis das Einlesen beendet "
                       "ist, oder es abbrechen."));
    return true;
}

void MainWindow::setGameWritesEnabled(bool enabled)
{
    // The map and the search stay: they only read. The pages hold what the import
    // replaces, and their edits would be written into the turn being read.
    for (QAction *action : m_slotWriteActions)
        action->setEnabled(enabled);
    m_undoImportAction->setEnabled(enabled);
    m_refreshWorldMapAction->setEnabled(enabled);
    m_recentReports->setEnabled(enabled);
    m_detailPages->setEnabled(enabled);
    m_reportPages->setEnabled(enabled);
}

void MainWindow::ImportRueckgaengig1Click()
{
    if (refusedWhileImporting())
        return;
    if (!m_prompter.askYesNo(Prompter::Kind::Confirmation, QStringLiteral("Import rückgängig"),
            QStringLiteral("Den letzten Import von Spiel %1 rückgängig machen? Datenbank, "
                           "Statusdaten, Zugvorlage und Einstellungen des Spiels werden auf den "
                           "Stand davor zurückgesetzt.")
                .arg(m_session.game().number)))
        return;
    // What is typed in the pages is stored before the game is opened anew.
    m_detailPages->commitEdits();
    m_autosaveTimer->stop();
    const ImportUndo::Result result = ImportUndo(m_session).undoLastImport();
    m_autosaveTimer->start();
    // The maps show the restored tables, not the picture drawn after the import.
    if (result.status == ImportUndo::Result::Undone)
        attempt(m_prompter, QStringLiteral("Karte"),
            [&] { MapOperations(m_session).showRestoredGame(); });
    m_prompter.message(result.status == ImportUndo::Result::Failed ? Prompter::Kind::Error
                                                                   : Prompter::Kind::Information,
        QStringLiteral("Import rückgängig"), result.message);
}

void MainWindow::Speichern1Click()
{
    m_orderWriting->save();
}

void MainWindow::ZugVorlageSpeichern1Click()
{
    m_orderWriting->saveAs();
}

void MainWindow::Suchen1Click()
{
    m_reportPages->startFind();
}

void MainWindow::Optionen1Click()
{
    if (m_windows.settings)
        m_windows.settings->open();
}

void MainWindow::SpielWechseln1Click()
{
    m_pendingReport.clear();
    if (!m_windows.selection)
        return;
    m_detailPages->commitEdits();
    if (!m_session.orderTemplate().isSaved()
        && !m_prompter.askYesNo(Prompter::Kind::Confirmation, QStringLiteral("Bestätigung"),
            QStringLiteral("Zugvorlage wurde noch nicht gespeichert. Spiel trotzdem wechseln?")))
        return;
    // As at the start: the main window waits until a game is chosen.
    setEnabled(false);
    m_windows.selection->showSlots(m_session.selection());
    m_windows.selection->setEnabled(true);
    m_windows.selection->show();
    m_windows.selection->raise();
    m_windows.selection->activateWindow();
}

void MainWindow::Beenden1Click()
{
    close();
}

void MainWindow::Info1Click()
{
    if (m_windows.about)
        m_windows.about->show();
}

void MainWindow::Button6Click()
{
    m_orderWriting->runChecker();
}

void MainWindow::ZugChecker1Click()
{
    Button6Click();
}

void MainWindow::Taschenrechner1Click()
{
    QString lookedFor;
    if (!startCalculator(&lookedFor)) {
        m_prompter.message(Prompter::Kind::Information, QStringLiteral("Taschenrechner"),
            QStringLiteral("Auf diesem Rechner wurde kein Taschenrechner gefunden (gesucht: %1).")
                .arg(lookedFor));
    }
}

void MainWindow::RichEdit4Change()
{
    // Nothing to note by hand: the template is unsaved exactly while its history
    // stands away from the step last saved.
}

void MainWindow::Timer1Timer()
{
    m_orderWriting->autosave();
}

void MainWindow::Regioneingeben1Click()
{
    if (m_windows.regionEntry)
        m_windows.regionEntry->open();
}

void MainWindow::Kartendatenimportieren1Click()
{
    UiImportProgress progress(this, m_windows.progress);
    m_mapPanel->importMapData(progress);
}

void MainWindow::Kartendatenexportieren1Click()
{
    m_mapPanel->exportWholeMap();
}

void MainWindow::Kartenbereichexportieren1Click()
{
    m_mapPanel->exportMarkedArea();
}

void MainWindow::Befehlesenden1Click()
{
    m_orderMailing->sendOrders();
}

void MainWindow::MitAllianzabgleichen1Click()
{
    if (refusedWhileImporting())
        return;
    AllianceSyncDialog dialog(m_session, this);
    connect(&dialog, &AllianceSyncDialog::mapChanged, m_mapPanel, &MapPanel::refreshLevels);
    dialog.exec();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (refusedWhileImporting()) {
        event->ignore();
        return;
    }
    m_detailPages->commitEdits();
    if (!m_orderWriting->settleBeforeLeaving()) {
        event->ignore();
        return;
    }
    WindowMemory::save(*this);
    event->accept();
}

void MainWindow::NaechsteEinheit1Click()
{
    m_orderWriting->moveToUnitToReview(true);
}

void MainWindow::VorigeEinheit1Click()
{
    m_orderWriting->moveToUnitToReview(false);
}

void MainWindow::Ersetzen1Click()
{
    m_reportPages->startReplace();
}

void MainWindow::Befehlsdurchsicht1Click()
{
    m_orderWriting->reviewOrders();
}

} // namespace tolvimar
