#include "unitspage.h"

#include "app/session.h"
#include "attempt.h"
#include "base/identifiers.h"
#include "base/position.h"
#include "ordereditorwindow.h"
#include "unitlistmodel.h"
#include "unitviewpanel.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tolvimar {

UnitsPage::UnitsPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheetEinheiten"));
    auto *layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    auto *boxes = new QHBoxLayout;
    m_allUnitsBox = new QCheckBox(QStringLiteral("Alle"), this);
    m_allUnitsBox->setObjectName(QStringLiteral("CheckBox1"));
    m_allUnitsBox->setToolTip(QStringLiteral("Alle Einheiten oder nur eigene anzeigen"));
    m_allUnitsBox->setChecked(true);
    m_currentOnlyBox = new QCheckBox(QStringLiteral("Nur aktuelle Info"), this);
    m_currentOnlyBox->setObjectName(QStringLiteral("CheckBox2"));
    m_currentOnlyBox->setToolTip(QStringLiteral("Nur Informationen der letzten Runde anzeigen."));
    m_currentOnlyBox->setChecked(true);
    boxes->addWidget(m_allUnitsBox);
    boxes->addWidget(m_currentOnlyBox);
    boxes->addStretch();
    left->addLayout(boxes);
    left->addWidget(new QLabel(QStringLiteral("Einheiten in Region :"), this));
    m_unitList = new QListView(this);
    m_unitList->setObjectName(QStringLiteral("ListBox3"));
    m_unitList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_model = new UnitListModel(m_unitList);
    m_unitList->setModel(m_model);
    left->addWidget(m_unitList);
    // The unit view gets the larger share: its rows of boxes are wider than the names
    // of the list, and at 1150 pixels an even split would cut them.
    layout->addLayout(left, 1);

    // On a low window the unit view scrolls instead of holding the pages up.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBoxEinheit"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    m_unitView = new UnitViewPanel;
    scroll->setWidget(m_unitView);
    layout->addWidget(scroll, 2);

    connect(m_unitList, &QListView::clicked, this, &UnitsPage::ListBox3Click);
    connect(m_unitList, &QListView::doubleClicked, this, &UnitsPage::ListBox3DblClick);
    m_unitList->installEventFilter(this);
    connect(m_unitView, &UnitViewPanel::boxEdited, this, &UnitsPage::storeUnitBox);
}

UnitsPage::~UnitsPage() = default;

void UnitsPage::attach(Session &session)
{
    m_session = &session;
    m_unitRecord = std::make_unique<UnitRecord>(session.database());
    m_orderBlock = std::make_unique<OrderBlock>(
        session.orderTemplate(), session.database(), &session.workspaceLock());
}

void UnitsPage::setOrderEditor(OrderEditorWindow *editor)
{
    m_editor = editor;
    if (editor)
        connect(editor, &OrderEditorWindow::ordersSubmitted, this, &UnitsPage::applyEditedOrders);
}

bool UnitsPage::allUnits() const
{
    return m_allUnitsBox->isChecked();
}

bool UnitsPage::currentOnly() const
{
    return m_currentOnlyBox->isChecked();
}

void UnitsPage::showEntries(const QList<ListEntry> &entries)
{
    m_model->setEntries(entries);
    setProblemUnits(m_problemUnits);
    // No unit of the new region is selected yet: the view shows none.
    m_unitView->clearUnit();
    if (m_session)
        m_unitRecord = std::make_unique<UnitRecord>(m_session->database());
}

void UnitsPage::updateEntries(const QList<ListEntry> &entries)
{
    const int row = m_unitList->currentIndex().row();
    m_model->setEntries(entries);
    setProblemUnits(m_problemUnits);
    if (row >= 0 && row < entries.size())
        m_unitList->setCurrentIndex(m_model->index(row, 0));
}

int UnitsPage::rowOfUnit(int number) const
{
    const QList<ListEntry> &list = m_model->entries();
    for (int row = 0; row < list.size(); ++row) {
        if (list[row].kind == ListEntryKind::Unit && list[row].number == number)
            return row;
    }
    return -1;
}

bool UnitsPage::admitEveryUnit()
{
    if (m_allUnitsBox->isChecked() && !m_currentOnlyBox->isChecked())
        return false;
    m_allUnitsBox->setChecked(true);
    m_currentOnlyBox->setChecked(false);
    return true;
}

void UnitsPage::setProblemUnits(const QSet<qint64> &unitNumbers)
{
    m_problemUnits = unitNumbers;
    // Only the region's own units are marked: the model's set stays small.
    QSet<int> numbers;
    for (const ListEntry &entry : m_model->entries()) {
        if (entry.kind == ListEntryKind::Unit && unitNumbers.contains(entry.number))
            numbers.insert(entry.number);
    }
    m_model->setMarkedUnits(numbers);
}

bool UnitsPage::selectUnit(const QString &unitText)
{
    if (!m_session)
        return false;
    const ActiveGame &game = m_session->game();
    const QList<ListEntry> &list = m_model->entries();
    for (int row = 0; row < list.size(); ++row) {
        if (list[row].kind == ListEntryKind::Unit
            && numberText(list[row].number, game.type, game.base)
                    .compare(unitText, Qt::CaseInsensitive)
                == 0) {
            selectEntry(row);
            return true;
        }
    }
    return false;
}

void UnitsPage::commitEdits()
{
    m_unitView->commitEdits();
}

const QList<ListEntry> &UnitsPage::entries() const
{
    return m_model->entries();
}

void UnitsPage::selectEntry(int row)
{
    m_unitList->setCurrentIndex(m_model->index(row, 0));
    m_unitList->scrollTo(m_unitList->currentIndex());
    ListBox3Click();
}

std::optional<ListEntry> UnitsPage::currentEntry() const
{
    const QModelIndex current = m_unitList->currentIndex();
    if (!current.isValid() || current.row() >= m_model->entries().size())
        return std::nullopt;
    return m_model->entries().at(current.row());
}

bool UnitsPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease && watched == m_unitList)
        ListBox3KeyUp();
    return QWidget::eventFilter(watched, event);
}

void UnitsPage::ListBox3Click()
{
    // Edits of the shown row go there before another row is shown.
    m_unitView->commitEdits();
    const QModelIndex current = m_unitList->currentIndex();
    if (!m_session || !current.isValid())
        return;
    const ListEntry &entry = m_model->entries().at(current.row());
    // The units are stored under their region's position text.
    const std::optional<Position> region = m_session->mapState().shownRegion();
    const QString position = region ? positionText(*region) : QString();
    attempt(m_session->prompter(), QStringLiteral("Einheiten"), [&] {
        const std::optional<UnitRecord::Selection> selection
            = m_unitRecord->select(entry, m_session->game(), position);
        if (!selection)
            return;
        if (selection->unit)
            m_unitView->showUnit(*selection->unit);
        else
            m_unitView->showDescription(selection->description);
    });
}

void UnitsPage::ListBox3KeyUp()
{
    ListBox3Click();
}

void UnitsPage::ListBox3DblClick()
{
    if (!m_editor || !m_session)
        return;
    // Changes still pending for the unit shown before are settled first.
    if (m_editor->isVisible() && !m_editor->settleChanges())
        return;
    m_editor->show();
    m_editor->raise();
    attempt(m_session->prompter(), QStringLiteral("Befehlseditor"), [&] {
        // The unit the view shows, with the marks as stored now.
        const std::optional<UnitViewTexts> unit = m_unitRecord->refreshUnit(m_session->game());
        if (!unit)
            return;
        const OrderBlock::Opened opened = m_orderBlock->open(m_session->game(), *unit);
        emit editorOpening();
        m_editor->setPlace(unit->position, m_orderBlock->unitText());
        // Only the template's blocks of own units are written back.
        if (!unit->camouflageEnabled) {
            m_editor->fillReadOnly(m_orderBlock->unitName(), opened.lines,
                QStringLiteral("fremde Einheit: keine Befehle"));
            return;
        }
        // Without a block only the marks can be set; they are stored all the same.
        if (opened.lines.isEmpty()) {
            m_editor->fillMarksOnly(m_orderBlock->unitName(), opened.mark,
                QStringLiteral("Die Zugvorlage hat keinen Block für diese Einheit; nur die "
                               "Markierung kann gesetzt werden."));
            m_unitView->setEditedUnitText(m_orderBlock->unitText());
            return;
        }
        m_editor->fill(m_orderBlock->unitName(), opened.lines, opened.mark);
        if (opened.blocks > 1)
            m_editor->setNote(QStringLiteral("Die Zugvorlage hat %1 Blöcke dieser Einheit; "
                                             "jeder beginnt hier mit ihrer Kopfzeile.")
                                  .arg(opened.blocks));
        m_unitView->setEditedUnitText(m_orderBlock->unitText());
    });
}

void UnitsPage::applyEditedOrders(const QStringList &lines, UnitMark mark)
{
    if (m_session) {
        if (attempt(m_session->prompter(), QStringLiteral("Befehlseditor"),
                [&] { m_orderBlock->apply(lines, mark); })) {
            if (m_editor)
                m_editor->markApplied();
            emit ordersApplied();
        }
    }
}

void UnitsPage::storeUnitBox(UnitBox box, const QString &text)
{
    if (!m_session)
        return;
    const bool stored = attempt(m_session->prompter(), QStringLiteral("Einheiten"),
        [&] { m_unitRecord->store(box, text); });
    // A refused value: the box shows the stored one again.
    if (!stored && box != UnitBox::Description && m_unitRecord->unit())
        m_unitView->showUnit(*m_unitRecord->unit(), false);
}

} // namespace tolvimar
