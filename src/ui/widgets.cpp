#include "widgets.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>

namespace tolvimar {

namespace {

// Its height holds the row and a scroll bar; its least width is none.
class SidewaysRow : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override
    {
        const QSize row = widget()->sizeHint();
        return {row.width(), row.height() + horizontalScrollBar()->sizeHint().height()};
    }
    QSize minimumSizeHint() const override { return {0, sizeHint().height()}; }
};

} // namespace

QWidget *sidewaysRow(QLayout *row, QWidget *parent)
{
    auto *area = new SidewaysRow(parent);
    auto *strip = new QWidget(area);
    strip->setLayout(row);
    area->setWidget(strip);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return area;
}

QLineEdit *readOnlyEdit(const QString &objectName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setReadOnly(true);
    return edit;
}

QFont fixedPitchFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontInfo(font).fixedPitch()) {
        font.setFamily(QStringLiteral("DejaVu Sans Mono"));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    return font;
}

} // namespace tolvimar
