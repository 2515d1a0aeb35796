#include "placesearchbox.h"

#include "app/session.h"
#include "attempt.h"

#include <QMenu>

namespace tolvimar {

namespace {

// The hits the search offers at most in its list.
constexpr int kShownHits = 20;

} // namespace

PlaceSearchBox::PlaceSearchBox(Session &session, QWidget *parent)
    : QLineEdit(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("EditSuche"));
    setPlaceholderText(QStringLiteral("Suchen (Strg+K)"));
    setToolTip(QStringLiteral("Einheit (Nummer oder Name) oder Region (Name oder x/y, auch "
                              "x/y/Ebene) suchen und anzeigen"));
    setClearButtonEnabled(true);
    setMaximumWidth(260);
    connect(this, &QLineEdit::returnPressed, this, &PlaceSearchBox::searchPlaces);
    m_results = new QMenu(this);
    m_results->setObjectName(QStringLiteral("MenuSuchergebnisse"));
}

void PlaceSearchBox::searchPlaces()
{
    const QString searched = text().trimmed();
    if (searched.isEmpty() || !m_session.game().isOpen())
        return;
    QVector<PlaceHit> hits;
    if (!attempt(m_session.prompter(), QStringLiteral("Suchen"), [&] {
            hits = PlaceSearch(m_session.database())
                       .find(m_session.game(), searched, m_session.mapState().level(),
                           kShownHits + 1);
        }))
        return;
    m_results->clear();
    if (hits.isEmpty()) {
        emit notice(
            QStringLiteral("Keine Einheit und keine Region zu \"%1\" gefunden.").arg(searched));
        return;
    }
    if (hits.size() == 1) {
        emit placeChosen(hits.first());
        return;
    }
    for (const PlaceHit &hit : hits.first(std::min<qsizetype>(hits.size(), kShownHits))) {
        QAction *action = m_results->addAction(hit.text);
        connect(action, &QAction::triggered, this, [this, hit] { emit placeChosen(hit); });
    }
    if (hits.size() > kShownHits) {
        m_results->addSeparator();
        m_results->addAction(QStringLiteral("Weitere Treffer: bitte genauer suchen"))
            ->setEnabled(false);
    }
    m_results->popup(mapToGlobal(QPoint(0, height())));
}

} // namespace tolvimar
