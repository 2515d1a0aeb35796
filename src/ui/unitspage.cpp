#include "unitspage.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QScrollArea>
#include <QStringListModel>
#include <QVBoxLayout>

namespace tolvimar {

UnitsPage::UnitsPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheetEinheiten"));
    m_layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    auto *boxes = new QHBoxLayout;
    m_checkBox1 = new QCheckBox(QStringLiteral("Alle"), this);
    m_checkBox1->setObjectName(QStringLiteral("CheckBox1"));
    m_checkBox1->setToolTip(QStringLiteral("Alle Einheiten oder nur eigene anzeigen"));
    m_checkBox1->setChecked(true);
    m_checkBox2 = new QCheckBox(QStringLiteral("Nur aktuelle Info"), this);
    m_checkBox2->setObjectName(QStringLiteral("CheckBox2"));
    m_checkBox2->setToolTip(QStringLiteral("Nur Informationen der letzten Runde anzeigen."));
    m_checkBox2->setChecked(true);
    boxes->addWidget(m_checkBox1);
    boxes->addWidget(m_checkBox2);
    boxes->addStretch();
    left->addLayout(boxes);
    left->addWidget(new QLabel(QStringLiteral("Einheiten in Region :"), this));
    m_listBox3 = new QListView(this);
    m_listBox3->setObjectName(QStringLiteral("ListBox3"));
    m_listBox3->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_model = new QStringListModel(m_listBox3);
    m_listBox3->setModel(m_model);
    left->addWidget(m_listBox3);
    m_layout->addLayout(left, 1);
}

void UnitsPage::setLines(const QStringList &lines)
{
    m_model->setStringList(lines);
}

QStringList UnitsPage::lines() const
{
    return m_model->stringList();
}

QString UnitsPage::currentLine() const
{
    const QModelIndex index = m_listBox3->currentIndex();
    return index.isValid() ? index.data().toString() : QString();
}

void UnitsPage::setUnitView(QWidget *view)
{
    // On a low window the unit view scrolls instead of holding the pages up.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBoxEinheit"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(view);
    m_layout->addWidget(scroll, 1);
}

} // namespace tolvimar
