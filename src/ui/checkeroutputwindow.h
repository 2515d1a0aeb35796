#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace tolvimar {

// "Zug Checker Ausgabe": the order checker's output.
class CheckerOutputWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CheckerOutputWindow(QWidget *parent = nullptr);
    void showOutput(const QString &text);
    QString output() const;

private:
    QPlainTextEdit *m_memo;
};

} // namespace tolvimar
