#include "templatepage.h"

#include "ordercompleter.h"
#include "orderhighlighter.h"
#include "orders/ordervocabulary.h"
#include "orders/templatelines.h"
#include "statusindicator.h"
#include "widgets.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace tolvimar {

TemplatePage::TemplatePage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheetZugvorlage"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    auto *bar = new QHBoxLayout;
    auto *findLabel = new QLabel(QStringLiteral("&Suchen:"), this);
    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("EditSuchen"));
    m_find->setPlaceholderText(QStringLiteral("Text in der Zugvorlage (Strg+F)"));
    m_find->setClearButtonEnabled(true);
    findLabel->setBuddy(m_find);
    auto *next = new QPushButton(QStringLiteral("&Weiter"), this);
    next->setObjectName(QStringLiteral("ButtonWeiterSuchen"));
    next->setToolTip(QStringLiteral("Nächste Stelle (Eingabe); vorige Stelle: Umschalt+Eingabe"));
    bar->addWidget(findLabel);
    bar->addWidget(m_find, 1);
    bar->addWidget(next);
    bar->addSpacing(16);
    m_light = new StatusIndicator(this);
    m_light->setObjectName(QStringLiteral("Shape2"));
    m_light->setToolTip(QStringLiteral("Zeigt an ob der Zug gespeichert wurde"));
    bar->addWidget(m_light);
    bar->addWidget(new QLabel(QStringLiteral("Autosave"), this));
    m_check = new QPushButton(QStringLiteral("Zug prüfen lassen"), this);
    m_check->setObjectName(QStringLiteral("ButtonZugPruefen"));
    bar->addWidget(m_check);
    layout->addLayout(bar);

    m_replaceRow = new QWidget(this);
    m_replaceRow->setObjectName(QStringLiteral("ZeileErsetzen"));
    auto *replaceBar = new QHBoxLayout(m_replaceRow);
    replaceBar->setContentsMargins(0, 0, 0, 0);
    auto *replaceLabel = new QLabel(QStringLiteral("&Ersetzen durch:"), m_replaceRow);
    m_replace = new QLineEdit(m_replaceRow);
    m_replace->setObjectName(QStringLiteral("EditErsetzen"));
    replaceLabel->setBuddy(m_replace);
    auto *replaceOne = new QPushButton(QStringLiteral("E&rsetzen"), m_replaceRow);
    replaceOne->setObjectName(QStringLiteral("ButtonErsetzen"));
    auto *replaceEvery = new QPushButton(QStringLiteral("&Alle ersetzen"), m_replaceRow);
    replaceEvery->setObjectName(QStringLiteral("ButtonAlleErsetzen"));
    m_replaced = new QLabel(m_replaceRow);
    m_replaced->setObjectName(QStringLiteral("LabelErsetzt"));
    replaceBar->addWidget(replaceLabel);
    replaceBar->addWidget(m_replace, 1);
    replaceBar->addWidget(replaceOne);
    replaceBar->addWidget(replaceEvery);
    replaceBar->addWidget(m_replaced);
    m_replaceRow->hide();
    layout->addWidget(m_replaceRow);

    m_richEdit4 = new QPlainTextEdit(this);
    m_richEdit4->setObjectName(QStringLiteral("RichEdit4"));
    m_richEdit4->setFont(fixedPitchFont());
    m_richEdit4->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_richEdit4, 1);
    // Over a large template only the lines shown are coloured.
    m_highlighter = new OrderHighlighter(m_richEdit4->document(), m_richEdit4, true);
    m_completer = new OrderCompleter(m_richEdit4);
    m_completer->setPlaceSource([this] {
        CompletionPlace place;
        const OrderVocabulary *vocabulary = m_vocabulary.get();
        const DocumentTemplateLines lines(*m_richEdit4->document());
        if (const std::optional<UnitBlock> block
            = unitBlockAt(lines, m_richEdit4->textCursor().blockNumber())) {
            place.unitText = block->unitText;
            if (vocabulary)
                place.position = vocabulary->positionOfUnit(block->unitText);
        }
        return place;
    });

    connect(m_find, &QLineEdit::returnPressed, this,
        [this] { findNext(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
    connect(m_replace, &QLineEdit::returnPressed, this, &TemplatePage::replaceNext);
    connect(replaceOne, &QPushButton::clicked, this, &TemplatePage::replaceNext);
    connect(replaceEvery, &QPushButton::clicked, this, &TemplatePage::replaceAll);
}

void TemplatePage::setVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary)
{
    m_vocabulary = vocabulary;
    if (OrderHighlighter *colouring = highlighter())
        colouring->setVocabulary(vocabulary);
    m_completer->setVocabulary(std::move(vocabulary));
}

OrderHighlighter *TemplatePage::highlighter() const
{
    return m_highlighter;
}

void TemplatePage::takeDocument(QTextDocument *document)
{
    QTextDocument *previous = m_richEdit4->document();
    document->setParent(m_richEdit4);
    previous->setParent(nullptr);
    m_richEdit4->setDocument(document);
    // The previous document goes with its colouring.
    delete previous;
    m_highlighter = document->findChild<OrderHighlighter *>(QString(), Qt::FindDirectChildrenOnly);
    if (m_highlighter) {
        m_highlighter->setEditor(m_richEdit4);
        m_highlighter->setVocabulary(m_vocabulary);
    }
}

bool TemplatePage::editLines(const QList<LineEdit> &edits)
{
    QTextDocument *document = m_richEdit4->document();
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

void TemplatePage::goToLine(int line)
{
    const QTextBlock block = m_richEdit4->document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    m_richEdit4->setTextCursor(QTextCursor(block));
    m_richEdit4->centerCursor();
    m_richEdit4->setFocus(Qt::OtherFocusReason);
}

void TemplatePage::startReplace()
{
    m_replaceRow->show();
    m_replaced->clear();
    startFind();
}

bool TemplatePage::replaceNext()
{
    const QString text = m_find->text();
    if (text.isEmpty())
        return false;
    QTextCursor cursor = m_richEdit4->textCursor();
    if (cursor.selectedText().compare(text, Qt::CaseInsensitive) == 0) {
        cursor.insertText(m_replace->text());
        m_richEdit4->setTextCursor(cursor);
    }
    return findNext();
}

int TemplatePage::replaceAll()
{
    const QString text = m_find->text();
    if (text.isEmpty())
        return 0;
    QTextDocument *document = m_richEdit4->document();
    QTextCursor edit(document);
    edit.beginEditBlock();
    int count = 0;
    QTextCursor found = document->find(text, 0);
    while (!found.isNull()) {
        edit.setPosition(found.selectionStart());
        edit.setPosition(found.selectionEnd(), QTextCursor::KeepAnchor);
        edit.insertText(m_replace->text());
        ++count;
        found = document->find(text, edit.position());
    }
    edit.endEditBlock();
    m_replaced->setText(QStringLiteral("%1 ersetzt").arg(count));
    return count;
}

void TemplatePage::showSaved(bool saved)
{
    m_light->setSaved(saved);
}

void TemplatePage::startFind()
{
    m_find->setFocus(Qt::ShortcutFocusReason);
    m_find->selectAll();
}

bool TemplatePage::findNext(bool backwards)
{
    const QString text = m_find->text();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags
        = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_richEdit4->find(text, flags))
        return true;
    // Once more from the other end of the template.
    const QTextCursor keep = m_richEdit4->textCursor();
    QTextCursor cursor = keep;
    cursor.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    m_richEdit4->setTextCursor(cursor);
    if (m_richEdit4->find(text, flags))
        return true;
    m_richEdit4->setTextCursor(keep);
    return false;
}

} // namespace tolvimar
