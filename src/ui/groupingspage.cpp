#include "groupingspage.h"

#include "app/session.h"
#include "base/errors.h"
#include "base/identifiers.h"
#include "base/prompter.h"
#include "gridmodel.h"
#include "military/groupings.h"
#include "reportgrid.h"
#include "widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvimar {

namespace {
constexpr int kGroupColumn = 0;

// The units of a report in the grid: a cell's text is made when it is shown, the
// counts sort by their numbers.
class GroupingRows : public GridRowSource
{
public:
    explicit GroupingRows(GroupingReport report)
        : m_report(std::move(report))
    {
    }
    int rowCount() const override { return int(m_report.units.size()); }
    QString cellText(int row, int column) const override { return m_report.cellText(row, column); }
    bool cellNumber(int row, int column, qlonglong *number) const override
    {
        if (const std::optional<qint64> count
            = Groupings::shownCount(m_report.units[row], column)) {
            *number = *count;
            return true;
        }
        return GridRowSource::cellNumber(row, column, number);
    }
    QVariant key(int row) const override
    {
        const GroupingUnitRow &unit = m_report.units[row];
        return QVariant::fromValue(unitKey(unit.position, unit.number));
    }

private:
    GroupingReport m_report;
};
} // namespace

GroupingsPage::GroupingsPage(QWidget *parent)
    : MilitaryListPage(
        QStringLiteral("TabSheetGruppierungen"), QStringLiteral("Gruppierungen"), parent)
{
    m_group = new QComboBox(this);
    m_group->setObjectName(QStringLiteral("ComboBoxGruppe"));
    m_group->addItems(Groupings::groupChoices());
    addLabelled(0, QStringLiteral("Gruppe"), m_group);
    addFactionChoice(1, QStringLiteral("DBLookupComboBoxPartei"), QStringLiteral("DBEditParteiNr"),
        QStringLiteral("LabelAlleParteien"));

    m_unitNumber = new QLineEdit(this);
    m_unitNumber->setObjectName(QStringLiteral("EditEinheitNr"));
    m_unitNumber->setMaximumWidth(70);
    addLabelled(3, QStringLiteral("Einheit Nr"), m_unitNumber);
    m_unitName = new QLineEdit(this);
    m_unitName->setObjectName(QStringLiteral("EditEinheitName"));
    m_unitName->setToolTip(QStringLiteral("Ein Teil des Namens, groß oder klein geschrieben; "
                                          "in Anführungszeichen (\"Name\") genau dieser Name"));
    addLabelled(4, QStringLiteral("Einheit Name"), m_unitName);
    addDateChoice(
        5, QStringLiteral("ComboBoxVergleich"), QStringLiteral("EditInfoDatumGruppierungen"));

    m_count = readOnlyEdit(QStringLiteral("EditAnzahl"), this);
    m_count->setMaximumWidth(60);
    addLabelled(7, QStringLiteral("Anzahl"), m_count);
    m_bericht = addReportButton(8, QStringLiteral("ButtonBerichtGruppen"));
    controls()->setColumnStretch(4, 1);

    auto *hint = new QLabel(
        QStringLiteral(
            "Rechtsclick auf das Tabellenfeld Gruppe um die Gruppenzugehörigkeit zu ändern."),
        this);
    hint->setObjectName(QStringLiteral("LabelHinweis"));
    pageLayout()->addWidget(hint);

    addGrid(QStringLiteral("StringGrid4"), Groupings::headings());
    m_grid->viewport()->installEventFilter(this);
    connect(m_grid, &ReportGrid::rowActivated, this, [this](const QVariant &key) {
        const UnitKey unit = key.value<UnitKey>();
        if (unit.place)
            emit unitActivated(*unit.place, unit.number);
    });

    m_groupMenu = new QMenu(this);
    m_groupMenu->setObjectName(QStringLiteral("PopupMenuGruppe"));
    for (const QString &entry : Groupings::groupMenuEntries()) {
        QAction *action = m_groupMenu->addAction(entry);
        // "MenuGruppe2Armee" for "2. Armee".
        QString name = entry;
        name.removeIf([](QChar c) { return !c.isLetterOrNumber(); });
        action->setObjectName(QStringLiteral("MenuGruppe") + name);
        connect(action, &QAction::triggered, this, [this, entry] { groupchange(entry); });
    }

    connect(m_bericht, &QPushButton::clicked, this, &GroupingsPage::Gruppierungen);
}

GroupingsPage::~GroupingsPage() = default;

void GroupingsPage::openQueries(Database &database)
{
    m_groupings = std::make_unique<Groupings>(database);
}

QVector<FactionRow> GroupingsPage::factionChoices(int game)
{
    return m_groupings->factionChoices(game);
}

void GroupingsPage::Gruppierungen()
{
    if (!m_session)
        return;
    GroupingSelection selection;
    selection.group = m_group->currentText();
    selection.faction = chosenFaction();
    selection.unitNumber = m_unitNumber->text();
    selection.unitName = m_unitName->text();
    selection.dateComparison = dateComparison();
    selection.date = date();
    run([&] {
        BusyScope busy(m_session->prompter());
        GroupingReport report = m_groupings->report(m_session->game(), selection);
        m_count->setText(QString::number(report.count));
        if (report.units.isEmpty())
            m_grid->showRows(report.gridRows());
        else
            m_grid->showRows(
                Groupings::headings(), std::make_shared<GroupingRows>(std::move(report)));
    });
}

bool GroupingsPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        StringGrid4MouseDown(mouse->button(), mouse->position().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

void GroupingsPage::StringGrid4MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    if (button != Qt::RightButton)
        return;
    const QModelIndex index = m_grid->indexAt(pos);
    if (!index.isValid() || index.column() != kGroupColumn)
        return;
    // The empty row of an empty report holds no unit.
    if (!m_grid->rowKey(index.row()).isValid())
        return;
    m_grid->selectRow(index.row());
    m_groupMenu->popup(m_grid->viewport()->mapToGlobal(pos));
}

void GroupingsPage::groupchange(const QString &caption)
{
    const int row = m_grid->currentRow();
    if (!m_session || row < 0)
        return;
    const QVariant key = m_grid->rowKey(row);
    if (!key.isValid())
        return;
    const UnitKey unit = key.value<UnitKey>();
    run([&] {
        if (m_groupings->groupchange(
                m_session->game(), caption, unit, &m_session->workspaceLock())) {
            m_grid->setCellText(row, kGroupColumn, caption);
        } else if (caption != QStringLiteral("Steuereintreiber")) {
            showError(QStringLiteral("Die Einheit %1 in %2 ist nicht mehr in der Datenbank.")
                          .arg(idToStr(unit.number, m_session->game().base),
                              unit.place ? positionText(*unit.place) : QString()));
        }
    });
}

} // namespace tolvimar
