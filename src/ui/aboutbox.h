#pragma once

#include <QDialog>

class QTextBrowser;
class QTimer;

namespace tolvimar {

// "Kalmora Assistent Info".
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QTextBrowser *m_text;
    QTimer *m_scroll;
};

} // namespace tolvimar
