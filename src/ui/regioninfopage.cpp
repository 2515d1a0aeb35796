#include "regioninfopage.h"

#include "map/regiondetail.h"
#include "widgets.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tolvimar {

namespace {

using namespace Qt::StringLiterals;

const QString kLuxuries[7]
    = {u"Balsam"_s, u"Gewürze"_s, u"Juwelen"_s, u"Myrrhe"_s, u"Oel"_s, u"Seide"_s, u"Weihrauch"_s};
const QString kLuxuryFields[7]
    = {u"Balsam"_s, u"Gewuerz"_s, u"Juwel"_s, u"Myrrhe"_s, u"Oel"_s, u"Seide"_s, u"Weihrauch"_s};

// The value of a field of the region row by its name.
QVariant regionField(const RegionRow &r, const QString &name)
{
    static const QHash<QString, QVariant (*)(const RegionRow &)> fields = {
        {u"Regionname"_s, [](const RegionRow &r) { return QVariant(r.name); }},
        {u"Regiontyp"_s, [](const RegionRow &r) { return QVariant(r.terrain); }},
        {u"Breite"_s, [](const RegionRow &r) { return QVariant(r.x); }},
        {u"Länge"_s, [](const RegionRow &r) { return QVariant(r.y); }},
        {u"Holzstämme"_s, [](const RegionRow &r) { return r.trees; }},
        {u"Bauern"_s, [](const RegionRow &r) { return r.peasants; }},
        {u"Pferde"_s, [](const RegionRow &r) { return r.horses; }},
        {u"Eisen"_s, [](const RegionRow &r) { return r.iron; }},
        {u"Lean"_s, [](const RegionRow &r) { return r.laen; }},
        {u"Mallorn"_s, [](const RegionRow &r) { return r.mallorn; }},
        {u"Arbeitslohn"_s, [](const RegionRow &r) { return r.wage; }},
        {u"VermögenBauern"_s, [](const RegionRow &r) { return r.peasantSilver; }},
        {u"Unterhaltung max"_s, [](const RegionRow &r) { return r.entertainment; }},
        {u"Rekrutieren"_s, [](const RegionRow &r) { return r.recruits; }},
        {u"Luxusgüter"_s, [](const RegionRow &r) { return r.luxury; }},
        {u"Balsam"_s, [](const RegionRow &r) { return r.prices[0]; }},
        {u"Gewuerz"_s, [](const RegionRow &r) { return r.prices[1]; }},
        {u"Juwel"_s, [](const RegionRow &r) { return r.prices[2]; }},
        {u"Myrrhe"_s, [](const RegionRow &r) { return r.prices[3]; }},
        {u"Oel"_s, [](const RegionRow &r) { return r.prices[4]; }},
        {u"Seide"_s, [](const RegionRow &r) { return r.prices[5]; }},
        {u"Weihrauch"_s, [](const RegionRow &r) { return r.prices[6]; }},
        {u"Strasse"_s, [](const RegionRow &r) { return r.roads[0]; }},
        {u"Strasse1"_s, [](const RegionRow &r) { return r.roads[1]; }},
        {u"Strasse2"_s, [](const RegionRow &r) { return r.roads[2]; }},
        {u"Strasse3"_s, [](const RegionRow &r) { return r.roads[3]; }},
        {u"Strasse4"_s, [](const RegionRow &r) { return r.roads[4]; }},
        {u"Strasse5"_s, [](const RegionRow &r) { return r.roads[5]; }},
    };
    const auto getter = fields.constFind(name);
    return getter == fields.cend() ? QVariant() : (*getter)(r);
}

// A caption above its control, as the page's panels are.
QWidget *captioned(const QString &caption, QWidget *control, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(new QLabel(caption, box));
    layout->addWidget(control);
    return box;
}

// Object names of the bound fields: "DBEdit" and the field name in plain letters.
QString editName(QString field)
{
    field.replace(u"ä"_s, u"ae"_s).replace(u"ö"_s, u"oe"_s).replace(u"ü"_s, u"ue"_s);
    field.remove(u' ');
    return u"DBEdit"_s + field;
}

} // namespace

RegionInfoPage::RegionInfoPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(u"TabSheet9"_s);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    // The page shares the right side with other pages; it scrolls rather than squeeze.
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    outer->addWidget(scroll);
    auto *content = new QWidget(scroll);
    scroll->setWidget(content);

    auto *columns = new QHBoxLayout(content);
    columns->setContentsMargins(4, 4, 4, 4);
    auto *left = new QVBoxLayout;
    left->addWidget(buildRegionBox());
    auto *tradeAndRoads = new QHBoxLayout;
    tradeAndRoads->addWidget(buildTradeBox(), 1);
    tradeAndRoads->addWidget(buildRoadBox());
    left->addLayout(tradeAndRoads);
    m_description = new QPlainTextEdit(content);
    m_description->setObjectName(u"DBMemoBeschreibung"_s);
    m_description->setMinimumHeight(48);
    m_description->installEventFilter(this);
    left->addWidget(captioned(u"Region Beschreibung"_s, m_description, content), 1);
    columns->addLayout(left, 3);

    auto *right = new QVBoxLayout;
    m_memo8 = new QPlainTextEdit(content);
    m_memo8->setObjectName(u"Memo8"_s);
    m_memo8->setReadOnly(true);
    right->addWidget(captioned(u"Region Umgebung"_s, m_memo8, content), 2);
    m_memo7 = new QPlainTextEdit(content);
    m_memo7->setObjectName(u"Memo7"_s);
    m_memo7->setReadOnly(true);
    m_memo7->setLineWrapMode(QPlainTextEdit::NoWrap);
    right->addWidget(captioned(u"Die Region wird bewacht von :"_s, m_memo7, content), 1);
    right->addWidget(buildPropertyBox());
    columns->addLayout(right, 2);

    setEditable(false);
}

QLineEdit *RegionInfoPage::addField(
    const QString &name, const QString &objectName, bool editable, bool number, int width)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    edit->setReadOnly(!editable);
    if (width > 0)
        edit->setMaximumWidth(width);
    if (number) {
        // A whole number or nothing; an emptied field stores an empty value.
        static const QRegularExpression digits(u"(-?\\d{1,9})?"_s);
        edit->setValidator(new QRegularExpressionValidator(digits, edit));
    } else if (name == u"Regionname") {
        edit->setMaxLength(20);
    }
    const Field field {name, edit, editable, number};
    m_fields.append(field);
    if (editable)
        connect(edit, &QLineEdit::editingFinished, this, [this, field] { commitField(field); });
    return edit;
}

QWidget *RegionInfoPage::buildRegionBox()
{
    auto *box = new QGroupBox(u"Region"_s, this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    const auto place = [&](const QString &caption, const QString &field, bool editable, int row,
                           int column, int span = 1) {
        const bool number = field != u"Regionname" && field != u"Regiontyp";
        QLineEdit *edit = addField(field, editName(field), editable, number, number ? 80 : 0);
        grid->addWidget(captioned(caption, edit, box), row, column, 1, span);
    };
    place(u"Region Name"_s, u"Regionname"_s, true, 0, 0, 3);
    place(u"Region Typ"_s, u"Regiontyp"_s, false, 0, 3, 2);
    auto *xy = new QWidget(box);
    auto *xyLayout = new QHBoxLayout(xy);
    xyLayout->setContentsMargins(0, 0, 0, 0);
    xyLayout->setSpacing(2);
    xyLayout->addWidget(addField(u"Breite"_s, editName(u"Breite"_s), false, true, 48));
    xyLayout->addWidget(new QLabel(u"/"_s, xy));
    xyLayout->addWidget(addField(u"Länge"_s, editName(u"Länge"_s), false, true, 48));
    xyLayout->addStretch();
    grid->addWidget(captioned(u"X / Y"_s, xy, box), 0, 5, 1, 2);
    place(u"Bäume"_s, u"Holzstämme"_s, false, 1, 0);
    place(u"Bauern"_s, u"Bauern"_s, false, 1, 1);
    place(u"Pferde"_s, u"Pferde"_s, false, 1, 2);
    place(u"Lohn"_s, u"Arbeitslohn"_s, false, 1, 3);
    place(u"Bauern Silber"_s, u"VermögenBauern"_s, false, 1, 4);
    place(u"Unterhaltung"_s, u"Unterhaltung max"_s, false, 1, 5);
    place(u"rekrutieren"_s, u"Rekrutieren"_s, true, 1, 6);
    place(u"Eisen"_s, u"Eisen"_s, false, 2, 0);
    place(u"Laen"_s, u"Lean"_s, false, 2, 1);
    place(u"Mallorn"_s, u"Mallorn"_s, false, 2, 2);
    return box;
}

QWidget *RegionInfoPage::buildTradeBox()
{
    auto *box = new QGroupBox(u"Handel"_s, this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    grid->addWidget(captioned(u"Luxusgüter zum Preis"_s,
                        addField(u"Luxusgüter"_s, editName(u"Luxusgüter"_s), true, true, 80), box),
        0, 0, 1, 2);
    for (int i = 0; i < 7; ++i) {
        QLineEdit *edit = addField(kLuxuryFields[i], editName(kLuxuryFields[i]), true, true, 64);
        const int cell = i + 2; // after the two cells of the price level
        grid->addWidget(captioned(kLuxuries[i], edit, box), cell / 5, cell % 5);
    }
    return box;
}

QWidget *RegionInfoPage::buildRoadBox()
{
    // The six road values around the region like the neighbours of a hexagon.
    auto *box = new QGroupBox(u"Straße"_s, this);
    auto *grid = new QGridLayout(box);
    grid->setSpacing(2);
    static const QString directions[6]
        = {u"Nordwesten"_s, u"Nordosten"_s, u"Osten"_s, u"Südosten"_s, u"Südwesten"_s, u"Westen"_s};
    const auto road = [&](int direction, int row, int column) {
        const QString field = direction == 0 ? u"Strasse"_s : u"Strasse%1"_s.arg(direction);
        QLineEdit *edit = addField(field, editName(field), false, true, 34);
        edit->setAlignment(Qt::AlignCenter);
        edit->setToolTip(
            u"Straße nach %1: Ausbau in Prozent (100 = fertig)"_s.arg(directions[direction]));
        grid->addWidget(edit, row, column, 1, 2);
    };
    road(0, 0, 1); // upper left
    road(1, 0, 3); // upper right
    road(5, 1, 0); // left
    auto *centre = new QLabel(u"X"_s, box);
    centre->setAlignment(Qt::AlignCenter);
    grid->addWidget(centre, 1, 2, 1, 2);
    road(2, 1, 4); // right
    road(4, 2, 1); // lower left
    road(3, 2, 3); // lower right
    return box;
}

QWidget *RegionInfoPage::buildPropertyBox()
{
    auto *box = new QGroupBox(u"Parteieigentum"_s, this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    const QString captions[7]
        = {u"Silber"_s, u"Leute"_s, u"Holz"_s, u"Stein"_s, u"Eisen"_s, u"Lean"_s, u"Mallorn"_s};
    const QString names[7]
        = {u"Edit1"_s, u"Edit9"_s, u"Edit14"_s, u"Edit15"_s, u"Edit16"_s, u"Edit24"_s, u"Edit25"_s};
    for (int i = 0; i < 7; ++i) {
        m_property[i] = readOnlyEdit(names[i], box);
        m_property[i]->setMaximumWidth(90);
        m_property[i]->setText(u"0"_s);
        grid->addWidget(new QLabel(captions[i], box), i, 0);
        grid->addWidget(m_property[i], i, 1);
    }
    m_listBox14 = new QListWidget(box);
    m_listBox14->setObjectName(u"ListBox14"_s);
    m_listBox14->setFont(fixedPitchFont());
    m_listBox14->addItems(PropertySums().goodsLines());
    m_listBox14->setMinimumWidth(140);
    grid->addWidget(captioned(u"Gegenstände"_s, m_listBox14, box), 0, 2, 7, 1);
    grid->setColumnStretch(2, 1);
    return box;
}

void RegionInfoPage::showRegion(const RegionView &view)
{
    commitEdits();
    m_shown.reset();
    if (view.region)
        m_shown = Position {view.region->x, view.region->y, view.region->level};
    for (const Field &f : std::as_const(m_fields)) {
        const QVariant value = view.region ? regionField(*view.region, f.name) : QVariant();
        f.edit->setText(value.isNull() ? QString() : value.toString());
        f.edit->setModified(false);
    }
    m_description->setPlainText(view.region ? view.region->description : QString());
    m_description->document()->setModified(false);
    setEditable(view.region.has_value());
    m_memo8->setPlainText(view.memo8);
    m_memo7->setPlainText(view.guards.join(u'\n'));

    const PropertySums &s = view.property;
    const qint64 sums[7] = {s.silver, s.persons, s.wood, s.stone, s.iron, s.laen, s.mallorn};
    for (int i = 0; i < 7; ++i)
        m_property[i]->setText(QString::number(sums[i]));
    m_listBox14->clear();
    m_listBox14->addItems(s.goodsLines());
}

void RegionInfoPage::commitEdits()
{
    for (const Field &f : std::as_const(m_fields)) {
        if (f.editable && f.edit->isModified())
            commitField(f);
    }
    commitDescription();
}

void RegionInfoPage::commitField(const Field &field)
{
    if (!field.edit->isModified())
        return;
    field.edit->setModified(false);
    if (!m_shown)
        return;
    const QString text = field.edit->text().trimmed();
    if (!field.number) {
        emit regionFieldEdited(field.name, text);
        return;
    }
    if (text.isEmpty()) {
        emit regionFieldEdited(field.name, QVariant());
        return;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok) // a lone "-" left behind is no number and stores nothing
        emit regionFieldEdited(field.name, value);
}

void RegionInfoPage::commitDescription()
{
    if (!m_description->document()->isModified())
        return;
    m_description->document()->setModified(false);
    if (m_shown)
        emit regionFieldEdited(u"Beschreibung"_s, m_description->toPlainText());
}

void RegionInfoPage::setEditable(bool editable)
{
    for (const Field &f : std::as_const(m_fields)) {
        if (f.editable)
            f.edit->setReadOnly(!editable);
    }
    m_description->setReadOnly(!editable);
}

bool RegionInfoPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_description && event->type() == QEvent::FocusOut)
        commitDescription();
    return QWidget::eventFilter(watched, event);
}

} // namespace tolvimar
