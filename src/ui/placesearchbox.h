#pragma once

#include "app/placesearch.h"

#include <QLineEdit>

class QMenu;

namespace tolvimar {

class Session;

// The search box of the tool bar ("EditSuche", Ctrl+K): units by number or name,
// regions by name or x/y. One hit is chosen at once, several are offered in a list
// under the box.
class PlaceSearchBox : public QLineEdit
{
    Q_OBJECT
public:
    PlaceSearchBox(Session &session, QWidget *parent = nullptr);

    // Searches for the text in the box.
    void searchPlaces();

signals:
    void placeChosen(const tolvimar::PlaceHit &hit);
    // Nothing was found; the text says so.
    void notice(const QString &text);

private:
    Session &m_session;
    QMenu *m_results;
};

} // namespace tolvimar
