#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QTextDocument;
class QThread;

namespace tolvimar {

class TemplateLines;

// Lines [first, first + count) of the template replaced by others.
struct LineEdit
{
    int first = 0;
    int count = 0;
    QStringList lines;
};

// The order template's text and its history of edits: one text document, one line a
// block, that every view shows and every writer edits. "Saved" is the document's
// undo stack standing at the step last written to the file.
//
// A new template (an import, a game opened) starts a new document with an empty
// history. Filling a document with a large template takes about a second, so while
// views are attached it is built on a worker; until it is taken, the new lines answer
// every read, and the first edit waits for it.
class TemplateDocument : public QObject
{
    Q_OBJECT
public:
    explicit TemplateDocument(QObject *parent = nullptr);
    ~TemplateDocument() override;

    // The document views show and the editor edits (a new template's, once built).
    QTextDocument *textDocument();

    QStringList lines() const;
    // The current lines to read a few of, without copying a large template.
    std::unique_ptr<TemplateLines> view() const;
    bool isEmpty() const;

    // A new template: a new document, a new history; unsaved.
    void replaceAll(const QStringList &lines);
    // Replaces ranges of lines, given from the last to the first and not overlapping,
    // as one step to undo. False, changing nothing, when a range lies outside the text.
    bool replaceLines(const QList<LineEdit> &edits);
    // One line replaced by a text, as one step to undo.
    bool replaceLine(int line, const QString &text);

    bool isSaved() const;
    // Saved: the current step of the history is the one written; unsaved: none is.
    void setSaved(bool saved);

    // Run on every new document while it is still empty, on the thread that builds it
    // (the views' layout and colouring). Once set, new documents are built ahead on a
    // worker thread.
    void setPreparation(std::function<void(QTextDocument *)> prepare);
    // Whether a new template's document is still being built.
    bool isBuilding() const;
    // Waits for a document being built and makes it the current one.
    void finishBuilding();

signals:
    // A new template's document is the current one; views show textDocument().
    void documentReplaced();
    void savedChanged(bool saved);
    // A new template's document is being built (the views take no edits meanwhile),
    // or that build ended.
    void buildingChanged(bool building);

private:
    QTextDocument *newDocument(const QStringList &lines) const;
    void startBuild();
    void adopt(QTextDocument *document);
    void stopBuild();

    QTextDocument *m_document = nullptr;
    // The lines of a new template while its document is not made yet.
    std::optional<QStringList> m_newLines;
    bool m_newSaved = false;
    std::function<void(QTextDocument *)> m_prepare;
    QThread *m_build = nullptr;
    QTextDocument *m_built = nullptr;
    // The text was replaced with the history switched off, not by a step of it.
    bool m_textSetPastHistory = false;
};

} // namespace tolvimar
