#include "unitviewpanel.h"

#include "widgets.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
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
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto *grid = new QGridLayout;

    m_factionNumber = readOnlyEdit(QStringLiteral("Edit29"), this);
    m_factionNumber->setMaximumWidth(90);
    m_factionName = boundEdit(QStringLiteral("DBEdit2"), UnitBox::FactionName, 50);
    auto *faction = new QHBoxLayout;
    faction->addWidget(m_factionNumber);
    faction->addWidget(m_factionName, 1);
    auto *factionBox = new QVBoxLayout;
    factionBox->setSpacing(2);
    factionBox->addWidget(new QLabel(QStringLiteral("Parteizugehörigkeit"), this));
    factionBox->addLayout(faction);
    grid->addLayout(factionBox, 0, 0, 1, 3);
    m_camouflaged = new QCheckBox(QStringLiteral("getarnt?"), this);
    m_camouflaged->setObjectName(QStringLiteral("CheckBox3"));
    m_camouflaged->setEnabled(false);
    grid->addWidget(m_camouflaged, 0, 3, Qt::AlignBottom);

    m_persons = boundEdit(QStringLiteral("DBEdit23"), UnitBox::Persons);
    m_silver = boundEdit(QStringLiteral("DBEdit22"), UnitBox::Silver);
    m_status = boundEdit(QStringLiteral("DBEdit21"), UnitBox::Status, 25);
    m_hitpoints = boundEdit(QStringLiteral("DBEdit31"), UnitBox::Hitpoints, 20);
    grid->addLayout(captioned(QStringLiteral("Anzahl Personen"), m_persons), 1, 0);
    grid->addLayout(captioned(QStringLiteral("Silber"), m_silver), 1, 1);
    grid->addLayout(captioned(QStringLiteral("militärischer Status"), m_status), 1, 2);
    grid->addLayout(captioned(QStringLiteral("Kampfkraft"), m_hitpoints), 1, 3);

    m_items = listMemo(QStringLiteral("Memo2"), this);
    m_skills = listMemo(QStringLiteral("Memo3"), this);
    m_skills->setFont(fixedPitchFont());
    m_skills->setLineWrapMode(QPlainTextEdit::NoWrap);
    grid->addLayout(captioned(QStringLiteral("Gegenstände"), m_items), 2, 0, 1, 2);
    grid->addLayout(captioned(QStringLiteral("Talente"), m_skills), 2, 2, 1, 2);
    grid->setRowStretch(2, 3);

    m_description = new QPlainTextEdit(this);
    m_description->setObjectName(QStringLiteral("DBMemo1"));
    m_description->setEnabled(false);
    m_description->installEventFilter(this);
    grid->addLayout(captioned(QStringLiteral("Beschreibung"), m_description), 3, 0, 1, 4);
    grid->setRowStretch(3, 1);

    // The way of "Weg planen" for this unit, and the button that makes it its order;
    // on top, where it is seen while the pointer is on the map.
    m_travelTime = new QLabel(this);
    m_travelTime->setObjectName(QStringLiteral("LabelReisezeit"));
    m_travelTime->setWordWrap(true);
    m_travelTime->hide();
    m_takeMoveOrder = new QPushButton(QStringLiteral("In die Befehle übernehmen"), this);
    m_takeMoveOrder->setObjectName(QStringLiteral("ButtonInBefehle"));
    m_takeMoveOrder->hide();
    connect(m_takeMoveOrder, &QPushButton::clicked, this, &UnitViewPanel::moveOrderRequested);
    auto *travel = new QHBoxLayout;
    travel->addWidget(m_travelTime, 1);
    travel->addWidget(m_takeMoveOrder);
    column->addLayout(travel);
    column->addLayout(grid, 1);

    m_unitName = readOnlyEdit(QStringLiteral("DBEdit1"), this);
    m_unitNumber = readOnlyEdit(QStringLiteral("DBEdit5"), this);
    m_editedUnit = readOnlyEdit(QStringLiteral("Edit21"), this);
    for (QLineEdit *hidden : {m_unitName, m_unitNumber, m_editedUnit})
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
    if (!m_description->document()->isModified())
        return;
    m_description->document()->setModified(false);
    emit boxEdited(UnitBox::Description, m_description->toPlainText());
}

void UnitViewPanel::commitEdits()
{
    for (const auto &[edit, box] : std::as_const(m_boundEdits))
        commitLine(edit, box);
    commitDescription();
}

bool UnitViewPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_description && event->type() == QEvent::FocusOut)
        commitDescription();
    return QWidget::eventFilter(watched, event);
}

void UnitViewPanel::showUnit(const UnitViewTexts &unit, bool withDescription)
{
    m_factionNumber->setText(unit.factionNumber);
    m_factionName->setText(unit.factionName);
    m_camouflaged->setEnabled(unit.camouflageEnabled);
    m_camouflaged->setChecked(unit.camouflaged);
    m_persons->setText(unit.persons);
    m_silver->setText(unit.silver);
    m_status->setText(unit.status);
    m_hitpoints->setText(unit.hitpoints);
    for (const auto &bound : std::as_const(m_boundEdits)) {
        bound.first->setEnabled(true);
        bound.first->setCursorPosition(0);
    }
    m_items->setPlainText(unit.items.join(u'\n'));
    m_skills->setPlainText(unit.skills.join(u'\n'));
    m_unitName->setText(unit.name);
    m_unitNumber->setText(unit.numberField);
    if (withDescription)
        showDescription(unit.description);
    // Only an own unit's way can become its orders.
    const int own = unit.camouflageEnabled ? unit.number : 0;
    if (own != m_shownUnit) {
        m_shownUnit = own;
        emit unitShown(own);
    }
}

void UnitViewPanel::showTravelTime(const QString &text)
{
    m_travelTime->setText(text);
    m_travelTime->setVisible(!text.isEmpty());
    m_takeMoveOrder->setVisible(text.startsWith(QStringLiteral("Reisezeit:")));
}

void UnitViewPanel::showDescription(const QString &text)
{
    m_description->setEnabled(true);
    m_description->setPlainText(text);
    m_description->document()->setModified(false);
}

void UnitViewPanel::setEditedUnitText(const QString &text)
{
    m_editedUnit->setText(text);
}

QString UnitViewPanel::editedUnitText() const
{
    return m_editedUnit->text();
}

void UnitViewPanel::clearBoxes()
{
    m_items->clear();
    m_skills->clear();
}

void UnitViewPanel::clearUnit()
{
    clearBoxes();
    for (QLineEdit *edit : {m_factionNumber, m_factionName, m_unitName, m_unitNumber})
        edit->clear();
    for (const auto &bound : std::as_const(m_boundEdits)) {
        bound.first->clear();
        bound.first->setModified(false);
        bound.first->setEnabled(false);
    }
    m_camouflaged->setChecked(false);
    m_camouflaged->setEnabled(false);
    m_description->clear();
    m_description->document()->setModified(false);
    m_description->setEnabled(false);
    if (m_shownUnit != 0) {
        m_shownUnit = 0;
        emit unitShown(0);
    }
}

} // namespace tolvimar
