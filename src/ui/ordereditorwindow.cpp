#include "ordereditorwindow.h"

#include "base/prompter.h"
#include "ordercompleter.h"
#include "orderhighlighter.h"
#include "widgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>
#include <QVBoxLayout>

namespace tolvimar {

OrderEditorWindow::OrderEditorWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Befehlseditor"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);

    auto *top = new QHBoxLayout;
    auto *nameBox = new QVBoxLayout;
    nameBox->setSpacing(2);
    nameBox->addWidget(new QLabel(QStringLiteral("Einheit Name"), this));
    m_unitName = readOnlyEdit(QStringLiteral("Edit1"), this);
    nameBox->addWidget(m_unitName);
    top->addLayout(nameBox, 1);
    auto *marks = new QVBoxLayout;
    m_markBox = new QCheckBox(QStringLiteral("Markierung"), this);
    m_markBox->setObjectName(QStringLiteral("CheckBox1"));
    m_markBox->setToolTip(
        QStringLiteral("Markierte Einheiten werden auf der Karte nicht mehr angezeigt."));
    m_longMarkBox = new QCheckBox(QStringLiteral("lange Markierung"), this);
    m_longMarkBox->setObjectName(QStringLiteral("CheckBox2"));
    m_longMarkBox->setToolTip(
        QStringLiteral("Die Markierung wird auch in der nächsten Runde gesetzt."));
    marks->addWidget(m_markBox);
    marks->addWidget(m_longMarkBox);
    top->addLayout(marks);
    layout->addLayout(top);

    auto *group = new QGroupBox(QStringLiteral("Befehle der Einheit"), this);
    auto *groupLayout = new QVBoxLayout(group);
    m_ordersEdit = new QPlainTextEdit(group);
    m_ordersEdit->setObjectName(QStringLiteral("Memo1"));
    m_ordersEdit->setFont(fixedPitchFont());
    m_ordersEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_ordersEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_ordersEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    groupLayout->addWidget(m_ordersEdit);
    m_note = new QLabel(group);
    m_note->setObjectName(QStringLiteral("LabelHinweis"));
    m_note->setStyleSheet(QStringLiteral("color: #a00000;"));
    m_note->hide();
    groupLayout->addWidget(m_note);
    m_highlighter = new OrderHighlighter(m_ordersEdit->document(), m_ordersEdit, false);
    m_completer = new OrderCompleter(m_ordersEdit);
    m_completer->setPlaceSource([this] { return CompletionPlace {m_position, m_unitText}; });
    layout->addWidget(group, 1);

    auto *buttons = new QHBoxLayout;
    m_applyButton = new QPushButton(QStringLiteral("Befehle ausführen"), this);
    m_applyButton->setObjectName(QStringLiteral("Button1"));
    m_applyButton->setEnabled(false);
    m_hideButton = new QPushButton(QStringLiteral("Editor ausblenden"), this);
    m_hideButton->setObjectName(QStringLiteral("Button3"));
    buttons->addWidget(m_applyButton);
    buttons->addWidget(m_hideButton);
    layout->addLayout(buttons);
    resize(460, 360);

    connect(m_applyButton, &QPushButton::clicked, this, &OrderEditorWindow::Button1Click);
    connect(m_hideButton, &QPushButton::clicked, this, &OrderEditorWindow::Button3Click);
    connect(m_markBox, &QCheckBox::toggled, this, &OrderEditorWindow::CheckBox1Click);
    connect(m_longMarkBox, &QCheckBox::toggled, this, &OrderEditorWindow::CheckBox2Click);
    auto *save = new QShortcut(QKeySequence::Save, this);
    save->setObjectName(QStringLiteral("ShortcutSpeichern"));
    connect(save, &QShortcut::activated, this, &OrderEditorWindow::applyAndSave);
    // Typed in the orders, the key is the editor's even when no shortcut takes it.
    m_ordersEdit->installEventFilter(this);
}

bool OrderEditorWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ordersEdit
        && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Save)) {
        if (event->type() == QEvent::ShortcutOverride) {
            // Taken here, not by the main window's "Zugvorlage Speichern".
            event->accept();
            return true;
        }
        applyAndSave();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void OrderEditorWindow::fill(const QString &unitName, const QStringList &lines, UnitMark mark)
{
    m_markBox->setChecked(false);
    m_longMarkBox->setChecked(false);
    m_markBox->setChecked(mark == UnitMark::Plain);
    m_longMarkBox->setChecked(mark == UnitMark::Long);
    m_unitName->setText(unitName);
    m_ordersEdit->setReadOnly(false);
    m_note->hide();
    m_ordersEdit->setPlainText(lines.join(u'\n'));
    // Typing adds to the orders after the last one, never before the unit's header.
    m_ordersEdit->moveCursor(QTextCursor::End);
    m_ordersEdit->setFocus();
    m_applyButton->setEnabled(true);
    m_markBox->setEnabled(true);
    m_longMarkBox->setEnabled(true);
    m_marksOnly = false;
    markApplied();
}

void OrderEditorWindow::fillMarksOnly(const QString &unitName, UnitMark mark, const QString &note)
{
    fill(unitName, {}, mark);
    m_ordersEdit->setReadOnly(true);
    m_note->setText(note);
    m_note->show();
    m_marksOnly = true;
}

void OrderEditorWindow::fillReadOnly(
    const QString &unitName, const QStringList &lines, const QString &note)
{
    m_markBox->setChecked(false);
    m_longMarkBox->setChecked(false);
    m_markBox->setEnabled(false);
    m_longMarkBox->setEnabled(false);
    m_unitName->setText(unitName);
    m_ordersEdit->setPlainText(lines.join(u'\n'));
    m_ordersEdit->setReadOnly(true);
    m_note->setText(note);
    m_note->show();
    m_applyButton->setEnabled(false);
    m_marksOnly = false;
    markApplied();
}

bool OrderEditorWindow::isReadOnly() const
{
    return m_ordersEdit->isReadOnly() && !m_marksOnly;
}

void OrderEditorWindow::setNote(const QString &note)
{
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

bool OrderEditorWindow::hasChanges() const
{
    if (isReadOnly())
        return false;
    return mark() != m_shownMark || m_ordersEdit->toPlainText() != m_shownText;
}

void OrderEditorWindow::markApplied()
{
    m_shownText = m_ordersEdit->toPlainText();
    m_shownMark = mark();
    m_ordersEdit->document()->setModified(false);
}

bool OrderEditorWindow::settleChanges()
{
    if (!hasChanges())
        return true;
    // Without anyone to ask nothing is dropped: the changes are applied.
    const int choice = m_prompter
        ? m_prompter->askChoice(Prompter::Kind::Confirmation, QStringLiteral("Befehlseditor"),
            QStringLiteral("Die Befehle von %1 wurden geändert. Sollen sie übernommen werden?")
                .arg(m_unitName->text()),
            {QStringLiteral("Übernehmen"), QStringLiteral("Verwerfen"),
                QStringLiteral("Abbrechen")})
        : 0;
    switch (choice) {
    case 0:
        Button1Click();
        // A refused line keeps the editor open with the text as typed.
        return !hasChanges();
    case 1:
        m_ordersEdit->setPlainText(m_shownText);
        m_ordersEdit->moveCursor(QTextCursor::End);
        m_markBox->setChecked(m_shownMark == UnitMark::Plain);
        m_longMarkBox->setChecked(m_shownMark == UnitMark::Long);
        markApplied();
        return true;
    default:
        return false;
    }
}

void OrderEditorWindow::setVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary)
{
    m_highlighter->setVocabulary(vocabulary);
    m_completer->setVocabulary(std::move(vocabulary));
}

void OrderEditorWindow::setPlace(const QString &position, const QString &unitText)
{
    m_position = position;
    m_unitText = unitText;
}

QStringList OrderEditorWindow::memoLines() const
{
    return m_ordersEdit->toPlainText().split(u'\n');
}

UnitMark OrderEditorWindow::mark() const
{
    if (m_longMarkBox->isChecked())
        return UnitMark::Long;
    return m_markBox->isChecked() ? UnitMark::Plain : UnitMark::None;
}

void OrderEditorWindow::Button1Click()
{
    if (isReadOnly())
        return;
    emit ordersSubmitted(memoLines(), mark());
}

void OrderEditorWindow::Button3Click()
{
    if (settleChanges())
        hide();
}

void OrderEditorWindow::reject()
{
    if (settleChanges())
        QDialog::reject();
}

void OrderEditorWindow::applyAndSave()
{
    if (hasChanges()) {
        Button1Click();
        if (hasChanges())
            return;
    }
    emit saveRequested();
}

void OrderEditorWindow::CheckBox1Click()
{
    if (m_markBox->isChecked())
        m_longMarkBox->setChecked(false);
}

void OrderEditorWindow::CheckBox2Click()
{
    if (m_longMarkBox->isChecked())
        m_markBox->setChecked(false);
}

} // namespace tolvimar
