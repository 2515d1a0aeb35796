#include "templatepage.h"

#include "ordercompleter.h"
#include "orderhighlighter.h"
#include "orders/ordervocabulary.h"
#include "orders/templatedocument.h"
#include "orders/templatelines.h"
#include "statusindicator.h"
#include "widgets.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextDocumentLayout>
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
    m_checkButton = new QPushButton(QStringLiteral("Zug prüfen lassen"), this);
    m_checkButton->setObjectName(QStringLiteral("ButtonZugPruefen"));
    bar->addWidget(m_checkButton);
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

    m_templateEditor = new QPlainTextEdit(this);
    m_templateEditor->setObjectName(QStringLiteral("RichEdit4"));
    m_templateEditor->setFont(fixedPitchFont());
    m_templateEditor->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_templateEditor, 1);
    m_completer = new OrderCompleter(m_templateEditor);
    m_completer->setPlaceSource([this] {
        CompletionPlace place;
        const OrderVocabulary *vocabulary = m_vocabulary.get();
        const DocumentTemplateLines lines(*m_templateEditor->document());
        if (const std::optional<UnitBlock> block
            = unitBlockAt(lines, m_templateEditor->textCursor().blockNumber())) {
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
    connect(m_checkButton, &QPushButton::clicked, this, &TemplatePage::checkRequested);
    connect(m_templateEditor, &QPlainTextEdit::textChanged, this, &TemplatePage::textChanged);
}

void TemplatePage::setVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary)
{
    m_vocabulary = vocabulary;
    if (m_highlighter)
        m_highlighter->setVocabulary(vocabulary);
    m_completer->setVocabulary(std::move(vocabulary));
}

void TemplatePage::showTemplate(TemplateDocument &document)
{
    m_document = &document;
    // Every new template's document is laid out for this editor and coloured lazily,
    // as it is built.
    document.setPreparation([](QTextDocument *built) {
        built->setDocumentLayout(new QPlainTextDocumentLayout(built));
        new OrderHighlighter(built, nullptr, true);
    });
    connect(&document, &TemplateDocument::documentReplaced, this, &TemplatePage::takeDocument);
    // A new template's document is being built: what is typed meanwhile would be lost.
    connect(&document, &TemplateDocument::buildingChanged, m_templateEditor,
        &QPlainTextEdit::setReadOnly);
    connect(&document, &TemplateDocument::savedChanged, this, &TemplatePage::showSaved);
    takeDocument();
    showSaved(document.isSaved());
}

void TemplatePage::takeDocument()
{
    QTextDocument *document = m_document->textDocument();
    if (m_templateEditor->document() == document)
        return;
    if (!qobject_cast<QPlainTextDocumentLayout *>(document->documentLayout()))
        document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    // The document stays the template's: the editor only shows it.
    m_templateEditor->setDocument(document);
    m_highlighter = document->findChild<OrderHighlighter *>(QString(), Qt::FindDirectChildrenOnly);
    if (!m_highlighter)
        m_highlighter = new OrderHighlighter(document, nullptr, true);
    m_highlighter->setEditor(m_templateEditor);
    m_highlighter->setVocabulary(m_vocabulary);
    m_templateEditor->setReadOnly(m_document->isBuilding());
}

void TemplatePage::showNewestTemplate()
{
    if (m_document)
        m_document->finishBuilding();
}

void TemplatePage::showEvent(QShowEvent *event)
{
    // A page that shows takes a template being built at once.
    showNewestTemplate();
    QWidget::showEvent(event);
}

int TemplatePage::cursorLine() const
{
    return m_templateEditor->textCursor().blockNumber();
}

void TemplatePage::focusEditor()
{
    m_templateEditor->setFocus(Qt::OtherFocusReason);
}

void TemplatePage::goToLine(int line)
{
    const QTextBlock block = m_templateEditor->document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    m_templateEditor->setTextCursor(QTextCursor(block));
    m_templateEditor->centerCursor();
    m_templateEditor->setFocus(Qt::OtherFocusReason);
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
    QTextCursor cursor = m_templateEditor->textCursor();
    if (cursor.selectedText().compare(text, Qt::CaseInsensitive) == 0) {
        cursor.insertText(m_replace->text());
        m_templateEditor->setTextCursor(cursor);
    }
    return findNext();
}

int TemplatePage::replaceAll()
{
    const QString text = m_find->text();
    if (text.isEmpty())
        return 0;
    QTextDocument *document = m_templateEditor->document();
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
    if (m_templateEditor->find(text, flags))
        return true;
    // Once more from the other end of the template.
    const QTextCursor keep = m_templateEditor->textCursor();
    QTextCursor cursor = keep;
    cursor.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    m_templateEditor->setTextCursor(cursor);
    if (m_templateEditor->find(text, flags))
        return true;
    m_templateEditor->setTextCursor(keep);
    return false;
}

} // namespace tolvimar
