#pragma once

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tolvimar {

class StatusIndicator;

// "Zugvorlage": the order template editor `RichEdit4` with a find bar, the autosave
// light and the button that has the checker run, so that a player editing the orders
// needs no other page.
class TemplatePage : public QWidget
{
    Q_OBJECT
public:
    explicit TemplatePage(QWidget *parent = nullptr);

    QPlainTextEdit *richEdit4() const { return m_richEdit4; }
    QPushButton *checkButton() const { return m_check; }
    void showSaved(bool saved);

public slots:
    // Puts the cursor into the find field (Ctrl+F).
    void startFind();
    // Finds the field's text after (or before) the cursor, wrapping at the end; false
    // when the template does not hold it.
    bool findNext(bool backwards = false);

private:
    QPlainTextEdit *m_richEdit4;
    QLineEdit *m_find;
    StatusIndicator *m_light;
    QPushButton *m_check;
};

} // namespace tolvimar
