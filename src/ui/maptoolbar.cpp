#include "maptoolbar.h"

#include "app/mapoperations.h"
#include "app/session.h"
#include "map/overlayicons.h"
#include "mappanel.h"
#include "placesearchbox.h"

#include <QPushButton>
#include <QToolButton>

namespace tolvimar {

MapToolBar::MapToolBar(Session &session, MapPanel *mapPanel, QWidget *parent)
    : QToolBar(QStringLiteral("Werkzeuge"), parent)
    , m_mapPanel(mapPanel)
{
    setObjectName(QStringLiteral("ToolBar1"));
    setIconSize(QSize(35, 35));
    for (int i = 1; i <= 2; ++i) {
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("ToolButton%1").arg(i));
        button->setIcon(QIcon(QPixmap::fromImage(i == 1 ? shipsIcon() : unitsIcon())));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        const QString text
            = MapOperations::overlayText(i == 1 ? OverlayKind::Ships : OverlayKind::Units, false);
        button->setText(text);
        button->setToolTip(text);
        button->setCheckable(true);
        button->setEnabled(false);
        addWidget(button);
        (i == 1 ? m_toolButton1 : m_toolButton2) = button;
    }
    connect(m_toolButton1, &QToolButton::clicked, this, &MapToolBar::ToolButton1Click);
    connect(m_toolButton2, &QToolButton::clicked, this, &MapToolBar::ToolButton2Click);
    addSeparator();
    m_button7
        = new QPushButton(MapOperations::overlayText(OverlayKind::RegionMessages, false), this);
    m_button7->setObjectName(QStringLiteral("Button7"));
    m_button7->setEnabled(false);
    addWidget(m_button7);
    connect(m_button7, &QPushButton::clicked, this, &MapToolBar::Button7Click);
    addSeparator();
    m_searchBox = new PlaceSearchBox(session, this);
    addWidget(m_searchBox);
    connect(m_searchBox, &PlaceSearchBox::placeChosen, this, &MapToolBar::placeChosen);
    connect(m_searchBox, &PlaceSearchBox::notice, this, &MapToolBar::notice);

    connect(m_mapPanel, &MapPanel::overlayShown, this, &MapToolBar::showOverlayButton);
    connect(&session, &Session::gameOpened, this, [this] {
        for (QWidget *button : QList<QWidget *> {m_toolButton1, m_toolButton2, m_button7})
            button->setEnabled(true);
    });
}

void MapToolBar::ToolButton1Click()
{
    m_mapPanel->toggleOverlay(OverlayKind::Ships);
}

void MapToolBar::ToolButton2Click()
{
    m_mapPanel->toggleOverlay(OverlayKind::Units);
}

void MapToolBar::Button7Click()
{
    m_mapPanel->toggleOverlay(OverlayKind::RegionMessages);
}

void MapToolBar::focusSearch()
{
    m_searchBox->setFocus(Qt::ShortcutFocusReason);
    m_searchBox->selectAll();
}

void MapToolBar::showOverlayButton(OverlayKind kind, bool on, const QString &text)
{
    if (kind == OverlayKind::RegionMessages) {
        m_button7->setText(text);
        return;
    }
    QToolButton *button = kind == OverlayKind::Ships ? m_toolButton1 : m_toolButton2;
    button->setToolTip(text);
    button->setText(text);
    button->setChecked(on);
}

} // namespace tolvimar
