#include "unitspage.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QScrollArea>
#include <QStringListModel>
#include <QVBoxLayout>

namespace tolvimar {

// The list's lines, the rows of units with problems marked.
class MarkedLinesModel : public QStringListModel
{
public:
    using QStringListModel::QStringListModel;

    QSet<QString> marked; // lower-case number texts
    std::function<QString(const QString &)> unitTextOf;

    bool isMarked(const QModelIndex &index) const
    {
        if (marked.isEmpty() || !unitTextOf)
            return false;
        const QString text = unitTextOf(QStringListModel::data(index, Qt::DisplayRole).toString());
        return !text.isEmpty() && marked.contains(text.toLower());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == UnitsPage::ProblemRole)
            return isMarked(index);
        if (role == Qt::DecorationRole && isMarked(index)) {
            static const QPixmap dot = [] {
                QPixmap p(10, 10);
                p.fill(Qt::transparent);
                QPainter painter(&p);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setBrush(QColor(210, 0, 0));
                painter.setPen(Qt::NoPen);
                painter.drawEllipse(1, 1, 8, 8);
                return p;
            }();
            return dot;
        }
        if (role == Qt::ToolTipRole && isMarked(index))
            return QStringLiteral("Die Befehle dieser Einheit haben Probleme (F8: nächste)");
        return QStringListModel::data(index, role);
    }
};

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
    m_model = new MarkedLinesModel(m_listBox3);
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

void UnitsPage::setProblemUnits(
    const QSet<QString> &lowerUnitTexts, std::function<QString(const QString &)> unitTextOf)
{
    m_model->marked = lowerUnitTexts;
    m_model->unitTextOf = std::move(unitTextOf);
    if (m_model->rowCount() > 0) {
        emit m_model->dataChanged(m_model->index(0), m_model->index(m_model->rowCount() - 1),
            {Qt::DecorationRole, Qt::ToolTipRole, ProblemRole});
    }
}

bool UnitsPage::selectUnit(const QString &unitText)
{
    if (!m_model->unitTextOf)
        return false;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex index = m_model->index(row);
        if (m_model->unitTextOf(index.data().toString()).compare(unitText, Qt::CaseInsensitive)
            == 0) {
            m_listBox3->setCurrentIndex(index);
            m_listBox3->scrollTo(index);
            return true;
        }
    }
    return false;
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
