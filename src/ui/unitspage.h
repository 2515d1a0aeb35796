#pragma once

#include "orders/orderblock.h"
#include "orders/unitrecord.h"

#include <QSet>
#include <QWidget>
#include <memory>

class QCheckBox;
class QListView;

namespace tolvimar {

class OrderEditorWindow;
class Session;
class UnitListModel;
class UnitViewPanel;

// "Einheiten": the castles, ships and units of the selected region in `ListBox3`,
// under the two check boxes that steer what the list holds, and the unit view right
// of it. Selecting an entry shows it; a double click opens the order editor on the
// unit shown, whose "Befehle ausführen" writes the orders back.
class UnitsPage : public QWidget
{
    Q_OBJECT
public:
    explicit UnitsPage(QWidget *parent = nullptr);
    ~UnitsPage() override;

    // The session whose units the page shows and edits.
    void attach(Session &session);
    void setOrderEditor(OrderEditorWindow *editor);

    // What the check boxes let into the list of the next region shown.
    bool allUnits() const; // "Alle"
    bool currentOnly() const; // "Nur aktuelle Info"

    // The unit list of a region just shown; the item and talent boxes are emptied.
    void showEntries(const QList<ListEntry> &entries);
    const QList<ListEntry> &entries() const;
    // Selects the entry at a row of the list and shows it, as a click does.
    void selectEntry(int row);
    // The entries of the same region read anew (marks changed): the selected row stays
    // selected and the unit view keeps what it shows.
    void updateEntries(const QList<ListEntry> &entries);
    // The row of a unit's entry; -1 when the list does not hold it.
    int rowOfUnit(int number) const;
    // Ticks "Alle" and unticks "Nur aktuelle Info"; false when they stood so already.
    bool admitEveryUnit();
    // An edit still open in a box of the unit view is stored.
    void commitEdits();
    // The entry selected in the list; nullopt when none is.
    std::optional<ListEntry> currentEntry() const;

    // Units with problems in their orders carry a mark (a red dot and a tip) in the
    // list; the set holds their number texts in lower case.
    static constexpr int ProblemRole = Qt::UserRole + 1;
    void setProblemUnits(const QSet<qint64> &unitNumbers);
    // Selects and shows the row of the unit with this number text; false when the list
    // lacks it.
    bool selectUnit(const QString &unitText);

public slots:
    // Selecting an entry (click or key) shows it.
    void ListBox3Click();
    void ListBox3KeyUp();
    // Opens the order editor on the unit the view shows.
    void ListBox3DblClick();
    // "Befehle ausführen" of the order editor.
    void applyEditedOrders(const QStringList &lines, tolvimar::UnitMark mark);

signals:
    // "Befehle ausführen" wrote the orders and the mark back.
    void ordersApplied();
    // The order editor is about to open on a unit.
    void editorOpening();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void storeUnitBox(UnitBox box, const QString &text);

    Session *m_session = nullptr;
    std::unique_ptr<UnitRecord> m_unitRecord;
    std::unique_ptr<OrderBlock> m_orderBlock;
    OrderEditorWindow *m_editor = nullptr;
    QCheckBox *m_allUnitsBox;
    QCheckBox *m_currentOnlyBox;
    QListView *m_unitList;
    UnitListModel *m_model;
    QSet<qint64> m_problemUnits; // numbers of the units with problems
    UnitViewPanel *m_unitView;
};

} // namespace tolvimar
