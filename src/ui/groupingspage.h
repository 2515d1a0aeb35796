#pragma once

#include "base/position.h"
#include "militarylistpage.h"

#include <memory>

class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace tolvimar {

class Groupings;

// "Gruppierungen": units selected by group, faction, number, name and date in
// `StringGrid4`; a right click on a unit's group opens the group menu, whose entries
// assign the unit to a group.
class GroupingsPage : public MilitaryListPage
{
    Q_OBJECT
public:
    explicit GroupingsPage(QWidget *parent = nullptr);
    ~GroupingsPage() override;

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
    void openQueries(Database &database) override;
    QVector<FactionRow> factionChoices(int game) override;

private:
    std::unique_ptr<Groupings> m_groupings;
    QComboBox *m_group;
    QLineEdit *m_unitNumber;
    QLineEdit *m_unitName;
    QLineEdit *m_count;
    QPushButton *m_bericht;
    QMenu *m_groupMenu;
};

} // namespace tolvimar
