#pragma once

#include "base/position.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace tolvimar {

class Groupings;
class ReportGrid;
class Session;

// "Gruppierungen": units selected by group, faction, number, name and date in
// `StringGrid4`; a right click on a unit's group opens the group menu, whose entries
// assign the unit to a group.
class GroupingsPage : public QWidget
{
    Q_OBJECT
public:
    explicit GroupingsPage(QWidget *parent = nullptr);
    ~GroupingsPage() override;

    // The session whose game the page reports on; the faction choice follows its game.
    void attach(Session &session);
    // The newest turn into "Info Datum".
    void showInfoDatum(qint64 turn);

    ReportGrid *stringGrid4() const { return m_stringGrid4; }
    QMenu *groupMenu() const { return m_groupMenu; }

signals:
    // A double click on a unit's row.
    void unitActivated(const tolvimar::Position &place, int number);

public slots:
    // "Bericht".
    void Gruppierungen();
    // A press in the grid's viewport: the right button in column 0 of a unit's row
    // selects the row and opens the group menu there.
    void StringGrid4MouseDown(Qt::MouseButton button, const QPoint &pos);
    // A group menu entry on the selected row.
    void groupchange(const QString &caption);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadFactions();
    void showError(const QString &text);

    Session *m_session = nullptr;
    std::unique_ptr<Groupings> m_groupings;
    QComboBox *m_group;
    QComboBox *m_faction;
    QLineEdit *m_factionNumber;
    QLineEdit *m_unitNumber;
    QLineEdit *m_unitName;
    QComboBox *m_comparison;
    QLineEdit *m_infoDatum;
    QLineEdit *m_count;
    QPushButton *m_bericht;
    ReportGrid *m_stringGrid4;
    QMenu *m_groupMenu;
};

} // namespace tolvimar
