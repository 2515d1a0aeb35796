#include "statuspage.h"

#include "report/reportpages.h"
#include "statusindicator.h"
#include "widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

namespace tolvimar {

StatusPage::StatusPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheetStatus"));
    auto *layout = new QHBoxLayout(this);
    // Two columns of label and field keep the page low.
    auto *form = new QGridLayout;
    const struct
    {
        StatusField field;
        const char *name;
        const char *label;
    } fields[] = {
        {StatusField::ParteiName, "EditParteiName", "Partei Name"},
        {StatusField::Datum, "Edit6", "Datum"},
        {StatusField::Punkte, "EditPunkte", "Punkte :"},
        {StatusField::PunkteMittel, "EditPunkteMittel", "Punkte mittel:"},
        {StatusField::Einheiten, "Edit7", "Einheiten"},
        {StatusField::Personen, "Edit8", "Personen"},
        {StatusField::Silber, "Edit13", "Silber"},
        {StatusField::Imigranten, "EditImigranten", "Imigranten"},
        {StatusField::MaxImigranten, "EditMaxImigranten", "max. Imigranten"},
    };
    int i = 0;
    for (const auto &f : fields) {
        QLineEdit *edit = readOnlyEdit(QString::fromLatin1(f.name), this);
        // Wide enough for what the field holds: a name or a date, or a number.
        const bool text = f.field == StatusField::ParteiName || f.field == StatusField::Datum;
        const QString sample
            = text ? QStringLiteral("September im Jahre 99") : QStringLiteral("-2147483648");
        const int width = edit->fontMetrics().horizontalAdvance(sample) + 16;
        if (text) {
            edit->setMinimumWidth(width);
        } else {
            // A number field gives up width on a narrow screen down to seven digits.
            edit->setMinimumWidth(
                edit->fontMetrics().horizontalAdvance(QStringLiteral("-999999")) + 16);
            edit->setMaximumWidth(width);
        }
        m_edits[int(f.field)] = edit;
        const int row = i % 5;
        const int column = (i / 5) * 2;
        form->addWidget(new QLabel(QString::fromUtf8(f.label), this), row, column);
        form->addWidget(m_edits[int(f.field)], row, column + 1);
        ++i;
    }
    form->setRowStretch(5, 1);
    layout->addLayout(form, 2);

    // The save light and the checker button stand over the alliances, in one column, so
    // that the page fits beside the maps on a small screen and both are seen even when
    // the pages are collapsed.
    auto *orders = new QVBoxLayout;
    auto *autosave = new QHBoxLayout;
    m_savedLight = new StatusIndicator(this);
    m_savedLight->setObjectName(QStringLiteral("Shape1"));
    m_savedLight->setToolTip(QStringLiteral("Zeigt an ob der Zug gespeichert wurde"));
    auto *label = new QLabel(QStringLiteral("Autosave"), this);
    label->setObjectName(QStringLiteral("StaticText1"));
    label->setToolTip(QStringLiteral("Zeigt an ob der Zug gespeichert wurde"));
    autosave->addWidget(m_savedLight);
    autosave->addWidget(label);
    autosave->addStretch();
    orders->addLayout(autosave);
    auto *checkButton = new QPushButton(QStringLiteral("Zug prüfen lassen"), this);
    checkButton->setObjectName(QStringLiteral("Button6"));
    connect(checkButton, &QPushButton::clicked, this, &StatusPage::checkRequested);
    orders->addWidget(checkButton);
    orders->addWidget(new QLabel(pageTitle(Page::Buendnisse), this));
    m_alliances = new QListView(this);
    m_alliances->setObjectName(QStringLiteral("ListBoxBuendnisse"));
    m_alliances->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_allianceModel = new QStringListModel(m_alliances);
    m_alliances->setModel(m_allianceModel);
    orders->addWidget(m_alliances, 1);
    layout->addLayout(orders, 1);
}

void StatusPage::showStatus(const StatusValues &status)
{
    for (int i = 0; i < kSavedStatusFields; ++i)
        m_edits[i]->setText(status.values[i]);
}

void StatusPage::showAlliances(const QStringList &lines)
{
    m_allianceModel->setStringList(lines);
}

void StatusPage::showSaved(bool saved)
{
    m_savedLight->setSaved(saved);
}

} // namespace tolvimar
