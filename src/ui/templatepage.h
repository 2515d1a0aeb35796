#pragma once

#include "orders/ordertemplate.h"

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTextDocument;

namespace tolvimar {

class OrderCompleter;
class OrderHighlighter;
class OrderVocabulary;
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
    // What the colouring and the completion know.
    void setVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary);
    // The colouring of the editor's document.
    OrderHighlighter *highlighter() const;
    // Makes a built document (with its colouring) the editor's; the previous one goes.
    void takeDocument(QTextDocument *document);
    OrderCompleter *completer() const { return m_completer; }
    // Replaces ranges of the editor's lines (given from the last to the first) as one
    // step to undo; false, changing nothing, when a range lies outside the text.
    bool editLines(const QList<LineEdit> &edits);
    // Puts the cursor at the start of a 0-based line and shows it in the middle.
    void goToLine(int line);

public slots:
    // Puts the cursor into the find field (Ctrl+F).
    void startFind();
    // Finds the field's text after (or before) the cursor, wrapping at the end; false
    // when the template does not hold it.
    bool findNext(bool backwards = false);
    // Shows the replace row (Ctrl+H) and puts the cursor into the find field.
    void startReplace();
    // "Ersetzen": replaces the found text under the cursor, then finds the next one.
    bool replaceNext();
    // "Alle ersetzen": every place, as one step to undo; returns how many.
    int replaceAll();

private:
    QPlainTextEdit *m_richEdit4;
    QLineEdit *m_find;
    QWidget *m_replaceRow;
    QLineEdit *m_replace;
    QLabel *m_replaced;
    std::shared_ptr<const OrderVocabulary> m_vocabulary;
    OrderHighlighter *m_highlighter = nullptr; // the colouring of the editor's document
    OrderCompleter *m_completer;
    StatusIndicator *m_light;
    QPushButton *m_check;
};

} // namespace tolvimar
