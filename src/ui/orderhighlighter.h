#pragma once

#include "orders/orderline.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <memory>

class QPlainTextEdit;

namespace tolvimar {

class OrderVocabulary;

// Colours order lines by core's spans: keywords, ids, numbers, names, strings and
// comments; unknown first words are underlined. Over a large template ("lazy") only
// the lines shown are coloured, each when it comes into view, so that loading or
// scrolling never colours the whole text.
class OrderHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    // Colours the document, which owns it. With lazy, only the lines the editor shows
    // are coloured; without an editor yet (a document being built) none.
    OrderHighlighter(QTextDocument *document, QPlainTextEdit *editor, bool lazy);
    // The editor that shows the document.
    void setEditor(QPlainTextEdit *editor);

    void setVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary);
    const OrderVocabulary *vocabulary() const { return m_vocabulary.get(); }

    // The format of a kind of span.
    static QTextCharFormat format(SpanKind kind);

protected:
    void highlightBlock(const QString &text) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Colours the shown lines that are not coloured yet.
    void colourShownLines();
    bool isShown(int blockNumber) const;

    QPlainTextEdit *m_editor = nullptr;
    // The editor's viewport, compared by address only: while the editor is being
    // destroyed its viewport still sends events, and the editor may no longer be asked.
    QObject *m_viewport = nullptr;
    bool m_lazy;
    bool m_colouredAny = false;
    std::shared_ptr<const OrderVocabulary> m_vocabulary;
    int m_firstShown = 0;
    int m_lastShown = -1;
};

} // namespace tolvimar
