#pragma once

#include "orders/ordercompletion.h"

#include <QObject>
#include <functional>
#include <memory>

class QCompleter;
class QPlainTextEdit;
class QStringListModel;

namespace tolvimar {

class OrderVocabulary;

// Offers core's candidates for the word at the cursor while one types in an order
// editor: the popup opens as a letter or digit is typed, or a blank after an order's
// word; Tab or Return takes the chosen (first) word with a blank after it, Escape
// closes it. Return without the popup starts a line indented as the current one.
class OrderCompleter : public QObject
{
    Q_OBJECT
public:
    explicit OrderCompleter(QPlainTextEdit *editor);

    void setVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary);
    // Where the cursor's orders stand (its region and unit), asked at each key.
    void setPlaceSource(std::function<CompletionPlace()> source) { m_place = std::move(source); }

    // The words the popup offers now, and the texts it shows for them (ids with
    // their names).
    QStringList offered() const;
    QStringList shownLabels() const;
    bool isOpen() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void update();
    void insert(const QString &word);
    void newLineWithIndent();
    void close();

    QPlainTextEdit *m_editor;
    QCompleter *m_completer;
    QStringListModel *m_model;
    std::shared_ptr<const OrderVocabulary> m_vocabulary;
    std::function<CompletionPlace()> m_place;
    Completion m_current;
    bool m_typed = false;
};

} // namespace tolvimar
