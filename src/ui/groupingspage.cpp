#include "groupingspage.h"

#include "app/session.h"
#include "attempt.h"
#include "base/errors.h"
#include "base/identifiers.h"
#include "base/prompter.h"
#include "factionchoice.h"
#include "gridmodel.h"
#include "military/groupings.h"
#include "military/selectiontexts.h"
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
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheetGruppierungen"));
    auto *layout = new QVBoxLayout(this);
    auto *controls = new QGridLayout;
    layout->addWidget(sidewaysRow(controls, this));

    auto addLabelled = [&](int column, const QString &label, QWidget *widget) {
        controls->addWidget(new QLabel(label, this), 0, column);
        controls->addWidget(widget, 1, column);
    };
    m_group = new QComboBox(this);
    m_group->setObjectName(QStringLiteral("ComboBoxGruppe"));
    m_group->addItems(Groupings::groupChoices());
    addLabelled(0, QStringLiteral("Gruppe"), m_group);

    m_faction = new QComboBox(this);
    m_faction->setObjectName(QStringLiteral("DBLookupComboBoxPartei"));
    m_faction->setMinimumContentsLength(14);
    addLabelled(1, QStringLiteral("Partei Name"), m_faction);
    m_factionNumber = readOnlyEdit(QStringLiteral("DBEditParteiNr"), this);
    m_factionNumber->setMaximumWidth(70);
    addLabelled(2, QStringLiteral("Partei Nr"),
        factionNumberBox(m_faction, m_factionNumber, QStringLiteral("LabelAlleParteien"), this));

    m_unitNumber = new QLineEdit(this);
    m_unitNumber->setObjectName(QStringLiteral("EditEinheitNr"));
    m_unitNumber->setMaximumWidth(70);
    addLabelled(3, QStringLiteral("Einheit Nr"), m_unitNumber);
    m_unitName = new QLineEdit(this);
    m_unitName->setObjectName(QStringLiteral("EditEinheitName"));
    m_unitName->setToolTip(QStringLiteral("Ein Teil des Namens, groß oder klein geschrieben; "
                                          "in Anführungszeichen (\"Name\") genau dieser Name"));
    addLabelled(4, QStringLiteral("Einheit Name"), m_unitName);

    m_comparison = new QComboBox(this);
    m_comparison->setObjectName(QStringLiteral("ComboBoxVergleich"));
    m_comparison->addItems(comparisonChoices());
    addLabelled(5, QString(), m_comparison);
    m_infoDatum = new QLineEdit(this);
    m_infoDatum->setObjectName(QStringLiteral("EditInfoDatumGruppierungen"));
    m_infoDatum->setMaximumWidth(70);
    addLabelled(6, QStringLiteral("Info Datum"), m_infoDatum);

    m_count = readOnlyEdit(QStringLiteral("EditAnzahl"), this);
    m_count->setMaximumWidth(60);
    addLabelled(7, QStringLiteral("Anzahl"), m_count);
    m_bericht = new QPushButton(QStringLiteral("Bericht"), this);
    m_bericht->setObjectName(QStringLiteral("ButtonBerichtGruppen"));
    controls->addWidget(m_bericht, 1, 8);
    controls->setColumnStretch(4, 1);

    auto *hint = new QLabel(
        QStringLiteral(
            "Rechtsclick auf das Tabellenfeld Gruppe um die Gruppenzugehörigkeit zu ändern."),
        this);
    hint->setObjectName(QStringLiteral("LabelHinweis"));
    layout->addWidget(hint);

    m_stringGrid4 = new ReportGrid(QStringLiteral("StringGrid4"), Groupings::headings(), this);
    m_stringGrid4->viewport()->installEventFilter(this);
    connect(m_stringGrid4, &ReportGrid::rowActivated, this, [this](const QVariant &key) {
        const UnitKey unit = key.value<UnitKey>();
        if (unit.place)
            emit unitActivated(*unit.place, unit.number);
    });
    layout->addWidget(m_stringGrid4, 1);

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

void GroupingsPage::attach(Session &session)
{
    m_session = &session;
    m_groupings = std::make_unique<Groupings>(session.database());
    // A new game or an import may bring other factions.
    connect(&session, &Session::gameChanged, this, &GroupingsPage::loadFactions);
    loadFactions();
}

void GroupingsPage::showInfoDatum(qint64 turn)
{
    m_infoDatum->setText(QString::number(turn));
}

void GroupingsPage::loadFactions()
{
    if (!m_session)
        return;
    attempt(
        [this] {
            fillFactionChoice(m_faction, m_groupings->factionChoices(m_session->game().number));
        },
        [this](const QString &message) { showError(message); });
}

void GroupingsPage::Gruppierungen()
{
    if (!m_session)
        return;
    GroupingSelection selection;
    selection.group = m_group->currentText();
    bool numberShown = false;
    const int faction = m_factionNumber->text().toInt(&numberShown);
    selection.faction = numberShown ? faction : kAllFactions;
    selection.unitNumber = m_unitNumber->text();
    selection.unitName = m_unitName->text();
    selection.dateComparison = m_comparison->currentText();
    selection.date = m_infoDatum->text();
    attempt(
        [&] {
            BusyScope busy(m_session->prompter());
            GroupingReport report = m_groupings->report(m_session->game(), selection);
            m_count->setText(QString::number(report.count));
            if (report.units.isEmpty())
                m_stringGrid4->showRows(report.gridRows());
            else
                m_stringGrid4->showRows(
                    Groupings::headings(), std::make_shared<GroupingRows>(std::move(report)));
        },
        [this](const QString &message) { showError(message); });
}

bool GroupingsPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_stringGrid4->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        StringGrid4MouseDown(mouse->button(), mouse->position().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

void GroupingsPage::StringGrid4MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    if (button != Qt::RightButton)
        return;
    const QModelIndex index = m_stringGrid4->indexAt(pos);
    if (!index.isValid() || index.column() != kGroupColumn)
        return;
    // The empty row of an empty report holds no unit.
    if (!m_stringGrid4->rowKey(index.row()).isValid())
        return;
    m_stringGrid4->selectRow(index.row());
    m_groupMenu->popup(m_stringGrid4->viewport()->mapToGlobal(pos));
}

void GroupingsPage::groupchange(const QString &caption)
{
    const int row = m_stringGrid4->currentRow();
    if (!m_session || row < 0)
        return;
    const QVariant key = m_stringGrid4->rowKey(row);
    if (!key.isValid())
        return;
    const UnitKey unit = key.value<UnitKey>();
    attempt(
        [&] {
            if (m_groupings->groupchange(
                    m_session->game(), caption, unit, &m_session->workspaceLock())) {
                m_stringGrid4->setCellText(row, kGroupColumn, caption);
            } else if (caption != QStringLiteral("Steuereintreiber")) {
                showError(QStringLiteral("Die Einheit %1 in %2 ist nicht mehr in der Datenbank.")
                              .arg(idToStr(unit.number, m_session->game().base),
                                  unit.place ? positionText(*unit.place) : QString()));
            }
        },
        [this](const QString &message) { showError(message); });
}

void GroupingsPage::showError(const QString &text)
{
    if (m_session)
        m_session->prompter().message(Prompter::Kind::Error, QStringLiteral("Gruppierungen"), text);
}

} // namespace tolvimar
