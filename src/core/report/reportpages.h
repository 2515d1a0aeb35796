#pragma once

#include <QString>
#include <QStringList>

namespace tolvimar {

// The report pages below the map; lists and texts, one line per entry.
enum class Page {
    Kaempfe,
    Warnungen,
    Ereignisse,
    Einkommen,
    Handel,
    Produktion,
    Bewegungen,
    Meldungen,
    Geheimdienstbericht,
    Einreisebericht,
    Botschaften,
    Buendnisse, // "Bündnisse mit :" on "Status"
    Count
};

struct ReportPages
{
    QStringList lines[int(Page::Count)];
    bool kaempfeRed = false; // once a battle was added the list shows in red

    QStringList &operator[](Page p) { return lines[int(p)]; }
    const QStringList &operator[](Page p) const { return lines[int(p)]; }

    void append(Page p, const QString &line);
    // The income list is shown sorted alphabetically; sorted once after filling.
    void sortIncome();
    void clear(Page p) { lines[int(p)].clear(); }
    bool isEmpty(Page p) const { return lines[int(p)].isEmpty(); }
    // Empties the pages an import refills ("Meldungen" is kept).
    void cleanup();
};

// Alphabetical order as a sorted list box shows it: case and umlauts folded.
bool sortsBefore(const QString &a, const QString &b);

// Caption of a page's tab.
QString pageTitle(Page p);

} // namespace tolvimar
