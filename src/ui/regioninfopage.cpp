#include "regioninfopage.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tolvimar {

RegionInfoPage::RegionInfoPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet9"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Region Umgebung"), this));
    m_memo8 = new QPlainTextEdit(this);
    m_memo8->setObjectName(QStringLiteral("Memo8"));
    m_memo8->setReadOnly(true);
    layout->addWidget(m_memo8);
    layout->addWidget(new QLabel(QStringLiteral("Die Region wird bewacht von :"), this));
    m_memo7 = new QPlainTextEdit(this);
    m_memo7->setObjectName(QStringLiteral("Memo7"));
    m_memo7->setReadOnly(true);
    layout->addWidget(m_memo7);
}

} // namespace tolvimar
