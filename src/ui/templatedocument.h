#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QTextDocument;
class QThread;

namespace tolvimar {

// Builds the order template's editor document away from the window's thread: filling
// a document with a large template and laying out its lines takes seconds, while
// handing a built document to the editor takes a fraction of one. A new template
// starts a new build; the window takes the newest one when it shows the template.
class TemplateDocumentBuilder : public QObject
{
    Q_OBJECT
public:
    explicit TemplateDocumentBuilder(QObject *parent = nullptr);
    ~TemplateDocumentBuilder() override;

    // Starts building a document of the lines in the font; an earlier build that has
    // not been taken is dropped.
    void start(const QStringList &lines, const QFont &font);
    bool isBuilding() const;
    // The newest document, waiting for its build to end; nullptr when none was
    // started since the last take. The caller owns it.
    QTextDocument *take();

private:
    void finishRunning();

    QThread *m_thread = nullptr;
    QTextDocument *m_document = nullptr;
};

} // namespace tolvimar
