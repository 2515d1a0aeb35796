#include "mappanel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tolvimar {

MapPanel::MapPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MapPanel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_scrollBox1 = new QScrollArea(this);
    m_scrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox1->setFixedSize(281, 265);
    m_image82 = new QLabel(m_scrollBox1);
    m_image82->setObjectName(QStringLiteral("Image82"));
    m_image82->setAlignment(Qt::AlignCenter);
    m_image82->setText(QStringLiteral("Keine Weltkarte"));
    m_scrollBox1->setWidget(m_image82);
    m_scrollBox1->setWidgetResizable(true);
    layout->addWidget(m_scrollBox1);

    m_button4 = new QPushButton(QStringLiteral("Karte aktualisieren"), this);
    m_button4->setObjectName(QStringLiteral("Button4"));
    m_button4->setEnabled(false);
    layout->addWidget(m_button4);

    auto *levels = new QGroupBox(QStringLiteral("Ebenen"), this);
    levels->setObjectName(QStringLiteral("GroupBox3"));
    auto *levelLayout = new QHBoxLayout(levels);
    m_levelList = new QComboBox(levels);
    m_levelList->setObjectName(QStringLiteral("DBLookupComboBox3"));
    m_levelName = new QLineEdit(levels);
    m_levelName->setObjectName(QStringLiteral("DBEdit32"));
    m_button9 = new QPushButton(QStringLiteral("Wechsel zu"), levels);
    m_button9->setObjectName(QStringLiteral("Button9"));
    m_button9->setEnabled(false);
    levelLayout->addWidget(m_levelList);
    levelLayout->addWidget(m_levelName, 1);
    levelLayout->addWidget(m_button9);
    layout->addWidget(levels);

    m_panel1 = new QLabel(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panel1->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_panel1);

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setFixedSize(261, 261);
    m_image1->setFrameStyle(QFrame::Box);
    layout->addWidget(m_image1, 0, Qt::AlignHCenter);
    layout->addStretch();
}

void MapPanel::showWorldMap(const QPixmap &map)
{
    if (map.isNull()) {
        m_image82->setPixmap(QPixmap());
        m_image82->setText(QStringLiteral("Keine Weltkarte"));
        return;
    }
    m_image82->setPixmap(map);
    m_image82->resize(map.size());
}

void MapPanel::scrollWorldMapToMiddle()
{
    const QSize size = m_image82->pixmap().size();
    m_scrollBox1->verticalScrollBar()->setValue(int(size.height() / 2.25));
    m_scrollBox1->horizontalScrollBar()->setValue(int(size.width() / 2.25));
}

} // namespace tolvimar
