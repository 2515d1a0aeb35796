#pragma once

#include <QObject>
#include <QStringList>

class QMenu;

namespace tolvimar {

// "Zuletzt eingelesen" in the menu "Datei": the last five reports imported, newest
// first, kept in the desktop settings. Choosing one imports it again; a file that is
// gone is shown disabled.
class RecentReports : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaximum = 5;

    // Adds the submenu at the end of the menu.
    RecentReports(QMenu *datei, QObject *parent);

    QStringList files() const { return m_files; }
    // Turns the submenu on or off: off while an import runs, as a choice in it imports.
    void setEnabled(bool enabled);
    // A report was imported: it goes to the top of the list.
    void add(const QString &path);
    void clear();

signals:
    void importRequested(const QString &path);

private:
    void store();
    void rebuild();

    QMenu *m_menu;
    QStringList m_files;
};

} // namespace tolvimar
