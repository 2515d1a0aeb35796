#pragma once

#include "map/mapstate.h"

#include <QToolBar>

class QPushButton;
class QToolButton;

namespace tolvimar {

struct PlaceHit;
class MapPanel;
class PlaceSearchBox;
class Session;

// The tool bar over the maps: the overlay toggles of the world map (ships, units,
// region messages) and the search box.
class MapToolBar : public QToolBar
{
    Q_OBJECT
public:
    MapToolBar(Session &session, MapPanel *mapPanel, QWidget *parent = nullptr);

    // The overlay toggles: ships, units, region messages.
    void ToolButton1Click();
    void ToolButton2Click();
    void Button7Click();

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
    QToolButton *m_toolButton1 = nullptr;
    QToolButton *m_toolButton2 = nullptr;
    QPushButton *m_button7 = nullptr;
    PlaceSearchBox *m_searchBox = nullptr;
};

} // namespace tolvimar
