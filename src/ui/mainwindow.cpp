#include "mainwindow.h"

#include "aboutbox.h"
#include "alliancesyncdialog.h"
#include "app/importundo.h"
#include "app/mapoperations.h"
#include "app/placesearch.h"
#include "app/reportimporter.h"
#include "app/session.h"
#include "armypage.h"
#include "base/errors.h"
#include "base/identifiers.h"
#include "base/position.h"
#include "base/prompter.h"
#include "calculator.h"
#include "checkeroutputwindow.h"
#include "detailpages.h"
#include "groupingspage.h"
#include "map/mapexchange.h"
#include "map/overlayicons.h"
#include "map/regiondetail.h"
#include "map/regionrecord.h"
#include "map/worldmaprenderer.h"
#include "mapimage.h"
#include "mappanel.h"
#include "ordereditorwindow.h"
#include "orders/checker.h"
#include "orders/ordertemplate.h"
#include "orders/ordervocabulary.h"
#include "orders/templatelines.h"
#include "orders/unitview.h"
#include "pointspage.h"
#include "quickreference.h"
#include "recentreports.h"
#include "regionentrydialog.h"
#include "regioninfopage.h"
#include "reportdrop.h"
#include "reportpageswidget.h"
#include "selectiondialog.h"
#include "settingsdialog.h"
#include "shipregisterpage.h"
#include "statuspage.h"
#include "templatepage.h"
#include "uiimportprogress.h"
#include "unitspage.h"
#include "windowmemory.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace tolvimar {

namespace {

// An entry of the level list: the level's number and name.
QString levelText(int level, const QString &name)
{
    return name.isEmpty() ? QString::number(level)
                          : QString::number(level) + QStringLiteral(" – ") + name;
}

// The hits the search offers at most in its list.
constexpr int kShownHits = 20;

// The least height of the region pages: their tabs and a few lines of the page shown.
constexpr int kUsableDetailHeight = 200;

QAction *addMenuAction(QMenu *menu, const QString &objectName, const QString &text,
    bool enabled = true, const QKeySequence &shortcut = {})
{
    QAction *action = menu->addAction(text);
    action->setObjectName(objectName);
    action->setEnabled(enabled);
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
    buildMenus();
    buildToolBar();

    // The maps take the left column over the window's full height; the detail pages
    // and the report pages share the right one.
    auto *central = new QSplitter(Qt::Horizontal, this);
    central->setObjectName(QStringLiteral("SplitterMain"));
    // The map column scrolls on small screens rather than squeezing the maps.
    auto *mapScroll = new QScrollArea(central);
    mapScroll->setObjectName(QStringLiteral("ScrollBoxKarten"));
    mapScroll->setFrameShape(QFrame::NoFrame);
    mapScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mapScroll->setWidgetResizable(true);
    m_mapPanel = new MapPanel(mapScroll);
    mapScroll->setWidget(m_mapPanel);
    mapScroll->setMinimumWidth(m_mapPanel->minimumSizeHint().width() + 20);
    central->addWidget(mapScroll);
    auto *pages = new QSplitter(Qt::Vertical, central);
    pages->setObjectName(QStringLiteral("SplitterSeiten"));
    // Neither half can be pushed out of sight; the handle is wide enough to be found.
    pages->setChildrenCollapsible(false);
    pages->setHandleWidth(8);
    m_detailPages = new DetailPages(pages);
    m_detailPages->setMinimumHeight(kUsableDetailHeight);
    // On a narrow window the captions shorten before the tab strip scrolls.
    m_detailPages->setElideMode(Qt::ElideRight);
    pages->addWidget(m_detailPages);
    m_reportPages = new ReportPagesWidget(pages);
    pages->addWidget(m_reportPages);
    pages->setStretchFactor(0, 3);
    pages->setStretchFactor(1, 2);
    pages->setSizes({540, 360});
    central->addWidget(pages);
    central->setStretchFactor(0, 2);
    central->setStretchFactor(1, 3);
    central->setSizes({560, 840});
    setCentralWidget(central);
    buildStatusBar();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(300000);
    connect(m_timer1, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    m_timer1->start();

    connect(m_reportPages->statusPage()->button6(), &QPushButton::clicked, this,
        &MainWindow::Button6Click);
    connect(m_reportPages->templatePage()->checkButton(), &QPushButton::clicked, this,
        &MainWindow::Button6Click);
    connect(m_reportPages->richEdit4(), &QPlainTextEdit::textChanged, this,
        &MainWindow::RichEdit4Change);
    m_reportPages->setTemplateSource([this] { return m_session.orderTemplate().lines(); });
    connectOrderWriting();
    connect(m_detailPages->regionInfo(), &RegionInfoPage::regionFieldEdited, this,
        [this](const QString &field, const QVariant &value) {
            const std::optional<Position> region = m_detailPages->regionInfo()->shownRegion();
            if (!region)
                return;
            try {
                RegionRecord(m_session.database(), m_session.game().number, *region)
                    .store(field, value);
            } catch (const UserError &e) {
                showError(QStringLiteral("Region"), e.message());
            }
        });
    m_maps = std::make_unique<MapOperations>(m_session);
    m_detailPages->attach(m_session);
    connectSession();
    connectMaps();
    connectReportRows();
    m_reportPages->showPages(m_session.pages());
    m_reportPages->showStatus(m_session.status());
    connect(new ReportDrop(this), &ReportDrop::reportDropped, this, &MainWindow::importReport);

    // Ctrl+PgDown / Ctrl+PgUp page through the pages the focus is in (the region pages
    // when it is elsewhere), wherever the focus sits within them.
    for (const bool forward : {true, false}) {
        auto *shortcut = new QShortcut(
            QKeySequence(Qt::CTRL | (forward ? Qt::Key_PageDown : Qt::Key_PageUp)), this);
        shortcut->setObjectName(
            forward ? QStringLiteral("NaechsteSeite") : QStringLiteral("VorigeSeite"));
        connect(shortcut, &QShortcut::activated, this, [this, forward] { turnPage(forward); });
    }
}

void MainWindow::turnPage(bool forward)
{
    QTabWidget *pages = m_detailPages;
    for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (w == m_reportPages || w == m_detailPages) {
            pages = static_cast<QTabWidget *>(w);
            break;
        }
    }
    const int count = pages->count();
    for (int step = 1; step < count; ++step) {
        const int index = (pages->currentIndex() + (forward ? step : count - step)) % count;
        if (pages->isTabVisible(index) && pages->isTabEnabled(index)) {
            pages->setCurrentIndex(index);
            return;
        }
    }
}

MainWindow::~MainWindow() = default;

void MainWindow::connectSession()
{
    connect(&m_session, &Session::pagesChanged, this,
        [this] { m_reportPages->showPages(m_session.pages()); });
    connect(&m_session, &Session::statusChanged, this, [this] {
        m_detailPages->showInfoDatum(m_session.game().newestTurn);
        m_reportPages->showStatus(m_session.status());
    });
    connect(&m_session, &Session::pointsGridChanged, this,
        [this] { m_detailPages->points()->showGrid(m_session.pointsGrid()); });
    connect(&m_session.orderTemplate(), &OrderTemplate::replaced, m_reportPages,
        &ReportPagesWidget::templateReplaced);
    connect(&m_session.orderTemplate(), &OrderTemplate::savedChanged, m_reportPages->statusPage(),
        &StatusPage::showSaved);
    connect(&m_session.orderTemplate(), &OrderTemplate::savedChanged, m_reportPages->templatePage(),
        &TemplatePage::showSaved);
    // The title bar marks an unsaved template the way the desktop does ("[*]").
    connect(&m_session.orderTemplate(), &OrderTemplate::savedChanged, this,
        [this](bool saved) { setWindowModified(!saved); });
    connect(&m_session, &Session::gameOpened, this, [this] {
        showCaption(m_session.caption());
        m_detailPages->showInfoDatum(m_session.game().newestTurn);
    });
}

void MainWindow::setWindows(const Windows &windows)
{
    m_windows = windows;
    if (m_windows.selection) {
        connect(
            m_windows.selection, &SelectionDialog::startRequested, this, &MainWindow::startGame);
    }
    m_detailPages->units()->setOrderEditor(m_windows.orderEditor);
    // Orders written back change the unit's mark in the list at once.
    connect(m_detailPages->units(), &UnitsPage::ordersApplied, this, &MainWindow::refreshUnitList,
        Qt::UniqueConnection);
    // The editor gets the game's order words as it opens on a unit.
    connect(m_detailPages->units(), &UnitsPage::editorOpening, this,
        &MainWindow::applyOrderVocabulary, Qt::UniqueConnection);
    if (m_windows.checkerOutput) {
        connect(m_windows.checkerOutput, &CheckerOutputWindow::problemChosen, this,
            &MainWindow::showProblem);
    }
    if (m_windows.regionEntry) {
        // The saved region is shown: the small map drawn around it, its title and pages.
        connect(m_windows.regionEntry, &RegionEntryDialog::regionSaved, this, [this](int x, int y) {
            try {
                m_maps->displaySmallMap(x, y);
            } catch (const UserError &e) {
                mapFailed(e.message());
            }
            getSekKoo(x, y);
            statusBar()->showMessage(
                QStringLiteral("Region %1 gespeichert").arg(positionText(x, y)));
        });
    }
}

void MainWindow::buildMenus()
{
    QMenu *datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("Datei1"));
    connect(addMenuAction(datei, QStringLiteral("Neu1"), QStringLiteral("&CR einlesen"), true,
                QKeySequence(Qt::CTRL | Qt::Key_O)),
        &QAction::triggered, this, &MainWindow::Neu1Click);
    m_recentReports = new RecentReports(datei, this);
    connect(m_recentReports, &RecentReports::importRequested, this, &MainWindow::importReport);
    QAction *undo = addMenuAction(datei, QStringLiteral("ImportRueckgaengig1"),
        QStringLiteral("Letzten Import &rückgängig machen"));
    connect(undo, &QAction::triggered, this, &MainWindow::ImportRueckgaengig1Click);
    // Offered only while the game has an import to take back.
    connect(datei, &QMenu::aboutToShow, this,
        [this, undo] { undo->setEnabled(ImportUndo(m_session).available() > 0); });
    connect(addMenuAction(datei, QStringLiteral("Speichern1"),
                QStringLiteral("Zugvorlage &Speichern"), true, QKeySequence(Qt::CTRL | Qt::Key_S)),
        &QAction::triggered, this, &MainWindow::Speichern1Click);
    connect(addMenuAction(datei, QStringLiteral("ZugVorlageSpeichern1"),
                QStringLiteral("&Zugvorlage Speichern unter..."), true,
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
        &QAction::triggered, this, &MainWindow::ZugVorlageSpeichern1Click);
    connect(addMenuAction(datei, QStringLiteral("Suchen1"),
                QStringLiteral("In der Zugvorlage s&uchen..."), true,
                QKeySequence(Qt::CTRL | Qt::Key_F)),
        &QAction::triggered, this, &MainWindow::Suchen1Click);
    connect(addMenuAction(datei, QStringLiteral("Ersetzen1"),
                QStringLiteral("In der Zugvorlage &ersetzen..."), true,
                QKeySequence(Qt::CTRL | Qt::Key_H)),
        &QAction::triggered, this, &MainWindow::Ersetzen1Click);
    connect(addMenuAction(datei, QStringLiteral("NaechsteEinheit1"),
                QStringLiteral("&Nächste Einheit prüfen"), true, QKeySequence(Qt::Key_F8)),
        &QAction::triggered, this, &MainWindow::NaechsteEinheit1Click);
    connect(
        addMenuAction(datei, QStringLiteral("VorigeEinheit1"),
            QStringLiteral("&Vorige Einheit prüfen"), true, QKeySequence(Qt::SHIFT | Qt::Key_F8)),
        &QAction::triggered, this, &MainWindow::VorigeEinheit1Click);
    datei->addSeparator();
    connect(addMenuAction(
                datei, QStringLiteral("SpielWechseln1"), QStringLiteral("Spiel &wechseln...")),
        &QAction::triggered, this, &MainWindow::SpielWechseln1Click);
    connect(addMenuAction(datei, QStringLiteral("Optionen1"), QStringLiteral("&Optionen")),
        &QAction::triggered, this, &MainWindow::Optionen1Click);
    datei->addSeparator();
    connect(addMenuAction(datei, QStringLiteral("Beenden1"), QStringLiteral("&Beenden"), true,
                QKeySequence(Qt::CTRL | Qt::Key_Q)),
        &QAction::triggered, this, &MainWindow::Beenden1Click);

    QMenu *karte = menuBar()->addMenu(QStringLiteral("&Karte"));
    karte->setObjectName(QStringLiteral("Karte1"));
    connect(addMenuAction(karte, QStringLiteral("Inselkarteexportieren1"),
                QStringLiteral("&Weltkarte aktualisieren"), false, QKeySequence(Qt::Key_F5)),
        &QAction::triggered, this, &MainWindow::Inselkarteexportieren1Click);
    buildZoomMenu(karte);
    connect(addMenuAction(karte, QStringLiteral("Suchen2"),
                QStringLiteral("Einheit oder Region &suchen"), true,
                QKeySequence(Qt::CTRL | Qt::Key_K)),
        &QAction::triggered, this, [this] {
            m_searchBox->setFocus(Qt::ShortcutFocusReason);
            m_searchBox->selectAll();
        });
    connect(addMenuAction(karte, QStringLiteral("Regioneingeben1"),
                QStringLiteral("&Region manuell eingeben")),
        &QAction::triggered, this, &MainWindow::Regioneingeben1Click);
    addMenuAction(
        karte, QStringLiteral("K1"), QStringLiteral("&Koordinaten Umrechnen (Ursprung)"), false);
    karte->addSeparator();
    connect(addMenuAction(karte, QStringLiteral("Kartendatenimportieren1"),
                QStringLiteral("Kartendaten &importieren")),
        &QAction::triggered, this, &MainWindow::Kartendatenimportieren1Click);
    connect(addMenuAction(karte, QStringLiteral("Kartendatenexportieren1"),
                QStringLiteral("Gesamtkarte &exportieren")),
        &QAction::triggered, this, &MainWindow::Kartendatenexportieren1Click);
    connect(addMenuAction(karte, QStringLiteral("Kartenbereichexportieren1"),
                QStringLiteral("Kartenbereich e&xportieren")),
        &QAction::triggered, this, &MainWindow::Kartenbereichexportieren1Click);
    karte->addSeparator();
    connect(addMenuAction(karte, QStringLiteral("MitAllianzabgleichen1"),
                QStringLiteral("Mit &Allianz abgleichen")),
        &QAction::triggered, this, &MainWindow::MitAllianzabgleichen1Click);

    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    connect(addMenuAction(tools, QStringLiteral("ZugChecker1"), QStringLiteral("&Zug Checker")),
        &QAction::triggered, this, &MainWindow::ZugChecker1Click);
    connect(addMenuAction(tools, QStringLiteral("Befehlsdurchsicht1"),
                QStringLiteral("&Befehle durchsehen (Hinweise)")),
        &QAction::triggered, this, &MainWindow::Befehlsdurchsicht1Click);
    connect(
        addMenuAction(tools, QStringLiteral("Taschenrechner1"), QStringLiteral("&Taschenrechner")),
        &QAction::triggered, this, &MainWindow::Taschenrechner1Click);

    QMenu *hilfe = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    hilfe->setObjectName(QStringLiteral("Hilfe1"));
    connect(addMenuAction(hilfe, QStringLiteral("KurzReferenz1"), QStringLiteral("&Kurz Referenz"),
                true, QKeySequence(Qt::Key_F1)),
        &QAction::triggered, this, [this] {
            if (!m_quickReference)
                m_quickReference = new QuickReference(this);
            m_quickReference->show();
            m_quickReference->raise();
        });
    connect(addMenuAction(hilfe, QStringLiteral("Info1"), QStringLiteral("&Info")),
        &QAction::triggered, this, &MainWindow::Info1Click);
}

void MainWindow::buildToolBar()
{
    auto *toolBar = addToolBar(QStringLiteral("Werkzeuge"));
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setIconSize(QSize(35, 35));
    for (int i = 1; i <= 2; ++i) {
        auto *button = new QToolButton(toolBar);
        button->setObjectName(QStringLiteral("ToolButton%1").arg(i));
        button->setIcon(QIcon(QPixmap::fromImage(i == 1 ? shipsIcon() : unitsIcon())));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        const OverlayKind kind = i == 1 ? OverlayKind::Ships : OverlayKind::Units;
        button->setText(MapOperations::overlayText(kind, false));
        button->setToolTip(MapOperations::overlayText(kind, false));
        button->setCheckable(true);
        button->setEnabled(false);
        toolBar->addWidget(button);
        (i == 1 ? m_toolButton1 : m_toolButton2) = button;
    }
    connect(m_toolButton1, &QToolButton::clicked, this, &MainWindow::ToolButton1Click);
    connect(m_toolButton2, &QToolButton::clicked, this, &MainWindow::ToolButton2Click);
    toolBar->addSeparator();
    m_button7
        = new QPushButton(MapOperations::overlayText(OverlayKind::RegionMessages, false), toolBar);
    m_button7->setObjectName(QStringLiteral("Button7"));
    m_button7->setEnabled(false);
    toolBar->addWidget(m_button7);
    connect(m_button7, &QPushButton::clicked, this, &MainWindow::Button7Click);
    toolBar->addSeparator();
    m_searchBox = new QLineEdit(toolBar);
    m_searchBox->setObjectName(QStringLiteral("EditSuche"));
    m_searchBox->setPlaceholderText(QStringLiteral("Suchen (Strg+K)"));
    m_searchBox->setToolTip(QStringLiteral("Einheit (Nummer oder Name) oder Region (Name oder "
                                           "x/y, auch x/y/Ebene) suchen und anzeigen"));
    m_searchBox->setClearButtonEnabled(true);
    m_searchBox->setMaximumWidth(260);
    toolBar->addWidget(m_searchBox);
    connect(m_searchBox, &QLineEdit::returnPressed, this, &MainWindow::searchPlaces);
    m_searchResults = new QMenu(this);
    m_searchResults->setObjectName(QStringLiteral("MenuSuchergebnisse"));
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

QPlainTextEdit *MainWindow::showTemplatePage()
{
    return m_reportPages->showTemplatePage();
}

void MainWindow::showError(const QString &title, const QString &text)
{
    m_prompter.message(Prompter::Kind::Error, title, text);
}

void MainWindow::startGame(int game, const QString &name, const QString &typeText)
{
    show();
    setEnabled(true);
    // The keys of the window (Ctrl+K, Ctrl+PgDown, ...) work at once.
    raise();
    activateWindow();
    showCaption(typeText + QStringLiteral(" Assistent"));
    try {
        m_session.spielinitialisierung(game, name, typeText);
    } catch (const UserError &e) {
        showError(QStringLiteral("Fehler"), e.message());
    }
    m_mapPanel->scrollWorldMapToMiddle();
}

void MainWindow::getSekKoo(int x, int y)
{
    // A change still open in a field of the page belongs to the region shown so far.
    m_detailPages->regionInfo()->commitEdits();
    m_detailPages->units()->commitEdits();
    UnitsPage *units = m_detailPages->units();
    MapState &map = m_session.mapState();
    RegionSelection selection;
    selection.level = map.level();
    selection.allUnits = units->allUnits();
    selection.currentOnly = units->currentOnly();
    selection.previousPosition = map.regionPosition();
    RegionView view;
    try {
        BusyScope busy(m_prompter);
        view = RegionDetail(m_session.database()).getSekKoo(m_session.game(), x, y, selection);
    } catch (const UserError &e) {
        showError(QStringLiteral("Region"), e.message());
        return;
    }
    map.setRegionCaption(view.caption);
    m_detailPages->regionInfo()->showRegion(view);
    units->showEntries(view.units);
    if (view.history)
        m_detailPages->showHistory(*view.history, view.regionPosition);
    map.setRegionPosition(view.regionPosition);
    map.setSelectedRegion(QPoint(x, y));
    emit regionShown();
}

void MainWindow::Neu1Click()
{
    importReport(QString());
}

void MainWindow::importReport(const QString &path)
{
    // The autosave waits: the template is being replaced.
    m_timer1->stop();
    UiImportProgress progress(this, m_windows.progress);
    ReportImporter importer(m_session, progress);
    const ReportImporter::Result result
        = path.isEmpty() ? importer.chooseAndImport() : importer.importFile(path);
    m_timer1->start();
    if (result.status == ReportImporter::Result::Imported
        || result.status == ReportImporter::Result::ImportedIncomplete) {
        m_recentReports->add(result.path);
        // The maps show the new turn at once, not only after "Weltkarte aktualisieren".
        try {
            MapOperations(m_session).showImportedGame();
        } catch (const UserError &e) {
            showError(QStringLiteral("Karte"), e.message());
        }
        statusBar()->showMessage(result.closingLines().join(QStringLiteral(". ")));
    }
}

void MainWindow::ImportRueckgaengig1Click()
{
    if (!m_prompter.askYesNo(Prompter::Kind::Confirmation, QStringLiteral("Import rückgängig"),
            QStringLiteral("Den letzten Import von Spiel %1 rückgängig machen? Datenbank, "
                           "Statusdaten, Zugvorlage und Einstellungen des Spiels werden auf den "
                           "Stand davor zurückgesetzt.")
                .arg(m_session.game().number)))
        return;
    m_timer1->stop();
    const ImportUndo::Result result = ImportUndo(m_session).undoLastImport();
    m_timer1->start();
    m_prompter.message(result.status == ImportUndo::Result::Failed ? Prompter::Kind::Error
                                                                   : Prompter::Kind::Information,
        QStringLiteral("Import rückgängig"), result.message);
}

void MainWindow::Speichern1Click()
{
    try {
        m_session.orderFile().save();
    } catch (const UserError &e) {
        showError(QStringLiteral("Zugvorlage speichern"), e.message());
    }
}

void MainWindow::ZugVorlageSpeichern1Click()
{
    const QString path = m_prompter.saveFileName(QStringLiteral("Zugvorlage speichern unter"),
        {QStringLiteral("Alle (*.*)"), QStringLiteral("Textdateien (*.txt)")}, 1, true);
    if (path.isEmpty())
        return;
    try {
        m_session.orderFile().saveAs(path);
    } catch (const UserError &e) {
        showError(QStringLiteral("Zugvorlage speichern"), e.message());
    }
}

void MainWindow::Suchen1Click()
{
    m_reportPages->showTemplatePage();
    m_reportPages->templatePage()->startFind();
}

void MainWindow::Optionen1Click()
{
    if (m_windows.settings)
        m_windows.settings->open();
}

void MainWindow::SpielWechseln1Click()
{
    if (!m_windows.selection)
        return;
    m_detailPages->regionInfo()->commitEdits();
    m_detailPages->units()->commitEdits();
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
    // The window keeps painting while the checker runs, but takes no input.
    setEnabled(false);
    OrderChecker::Result result;
    {
        BusyScope busy(m_prompter);
        OrderFile orderFile = m_session.orderFile();
        result = OrderChecker(m_session.game()).run(orderFile);
    }
    setEnabled(true);
    if (result.status != OrderChecker::Result::Ran) {
        showError(QStringLiteral("Zug Checker"), result.message);
        return;
    }
    const QStringList &lines = m_session.orderTemplate().lines();
    QList<OrderProblem> problems = checkerProblems(result.output, ListTemplateLines(lines));
    try {
        problems.append(orderHints(ListTemplateLines(lines), *m_session.orderVocabulary()));
    } catch (const UserError &e) {
        statusBar()->showMessage(e.message());
    }
    showProblems(problems, result.output);
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
    if (m_reportPages->isLoadingTemplate())
        return;
    // The editor's document is the template: nothing is copied per key press.
    m_session.orderTemplate().editedInEditor();
    // Undone back to the text saved last: saved again (a text set anew has no steps
    // to undo or redo, and stays unsaved).
    const QTextDocument *document = m_reportPages->richEdit4()->document();
    if (!document->isModified() && (document->isUndoAvailable() || document->isRedoAvailable()))
        m_session.orderTemplate().setSaved(true);
}

void MainWindow::Timer1Timer()
{
    // A failure is noted without a box so that typing is not interrupted.
    try {
        m_session.orderFile().saveIfChanged();
    } catch (const UserError &e) {
        m_prompter.notice(QStringLiteral("Automatisches Speichern fehlgeschlagen: ") + e.message());
    }
}

void MainWindow::Regioneingeben1Click()
{
    if (m_windows.regionEntry)
        m_windows.regionEntry->open();
}

void MainWindow::Kartendatenimportieren1Click()
{
    MapExchange exchange(m_session.database(), m_session.game().number, m_prompter);
    const QString path = exchange.askImportFile();
    if (path.isEmpty())
        return;
    QString failure;
    {
        UiImportProgress progress(this, m_windows.progress);
        ProgressScope shown(progress);
        try {
            const int regions = exchange.importFile(path);
            statusBar()->showMessage(
                QStringLiteral("Kartendaten importiert: %1 neue Regionen aus %2")
                    .arg(regions)
                    .arg(QFileInfo(path).fileName()));
        } catch (const UserError &e) {
            failure = e.message();
        }
    }
    if (!failure.isEmpty())
        showError(QStringLiteral("Kartendaten importieren"), failure);
}

void MainWindow::Kartendatenexportieren1Click()
{
    // The whole map holds every level, whichever the world map shows.
    MapExchange(m_session.database(), m_session.game().number, m_prompter)
        .exportWholeMap(std::nullopt);
}

void MainWindow::Kartenbereichexportieren1Click()
{
    const MapState &map = m_session.mapState();
    const MarkedRegion marked {map.selectedRegion(), map.level(), map.regionCaption()};
    MapExchange(m_session.database(), m_session.game().number, m_prompter)
        .exportArea(marked, regionViewLevel());
}

void MainWindow::MitAllianzabgleichen1Click()
{
    AllianceSyncDialog dialog(m_session, this);
    connect(&dialog, &AllianceSyncDialog::mapChanged, this, &MainWindow::refreshLevels);
    dialog.exec();
}

std::optional<int> MainWindow::regionViewLevel() const
{
    // All levels of the game until the world map is rendered or the level switched.
    return m_session.mapState().regionFilterLevel();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_detailPages->regionInfo()->commitEdits();
    if (!m_session.orderTemplate().isSaved()) {
        const int choice
            = m_prompter.askChoice(Prompter::Kind::Confirmation, QStringLiteral("Bestätigung"),
                QStringLiteral("Zugvorlage wurde noch nicht gespeichert."),
                {QStringLiteral("Speichern"), QStringLiteral("Verwerfen"),
                    QStringLiteral("Abbrechen")});
        if (choice == 0)
            Speichern1Click();
        // A template that could not be saved keeps the program open.
        if (choice == 2 || (choice == 0 && !m_session.orderTemplate().isSaved())) {
            event->ignore();
            return;
        }
    }
    WindowMemory::save(*this);
    event->accept();
}

void MainWindow::connectMaps()
{
    MapState &state = m_session.mapState();
    connect(&state, &MapState::worldMapChanged, this,
        [this] { m_mapPanel->showWorldMap(m_session.mapState().worldMap()); });
    connect(&state, &MapState::smallMapChanged, this,
        [this] { m_mapPanel->showSmallMap(m_session.mapState().smallMap()); });
    connect(&state, &MapState::overlayChanged, this, &MainWindow::showOverlay);
    connect(&state, &MapState::regionCaptionChanged, m_mapPanel->panel1(), &QLabel::setText);
    // The selected region is framed on both maps wherever they stand.
    for (auto signal : {&MapState::worldMapChanged, &MapState::smallMapChanged})
        connect(&state, signal, this, &MainWindow::showMarkers);
    connect(&state, &MapState::selectedRegionChanged, this, &MainWindow::showMarkers);
    connect(&state, &MapState::originChanged, this, &MainWindow::showMarkers);
    // Names of regions under the pointer belong to the level they were asked on.
    connect(&state, &MapState::levelChanged, this, [this] {
        m_pointerRegion.reset();
        m_statusPanels[2]->clear();
    });

    MapImage *world = m_mapPanel->image82();
    connect(world, &MapImage::pointerMoved, this,
        [this](const QPoint &p) { Image82MouseMove(p.x(), p.y()); });
    connect(world, &MapImage::pressed, this,
        [this](const QPoint &p) { Image82MouseDown(p.x(), p.y()); });
    connect(world, &MapImage::zoomRequested, this, [this](int steps, const QPoint &at) {
        m_mapPanel->setZoom(m_mapPanel->zoom() + steps, at);
    });
    MapImage *small = m_mapPanel->image1();
    connect(small, &MapImage::pointerMoved, this,
        [this](const QPoint &p) { Image1MouseMove(p.x(), p.y()); });
    connect(small, &MapImage::pressed, this,
        [this](const QPoint &p) { Image1MouseDown(p.x(), p.y()); });
    connect(
        small, &MapImage::arrowKey, this, [this](int dx, int dy, Qt::KeyboardModifiers modifiers) {
            const int step = modifiers & Qt::ShiftModifier ? 1 : 9;
            try {
                m_maps->moveSmallMap(dx * step, dy * step);
            } catch (const UserError &e) {
                mapFailed(e.message());
            }
        });
    connect(m_mapPanel->upDown1(), &UpDown::clicked, this, &MainWindow::UpDown1Click);
    connect(m_mapPanel->upDown2(), &UpDown::clicked, this, &MainWindow::UpDown2Click);
    connect(m_mapPanel->button4(), &QPushButton::clicked, this, &MainWindow::Button4Click);
    connect(m_mapPanel->button9(), &QPushButton::clicked, this, &MainWindow::Button9Click);
    connect(m_mapPanel->dbLookupComboBox3(), &QComboBox::currentIndexChanged, this,
        &MainWindow::showLevelName);
    connect(m_mapPanel->dbEdit32(), &QLineEdit::editingFinished, this, [this] {
        QComboBox *list = m_mapPanel->dbLookupComboBox3();
        if (list->currentIndex() < 0)
            return;
        const int level = list->currentData().toInt();
        const QString name = m_mapPanel->dbEdit32()->text();
        m_maps->setLevelName(level, name);
        list->setItemData(list->currentIndex(), name, Qt::ToolTipRole);
        list->setItemText(list->currentIndex(), levelText(level, name));
    });
    connect(m_mapPanel, &MapPanel::zoomChanged, this, [this](int zoom) {
        for (QAction *action : std::as_const(m_zoomActions))
            action->setChecked(action->data().toInt() == zoom);
        showZoomedMap();
    });
    connect(&state, &MapState::worldMapChanged, this, &MainWindow::showZoomedMap);
    connect(&state, &MapState::overlayChanged, this, &MainWindow::showZoomedMap);

    connect(&m_session, &Session::gameOpened, this, [this] {
        m_mapPanel->button4()->setEnabled(true);
        m_mapPanel->button9()->setEnabled(true);
        m_mapPanel->dbEdit32()->setEnabled(true);
        m_toolButton1->setEnabled(true);
        m_toolButton2->setEnabled(true);
        m_button7->setEnabled(true);
        if (auto *action = findChild<QAction *>(QStringLiteral("Inselkarteexportieren1")))
            action->setEnabled(true);
        refreshLevels();
        showMarkers();
    });
    // An import may bring new levels.
    connect(&m_session, &Session::statusChanged, this, [this] {
        if (m_session.game().isOpen())
            refreshLevels();
    });
}

void MainWindow::buildZoomMenu(QMenu *menu)
{
    QMenu *zoom = menu->addMenu(QStringLiteral("Weltkarte &Zoom"));
    zoom->setObjectName(QStringLiteral("Zoom1"));
    auto *group = new QActionGroup(this);
    for (int factor = 1; factor <= MapPanel::kMaxZoom; ++factor) {
        QAction *action = zoom->addAction(QStringLiteral("&%1 %").arg(factor * 100));
        action->setObjectName(QStringLiteral("Zoom%1x").arg(factor));
        action->setCheckable(true);
        action->setChecked(factor == 1);
        action->setData(factor);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, factor] { m_mapPanel->setZoom(factor); });
        m_zoomActions.append(action);
    }
    zoom->addSeparator();
    QAction *larger = zoom->addAction(QStringLiteral("&Vergrößern"));
    larger->setObjectName(QStringLiteral("ZoomIn1"));
    larger->setShortcut(QKeySequence::ZoomIn);
    connect(
        larger, &QAction::triggered, this, [this] { m_mapPanel->setZoom(m_mapPanel->zoom() + 1); });
    QAction *smaller = zoom->addAction(QStringLiteral("Ver&kleinern"));
    smaller->setObjectName(QStringLiteral("ZoomOut1"));
    smaller->setShortcut(QKeySequence::ZoomOut);
    connect(smaller, &QAction::triggered, this,
        [this] { m_mapPanel->setZoom(m_mapPanel->zoom() - 1); });
}

void MainWindow::refreshLevels()
{
    QComboBox *list = m_mapPanel->dbLookupComboBox3();
    const QVariant chosen
        = list->currentIndex() >= 0 ? list->currentData() : QVariant(m_session.mapState().level());
    QSignalBlocker block(list);
    list->clear();
    try {
        for (const MapOperations::LevelChoice &choice : m_maps->levelChoices()) {
            list->addItem(levelText(choice.level, choice.name), choice.level);
            list->setItemData(list->count() - 1, choice.name, Qt::ToolTipRole);
            list->setItemData(list->count() - 1, choice.stored, Qt::UserRole + 1);
        }
    } catch (const UserError &e) {
        mapFailed(e.message());
    }
    list->setCurrentIndex(std::max(0, list->findData(chosen)));
    showLevelName();
}

void MainWindow::showLevelName()
{
    const QComboBox *list = m_mapPanel->dbLookupComboBox3();
    m_mapPanel->dbEdit32()->setText(
        list->currentIndex() < 0 ? QString() : list->currentData(Qt::ToolTipRole).toString());
    // A level without a row has no name to store.
    m_mapPanel->dbEdit32()->setReadOnly(!list->currentData(Qt::UserRole + 1).toBool());
}

void MainWindow::showOverlay(OverlayKind kind)
{
    const MapState::Overlay &overlay = m_session.mapState().overlay(kind);
    const QString text = MapOperations::overlayText(kind, overlay.on);
    switch (kind) {
    case OverlayKind::Units:
        m_toolButton2->setToolTip(text);
        m_toolButton2->setText(text);
        m_toolButton2->setChecked(overlay.on);
        m_mapPanel->showLayer(0, overlay.visible, overlay.image);
        break;
    case OverlayKind::Ships:
        m_toolButton1->setToolTip(text);
        m_toolButton1->setText(text);
        m_toolButton1->setChecked(overlay.on);
        m_mapPanel->showLayer(1, overlay.visible, overlay.image);
        break;
    case OverlayKind::RegionMessages:
        m_button7->setText(text);
        m_mapPanel->showLayer(2, overlay.visible, overlay.image);
        break;
    }
}

void MainWindow::mapFailed(const QString &text)
{
    showError(QStringLiteral("Karte"), text);
}

void MainWindow::showPointer(const RegionCoord &region, bool onWorldMap)
{
    m_statusPanels[1]->setText(positionText(region.x, region.y));
    if (m_pointerRegion && m_pointerRegion->first == region
        && m_pointerRegion->second == onWorldMap)
        return;
    m_pointerRegion = std::make_pair(region, onWorldMap);
    try {
        m_statusPanels[2]->setText(m_maps->regionLabel(region, onWorldMap));
    } catch (const UserError &e) {
        m_statusPanels[2]->setText(e.message());
    }
}

void MainWindow::Button4Click()
{
    try {
        m_maps->displayWorldMapHex();
    } catch (const UserError &e) {
        mapFailed(e.message());
    }
}

void MainWindow::Inselkarteexportieren1Click()
{
    Button4Click();
}

void MainWindow::Button9Click()
{
    const QComboBox *list = m_mapPanel->dbLookupComboBox3();
    if (list->currentIndex() < 0)
        return;
    const MapOperations::SwitchResult result = switchToLevel(list->currentData().toInt());
    // The pages and the title show the selected place on the level now shown.
    const std::optional<QPoint> selected = m_session.mapState().selectedRegion();
    if (result != MapOperations::SwitchResult::Unchanged && selected)
        getSekKoo(selected->x(), selected->y());
}

void MainWindow::Image1MouseMove(int x, int y)
{
    if (!m_session.game().isOpen())
        return;
    showPointer(m_maps->smallRegionAt(QPoint(x, y)), false);
}

void MainWindow::Image1MouseDown(int x, int y)
{
    if (!m_session.game().isOpen())
        return;
    const RegionCoord region = m_maps->smallRegionAt(QPoint(x, y));
    showPointer(region, false);
    getSekKoo(region.x, region.y);
}

void MainWindow::Image82MouseMove(int x, int y)
{
    if (!m_session.game().isOpen() || m_session.mapState().worldMapSize().isEmpty())
        return;
    showPointer(m_maps->worldRegionAt(QPoint(x, y)), true);
}

void MainWindow::Image82MouseDown(int x, int y)
{
    if (!m_session.game().isOpen() || m_session.mapState().worldMapSize().isEmpty())
        return;
    try {
        const RegionCoord region = m_maps->selectOnWorldMap(QPoint(x, y));
        m_statusPanels[0]->setText(positionText(region.x, region.y));
        getSekKoo(region.x, region.y);
    } catch (const UserError &e) {
        mapFailed(e.message());
    }
}

void MainWindow::UpDown1Click(UpDown::Button button)
{
    try {
        m_maps->moveSmallMap(0, button == UpDown::Button::Next ? 9 : -9);
    } catch (const UserError &e) {
        mapFailed(e.message());
    }
}

void MainWindow::UpDown2Click(UpDown::Button button)
{
    try {
        m_maps->moveSmallMap(button == UpDown::Button::Next ? 9 : -9, 0);
    } catch (const UserError &e) {
        mapFailed(e.message());
    }
}

void MainWindow::ToolButton1Click()
{
    try {
        m_maps->toggleOverlay(OverlayKind::Ships);
    } catch (const UserError &e) {
        mapFailed(e.message());
    }
    showOverlay(OverlayKind::Ships);
}

void MainWindow::ToolButton2Click()
{
    try {
        m_maps->toggleOverlay(OverlayKind::Units);
    } catch (const UserError &e) {
        mapFailed(e.message());
    }
    showOverlay(OverlayKind::Units);
}

void MainWindow::Button7Click()
{
    try {
        m_maps->toggleOverlay(OverlayKind::RegionMessages);
    } catch (const UserError &e) {
        mapFailed(e.message());
    }
}

void MainWindow::connectReportRows()
{
    connect(
        m_detailPages->groupings(), &GroupingsPage::unitActivated, this, &MainWindow::showUnitAt);
    connect(m_detailPages->army(), &ArmyPage::unitActivated, this, &MainWindow::showUnitAt);
    connect(m_detailPages->shipRegister(), &ShipRegisterPage::regionActivated, this,
        &MainWindow::showRegionAt);
    connect(m_detailPages, &DetailPages::regionActivated, this, &MainWindow::showRegionAt);
}

void MainWindow::showRegionAt(int x, int y, int level)
{
    showRegion(x, y, level);
}

void MainWindow::showUnitAt(const QString &position, int number)
{
    const std::optional<Position> at = parsePosition(position);
    if (!at)
        return;
    showRegion(at->x, at->y, at->level);
    selectUnitRow(number);
}

MapOperations::SwitchResult MainWindow::switchToLevel(int level)
{
    QComboBox *list = m_mapPanel->dbLookupComboBox3();
    if (list->findData(level) < 0)
        refreshLevels();
    if (list->findData(level) >= 0)
        list->setCurrentIndex(list->findData(level));
    MapOperations::SwitchResult result = MapOperations::SwitchResult::Unchanged;
    try {
        result = m_maps->switchLevel(level);
        if (level == 0 && result != MapOperations::SwitchResult::Unchanged)
            m_mapPanel->scrollWorldMapToMiddle();
    } catch (const UserError &e) {
        mapFailed(e.message());
    }
    return result;
}

void MainWindow::showRegion(int x, int y, int level)
{
    if (!m_session.game().isOpen())
        return;
    if (level != m_session.mapState().level())
        switchToLevel(level);
    m_session.mapState().setCurrentPosition(QPoint(x, y));
    try {
        m_maps->displaySmallMap(x, y);
    } catch (const UserError &e) {
        mapFailed(e.message());
    }
    getSekKoo(x, y);
    const MapState &state = m_session.mapState();
    if (!state.worldMapSize().isEmpty()) {
        const WorldMapFrame frame {
            int(state.origin().x()), int(state.origin().y()), state.worldMapSize().height()};
        m_mapPanel->scrollWorldMapTo(
            QRect(worldCellCorner(frame, x, y), QSize(kWorldCellPitch, kWorldCellPitch)));
    }
    m_detailPages->setCurrentWidget(m_detailPages->regionInfo());
}

bool MainWindow::showUnit(int number)
{
    if (!m_session.game().isOpen())
        return false;
    std::optional<PlaceHit> place;
    try {
        place = PlaceSearch(m_session.database()).unitPlace(m_session.game(), number);
    } catch (const UserError &e) {
        showError(QStringLiteral("Suchen"), e.message());
        return false;
    }
    if (!place) {
        statusBar()->showMessage(QStringLiteral("Von Einheit %1 ist keine Position bekannt.")
                                     .arg(idToStr(number, m_session.game().base)));
        return false;
    }
    jumpTo(*place);
    return true;
}

void MainWindow::jumpTo(const PlaceHit &hit)
{
    showRegion(hit.x, hit.y, hit.level);
    if (hit.kind == PlaceHit::Kind::Unit)
        selectUnitRow(hit.unitNumber);
}

void MainWindow::selectUnitRow(int number)
{
    UnitsPage *units = m_detailPages->units();
    int row = units->rowOfUnit(number);
    // A unit of another faction or turn is listed once "Alle" admits it.
    if (row < 0 && units->admitEveryUnit()) {
        refreshUnitList();
        row = units->rowOfUnit(number);
    }
    m_detailPages->setCurrentWidget(units);
    if (row >= 0)
        units->selectEntry(row);
}

void MainWindow::refreshUnitList()
{
    // The list reads the marks anew; the selected row stays selected.
    const std::optional<QPoint> region = m_session.mapState().selectedRegion();
    if (!region)
        return;
    UnitsPage *units = m_detailPages->units();
    RegionSelection selection;
    selection.level = m_session.mapState().level();
    selection.allUnits = units->allUnits();
    selection.currentOnly = units->currentOnly();
    selection.previousPosition = m_session.mapState().regionPosition();
    try {
        const RegionView view
            = RegionDetail(m_session.database())
                  .getSekKoo(m_session.game(), region->x(), region->y(), selection);
        units->updateEntries(view.units);
    } catch (const UserError &e) {
        showError(QStringLiteral("Einheiten"), e.message());
    }
}

void MainWindow::searchPlaces()
{
    const QString text = m_searchBox->text().trimmed();
    if (text.isEmpty() || !m_session.game().isOpen())
        return;
    QVector<PlaceHit> hits;
    try {
        hits = PlaceSearch(m_session.database())
                   .find(m_session.game(), text, m_session.mapState().level(), kShownHits + 1);
    } catch (const UserError &e) {
        showError(QStringLiteral("Suchen"), e.message());
        return;
    }
    m_searchResults->clear();
    if (hits.isEmpty()) {
        statusBar()->showMessage(
            QStringLiteral("Keine Einheit und keine Region zu \"%1\" gefunden.").arg(text));
        return;
    }
    if (hits.size() == 1) {
        jumpTo(hits.first());
        return;
    }
    for (const PlaceHit &hit : hits.first(std::min<qsizetype>(hits.size(), kShownHits))) {
        QAction *action = m_searchResults->addAction(hit.text);
        connect(action, &QAction::triggered, this, [this, hit] { jumpTo(hit); });
    }
    if (hits.size() > kShownHits) {
        m_searchResults->addSeparator();
        m_searchResults->addAction(QStringLiteral("Weitere Treffer: bitte genauer suchen"))
            ->setEnabled(false);
    }
    m_searchResults->popup(m_searchBox->mapToGlobal(QPoint(0, m_searchBox->height())));
}

void MainWindow::showZoomedMap()
{
    // The zoomed world map and its layers are drawn at their size, not enlarged.
    const int zoom = m_mapPanel->zoom();
    if (zoom <= 1 || !m_session.game().isOpen())
        return;
    try {
        // A picture or zoom that changed has dropped its zoomed drawing; the others stay.
        if (!m_mapPanel->image82()->showsZoomedImage())
            m_mapPanel->image82()->setZoomedImage(m_maps->renderZoomed(zoom));
        const OverlayKind kinds[3]
            = {OverlayKind::Units, OverlayKind::Ships, OverlayKind::RegionMessages};
        MapImage *layers[3] = {m_mapPanel->image2(), m_mapPanel->image3(), m_mapPanel->image4()};
        for (int i = 0; i < 3; ++i) {
            const MapState::Overlay &overlay = m_session.mapState().overlay(kinds[i]);
            if (overlay.visible && !layers[i]->showsZoomedImage()
                && qint64(overlay.image.width()) * overlay.image.height() * zoom * zoom
                    <= WorldMapRenderer::kMaxPixels)
                layers[i]->setZoomedImage(m_maps->drawOverlay(kinds[i], nullptr, zoom).image);
        }
    } catch (const UserError &e) {
        mapFailed(e.message());
    }
}

void MainWindow::showMarkers()
{
    const MapState &state = m_session.mapState();
    const std::optional<QPoint> selected = state.selectedRegion();
    std::optional<QRect> world;
    std::optional<QRect> small;
    if (selected && !state.worldMapSize().isEmpty()) {
        const WorldMapFrame frame {
            int(state.origin().x()), int(state.origin().y()), state.worldMapSize().height()};
        const QRect cell(worldCellCorner(frame, selected->x(), selected->y()),
            QSize(kWorldCellPitch, kWorldCellPitch + 2));
        if (cell.intersects(QRect(QPoint(0, 0), state.worldMapSize())))
            world = cell;
    }
    if (selected) {
        const QPoint centre = state.currentPosition();
        for (int row = 1; row <= kSmallMapRows && !small; ++row) {
            for (int cell = 1; cell <= smallMapCellCount(row); ++cell) {
                const RegionCoord region = smallCellRegion(centre.x(), centre.y(), row, cell);
                if (region.x == selected->x() && region.y == selected->y()) {
                    small = QRect(smallCellCorner(row, cell),
                        QSize(kSmallCellPitch, kSmallCellPitch + kSmallCellPitch / 3));
                    break;
                }
            }
        }
    }
    m_mapPanel->image82()->setMarker(world);
    m_mapPanel->image1()->setMarker(small);
}

void MainWindow::connectOrderWriting()
{
    OrderTemplate &orders = m_session.orderTemplate();
    QPlainTextEdit *editor = m_reportPages->richEdit4();
    // While the page holds the template, its document is read back when lines are asked.
    orders.setEditorReader([editor] { return editor->toPlainText().split(u'\n'); });
    connect(m_reportPages, &ReportPagesWidget::templateLoaded, this,
        [this, editor] { editor->document()->setModified(!m_session.orderTemplate().isSaved()); });
    // The document's modification state follows saving, so that undoing back to the
    // saved text clears the title's star.
    connect(&orders, &OrderTemplate::savedChanged, this, [this, editor](bool saved) {
        if (saved && m_reportPages->holdsTemplate())
            editor->document()->setModified(false);
    });
    connect(editor, &QPlainTextEdit::modificationChanged, this, [this, editor](bool modified) {
        const QTextDocument *document = editor->document();
        if (!modified && m_reportPages->holdsTemplate() && !m_reportPages->isLoadingTemplate()
            && (document->isUndoAvailable() || document->isRedoAvailable()))
            m_session.orderTemplate().setSaved(true);
    });
    connect(m_reportPages, &QTabWidget::currentChanged, this, [this] {
        if (m_reportPages->currentWidget() == m_reportPages->templatePage())
            applyOrderVocabulary();
    });
    connect(&m_session, &Session::gameChanged, this, [this] {
        if (m_reportPages->currentWidget() == m_reportPages->templatePage())
            applyOrderVocabulary();
        showProblems({}, QString());
    });
}

void MainWindow::applyOrderVocabulary()
{
    if (m_session.game().number == 0)
        return;
    std::shared_ptr<const OrderVocabulary> vocabulary;
    try {
        vocabulary = m_session.orderVocabulary();
    } catch (const UserError &e) {
        statusBar()->showMessage(e.message());
        return;
    }
    m_reportPages->templatePage()->setVocabulary(vocabulary);
    if (m_windows.orderEditor)
        m_windows.orderEditor->setVocabulary(vocabulary);
}

void MainWindow::showProblems(const QList<OrderProblem> &problems, const QString &output)
{
    m_problemUnits = unitsWithProblems(problems);
    const ActiveGame game = m_session.game();
    m_detailPages->units()->setProblemUnits(m_problemUnits);
    if (!m_windows.checkerOutput || (problems.isEmpty() && output.isEmpty()))
        return;
    m_windows.checkerOutput->setEnabled(true);
    m_windows.checkerOutput->showOutput(output);
    m_windows.checkerOutput->showProblems(problems);
}

void MainWindow::Befehlsdurchsicht1Click()
{
    if (m_session.game().number == 0)
        return;
    const QStringList &lines = m_session.orderTemplate().lines();
    QList<OrderProblem> hints;
    try {
        hints = orderHints(ListTemplateLines(lines), *m_session.orderVocabulary());
    } catch (const UserError &e) {
        showError(QStringLiteral("Befehle durchsehen"), e.message());
        return;
    }
    showProblems(hints, QStringLiteral("(Hinweise des Programms, ohne Checker)"));
    statusBar()->showMessage(QStringLiteral("%1 Hinweise zu den Befehlen").arg(hints.size()));
}

void MainWindow::showProblem(const OrderProblem &problem)
{
    QPlainTextEdit *editor = showTemplatePage();
    TemplatePage *page = m_reportPages->templatePage();
    page->goToLine(currentLineOf(problem, DocumentTemplateLines(*editor->document())));
    if (!problem.unitText.isEmpty())
        selectUnitInRegion(problem.unitText);
    // The list stays on top; the template takes the keys.
    editor->setFocus(Qt::OtherFocusReason);
}

void MainWindow::selectUnitInRegion(const QString &unitText)
{
    std::optional<Position> at;
    try {
        at = parsePosition(m_session.orderVocabulary()->positionOfUnit(unitText));
    } catch (const UserError &e) {
        statusBar()->showMessage(e.message());
        return;
    }
    if (!at)
        return;
    // The unit's region on its own level, as the search and the report rows show it.
    showRegion(at->x, at->y, at->level);
    m_detailPages->setCurrentWidget(m_detailPages->units());
    m_detailPages->units()->selectUnit(unitText);
}

void MainWindow::moveToUnitToReview(bool forward)
{
    if (m_session.game().number == 0)
        return;
    QPlainTextEdit *editor = showTemplatePage();
    const DocumentTemplateLines lines(*editor->document());
    const std::optional<int> header = nextUnitToReview(
        lines, editor->textCursor().blockNumber(), forward, ReviewTargets {m_problemUnits, true});
    if (!header) {
        statusBar()->showMessage(
            QStringLiteral("Keine andere Einheit mit Problemen oder ohne Befehle"));
        return;
    }
    m_reportPages->templatePage()->goToLine(*header);
    const QString unitText = unitTextOfHeaderLine(lines.line(*header));
    statusBar()->showMessage(QStringLiteral("Einheit %1").arg(unitText));
    selectUnitInRegion(unitText);
    editor->setFocus(Qt::OtherFocusReason);
}

void MainWindow::NaechsteEinheit1Click()
{
    moveToUnitToReview(true);
}

void MainWindow::VorigeEinheit1Click()
{
    moveToUnitToReview(false);
}

void MainWindow::Ersetzen1Click()
{
    m_reportPages->showTemplatePage();
    m_reportPages->templatePage()->startReplace();
}

} // namespace tolvimar
