#include "checkeroutputwindow.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tolvimar {

CheckerOutputWindow::CheckerOutputWindow(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint
            | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("Zug Checker Ausgabe"));
    auto *layout = new QVBoxLayout(this);
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setFont(QFont(QStringLiteral("Monospace")));
    layout->addWidget(m_memo);
    setFixedSize(640, 420);
}

void CheckerOutputWindow::showOutput(const QString &text)
{
    show();
    m_memo->setPlainText(text);
    raise();
}

QString CheckerOutputWindow::output() const
{
    return m_memo->toPlainText();
}

} // namespace tolvimar
