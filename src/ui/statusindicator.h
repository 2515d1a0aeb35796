#pragma once

#include <QWidget>

namespace tolvimar {

// The small circle beside "Autosave": green while a file holds the order template,
// red while it has unsaved changes.
class StatusIndicator : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool saved READ isSaved)
public:
    explicit StatusIndicator(QWidget *parent = nullptr);
    bool isSaved() const { return m_saved; }
    void setSaved(bool saved);
    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_saved = true;
};

} // namespace tolvimar
