#pragma once

#include <QWidget>

class QListView;

namespace tolvimar {

// "Einheiten": the castles, ships and units of the selected region.
class UnitsPage : public QWidget
{
    Q_OBJECT
public:
    explicit UnitsPage(QWidget *parent = nullptr);

    QListView *listBox3() const { return m_listBox3; }

private:
    QListView *m_listBox3;
};

} // namespace tolvimar
