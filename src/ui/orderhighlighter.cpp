#include "orderhighlighter.h"

#include "orders/ordervocabulary.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>

namespace tolvimar {

namespace {
// Block states: a line coloured with the current vocabulary, or not (yet).
const int kColoured = 1;
const int kPlain = -1;
} // namespace

OrderHighlighter::OrderHighlighter(QTextDocument *document, QPlainTextEdit *editor, bool lazy)
    : QSyntaxHighlighter(document)
    , m_lazy(lazy)
{
    if (editor)
        setEditor(editor);
}

void OrderHighlighter::setEditor(QPlainTextEdit *editor)
{
    m_editor = editor;
    if (m_lazy) {
        connect(editor, &QPlainTextEdit::updateRequest, this, [this] { colourShownLines(); });
        connect(editor->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { colourShownLines(); });
        // An enlarged editor shows more lines without a scroll or a repaint request.
        m_viewport = editor->viewport();
        m_viewport->installEventFilter(this);
    }
}

bool OrderHighlighter::eventFilter(QObject *watched, QEvent *event)
{
    if (m_editor && watched == m_viewport
        && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        colourShownLines();
    return QSyntaxHighlighter::eventFilter(watched, event);
}

void OrderHighlighter::setVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary)
{
    if (m_vocabulary == vocabulary)
        return;
    m_vocabulary = std::move(vocabulary);
    if (!m_lazy) {
        const QSignalBlocker quiet(m_editor);
        rehighlight();
        return;
    }
    // Every line is to be coloured anew; those shown at once.
    if (m_colouredAny) {
        for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
            if (block.userState() == kColoured)
                block.setUserState(kPlain);
        }
    }
    colourShownLines();
}

QTextCharFormat OrderHighlighter::format(SpanKind kind)
{
    QTextCharFormat f;
    switch (kind) {
    case SpanKind::Keyword:
        f.setForeground(QColor(0, 0, 160));
        f.setFontWeight(QFont::Bold);
        break;
    case SpanKind::UnknownWord:
        f.setForeground(QColor(160, 0, 0));
        f.setFontUnderline(true);
        f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        f.setUnderlineColor(QColor(220, 0, 0));
        break;
    case SpanKind::Id:
        f.setForeground(QColor(140, 0, 140));
        break;
    case SpanKind::Number:
        f.setForeground(QColor(0, 120, 120));
        break;
    case SpanKind::Name:
        f.setForeground(QColor(0, 110, 0));
        break;
    case SpanKind::String:
        f.setForeground(QColor(150, 80, 0));
        break;
    case SpanKind::Comment:
        f.setForeground(QColor(110, 110, 110));
        f.setFontItalic(true);
        break;
    }
    return f;
}

bool OrderHighlighter::isShown(int blockNumber) const
{
    return blockNumber >= m_firstShown && blockNumber <= m_lastShown;
}

void OrderHighlighter::highlightBlock(const QString &text)
{
    if (!m_vocabulary)
        return;
    if (m_lazy && !isShown(currentBlock().blockNumber())) {
        setCurrentBlockState(kPlain);
        return;
    }
    for (const HighlightSpan &span : tolvimar::highlight(text, *m_vocabulary))
        setFormat(int(span.start), int(span.length), format(span.kind));
    setCurrentBlockState(kColoured);
    m_colouredAny = true;
}

void OrderHighlighter::colourShownLines()
{
    if (!m_vocabulary || !m_editor || m_editor->document() != document())
        return;
    const QTextBlock first = m_editor->cursorForPosition(QPoint(1, 1)).block();
    if (!first.isValid())
        return;
    const int lineHeight = std::max(1, QFontMetrics(m_editor->font()).lineSpacing());
    m_firstShown = first.blockNumber();
    m_lastShown = m_firstShown + m_editor->viewport()->height() / lineHeight + 1;
    QTextBlock block = first;
    for (int n = m_firstShown; block.isValid() && n <= m_lastShown; ++n) {
        const QTextBlock next = block.next();
        if (block.userState() != kColoured) {
            // A line coloured is no edit: the editor tells nobody its text changed.
            const QSignalBlocker quiet(m_editor);
            rehighlightBlock(block);
        }
        block = next;
    }
}

} // namespace tolvimar
