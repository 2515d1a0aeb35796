#include "checkeroutputwindow.h"

#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStringListModel>
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
    m_heading = new QLabel(QStringLiteral("Probleme (Klick: zur Zeile und zur Einheit)"), this);
    m_heading->setObjectName(QStringLiteral("LabelProbleme"));
    layout->addWidget(m_heading);
    auto *split = new QSplitter(Qt::Vertical, this);
    m_list = new QListView(split);
    m_list->setObjectName(QStringLiteral("ListBoxProbleme"));
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rows = new QStringListModel(m_list);
    m_list->setModel(m_rows);
    m_memo = new QPlainTextEdit(split);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setFont(QFont(QStringLiteral("Monospace")));
    split->addWidget(m_list);
    split->addWidget(m_memo);
    layout->addWidget(split);
    setFixedSize(640, 420);
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex &index) {
        const int row = index.row();
        if (row >= 0 && row < m_problems.size())
            emit problemChosen(m_problems.at(row));
    });
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

QString CheckerOutputWindow::problemText(const OrderProblem &problem)
{
    // Line 0: the checker named no line of the file.
    const QString where = problem.line <= 0 ? QStringLiteral("ohne Zeile")
        : problem.unitText.isEmpty()
        ? QStringLiteral("Zeile %1").arg(problem.line)
        : QStringLiteral("Einheit %1, Zeile %2").arg(problem.unitText).arg(problem.line);
    // The program's hints say themselves that they are hints.
    if (problem.source == OrderProblem::Source::Hint)
        return where + QStringLiteral(": ") + problem.text;
    return QStringLiteral("%1 (Checker): %2").arg(where, problem.text);
}

void CheckerOutputWindow::showProblems(const QList<OrderProblem> &problems)
{
    m_problems = problems;
    QStringList rows;
    rows.reserve(problems.size());
    for (const OrderProblem &problem : problems)
        rows.append(problemText(problem));
    m_rows->setStringList(rows);
    m_heading->setText(problems.isEmpty()
            ? QStringLiteral("Keine Probleme gefunden")
            : QStringLiteral("%1 Probleme (Klick: zur Zeile und zur Einheit)")
                  .arg(problems.size()));
}

} // namespace tolvimar
