#include "templatepage.h"

#include "statusindicator.h"
#include "widgets.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
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

    m_richEdit4 = new QPlainTextEdit(this);
    m_richEdit4->setObjectName(QStringLiteral("RichEdit4"));
    m_richEdit4->setFont(fixedPitchFont());
    m_richEdit4->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_richEdit4, 1);

    connect(m_find, &QLineEdit::returnPressed, this,
        [this] { findNext(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
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
