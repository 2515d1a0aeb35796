#include "unitspage.h"

#include <QLabel>
#include <QListView>
#include <QVBoxLayout>

namespace tolvimar {

UnitsPage::UnitsPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheetEinheiten"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Einheiten in Region :"), this));
    m_listBox3 = new QListView(this);
    m_listBox3->setObjectName(QStringLiteral("ListBox3"));
    layout->addWidget(m_listBox3);
}

} // namespace tolvimar
