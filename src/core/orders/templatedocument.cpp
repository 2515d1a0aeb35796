#include "templatedocument.h"

#include "templatelines.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>

namespace tolvimar {

TemplateDocument::TemplateDocument(QObject *parent)
    : QObject(parent)
{
    adopt(newDocument({}));
}

TemplateDocument::~TemplateDocument()
{
    stopBuild();
}

QTextDocument *TemplateDocument::newDocument(const QStringList &lines) const
{
    auto *document = new QTextDocument;
    // Attached while the document is empty, the views' layout and colouring pass over
    // the lines once, as they are filled in, and queue no pass of their own.
    if (m_prepare)
        m_prepare(document);
    document->setUndoRedoEnabled(false);
    document->setPlainText(lines.join(u'\n'));
    document->setUndoRedoEnabled(true);
    if (m_prepare) {
        // Every line gets its layout where the document is built, not when a view
        // first shows it.
        for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next())
            block.layout();
    }
    return document;
}

void TemplateDocument::adopt(QTextDocument *document)
{
    QTextDocument *previous = m_document;
    const bool saved = m_newLines ? m_newSaved : !previous || !previous->isModified();
    document->setParent(this);
    document->setModified(!saved);
    m_document = document;
    m_newLines.reset();
    m_textSetPastHistory = false;
    connect(document, &QTextDocument::contentsChange, this, [this, document] {
        if (!document->isUndoRedoEnabled())
            m_textSetPastHistory = true;
    });
    connect(document, &QTextDocument::modificationChanged, this, [this, document](bool modified) {
        // A text set anew past the history (an editor's setPlainText) ends with the
        // document marked unmodified; it was never saved.
        if (!modified && m_textSetPastHistory) {
            m_textSetPastHistory = false;
            document->setModified(true);
            return;
        }
        emit savedChanged(!modified);
    });
    if (previous) {
        emit documentReplaced();
        // The views have let go of it.
        previous->disconnect(this);
        delete previous;
    }
}

QTextDocument *TemplateDocument::textDocument()
{
    finishBuilding();
    return m_document;
}

QStringList TemplateDocument::lines() const
{
    if (m_newLines)
        return *m_newLines;
    // The raw text keeps every character as typed; blocks end in paragraph separators.
    QStringList lines = m_document->toRawText().split(QChar::ParagraphSeparator);
    // An empty document is one empty line, and an empty template no line.
    if (lines.size() == 1 && lines.first().isEmpty())
        lines.clear();
    return lines;
}

std::unique_ptr<TemplateLines> TemplateDocument::view() const
{
    if (m_newLines)
        return std::make_unique<OwnedTemplateLines>(*m_newLines);
    return std::make_unique<DocumentTemplateLines>(*m_document);
}

bool TemplateDocument::isEmpty() const
{
    if (m_newLines)
        return m_newLines->isEmpty();
    return m_document->isEmpty();
}

void TemplateDocument::replaceAll(const QStringList &lines)
{
    const bool wasSaved = isSaved();
    const bool wasBuilding = isBuilding();
    stopBuild();
    m_newLines = lines;
    m_newSaved = false;
    if (m_prepare)
        startBuild();
    if (wasSaved)
        emit savedChanged(false);
    if (wasBuilding != isBuilding())
        emit buildingChanged(isBuilding());
}

void TemplateDocument::startBuild()
{
    QThread *target = thread();
    const QStringList lines = *m_newLines;
    m_build = QThread::create([this, lines, target] {
        QTextDocument *document = newDocument(lines);
        document->moveToThread(target);
        m_built = document;
    });
    QThread *build = m_build;
    // Taken as soon as it is built, on this object's thread.
    connect(build, &QThread::finished, this, [this, build] {
        if (m_build == build)
            finishBuilding();
    });
    m_build->start();
}

void TemplateDocument::stopBuild()
{
    if (!m_build)
        return;
    m_build->wait();
    delete m_build;
    m_build = nullptr;
    delete m_built;
    m_built = nullptr;
}

bool TemplateDocument::isBuilding() const
{
    return m_build != nullptr;
}

void TemplateDocument::finishBuilding()
{
    if (!m_newLines)
        return;
    QTextDocument *document = nullptr;
    if (m_build) {
        m_build->wait();
        delete m_build;
        m_build = nullptr;
        document = m_built;
        m_built = nullptr;
    } else {
        document = newDocument(*m_newLines);
    }
    adopt(document);
    emit buildingChanged(false);
}

bool TemplateDocument::replaceLines(const QList<LineEdit> &edits)
{
    if (edits.isEmpty())
        return true;
    QTextDocument *document = textDocument();
    for (const LineEdit &edit : edits) {
        if (edit.first < 0 || edit.count < 0 || edit.first + edit.count > document->blockCount())
            return false;
    }
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (const LineEdit &edit : edits) {
        const QString text = edit.lines.join(u'\n');
        if (edit.first + edit.count < document->blockCount()) {
            // The range and its line ends, up to the line that stays after it.
            cursor.setPosition(document->findBlockByNumber(edit.first).position());
            cursor.setPosition(document->findBlockByNumber(edit.first + edit.count).position(),
                QTextCursor::KeepAnchor);
            cursor.insertText(edit.lines.isEmpty() ? QString() : text + u'\n');
        } else if (edit.first > 0) {
            // The range ends the text: from the end of the line before it.
            const QTextBlock before = document->findBlockByNumber(edit.first - 1);
            cursor.setPosition(before.position() + before.length() - 1);
            cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            cursor.insertText(edit.lines.isEmpty() ? QString() : u'\n' + text);
        } else {
            cursor.select(QTextCursor::Document);
            cursor.insertText(text);
        }
    }
    cursor.endEditBlock();
    return true;
}

bool TemplateDocument::replaceLine(int line, const QString &text)
{
    return replaceLines({LineEdit {line, 1, {text}}});
}

bool TemplateDocument::isSaved() const
{
    if (m_newLines)
        return m_newSaved;
    return !m_document->isModified();
}

void TemplateDocument::setSaved(bool saved)
{
    if (m_newLines) {
        if (m_newSaved == saved)
            return;
        m_newSaved = saved;
        emit savedChanged(saved);
        return;
    }
    m_textSetPastHistory = false;
    m_document->setModified(!saved);
}

void TemplateDocument::setPreparation(std::function<void(QTextDocument *)> prepare)
{
    m_prepare = std::move(prepare);
}

} // namespace tolvimar
