#include "mainwindow.h"

#include "app/reportimporter.h"
#include "app/session.h"
#include "base/errors.h"
#include "base/prompter.h"
#include "calculator.h"
#include "orders/checker.h"
#include "orders/orderfile.h"
#include "selectiondialog.h"
#include "settingsdialog.h"
#include "smallwindows.h"
#include "statusindicator.h"
#include "uiimportprogress.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStringListModel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tolvimar {

namespace {

QLineEdit *statusEdit(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

// The template editor and the production totals need a fixed-pitch font.
QFont fixedPitchFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontInfo(font).fixedPitch()) {
        font.setFamily(QStringLiteral("DejaVu Sans Mono"));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    return font;
}

QAction *addMenuAction(
    QMenu *menu, const QString &objectName, const QString &text, bool enabled = true)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(objectName);
    action->setEnabled(enabled);
    return action;
}

} // namespace

MainWindow::MainWindow(Session &session, Prompter &prompter)
    : m_session(session)
    , m_prompter(prompter)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kalmora Assistent"));
    buildMenus();

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
    mapScroll->setWidget(buildMapColumn());
    mapScroll->setFixedWidth(mapScroll->widget()->sizeHint().width() + 16);
    topLayout->addWidget(mapScroll);
    topLayout->addWidget(buildDetailPages(), 1);
    central->addWidget(top);
    central->addWidget(buildReportPages());
    central->setStretchFactor(0, 3);
    central->setStretchFactor(1, 2);
    central->setSizes({540, 360});
    setCentralWidget(central);

    auto *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    const int widths[3] = {500, 50, 50};
    for (int i = 0; i < 3; ++i) {
        m_statusPanels[i] = new QLabel(bar);
        m_statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_statusPanels[i]->setMinimumWidth(widths[i]);
        bar->addWidget(m_statusPanels[i], i == 0 ? 1 : 0);
    }

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(300000);
    connect(m_timer1, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    m_timer1->start();

    connect(&m_session, &Session::pagesChanged, this, &MainWindow::refreshPages);
    connect(&m_session, &Session::statusChanged, this, &MainWindow::refreshStatus);
    connect(&m_session, &Session::pointsGridChanged, this, &MainWindow::refreshPointsGrid);
    connect(
        &m_session.orderTemplate(), &OrderTemplate::replaced, this, &MainWindow::refreshTemplate);
    connect(&m_session.orderTemplate(), &OrderTemplate::savedChanged, this, &MainWindow::showSaved);
    connect(&m_session, &Session::gameOpened, this, [this] {
        setWindowTitle(m_session.caption());
        showInfoDatum();
        loadWorldMap();
    });
    refreshPages();
    refreshStatus();
}

MainWindow::~MainWindow() = default;

void MainWindow::setWindows(const Windows &windows)
{
    m_windows = windows;
    if (m_windows.selection) {
        connect(
            m_windows.selection, &SelectionDialog::startRequested, this, &MainWindow::startGame);
    }
}

void MainWindow::buildMenus()
{
    QMenu *datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("Datei1"));
    connect(addMenuAction(datei, QStringLiteral("Neu1"), QStringLiteral("&CR einlesen")),
        &QAction::triggered, this, &MainWindow::Neu1Click);
    connect(
        addMenuAction(datei, QStringLiteral("Speichern1"), QStringLiteral("Zugvorlage &Speichern")),
        &QAction::triggered, this, &MainWindow::Speichern1Click);
    connect(addMenuAction(datei, QStringLiteral("ZugVorlageSpeichern1"),
                QStringLiteral("&Zugvorlage Speichern unter...")),
        &QAction::triggered, this, &MainWindow::ZugVorlageSpeichern1Click);
    datei->addSeparator();
    connect(addMenuAction(datei, QStringLiteral("Optionen1"), QStringLiteral("&Optionen")),
        &QAction::triggered, this, &MainWindow::Optionen1Click);
    datei->addSeparator();
    connect(addMenuAction(datei, QStringLiteral("Beenden1"), QStringLiteral("&Beenden")),
        &QAction::triggered, this, &MainWindow::Beenden1Click);

    QMenu *karte = menuBar()->addMenu(QStringLiteral("&Karte"));
    karte->setObjectName(QStringLiteral("Karte1"));
    addMenuAction(karte, QStringLiteral("Inselkarteexportieren1"),
        QStringLiteral("&Weltkarte aktualisieren"), false);
    addMenuAction(karte, QStringLiteral("Regioneingeben1"),
        QStringLiteral("&Region manuell eingeben"), false);
    addMenuAction(
        karte, QStringLiteral("K1"), QStringLiteral("&Koordinaten Umrechnen (Ursprung)"), false);
    karte->addSeparator();
    addMenuAction(karte, QStringLiteral("Kartendatenimportieren1"),
        QStringLiteral("Kartendaten &importieren"), false);
    addMenuAction(karte, QStringLiteral("Kartendatenexportieren1"),
        QStringLiteral("Gesamtkarte &exportieren"), false);
    addMenuAction(karte, QStringLiteral("Kartenbereichexportieren1"),
        QStringLiteral("Kartenbereich e&xportieren"), false);

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

QWidget *MainWindow::buildMapColumn()
{
    auto *column = new QWidget(this);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *scrollBox = new QScrollArea(column);
    scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox->setFixedSize(281, 265);
    auto *worldMap = new QLabel(scrollBox);
    worldMap->setObjectName(QStringLiteral("Image82"));
    worldMap->setAlignment(Qt::AlignCenter);
    worldMap->setText(QStringLiteral("Keine Weltkarte"));
    scrollBox->setWidget(worldMap);
    scrollBox->setWidgetResizable(true);
    layout->addWidget(scrollBox);

    auto *mapButton = new QPushButton(QStringLiteral("Karte aktualisieren"), column);
    mapButton->setObjectName(QStringLiteral("Button4"));
    mapButton->setEnabled(false);
    layout->addWidget(mapButton);

    auto *levels = new QGroupBox(QStringLiteral("Ebenen"), column);
    levels->setObjectName(QStringLiteral("GroupBox3"));
    auto *levelLayout = new QHBoxLayout(levels);
    auto *levelList = new QComboBox(levels);
    levelList->setObjectName(QStringLiteral("DBLookupComboBox3"));
    auto *levelName = new QLineEdit(levels);
    levelName->setObjectName(QStringLiteral("DBEdit32"));
    auto *switchButton = new QPushButton(QStringLiteral("Wechsel zu"), levels);
    switchButton->setObjectName(QStringLiteral("Button9"));
    switchButton->setEnabled(false);
    levelLayout->addWidget(levelList);
    levelLayout->addWidget(levelName, 1);
    levelLayout->addWidget(switchButton);
    layout->addWidget(levels);

    auto *panel = new QLabel(column);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    layout->addWidget(panel);

    auto *smallMap = new QLabel(column);
    smallMap->setObjectName(QStringLiteral("Image1"));
    smallMap->setFixedSize(261, 261);
    smallMap->setFrameStyle(QFrame::Box);
    layout->addWidget(smallMap, 0, Qt::AlignHCenter);
    layout->addStretch();
    return column;
}

QWidget *MainWindow::buildDetailPages()
{
    m_pageControl2 = new QTabWidget(this);
    m_pageControl2->setObjectName(QStringLiteral("PageControl2"));

    auto *regionInfo = new QWidget(m_pageControl2);
    regionInfo->setObjectName(QStringLiteral("TabSheet9"));
    auto *regionLayout = new QVBoxLayout(regionInfo);
    regionLayout->addWidget(new QLabel(QStringLiteral("Region Umgebung"), regionInfo));
    auto *memo8 = new QPlainTextEdit(regionInfo);
    memo8->setObjectName(QStringLiteral("Memo8"));
    memo8->setReadOnly(true);
    regionLayout->addWidget(memo8);
    regionLayout->addWidget(
        new QLabel(QStringLiteral("Die Region wird bewacht von :"), regionInfo));
    auto *memo7 = new QPlainTextEdit(regionInfo);
    memo7->setObjectName(QStringLiteral("Memo7"));
    memo7->setReadOnly(true);
    regionLayout->addWidget(memo7);
    m_pageControl2->addTab(regionInfo, QStringLiteral("Region Info"));

    auto *units = new QWidget(m_pageControl2);
    units->setObjectName(QStringLiteral("TabSheetEinheiten"));
    auto *unitLayout = new QVBoxLayout(units);
    unitLayout->addWidget(new QLabel(QStringLiteral("Einheiten in Region :"), units));
    auto *listBox3 = new QListView(units);
    listBox3->setObjectName(QStringLiteral("ListBox3"));
    unitLayout->addWidget(listBox3);
    m_pageControl2->addTab(units, QStringLiteral("Einheiten"));

    auto *history = new QTableWidget(0, 0, m_pageControl2);
    history->setObjectName(QStringLiteral("StringGrid1"));
    m_pageControl2->addTab(history, QStringLiteral("Regions Stati"));

    m_pointsGrid = new QTableWidget(0, 8, m_pageControl2);
    m_pointsGrid->setObjectName(QStringLiteral("StringGridPunkte"));
    m_pointsGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pointsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pointsGrid->verticalHeader()->hide();
    m_pointsGrid->horizontalHeader()->hide();
    m_pageControl2->addTab(m_pointsGrid, QStringLiteral("Punkte Statistik"));

    m_pageControl2->addTab(new QWidget(m_pageControl2), QStringLiteral("Armee Info"));

    auto infoDatumPage = [this](const QString &title, QLineEdit **edit) {
        auto *page = new QWidget(m_pageControl2);
        auto *form = new QFormLayout(page);
        *edit = statusEdit(QStringLiteral("EditInfoDatum") + title, page);
        form->addRow(QStringLiteral("Info Datum"), *edit);
        m_pageControl2->addTab(page, title);
    };
    infoDatumPage(QStringLiteral("Gruppierungen"), &m_infoDatumGruppen);
    infoDatumPage(QStringLiteral("Schiffsregister"), &m_infoDatumSchiffe);
    return m_pageControl2;
}

QListView *MainWindow::addListPage(Page page, const QString &objectName, QWidget *extra)
{
    auto *container = new QWidget(m_pageControl1);
    auto *layout = new QHBoxLayout(container);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *view = new QListView(container);
    view->setObjectName(objectName);
    view->setUniformItemSizes(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto *model = new QStringListModel(view);
    view->setModel(model);
    layout->addWidget(view, 1);
    if (extra)
        layout->addWidget(extra);
    m_listModels[int(page)] = model;
    m_listViews[int(page)] = view;
    m_pageWidgets[int(page)] = container;
    m_pageControl1->addTab(container, pageTitle(page));
    return view;
}

QPlainTextEdit *MainWindow::addTextPage(Page page, const QString &objectName)
{
    auto *edit = new QPlainTextEdit(m_pageControl1);
    edit->setObjectName(objectName);
    edit->setReadOnly(true);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_texts[int(page)] = edit;
    m_pageWidgets[int(page)] = edit;
    m_pageControl1->addTab(edit, pageTitle(page));
    return edit;
}

QWidget *MainWindow::buildStatusPage()
{
    auto *page = new QWidget(m_pageControl1);
    page->setObjectName(QStringLiteral("TabSheetStatus"));
    auto *layout = new QHBoxLayout(page);
    // Two columns of label and field keep the page low.
    auto *form = new QGridLayout;
    const struct
    {
        StatusField field;
        const char *name;
        const char *label;
    } fields[] = {
        {StatusField::ParteiName, "EditParteiName", "Partei Name"},
        {StatusField::Datum, "Edit6", "Datum"},
        {StatusField::Punkte, "EditPunkte", "Punkte :"},
        {StatusField::PunkteMittel, "EditPunkteMittel", "Punkte mittel:"},
        {StatusField::Einheiten, "Edit7", "Einheiten"},
        {StatusField::Personen, "Edit8", "Personen"},
        {StatusField::Silber, "Edit13", "Silber"},
        {StatusField::Imigranten, "EditImigranten", "Imigranten"},
        {StatusField::MaxImigranten, "EditMaxImigranten", "max. Imigranten"},
    };
    int i = 0;
    for (const auto &f : fields) {
        m_statusEdits[int(f.field)] = statusEdit(QString::fromLatin1(f.name), page);
        const int row = i % 5;
        const int column = (i / 5) * 2;
        form->addWidget(new QLabel(QString::fromUtf8(f.label), page), row, column);
        form->addWidget(m_statusEdits[int(f.field)], row, column + 1);
        ++i;
    }
    form->setRowStretch(5, 1);
    layout->addLayout(form, 2);

    auto *alliances = new QVBoxLayout;
    alliances->addWidget(new QLabel(pageTitle(Page::Buendnisse), page));
    auto *allianceView = new QListView(page);
    allianceView->setObjectName(QStringLiteral("ListBoxBuendnisse"));
    allianceView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listModels[int(Page::Buendnisse)] = new QStringListModel(allianceView);
    allianceView->setModel(m_listModels[int(Page::Buendnisse)]);
    m_listViews[int(Page::Buendnisse)] = allianceView;
    alliances->addWidget(allianceView);
    layout->addLayout(alliances, 1);

    auto *orders = new QVBoxLayout;
    auto *autosave = new QHBoxLayout;
    m_shape1 = new StatusIndicator(page);
    m_shape1->setObjectName(QStringLiteral("Shape1"));
    m_shape1->setToolTip(QStringLiteral("Zeigt an ob der Zug gespeichert wurde"));
    auto *label = new QLabel(QStringLiteral("Autosave"), page);
    label->setObjectName(QStringLiteral("StaticText1"));
    label->setToolTip(QStringLiteral("Zeigt an ob der Zug gespeichert wurde"));
    autosave->addWidget(m_shape1);
    autosave->addWidget(label);
    autosave->addStretch();
    orders->addLayout(autosave);
    auto *check = new QPushButton(QStringLiteral("Zug prüfen lassen"), page);
    check->setObjectName(QStringLiteral("Button6"));
    connect(check, &QPushButton::clicked, this, &MainWindow::Button6Click);
    orders->addWidget(check);
    orders->addStretch();
    layout->addLayout(orders);
    return page;
}

QWidget *MainWindow::buildReportPages()
{
    m_pageControl1 = new QTabWidget(this);
    m_pageControl1->setObjectName(QStringLiteral("PageControl1"));
    m_pageControl1->addTab(buildStatusPage(), QStringLiteral("Status"));

    addListPage(Page::Kaempfe, QStringLiteral("ListBoxKaempfe"));
    addListPage(Page::Warnungen, QStringLiteral("ListBoxWarnungen"));

    auto *orcBox = new QWidget;
    auto *orcLayout = new QFormLayout(orcBox);
    m_statusEdits[int(StatusField::OrkVermehrung)]
        = statusEdit(QStringLiteral("EditOrkVermehrung"), orcBox);
    orcLayout->addRow(
        QStringLiteral("Ork Vermehrung"), m_statusEdits[int(StatusField::OrkVermehrung)]);
    addListPage(Page::Ereignisse, QStringLiteral("ListBox5"), orcBox);

    auto *incomeBox = new QWidget;
    auto *incomeLayout = new QFormLayout(incomeBox);
    m_statusEdits[int(StatusField::Gesamteinkommen)]
        = statusEdit(QStringLiteral("EditGesamteinkommen"), incomeBox);
    incomeLayout->addRow(
        QStringLiteral("Gesamteinkommen :"), m_statusEdits[int(StatusField::Gesamteinkommen)]);
    addListPage(Page::Einkommen, QStringLiteral("ListBoxEinkommen"), incomeBox);
    addListPage(Page::Handel, QStringLiteral("ListBoxHandel"));

    auto *productionBox = new QWidget;
    auto *productionLayout = new QVBoxLayout(productionBox);
    productionLayout->setContentsMargins(0, 0, 0, 0);
    productionLayout->addWidget(new QLabel(QStringLiteral("Gesamtproduktion"), productionBox));
    auto *productionView = new QListView(productionBox);
    productionView->setObjectName(QStringLiteral("ListBoxGesamtproduktion"));
    productionView->setFont(fixedPitchFont());
    productionView->setFixedWidth(170);
    m_productionModel = new QStringListModel(productionView);
    productionView->setModel(m_productionModel);
    productionLayout->addWidget(productionView);
    addListPage(Page::Produktion, QStringLiteral("ListBoxProduktion"), productionBox);

    addListPage(Page::Bewegungen, QStringLiteral("ListBoxBewegungen"));
    addTextPage(Page::Meldungen, QStringLiteral("MemoMeldungen"));
    addTextPage(Page::Botschaften, QStringLiteral("Memo4"));
    addTextPage(Page::Geheimdienstbericht, QStringLiteral("RichEdit3"));
    addTextPage(Page::Einreisebericht, QStringLiteral("RichEdit2"));

    m_richEdit4 = new QPlainTextEdit(m_pageControl1);
    m_richEdit4->setObjectName(QStringLiteral("RichEdit4"));
    m_richEdit4->setFont(fixedPitchFont());
    m_richEdit4->setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(m_richEdit4, &QPlainTextEdit::textChanged, this, &MainWindow::RichEdit4Change);
    m_pageControl1->addTab(m_richEdit4, QStringLiteral("Zugvorlage"));
    connect(m_pageControl1, &QTabWidget::currentChanged, this, [this] {
        if (m_pageControl1->currentWidget() == m_richEdit4)
            loadTemplateIntoEditor();
    });
    return m_pageControl1;
}

void MainWindow::refreshPages()
{
    const ReportPages &pages = m_session.pages();
    for (int i = 0; i < int(Page::Count); ++i) {
        const Page page = Page(i);
        if (m_listModels[i])
            m_listModels[i]->setStringList(pages[page]);
        else if (m_texts[i])
            m_texts[i]->setPlainText(pages[page].join(u'\n'));
        if (m_pageWidgets[i]) {
            const int index = m_pageControl1->indexOf(m_pageWidgets[i]);
            m_pageControl1->setTabVisible(index, !pages.isEmpty(page));
        }
    }
    QPalette palette = m_listViews[int(Page::Kaempfe)]->palette();
    palette.setColor(QPalette::Text, pages.kaempfeRed ? QColor(Qt::red) : QColor(Qt::black));
    m_listViews[int(Page::Kaempfe)]->setPalette(palette);
}

void MainWindow::showInfoDatum()
{
    const QString turn = QString::number(m_session.game().newestTurn);
    m_infoDatumGruppen->setText(turn);
    m_infoDatumSchiffe->setText(turn);
}

void MainWindow::loadWorldMap()
{
    auto *image = findChild<QLabel *>(QStringLiteral("Image82"));
    const QPixmap map(m_session.worldMapFile(0));
    if (map.isNull()) {
        image->setPixmap(QPixmap());
        image->setText(QStringLiteral("Keine Weltkarte"));
        return;
    }
    image->setPixmap(map);
    image->resize(map.size());
}

void MainWindow::refreshStatus()
{
    showInfoDatum();
    const StatusValues &status = m_session.status();
    for (int i = 0; i < int(StatusField::Count); ++i) {
        if (m_statusEdits[i])
            m_statusEdits[i]->setText(status.values[i]);
    }
    m_productionModel->setStringList(status.gesamtproduktion);
}

void MainWindow::refreshTemplate()
{
    // The editor takes the text when its page is shown: laying out the template of a
    // large report takes most of a second, and the game opens on another page.
    m_templateStale = true;
    if (m_pageControl1->currentWidget() == m_richEdit4)
        loadTemplateIntoEditor();
}

QPlainTextEdit *MainWindow::showTemplatePage()
{
    m_pageControl1->setCurrentWidget(m_richEdit4);
    loadTemplateIntoEditor();
    return m_richEdit4;
}

void MainWindow::loadTemplateIntoEditor()
{
    if (!m_templateStale)
        return;
    m_templateStale = false;
    m_loadingTemplate = true;
    m_richEdit4->setPlainText(m_session.orderTemplate().text());
    m_loadingTemplate = false;
}

void MainWindow::refreshPointsGrid()
{
    const QList<QStringList> &grid = m_session.pointsGrid();
    if (grid.isEmpty()) {
        m_pointsGrid->setRowCount(0);
        return;
    }
    m_pointsGrid->setRowCount(grid.size());
    for (int r = 0; r < grid.size(); ++r) {
        for (int c = 0; c < 8; ++c)
            m_pointsGrid->setItem(r, c, new QTableWidgetItem(grid[r].value(c)));
    }
}

void MainWindow::showSaved(bool saved)
{
    m_shape1->setSaved(saved);
}

void MainWindow::showError(const QString &text)
{
    m_prompter.message(Prompter::Kind::Error, QStringLiteral("Fehler"), text);
}

void MainWindow::startGame(int game, const QString &name, const QString &typeText)
{
    show();
    setEnabled(true);
    setWindowTitle(typeText + QStringLiteral(" Assistent"));
    try {
        m_session.spielinitialisierung(game, name, typeText);
    } catch (const UserError &e) {
        showError(e.message());
    }
    // The world map view starts scrolled into the map's middle.
    auto *scrollBox = findChild<QScrollArea *>(QStringLiteral("ScrollBox1"));
    if (auto *image = findChild<QLabel *>(QStringLiteral("Image82")); image && scrollBox) {
        const QSize size = image->pixmap().size();
        scrollBox->verticalScrollBar()->setValue(int(size.height() / 2.25));
        scrollBox->horizontalScrollBar()->setValue(int(size.width() / 2.25));
    }
}

void MainWindow::Neu1Click()
{
    UiImportProgress progress(this, m_windows.progress);
    ReportImporter(m_session, progress).Neu1Click();
}

void MainWindow::Speichern1Click()
{
    try {
        m_session.orderFile().save();
    } catch (const UserError &e) {
        m_prompter.message(
            Prompter::Kind::Error, QStringLiteral("Zugvorlage speichern"), e.message());
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
        m_prompter.message(
            Prompter::Kind::Error, QStringLiteral("Zugvorlage speichern"), e.message());
    }
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
        m_prompter.message(Prompter::Kind::Error, QStringLiteral("Zug Checker"), result.message);
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
    if (m_loadingTemplate || m_templateStale)
        return;
    m_session.orderTemplate().setTextFromEditor(m_richEdit4->toPlainText());
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

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_session.orderTemplate().isSaved()
        && !m_prompter.askYesNo(Prompter::Kind::Confirmation, QStringLiteral("Bestätigung"),
            QStringLiteral("Zugvorlage wurde noch nicht gespeichert. Programm beenden?"))) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace tolvimar
