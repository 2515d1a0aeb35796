#include "workbench.h"

#include "app/placesearch.h"
#include "app/session.h"
#include "attempt.h"
#include "base/position.h"
#include "detailpages.h"
#include "map/regionrecord.h"
#include "mappanel.h"
#include "orders/ordertemplate.h"
#include "reportpageswidget.h"
#include "statuspage.h"
#include "templatepage.h"

#include <QApplication>
#include <QScrollArea>
#include <QShortcut>

namespace tolvimar {

namespace {

// The least height of the region pages: their tabs and a few lines of the page shown.
constexpr int kUsableDetailHeight = 200;

} // namespace

Workbench::Workbench(Session &session, MapPanel *maps, DetailPages *details,
    ReportPagesWidget *reports, QWidget *parent)
    : QSplitter(Qt::Horizontal, parent)
    , m_session(session)
    , m_mapPanel(maps)
    , m_detailPages(details)
    , m_reportPages(reports)
{
    setObjectName(QStringLiteral("SplitterMain"));
    // The map column scrolls on small screens rather than squeezing the maps.
    auto *mapScroll = new QScrollArea(this);
    mapScroll->setObjectName(QStringLiteral("ScrollBoxKarten"));
    mapScroll->setFrameShape(QFrame::NoFrame);
    mapScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mapScroll->setWidgetResizable(true);
    mapScroll->setWidget(m_mapPanel);
    mapScroll->setMinimumWidth(m_mapPanel->minimumSizeHint().width() + 20);
    addWidget(mapScroll);
    auto *pages = new QSplitter(Qt::Vertical, this);
    pages->setObjectName(QStringLiteral("SplitterSeiten"));
    // Neither half can be pushed out of sight; the handle is wide enough to be found.
    pages->setChildrenCollapsible(false);
    pages->setHandleWidth(8);
    m_detailPages->setMinimumHeight(kUsableDetailHeight);
    // On a narrow window the tab strip scrolls; captions stay whole.
    m_detailPages->setElideMode(Qt::ElideNone);
    m_detailPages->setUsesScrollButtons(true);
    pages->addWidget(m_detailPages);
    pages->addWidget(m_reportPages);
    pages->setStretchFactor(0, 3);
    pages->setStretchFactor(1, 2);
    pages->setSizes({540, 360});
    addWidget(pages);
    setStretchFactor(0, 2);
    setStretchFactor(1, 3);
    setSizes({560, 840});

    m_mapPanel->attach(m_session);
    m_detailPages->attach(m_session);
    connectSession();
    connectPages();
    m_reportPages->showPages(m_session.pages());
    m_reportPages->showStatus(m_session.status());

    // Ctrl+PgDown / Ctrl+PgUp page through the pages, wherever the focus sits in them.
    for (const bool forward : {true, false}) {
        auto *shortcut = new QShortcut(
            QKeySequence(Qt::CTRL | (forward ? Qt::Key_PageDown : Qt::Key_PageUp)), this);
        shortcut->setObjectName(
            forward ? QStringLiteral("NaechsteSeite") : QStringLiteral("VorigeSeite"));
        connect(shortcut, &QShortcut::activated, this, [this, forward] { turnPage(forward); });
    }
}

void Workbench::connectSession()
{
    connect(&m_session, &Session::pagesChanged, this,
        [this] { m_reportPages->showPages(m_session.pages()); });
    connect(&m_session, &Session::statusChanged, this, [this] {
        m_detailPages->showInfoDatum(m_session.game().newestTurn);
        m_reportPages->showStatus(m_session.status());
    });
    connect(&m_session, &Session::gameOpened, this,
        [this] { m_detailPages->showInfoDatum(m_session.game().newestTurn); });
    connect(&m_session, &Session::pointsGridChanged, this,
        [this] { m_detailPages->showPointsGrid(m_session.pointsGrid()); });
    m_reportPages->showTemplate(m_session.orderTemplate());
}

void Workbench::connectPages()
{
    connect(m_detailPages, &DetailPages::regionFieldEdited, this,
        [this](const Position &region, const QString &field, const QVariant &value) {
            attempt(m_session.prompter(), QStringLiteral("Region"), [&] {
                RegionRecord(m_session.database(), m_session.game().number, region)
                    .store(field, value);
            });
        });
    // Double clicks on report rows show the region (and unit) they name.
    connect(m_detailPages, &DetailPages::regionActivated, this, &Workbench::showRegion);
    connect(m_detailPages, &DetailPages::unitActivated, this,
        [this](const Position &place, int number) {
            if (m_session.game().isOpen())
                m_session.mapState().selectUnit(place, number);
        });
    // A region chosen on a map is selected where it is seen.
    connect(m_mapPanel, &MapPanel::regionChosen, this,
        [this](const Position &place) { m_session.mapState().selectRegion(place); });
    // A jump brings the selected region into view on the maps.
    connect(&m_session.mapState(), &MapState::regionSelected, this,
        [this](const Position &place, MapState::Move move) {
            if (move == MapState::Move::Jump)
                m_mapPanel->showRegion(place.x, place.y, place.level);
        });
}

void Workbench::showRegion(const Position &place)
{
    if (!m_session.game().isOpen())
        return;
    m_session.mapState().selectRegion(place, MapState::Move::Jump);
    m_detailPages->showRegionPage();
}

void Workbench::jumpTo(const PlaceHit &hit)
{
    if (!m_session.game().isOpen())
        return;
    if (hit.kind == PlaceHit::Kind::Unit)
        m_session.mapState().selectUnit(hit.place, hit.unitNumber);
    else
        showRegion(hit.place);
}

void Workbench::turnPage(bool forward)
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

} // namespace tolvimar
