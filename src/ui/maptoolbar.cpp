#include "maptoolbar.h"

#include "app/mapoperations.h"
#include "app/session.h"
#include "desktopsettings.h"
#include "map/overlayicons.h"
#include "mappanel.h"
#include "placesearchbox.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>

namespace tolvimar {

MapToolBar::MapToolBar(Session &session, MapPanel *mapPanel, QWidget *parent)
    : QToolBar(QStringLiteral("Werkzeuge"), parent)
    , m_mapPanel(mapPanel)
    , m_session(session)
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
        (i == 1 ? m_shipsButton : m_unitsButton) = button;
    }
    connect(m_shipsButton, &QToolButton::clicked, this, &MapToolBar::ToolButton1Click);
    connect(m_unitsButton, &QToolButton::clicked, this, &MapToolBar::ToolButton2Click);
    addSeparator();
    m_messagesButton
        = new QPushButton(MapOperations::overlayText(OverlayKind::RegionMessages, false), this);
    m_messagesButton->setObjectName(QStringLiteral("Button7"));
    m_messagesButton->setEnabled(false);
    addWidget(m_messagesButton);
    connect(m_messagesButton, &QPushButton::clicked, this, &MapToolBar::Button7Click);
    addSeparator();
    m_routeAction = new QAction(QStringLiteral("Weg planen"), this);
    m_routeAction->setObjectName(QStringLiteral("WegPlanen1"));
    m_routeAction->setCheckable(true);
    m_routeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    m_routeAction->setToolTip(QStringLiteral("Weg planen (Strg+R): den Weg der gewählten Einheit "
                                             "zur Region unter dem Zeiger zeigen, ein Klick "
                                             "behält ihn"));
    m_routeAction->setEnabled(false);
    addAction(m_routeAction);
    widgetForAction(m_routeAction)->setObjectName(QStringLiteral("ToolButtonWegPlanen"));
    connect(m_routeAction, &QAction::toggled, this, &MapToolBar::WegPlanen1Click);
    m_allowUnknown = new QCheckBox(QStringLiteral("Unbekannte Regionen erlauben"), this);
    m_allowUnknown->setObjectName(QStringLiteral("CheckBoxUnbekannteRegionen"));
    m_allowUnknown->setEnabled(false);
    addWidget(m_allowUnknown);
    connect(m_allowUnknown, &QCheckBox::toggled, this, &MapToolBar::UnbekannteRegionenClick);
    connect(m_mapPanel, &MapPanel::toolChanged, this,
        [this](MapPanel::Tool tool) { m_routeAction->setChecked(tool == MapPanel::Tool::Route); });
    addSeparator();
    m_searchBox = new PlaceSearchBox(session, this);
    addWidget(m_searchBox);
    connect(m_searchBox, &PlaceSearchBox::placeChosen, this, &MapToolBar::placeChosen);
    connect(m_searchBox, &PlaceSearchBox::notice, this, &MapToolBar::notice);

    connect(m_mapPanel, &MapPanel::overlayShown, this, &MapToolBar::showOverlayButton);
    connect(&session, &Session::gameOpened, this, [this] {
        for (QWidget *button :
            QList<QWidget *> {m_shipsButton, m_unitsButton, m_messagesButton, m_allowUnknown})
            button->setEnabled(true);
        m_routeAction->setEnabled(true);
        // The option as the player left it for this slot.
        const std::unique_ptr<QSettings> settings = DesktopSettings::open();
        m_allowUnknown->setChecked(settings
            && settings
                   ->value(QStringLiteral("Wegplanung/Slot%1/UnbekannteRegionen")
                               .arg(m_session.game().number))
                   .toBool());
        m_mapPanel->setUnknownRegionsAllowed(m_allowUnknown->isChecked());
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

void MapToolBar::WegPlanen1Click(bool on)
{
    m_mapPanel->setTool(on ? MapPanel::Tool::Route : MapPanel::Tool::Select);
}

void MapToolBar::UnbekannteRegionenClick(bool allowed)
{
    m_mapPanel->setUnknownRegionsAllowed(allowed);
    if (const std::unique_ptr<QSettings> settings = DesktopSettings::open();
        settings && m_session.game().isOpen())
        settings->setValue(
            QStringLiteral("Wegplanung/Slot%1/UnbekannteRegionen").arg(m_session.game().number),
            allowed);
}

void MapToolBar::focusSearch()
{
    m_searchBox->setFocus(Qt::ShortcutFocusReason);
    m_searchBox->selectAll();
}

void MapToolBar::showOverlayButton(OverlayKind kind, bool on, const QString &text)
{
    if (kind == OverlayKind::RegionMessages) {
        m_messagesButton->setText(text);
        return;
    }
    QToolButton *button = kind == OverlayKind::Ships ? m_shipsButton : m_unitsButton;
    button->setToolTip(text);
    button->setText(text);
    button->setChecked(on);
}

} // namespace tolvimar
