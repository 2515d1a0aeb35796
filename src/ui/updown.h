#pragma once

#include <QWidget>

class QToolButton;

namespace tolvimar {

// A pair of arrow buttons, one above the other or side by side. Only which arrow
// was pressed counts: the upper or the right one is Next.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    enum class Button { Next, Prev };

    UpDown(const QString &objectName, Qt::Orientation orientation, QWidget *parent = nullptr);

    QToolButton *button(Button which) const { return which == Button::Next ? m_next : m_prev; }

signals:
    void clicked(tolvimar::UpDown::Button button);

private:
    QToolButton *m_next;
    QToolButton *m_prev;
};

} // namespace tolvimar
