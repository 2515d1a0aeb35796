#pragma once

#include "base/position.h"

#include <QSplitter>

namespace tolvimar {

struct PlaceHit;
class DetailPages;
class MapPanel;
class ReportPagesWidget;
class Session;

// The main window's working area ("SplitterMain"): the maps in the left column, the
// region and military pages over the report pages in the right one. It keeps them
// showing the session and leads from one to the other: a region chosen on a map, a
// row double-clicked, a search hit each select through the session's map state, which
// the maps and the pages follow.
class Workbench : public QSplitter
{
    Q_OBJECT
public:
    // Lays out the parts the main window built and connects them to the session.
    Workbench(Session &session, MapPanel *maps, DetailPages *details, ReportPagesWidget *reports,
        QWidget *parent = nullptr);

    // Jumps to a region: it is selected (its level shown, both maps on it with the
    // region marked, its pages filled) and "Region Info" comes to the front.
    void showRegion(const tolvimar::Position &place);
    // Jumps to a search hit: its region, and the unit selected when it is one.
    void jumpTo(const tolvimar::PlaceHit &hit);
    // The next or previous page of the pages the focus is in (the region pages when
    // it is elsewhere).
    void turnPage(bool forward);

private:
    void connectSession();
    void connectPages();

    Session &m_session;
    MapPanel *m_mapPanel;
    DetailPages *m_detailPages;
    ReportPagesWidget *m_reportPages;
};

} // namespace tolvimar
