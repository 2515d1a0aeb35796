#include "templatedocument.h"

#include "orderhighlighter.h"

#include <QCoreApplication>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QThread>

namespace tolvimar {

TemplateDocumentBuilder::TemplateDocumentBuilder(QObject *parent)
    : QObject(parent)
{
}

TemplateDocumentBuilder::~TemplateDocumentBuilder()
{
    finishRunning();
    delete m_document;
}

bool TemplateDocumentBuilder::isBuilding() const
{
    return m_thread && !m_thread->isFinished();
}

void TemplateDocumentBuilder::finishRunning()
{
    if (!m_thread)
        return;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

void TemplateDocumentBuilder::start(const QStringList &lines, const QFont &font)
{
    finishRunning();
    delete m_document;
    m_document = nullptr;
    QThread *target = QCoreApplication::instance()->thread();
    m_thread = QThread::create([this, lines, font, target] {
        auto *document = new QTextDocument;
        document->setDefaultFont(font);
        document->setDocumentLayout(new QPlainTextDocumentLayout(document));
        // Attached while the document is empty, the colouring passes over the lines
        // once here (colouring none) and queues no pass for the window.
        new OrderHighlighter(document, nullptr, true);
        document->setUndoRedoEnabled(false);
        document->setPlainText(lines.join(u'\n'));
        document->setUndoRedoEnabled(true);
        document->setModified(false);
        // Every line gets its layout here, not when the editor takes the document.
        for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next())
            block.layout();
        document->moveToThread(target);
        m_document = document;
    });
    m_thread->start();
}

QTextDocument *TemplateDocumentBuilder::take()
{
    if (!m_thread)
        return nullptr;
    finishRunning();
    QTextDocument *document = m_document;
    m_document = nullptr;
    return document;
}

} // namespace tolvimar
