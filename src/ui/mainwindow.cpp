#include "mainwindow.h"

#include "aboutbox.h"
#include "app/reportimporter.h"
#include "app/session.h"
#include "base/errors.h"
#include "base/prompter.h"
#include "calculator.h"
#include "checkeroutputwindow.h"
#include "detailpages.h"
#include "map/regiondetail.h"
#include "map/regionrecord.h"
#include "map/mapexchange.h"
#include "mappanel.h"
#include "ordereditorwindow.h"
#include "orders/checker.h"
#include "pointspage.h"
#include "regioninfopage.h"
#include "regionentrydialog.h"
#include "reportpageswidget.h"
#include "selectiondialog.h"
#include "settingsdialog.h"
#include "statuspage.h"
#include "templatepage.h"
#include "uiimportprogress.h"
#include "unitspage.h"
#include "unitviewpanel.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace tolvimar {

namespace {

// The progress window is shown and the main window disabled for the scope's life.
struct ProgressShown
{
    explicit ProgressShown(ImportProgress &progress)
        : m_progress(progress)
    {
        m_progress.begin();
    }
    ~ProgressShown() { m_progress.end(); }
    ImportProgress &m_progress;
};

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

    auto *central = new QSplitter(Qt::Vertical, this);
    central->setObjectName(QStringLiteral("SplitterMain"));
    auto *top = new QWidget(central);
    auto *topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(4, 4, 4, 4);
    // The map column scrolls on small screens rather than pushing the report pages away.
    auto *mapScroll = new QScrollArea(top);
    mapScroll->setObjectName(QStringLiteral("ScrollBoxKarten"));
    mapScroll->setFrameShape(QFrame::NoFrame);
    mapScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_mapPanel = new MapPanel(mapScroll);
    mapScroll->setWidget(m_mapPanel);
    mapScroll->setFixedWidth(m_mapPanel->sizeHint().width() + 16);
    topLayout->addWidget(mapScroll);
    m_detailPages = new DetailPages(top);
    topLayout->addWidget(m_detailPages, 1);
    central->addWidget(top);
    m_reportPages = new ReportPagesWidget(central);
    central->addWidget(m_reportPages);
    central->setStretchFactor(0, 3);
    central->setStretchFactor(1, 2);
    central->setSizes({540, 360});
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
    m_reportPages->setTemplateSource([this] { return m_session.orderTemplate().text(); });
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
    connectSession();
    connectUnitView();
    m_reportPages->showPages(m_session.pages());
    m_reportPages->showStatus(m_session.status());
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
        loadWorldMap();
    });
}

void MainWindow::setWindows(const Windows &windows)
{
    m_windows = windows;
    if (m_windows.selection) {
        connect(
            m_windows.selection, &SelectionDialog::startRequested, this, &MainWindow::startGame);
    }
    if (m_windows.orderEditor) {
        connect(m_windows.orderEditor, &OrderEditorWindow::ordersSubmitted, this,
            &MainWindow::applyEditedOrders);
    }
    if (m_windows.regionEntry) {
        connect(m_windows.regionEntry, &RegionEntryDialog::regionSaved, this, [this](int x, int y) {
            m_mapPanel->panel1()->setText(
                QStringLiteral("Sektor ") + QString::number(x) + u'/' + QString::number(y));
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
    datei->addSeparator();
    connect(addMenuAction(datei, QStringLiteral("Optionen1"), QStringLiteral("&Optionen")),
        &QAction::triggered, this, &MainWindow::Optionen1Click);
    datei->addSeparator();
    connect(addMenuAction(datei, QStringLiteral("Beenden1"), QStringLiteral("&Beenden"), true,
                QKeySequence(Qt::CTRL | Qt::Key_Q)),
        &QAction::triggered, this, &MainWindow::Beenden1Click);

    QMenu *karte = menuBar()->addMenu(QStringLiteral("&Karte"));
    karte->setObjectName(QStringLiteral("Karte1"));
    addMenuAction(karte, QStringLiteral("Inselkarteexportieren1"),
        QStringLiteral("&Weltkarte aktualisieren"), false, QKeySequence(Qt::Key_F5));
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

    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    connect(addMenuAction(tools, QStringLiteral("ZugChecker1"), QStringLiteral("&Zug Checker")),
        &QAction::triggered, this, &MainWindow::ZugChecker1Click);
    connect(
        addMenuAction(tools, QStringLiteral("Taschenrechner1"), QStringLiteral("&Taschenrechner")),
        &QAction::triggered, this, &MainWindow::Taschenrechner1Click);

    QMenu *hilfe = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    hilfe->setObjectName(QStringLiteral("Hilfe1"));
    addMenuAction(hilfe, QStringLiteral("KurzReferenz1"), QStringLiteral("&Kurz Referenz"), false);
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
        button->setText(i == 1 ? QStringLiteral("Schiffe") : QStringLiteral("Einheiten"));
        button->setToolTip(
            i == 1 ? QStringLiteral("Schiffe einblenden") : QStringLiteral("Einheiten einblenden"));
        button->setCheckable(true);
        button->setEnabled(false);
        toolBar->addWidget(button);
    }
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

void MainWindow::loadWorldMap()
{
    m_mapPanel->showWorldMap(QPixmap(m_session.worldMapFile(0)));
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
    UnitsPage *units = m_detailPages->units();
    MapState &map = m_session.mapState();
    RegionSelection selection;
    selection.level = map.level();
    selection.allUnits = units->checkBox1()->isChecked();
    selection.currentOnly = units->checkBox2()->isChecked();
    selection.previousPosition = map.regionPosition();
    RegionView view;
    try {
        BusyScope busy(m_prompter);
        view = RegionDetail(m_session.database()).getSekKoo(m_session.game(), x, y, selection);
    } catch (const UserError &e) {
        showError(QStringLiteral("Region"), e.message());
        return;
    }
    m_mapPanel->panel1()->setText(view.panel1);
    m_detailPages->regionInfo()->showRegion(view);
    units->setLines(view.units);
    if (view.history)
        m_detailPages->showHistory(*view.history);
    map.setRegionPosition(view.regionPosition);
    map.setSelectedRegion(QPoint(x, y));
    emit regionShown();
}

void MainWindow::Neu1Click()
{
    // The autosave waits: the template is being replaced.
    m_timer1->stop();
    UiImportProgress progress(this, m_windows.progress);
    ReportImporter(m_session, progress).Neu1Click();
    m_timer1->start();
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
    if (m_windows.checkerOutput) {
        m_windows.checkerOutput->setEnabled(true);
        m_windows.checkerOutput->showOutput(result.output);
    }
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
    m_session.orderTemplate().setTextFromEditor(m_reportPages->richEdit4()->toPlainText());
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
        ProgressShown shown(progress);
        try {
            exchange.importFile(path);
        } catch (const UserError &e) {
            failure = e.message();
        }
    }
    if (!failure.isEmpty())
        showError(QStringLiteral("Kartendaten importieren"), failure);
}

void MainWindow::Kartendatenexportieren1Click()
{
    MapExchange(m_session.database(), m_session.game().number, m_prompter)
        .exportWholeMap(regionViewLevel());
}

void MainWindow::Kartenbereichexportieren1Click()
{
    const MarkedRegion marked {m_session.mapState().selectedRegion(), m_session.mapState().level(),
        m_mapPanel->panel1()->text()};
    MapExchange(m_session.database(), m_session.game().number, m_prompter)
        .exportArea(marked, regionViewLevel());
}

std::optional<int> MainWindow::regionViewLevel() const
{
    // The whole game: the map state does not yet say that the region view narrowed to
    // the selected level (world map rendered or level switched in this run).
    return std::nullopt;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_detailPages->regionInfo()->commitEdits();
    if (!m_session.orderTemplate().isSaved()
        && !m_prompter.askYesNo(Prompter::Kind::Confirmation, QStringLiteral("Bestätigung"),
            QStringLiteral("Zugvorlage wurde noch nicht gespeichert. Programm beenden?"))) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::connectUnitView()
{
    m_unitRecord = std::make_unique<UnitRecord>(m_session.database());
    m_orderBlock = std::make_unique<OrderBlock>(m_session.orderTemplate(), m_session.database());
    m_unitView = new UnitViewPanel;
    UnitsPage *units = m_detailPages->units();
    units->setUnitView(m_unitView);
    QListView *list = units->listBox3();
    connect(list, &QListView::clicked, this, &MainWindow::ListBox3Click);
    connect(list, &QListView::doubleClicked, this, &MainWindow::ListBox3DblClick);
    list->installEventFilter(this);
    connect(m_unitView, &UnitViewPanel::boxEdited, this, &MainWindow::storeUnitBox);
    // A region shown anew empties the unit's item and talent boxes.
    connect(this, &MainWindow::regionShown, m_unitView, &UnitViewPanel::clearBoxes);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease && watched == m_detailPages->units()->listBox3())
        ListBox3KeyUp();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::ListBox3Click()
{
    // Edits of the shown row go there before another row is shown.
    m_unitView->commitEdits();
    const QString line = m_detailPages->units()->currentLine();
    if (line.isEmpty())
        return;
    try {
        const std::optional<UnitRecord::Selection> selection
            = m_unitRecord->select(line, m_session.game(), m_session.mapState().regionPosition());
        if (!selection)
            return;
        if (selection->unit)
            m_unitView->showUnit(*selection->unit);
        else
            m_unitView->showDescription(selection->description);
    } catch (const UserError &e) {
        showError(QStringLiteral("Einheiten"), e.message());
    }
}

void MainWindow::ListBox3KeyUp()
{
    ListBox3Click();
}

void MainWindow::ListBox3DblClick()
{
    OrderEditorWindow *editor = m_windows.orderEditor;
    if (!editor)
        return;
    editor->show();
    editor->raise();
    try {
        // The unit the view shows, with the marks as stored now.
        const std::optional<UnitViewTexts> unit = m_unitRecord->refreshUnit(m_session.game());
        if (!unit)
            return;
        const OrderBlock::Opened opened = m_orderBlock->open(m_session.game(), *unit);
        editor->fill(m_orderBlock->unitName(), opened.lines, opened.mark);
        m_unitView->setEditedUnitText(m_orderBlock->unitText());
    } catch (const UserError &e) {
        showError(QStringLiteral("Befehlseditor"), e.message());
    }
}

void MainWindow::applyEditedOrders(const QStringList &lines, UnitMark mark)
{
    try {
        m_orderBlock->apply(lines, mark);
    } catch (const UserError &e) {
        showError(QStringLiteral("Befehlseditor"), e.message());
    }
}

void MainWindow::storeUnitBox(UnitBox box, const QString &text)
{
    try {
        m_unitRecord->store(box, text);
    } catch (const UserError &e) {
        showError(QStringLiteral("Einheiten"), e.message());
        // The box shows the stored value again.
        if (box != UnitBox::Description && m_unitRecord->unit())
            m_unitView->showUnit(*m_unitRecord->unit(), false);
    }
}

} // namespace tolvimar
