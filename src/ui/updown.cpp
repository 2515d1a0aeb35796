#include "updown.h"

#include <QBoxLayout>
#include <QToolButton>

namespace tolvimar {

UpDown::UpDown(const QString &objectName, Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    const bool vertical = orientation == Qt::Vertical;
    auto *layout
        = new QBoxLayout(vertical ? QBoxLayout::TopToBottom : QBoxLayout::RightToLeft, this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto makeButton
        = [&](Button which, Qt::ArrowType arrow, const QString &name, const QString &hint) {
              auto *button = new QToolButton(this);
              button->setObjectName(objectName + name);
              button->setArrowType(arrow);
              button->setToolTip(hint);
              button->setAutoRepeat(true);
              button->setFocusPolicy(Qt::NoFocus);
              button->setSizePolicy(vertical ? QSizePolicy::Fixed : QSizePolicy::Expanding,
                  vertical ? QSizePolicy::Expanding : QSizePolicy::Fixed);
              connect(button, &QToolButton::clicked, this, [this, which] { emit clicked(which); });
              layout->addWidget(button);
              return button;
          };
    if (vertical) {
        m_next = makeButton(Button::Next, Qt::UpArrow, QStringLiteral("Next"),
            QStringLiteral("Kleine Karte nach Norden"));
        m_prev = makeButton(Button::Prev, Qt::DownArrow, QStringLiteral("Prev"),
            QStringLiteral("Kleine Karte nach Süden"));
    } else {
        m_next = makeButton(Button::Next, Qt::RightArrow, QStringLiteral("Next"),
            QStringLiteral("Kleine Karte nach Osten"));
        m_prev = makeButton(Button::Prev, Qt::LeftArrow, QStringLiteral("Prev"),
            QStringLiteral("Kleine Karte nach Westen"));
    }
}

} // namespace tolvimar
