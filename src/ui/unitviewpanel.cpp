#include "unitviewpanel.h"

#include "widgets.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tolvimar {

namespace {

// A caption above its box, as the page lays them out.
QVBoxLayout *captioned(const QString &caption, QWidget *box)
{
    auto *layout = new QVBoxLayout;
    layout->setSpacing(2);
    layout->addWidget(new QLabel(caption, box->parentWidget()));
    layout->addWidget(box);
    return layout;
}

QPlainTextEdit *listMemo(const QString &objectName, QWidget *parent)
{
    auto *memo = new QPlainTextEdit(parent);
    memo->setObjectName(objectName);
    memo->setReadOnly(true);
    return memo;
}

} // namespace

UnitViewPanel::UnitViewPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("UnitViewPanel"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);

    m_edit29 = readOnlyEdit(QStringLiteral("Edit29"), this);
    m_edit29->setMaximumWidth(90);
    m_dbEdit2 = boundEdit(QStringLiteral("DBEdit2"), UnitBox::FactionName, 50);
    auto *faction = new QHBoxLayout;
    faction->addWidget(m_edit29);
    faction->addWidget(m_dbEdit2, 1);
    auto *factionBox = new QVBoxLayout;
    factionBox->setSpacing(2);
    factionBox->addWidget(new QLabel(QStringLiteral("Parteizugehörigkeit"), this));
    factionBox->addLayout(faction);
    grid->addLayout(factionBox, 0, 0, 1, 3);
    m_checkBox3 = new QCheckBox(QStringLiteral("getarnt?"), this);
    m_checkBox3->setObjectName(QStringLiteral("CheckBox3"));
    m_checkBox3->setEnabled(false);
    grid->addWidget(m_checkBox3, 0, 3, Qt::AlignBottom);

    m_dbEdit23 = boundEdit(QStringLiteral("DBEdit23"), UnitBox::Persons);
    m_dbEdit22 = boundEdit(QStringLiteral("DBEdit22"), UnitBox::Silver);
    m_dbEdit21 = boundEdit(QStringLiteral("DBEdit21"), UnitBox::Status, 25);
    m_dbEdit31 = boundEdit(QStringLiteral("DBEdit31"), UnitBox::Hitpoints, 20);
    grid->addLayout(captioned(QStringLiteral("Anzahl Personen"), m_dbEdit23), 1, 0);
    grid->addLayout(captioned(QStringLiteral("Silber"), m_dbEdit22), 1, 1);
    grid->addLayout(captioned(QStringLiteral("militärischer Status"), m_dbEdit21), 1, 2);
    grid->addLayout(captioned(QStringLiteral("Kampfkraft"), m_dbEdit31), 1, 3);

    m_memo2 = listMemo(QStringLiteral("Memo2"), this);
    m_memo3 = listMemo(QStringLiteral("Memo3"), this);
    m_memo3->setFont(fixedPitchFont());
    m_memo3->setLineWrapMode(QPlainTextEdit::NoWrap);
    grid->addLayout(captioned(QStringLiteral("Gegenstände"), m_memo2), 2, 0, 1, 2);
    grid->addLayout(captioned(QStringLiteral("Talente"), m_memo3), 2, 2, 1, 2);
    grid->setRowStretch(2, 3);

    m_dbMemo1 = new QPlainTextEdit(this);
    m_dbMemo1->setObjectName(QStringLiteral("DBMemo1"));
    m_dbMemo1->setEnabled(false);
    m_dbMemo1->installEventFilter(this);
    grid->addLayout(captioned(QStringLiteral("Beschreibung"), m_dbMemo1), 3, 0, 1, 4);
    grid->setRowStretch(3, 1);

    m_dbEdit1 = readOnlyEdit(QStringLiteral("DBEdit1"), this);
    m_dbEdit5 = readOnlyEdit(QStringLiteral("DBEdit5"), this);
    m_edit21 = readOnlyEdit(QStringLiteral("Edit21"), this);
    for (QLineEdit *hidden : {m_dbEdit1, m_dbEdit5, m_edit21})
        hidden->hide();
}

QLineEdit *UnitViewPanel::boundEdit(const QString &objectName, UnitBox box, int maxLength)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    edit->setEnabled(false);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, box] { commitLine(edit, box); });
    m_boundEdits.append({edit, box});
    return edit;
}

void UnitViewPanel::commitLine(QLineEdit *edit, UnitBox box)
{
    if (!edit->isModified())
        return;
    edit->setModified(false);
    emit boxEdited(box, edit->text());
}

void UnitViewPanel::commitDescription()
{
    if (!m_dbMemo1->document()->isModified())
        return;
    m_dbMemo1->document()->setModified(false);
    emit boxEdited(UnitBox::Description, m_dbMemo1->toPlainText());
}

void UnitViewPanel::commitEdits()
{
    for (const auto &[edit, box] : std::as_const(m_boundEdits))
        commitLine(edit, box);
    commitDescription();
}

bool UnitViewPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_dbMemo1 && event->type() == QEvent::FocusOut)
        commitDescription();
    return QWidget::eventFilter(watched, event);
}

void UnitViewPanel::showUnit(const UnitViewTexts &unit, bool withDescription)
{
    m_edit29->setText(unit.factionNumber);
    m_dbEdit2->setText(unit.factionName);
    m_checkBox3->setEnabled(unit.camouflageEnabled);
    m_checkBox3->setChecked(unit.camouflaged);
    m_dbEdit23->setText(unit.persons);
    m_dbEdit22->setText(unit.silver);
    m_dbEdit21->setText(unit.status);
    m_dbEdit31->setText(unit.hitpoints);
    for (const auto &bound : std::as_const(m_boundEdits)) {
        bound.first->setEnabled(true);
        bound.first->setCursorPosition(0);
    }
    m_memo2->setPlainText(unit.items.join(u'\n'));
    m_memo3->setPlainText(unit.skills.join(u'\n'));
    m_dbEdit1->setText(unit.name);
    m_dbEdit5->setText(unit.numberField);
    if (withDescription)
        showDescription(unit.description);
}

void UnitViewPanel::showDescription(const QString &text)
{
    m_dbMemo1->setEnabled(true);
    m_dbMemo1->setPlainText(text);
    m_dbMemo1->document()->setModified(false);
}

void UnitViewPanel::setEditedUnitText(const QString &text)
{
    m_edit21->setText(text);
}

QString UnitViewPanel::editedUnitText() const
{
    return m_edit21->text();
}

void UnitViewPanel::clearBoxes()
{
    m_memo2->clear();
    m_memo3->clear();
}

void UnitViewPanel::clearUnit()
{
    clearBoxes();
    for (QLineEdit *edit : {m_edit29, m_dbEdit2, m_dbEdit1, m_dbEdit5})
        edit->clear();
    for (const auto &bound : std::as_const(m_boundEdits)) {
        bound.first->clear();
        bound.first->setModified(false);
        bound.first->setEnabled(false);
    }
    m_checkBox3->setChecked(false);
    m_checkBox3->setEnabled(false);
    m_dbMemo1->clear();
    m_dbMemo1->document()->setModified(false);
    m_dbMemo1->setEnabled(false);
}

} // namespace tolvimar
