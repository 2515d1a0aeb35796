#include "mappanel.h"

#include "mapimage.h"
#include "updown.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tolvimar {

namespace {

constexpr int kSmallMapSide = 261;

} // namespace

MapPanel::MapPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MapPanel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    m_scrollBox1 = new QScrollArea(this);
    m_scrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox1->setMinimumSize(281, 265);
    m_scrollBox1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_scrollBox1->setBackgroundRole(QPalette::Dark);
    m_image82 = new MapImage(QStringLiteral("Image82"));
    m_image82->setPlaceholderText(QStringLiteral("Keine Weltkarte"));
    // The layers lie on the map; pointer events pass through them to the map.
    const char *layerNames[3] = {"Image2", "Image3", "Image4"};
    for (int i = 0; i < 3; ++i) {
        m_layers[i] = new MapImage(QString::fromLatin1(layerNames[i]), m_image82);
        m_layers[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_layers[i]->move(0, 0);
        m_layers[i]->hide();
    }
    m_scrollBox1->setWidget(m_image82);
    m_scrollBox1->setWidgetResizable(false);
    // A map smaller than the box sits in its middle.
    m_scrollBox1->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_scrollBox1, 1);
    for (QScrollBar *bar :
        {m_scrollBox1->horizontalScrollBar(), m_scrollBox1->verticalScrollBar()}) {
        connect(bar, &QScrollBar::rangeChanged, this, &MapPanel::applyPendingScroll);
        // A scroll by the user ends the wait for the layout.
        connect(bar, &QScrollBar::actionTriggered, this, [this] { m_pendingScroll.reset(); });
    }

    m_button4 = new QPushButton(QStringLiteral("Karte aktualisieren"), this);
    m_button4->setObjectName(QStringLiteral("Button4"));
    m_button4->setEnabled(false);
    // The map button and the level box share a row: on a 768-pixel screen the column
    // needs every line for the two maps.
    auto *controls = new QHBoxLayout;
    controls->addWidget(m_button4, 0, Qt::AlignBottom);

    auto *levels = new QGroupBox(QStringLiteral("Ebenen"), this);
    m_groupBox3 = levels;
    levels->setObjectName(QStringLiteral("GroupBox3"));
    auto *levelLayout = new QHBoxLayout(levels);
    m_levelList = new QComboBox(levels);
    m_levelList->setObjectName(QStringLiteral("DBLookupComboBox3"));
    // The entries name their levels; the open list is as wide as its longest entry.
    m_levelList->setMinimumContentsLength(10);
    m_levelList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_levelName = new QLineEdit(levels);
    m_levelName->setObjectName(QStringLiteral("DBEdit32"));
    m_levelName->setMaxLength(30);
    m_levelName->setEnabled(false);
    m_button9 = new QPushButton(QStringLiteral("Wechsel zu"), levels);
    m_button9->setObjectName(QStringLiteral("Button9"));
    m_button9->setEnabled(false);
    levelLayout->addWidget(m_levelList);
    levelLayout->addWidget(m_levelName, 1);
    levelLayout->addWidget(m_button9);
    levelLayout->setContentsMargins(6, 2, 6, 4);
    controls->addWidget(levels, 1);
    layout->addLayout(controls);

    m_panel1 = new QLabel(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panel1->setAlignment(Qt::AlignCenter);
    m_panel1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout->addWidget(m_panel1);

    // The small map with the vertical arrows at its right and the horizontal ones below.
    m_smallArea = new QWidget(this);
    auto *grid = new QGridLayout(m_smallArea);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    m_image1 = new MapImage(QStringLiteral("Image1"), m_smallArea);
    m_image1->setFixedSize(kSmallMapSide, kSmallMapSide);
    m_image1->setFocusPolicy(Qt::StrongFocus);
    m_image1->setToolTip(QStringLiteral("Pfeiltasten verschieben die kleine Karte um 9 "
                                        "Regionen, mit Umschalt um eine."));
    m_upDown1 = new UpDown(QStringLiteral("UpDown1"), Qt::Vertical, m_smallArea);
    m_upDown1->setFixedWidth(18);
    m_upDown2 = new UpDown(QStringLiteral("UpDown2"), Qt::Horizontal, m_smallArea);
    m_upDown2->setFixedHeight(18);
    grid->addWidget(m_image1, 0, 0);
    grid->addWidget(m_upDown1, 0, 1);
    grid->addWidget(m_upDown2, 1, 0);
    layout->addWidget(m_smallArea, 0, Qt::AlignHCenter);
}

void MapPanel::showWorldMap(const QImage &map)
{
    m_image82->setImage(map);
}

void MapPanel::showLayer(int index, bool visible, const QImage &image)
{
    MapImage *layer = m_layers[index];
    layer->setImage(image);
    layer->setVisible(visible);
    if (visible)
        layer->raise();
    // Keep the stacking order of the layers: units, ships, region messages.
    for (MapImage *l : m_layers)
        l->raise();
}

void MapPanel::showSmallMap(const QImage &map)
{
    m_image1->setImage(map);
}

void MapPanel::scrollWorldMapTo(const QRect &pictureRect)
{
    m_pendingScroll.reset();
    const int z = m_image82->zoom();
    const QPoint centre = pictureRect.center() * z;
    m_scrollBox1->ensureVisible(centre.x(), centre.y(), m_scrollBox1->viewport()->width() / 3,
        m_scrollBox1->viewport()->height() / 3);
}

void MapPanel::scrollWorldMapToMiddle()
{
    const QSize size = m_image82->sizeHint();
    m_pendingScroll = QPoint(int(size.width() / 2.25), int(size.height() / 2.25));
    applyPendingScroll();
}

void MapPanel::applyPendingScroll()
{
    if (!m_pendingScroll)
        return;
    QScrollBar *vertical = m_scrollBox1->verticalScrollBar();
    QScrollBar *horizontal = m_scrollBox1->horizontalScrollBar();
    vertical->setValue(m_pendingScroll->y());
    horizontal->setValue(m_pendingScroll->x());
    // Done once the box admits both positions; until then a later layout may.
    if (vertical->value() == m_pendingScroll->y() && horizontal->value() == m_pendingScroll->x())
        m_pendingScroll.reset();
}

int MapPanel::zoom() const
{
    return m_image82->zoom();
}

void MapPanel::setZoom(int zoom, std::optional<QPoint> anchor)
{
    zoom = std::clamp(zoom, 1, kMaxZoom);
    const int old = m_image82->zoom();
    if (zoom == old)
        return;
    QScrollBar *horizontal = m_scrollBox1->horizontalScrollBar();
    QScrollBar *vertical = m_scrollBox1->verticalScrollBar();
    const QSize view = m_scrollBox1->viewport()->size();
    // The anchor in the viewport's coordinates, and the picture point under it.
    QWidget *viewport = m_scrollBox1->viewport();
    const QPoint inView = anchor ? m_image82->mapTo(viewport, *anchor)
                                 : QPoint(view.width() / 2, view.height() / 2);
    const QPointF picture = QPointF(m_image82->mapFrom(viewport, inView)) / old;
    m_pendingScroll.reset();
    m_image82->setZoom(zoom);
    for (MapImage *layer : m_layers)
        layer->setZoom(zoom);
    horizontal->setValue(int(picture.x() * zoom - inView.x()));
    vertical->setValue(int(picture.y() * zoom - inView.y()));
    emit zoomChanged(zoom);
}

void MapPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitSmallMap();
}

void MapPanel::fitSmallMap()
{
    // The room left when the world map box has its minimum height (from size hints,
    // which do not depend on the layout in progress).
    const int fixed = m_button4->sizeHint().height() + m_groupBox3->sizeHint().height()
        + m_panel1->sizeHint().height() + m_upDown2->height() + 2 + 4 * layout()->spacing();
    const int spareHeight = height() - fixed - m_scrollBox1->minimumHeight();
    const int spareWidth = width() - m_upDown1->width() - 4;
    const int scale = std::clamp(
        std::min(spareHeight / kSmallMapSide, spareWidth / kSmallMapSide), 1, kMaxZoom);
    if (scale == m_smallScale)
        return;
    m_smallScale = scale;
    m_image1->setFixedSize(kSmallMapSide * scale, kSmallMapSide * scale);
    m_image1->setZoom(scale);
}

} // namespace tolvimar
