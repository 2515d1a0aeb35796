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
    connect(m_completer, qOverload<const QString &>(&QCompleter::activated), this,
        &OrderCompleter::insert);
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
            const QStringList words = m_model->stringList();
            const QString word = chosen.isValid() ? chosen.data().toString() : words.value(0);
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
    const QString text = key->text();
    const bool wordKey = !text.isEmpty() && (text.at(0).isLetterOrNumber() || text == u"_")
        && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const bool changesWord = key->key() == Qt::Key_Backspace && isOpen();
    // The popup follows the word after the key has changed the text.
    m_typed = wordKey || changesWord;
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
    m_current = candidates(line, cursor.positionInBlock(), *m_vocabulary, place, 50);
    // Nothing to offer, or only what is typed already.
    if (m_current.prefix.isEmpty() || m_current.words.isEmpty()
        || (m_current.words.size() == 1
            && m_current.words.first().compare(m_current.prefix, Qt::CaseInsensitive) == 0)) {
        close();
        return;
    }
    m_model->setStringList(m_current.words);
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
    cursor.insertText(word);
    m_editor->setTextCursor(cursor);
}

void OrderCompleter::close()
{
    if (m_completer->popup()->isVisible())
        m_completer->popup()->hide();
}

} // namespace tolvimar
