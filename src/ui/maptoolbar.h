#pragma once

#include "map/mapstate.h"

#include <QToolBar>

class QAction;
class QCheckBox;
class QPushButton;
class QToolButton;

namespace tolvimar {

struct PlaceHit;
class MapPanel;
class PlaceSearchBox;
class Session;

// The tool bar over the maps: the overlay toggles of the world map (ships, units,
// region messages), the tool "Weg planen" with its option and the search box.
class MapToolBar : public QToolBar
{
    Q_OBJECT
public:
    MapToolBar(Session &session, MapPanel *mapPanel, QWidget *parent = nullptr);

    // The overlay toggles: ships, units, region messages.
    void ToolButton1Click();
    void ToolButton2Click();
    void Button7Click();

    // "Weg planen" on or off (the button, its key Ctrl+R).
    void WegPlanen1Click(bool on);
    // "Unbekannte Regionen erlauben", kept for the slot.
    void UnbekannteRegionenClick(bool allowed);

    // Puts the keys into the search box, its text selected (Ctrl+K).
    void focusSearch();

signals:
    // A unit or region found by the search box.
    void placeChosen(const tolvimar::PlaceHit &hit);
    // A note for the status bar.
    void notice(const QString &text);

private:
    void showOverlayButton(OverlayKind kind, bool on, const QString &text);

    MapPanel *m_mapPanel;
    QToolButton *m_shipsButton = nullptr;
    QToolButton *m_unitsButton = nullptr;
    QPushButton *m_messagesButton = nullptr;
    QAction *m_routeAction = nullptr;
    QCheckBox *m_allowUnknown = nullptr;
    Session &m_session;
    PlaceSearchBox *m_searchBox = nullptr;
};

} // namespace tolvimar
