#pragma once

#include "orders/orderproblems.h"

#include <QDialog>

class QLabel;
class QListView;
class QStringListModel;
class QPlainTextEdit;

namespace tolvimar {

// "Zug Checker Ausgabe": the problems of the orders (the checker's lines that name a
// line of the order file, and the program's own hints), each a click away from its
// line, over the checker's whole output.
class CheckerOutputWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CheckerOutputWindow(QWidget *parent = nullptr);
    void showOutput(const QString &text);
    QString output() const;
    // Lists the problems; a click on one is problemChosen.
    void showProblems(const QList<OrderProblem> &problems);
    const QList<OrderProblem> &problems() const { return m_problems; }

    // The text of a problem in the list.
    static QString problemText(const OrderProblem &problem);

signals:
    void problemChosen(const tolvimar::OrderProblem &problem);

private:
    QLabel *m_heading;
    QListView *m_list;
    QStringListModel *m_rows;
    QPlainTextEdit *m_memo;
    QList<OrderProblem> m_problems;
};

} // namespace tolvimar
