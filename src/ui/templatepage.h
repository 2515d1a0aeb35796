#pragma once

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tolvimar {

class OrderCompleter;
class OrderHighlighter;
class OrderVocabulary;
class StatusIndicator;
class TemplateDocument;

// "Zugvorlage": the order template editor `RichEdit4` with a find bar, the autosave
// light and the button that has the checker run, so that a player editing the orders
// needs no other page.
class TemplatePage : public QWidget
{
    Q_OBJECT
public:
    explicit TemplatePage(QWidget *parent = nullptr);

    // The editor shows the document and follows it when a new template replaces it;
    // the light shows whether it is saved.
    void showTemplate(TemplateDocument &document);
    void showSaved(bool saved);
    // The editor shows the newest template, waiting for its document if need be.
    void showNewestTemplate();
    // What the colouring and the completion know.
    void setVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary);
    // Puts the cursor at the start of a 0-based line and shows it in the middle.
    void goToLine(int line);
    // The 0-based line of the editor's cursor.
    int cursorLine() const;
    // The editor takes the keys.
    void focusEditor();

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

signals:
    // "Zug prüfen lassen".
    void checkRequested();
    // The template's text changed, typed or made by the program.
    void textChanged();

private:
    // Takes the template's current document (with its colouring) into the editor.
    void takeDocument();
    void showEvent(QShowEvent *event) override;

    TemplateDocument *m_document = nullptr;
    QPlainTextEdit *m_templateEditor;
    QLineEdit *m_find;
    QWidget *m_replaceRow;
    QLineEdit *m_replace;
    QLabel *m_replaced;
    std::shared_ptr<const OrderVocabulary> m_vocabulary;
    OrderHighlighter *m_highlighter = nullptr; // the colouring of the editor's document
    OrderCompleter *m_completer;
    StatusIndicator *m_light;
    QPushButton *m_checkButton;
};

} // namespace tolvimar
