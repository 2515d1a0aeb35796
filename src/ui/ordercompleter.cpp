#include "ordercompleter.h"

#include "orders/ordervocabulary.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>

namespace tolvimar {

OrderCompleter::OrderCompleter(QPlainTextEdit *editor)
    : QObject(editor)
    , m_editor(editor)
{
    m_model = new QStringListModel(this);
    m_completer = new QCompleter(m_model, this);
    m_completer->setObjectName(QStringLiteral("Befehlsvorschlag"));
    // The candidates are filtered and ordered by core already.
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setWidget(editor);
    m_completer->popup()->setObjectName(QStringLiteral("ListBefehlsvorschlag"));
    connect(m_completer, qOverload<const QModelIndex &>(&QCompleter::activated), this,
        [this](const QModelIndex &chosen) { insert(m_current.words.value(chosen.row())); });
    editor->installEventFilter(this);
    // While the popup is open the keys reach it first; it hands the others on.
    m_completer->popup()->installEventFilter(this);
    connect(editor, &QPlainTextEdit::textChanged, this, [this] {
        if (m_typed) {
            m_typed = false;
            update();
        }
    });
}

void OrderCompleter::setVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary)
{
    m_vocabulary = std::move(vocabulary);
    close();
}

QStringList OrderCompleter::offered() const
{
    return isOpen() ? m_current.words : QStringList();
}

QStringList OrderCompleter::shownLabels() const
{
    return isOpen() ? m_model->stringList() : QStringList();
}

bool OrderCompleter::isOpen() const
{
    return m_completer->popup()->isVisible();
}

bool OrderCompleter::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched != m_editor && watched != m_completer->popup())
        || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (isOpen()) {
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            const QModelIndex chosen = m_completer->popup()->currentIndex();
            const QString word = m_current.words.value(chosen.isValid() ? chosen.row() : 0);
            close();
            if (!word.isEmpty())
                insert(word);
            return true;
        }
        case Qt::Key_Escape:
            close();
            return true;
        default:
            break;
        }
    }
    const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        && !m_editor->isReadOnly()) {
        newLineWithIndent();
        return true;
    }
    const QString text = key->text();
    const bool wordKey
        = !text.isEmpty() && (text.at(0).isLetterOrNumber() || text == u"_") && plain;
    const bool changesWord = key->key() == Qt::Key_Backspace && isOpen();
    // A blank after a word offers what the order expects next.
    const bool blank = text == u" " && plain;
    // The popup follows the word after the key has changed the text.
    m_typed = wordKey || changesWord || blank;
    if (!wordKey && !changesWord && isOpen() && !text.isEmpty())
        close();
    return QObject::eventFilter(watched, event);
}

void OrderCompleter::update()
{
    if (!m_vocabulary || m_editor->isReadOnly()) {
        close();
        return;
    }
    const QTextCursor cursor = m_editor->textCursor();
    const QString line = cursor.block().text();
    const CompletionPlace place = m_place ? m_place() : CompletionPlace();
    const int column = cursor.positionInBlock();
    m_current = candidates(line, column, *m_vocabulary, place, 50);
    // Nothing to offer, or only what is typed already; before an order's first word
    // the blanks of the indentation offer nothing.
    const bool firstWordTyped = !QStringView(line).left(column).trimmed().isEmpty();
    if ((m_current.prefix.isEmpty() && !firstWordTyped) || m_current.words.isEmpty()
        || (m_current.words.size() == 1
            && m_current.words.first().compare(m_current.prefix, Qt::CaseInsensitive) == 0)) {
        close();
        return;
    }
    m_model->setStringList(m_current.labels);
    QRect rect = m_editor->cursorRect();
    QAbstractItemView *popup = m_completer->popup();
    rect.setWidth(popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width() + 8);
    m_completer->complete(rect);
    popup->setCurrentIndex(m_completer->completionModel()->index(0, 0));
}

void OrderCompleter::insert(const QString &word)
{
    QTextCursor cursor = m_editor->textCursor();
    const int blockStart = cursor.block().position();
    cursor.setPosition(blockStart + int(m_current.start));
    cursor.setPosition(m_editor->textCursor().position(), QTextCursor::KeepAnchor);
    // The word comes with the blank after it, so that typing goes on with the next
    // one; the list then offers what the order expects there.
    const bool blankFollows = cursor.block().text().mid(cursor.positionInBlock(), 1) == u" ";
    cursor.insertText(blankFollows ? word : word + u' ');
    if (blankFollows)
        cursor.movePosition(QTextCursor::NextCharacter);
    m_editor->setTextCursor(cursor);
    update();
}

void OrderCompleter::newLineWithIndent()
{
    QTextCursor cursor = m_editor->textCursor();
    const QString before = cursor.block().text().left(cursor.positionInBlock());
    qsizetype indent = 0;
    while (indent < before.size() && (before[indent] == u' ' || before[indent] == u'\t'))
        ++indent;
    cursor.insertText(u'\n' + before.left(indent));
    m_editor->setTextCursor(cursor);
    m_editor->ensureCursorVisible();
}

void OrderCompleter::close()
{
    if (m_completer->popup()->isVisible())
        m_completer->popup()->hide();
}

} // namespace tolvimar
