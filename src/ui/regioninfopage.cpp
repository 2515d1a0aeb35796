#include "regioninfopage.h"

#include "map/regiondetail.h"
#include "map/regionfields.h"
#include "widgets.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QStringListModel>
#include <QVBoxLayout>

namespace tolvimar {

namespace {

using namespace Qt::StringLiterals;

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
    left->addWidget(
        captioned(findRegionField(u"Beschreibung")->caption, m_description, content), 1);
    columns->addLayout(left, 3);

    auto *right = new QVBoxLayout;
    m_surroundings = new QPlainTextEdit(content);
    m_surroundings->setObjectName(u"Memo8"_s);
    m_surroundings->setReadOnly(true);
    right->addWidget(captioned(u"Region Umgebung"_s, m_surroundings, content), 2);
    m_guards = new QPlainTextEdit(content);
    m_guards->setObjectName(u"Memo7"_s);
    m_guards->setReadOnly(true);
    m_guards->setLineWrapMode(QPlainTextEdit::NoWrap);
    right->addWidget(captioned(u"Die Region wird bewacht von :"_s, m_guards, content), 1);
    right->addWidget(buildPropertyBox());
    columns->addLayout(right, 2);

    setEditable(false);
}

QLineEdit *RegionInfoPage::addField(const QString &column, int width)
{
    const RegionField *field = findRegionField(column);
    Q_ASSERT(field);
    auto *edit = new QLineEdit(this);
    edit->setObjectName(editName(column));
    edit->setReadOnly(!field->editable);
    if (width > 0)
        edit->setMaximumWidth(width);
    if (field->number) {
        // A whole number or nothing; an emptied field stores an empty value.
        static const QRegularExpression digits(u"(-?\\d{1,9})?"_s);
        edit->setValidator(new QRegularExpressionValidator(digits, edit));
    } else if (column == u"Regionname") {
        edit->setMaxLength(20);
    }
    const Field shown {field, edit};
    m_fields.append(shown);
    if (field->editable)
        connect(edit, &QLineEdit::editingFinished, this, [this, shown] { commitField(shown); });
    return edit;
}

QWidget *RegionInfoPage::buildRegionBox()
{
    auto *box = new QGroupBox(u"Region"_s, this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    const auto place = [&](const QString &column, int row, int gridColumn, int span = 1) {
        const bool number = findRegionField(column)->number;
        QLineEdit *edit = addField(column, number ? 80 : 0);
        grid->addWidget(
            captioned(findRegionField(column)->caption, edit, box), row, gridColumn, 1, span);
    };
    place(u"Regionname"_s, 0, 0, 3);
    place(u"Regiontyp"_s, 0, 3, 2);
    auto *xy = new QWidget(box);
    auto *xyLayout = new QHBoxLayout(xy);
    xyLayout->setContentsMargins(0, 0, 0, 0);
    xyLayout->setSpacing(2);
    xyLayout->addWidget(addField(u"Breite"_s, 48));
    xyLayout->addWidget(new QLabel(u"/"_s, xy));
    xyLayout->addWidget(addField(u"Länge"_s, 48));
    xyLayout->addStretch();
    grid->addWidget(captioned(findRegionField(u"Breite")->caption, xy, box), 0, 5, 1, 2);
    place(u"Holzstämme"_s, 1, 0);
    place(u"Bauern"_s, 1, 1);
    place(u"Pferde"_s, 1, 2);
    place(u"Arbeitslohn"_s, 1, 3);
    place(u"VermögenBauern"_s, 1, 4);
    place(u"Unterhaltung max"_s, 1, 5);
    place(u"Rekrutieren"_s, 1, 6);
    place(u"Eisen"_s, 2, 0);
    place(u"Lean"_s, 2, 1);
    place(u"Mallorn"_s, 2, 2);
    return box;
}

QWidget *RegionInfoPage::buildTradeBox()
{
    auto *box = new QGroupBox(u"Handel"_s, this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    const QString prices[7] = {
        u"Balsam"_s, u"Gewuerz"_s, u"Juwel"_s, u"Myrrhe"_s, u"Oel"_s, u"Seide"_s, u"Weihrauch"_s};
    grid->addWidget(
        captioned(findRegionField(u"Luxusgüter")->caption, addField(u"Luxusgüter"_s, 80), box), 0,
        0, 1, 2);
    for (int i = 0; i < 7; ++i) {
        QLineEdit *edit = addField(prices[i], 64);
        const int cell = i + 2; // after the two cells of the price level
        grid->addWidget(
            captioned(findRegionField(prices[i])->caption, edit, box), cell / 5, cell % 5);
    }
    return box;
}

QWidget *RegionInfoPage::buildRoadBox()
{
    // The six road values around the region like the neighbours of a hexagon.
    auto *box = new QGroupBox(findRegionField(u"Strasse")->caption, this);
    auto *grid = new QGridLayout(box);
    grid->setSpacing(2);
    static const QString directions[6]
        = {u"Nordwesten"_s, u"Nordosten"_s, u"Osten"_s, u"Südosten"_s, u"Südwesten"_s, u"Westen"_s};
    const auto road = [&](int direction, int row, int column) {
        const QString field = direction == 0 ? u"Strasse"_s : u"Strasse%1"_s.arg(direction);
        QLineEdit *edit = addField(field, 34);
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
    const QString names[7]
        = {u"Edit1"_s, u"Edit9"_s, u"Edit14"_s, u"Edit15"_s, u"Edit16"_s, u"Edit24"_s, u"Edit25"_s};
    const QList<std::pair<QString, qint64>> boxes = PropertySums().boxes();
    for (int i = 0; i < 7; ++i) {
        m_property[i] = readOnlyEdit(names[i], box);
        m_property[i]->setMaximumWidth(90);
        m_property[i]->setText(u"0"_s);
        grid->addWidget(new QLabel(boxes[i].first, box), i, 0);
        grid->addWidget(m_property[i], i, 1);
    }
    m_goodsList = new QListView(box);
    m_goodsList->setObjectName(u"ListBox14"_s);
    m_goodsList->setFont(fixedPitchFont());
    m_goodsList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_goods = new QStringListModel(PropertySums().goodsLines(), m_goodsList);
    m_goodsList->setModel(m_goods);
    m_goodsList->setMinimumWidth(140);
    grid->addWidget(captioned(u"Gegenstände"_s, m_goodsList, box), 0, 2, 7, 1);
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
        const QVariant value = view.region ? f.field->value(*view.region) : QVariant();
        f.edit->setText(value.isNull() ? QString() : value.toString());
        f.edit->setModified(false);
    }
    m_description->setPlainText(view.region ? view.region->description : QString());
    m_description->document()->setModified(false);
    setEditable(view.region.has_value());
    m_surroundings->setPlainText(view.surroundings);
    m_guards->setPlainText(view.guards.join(u'\n'));

    const QList<std::pair<QString, qint64>> boxes = view.property.boxes();
    for (int i = 0; i < 7; ++i)
        m_property[i]->setText(QString::number(boxes[i].second));
    m_goods->setStringList(view.property.goodsLines());
}

void RegionInfoPage::commitEdits()
{
    for (const Field &f : std::as_const(m_fields)) {
        if (f.field->editable && f.edit->isModified())
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
    const QString &column = field.field->column;
    if (!field.field->number) {
        emit regionFieldEdited(column, text);
        return;
    }
    if (text.isEmpty()) {
        emit regionFieldEdited(column, QVariant());
        return;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok) // a lone "-" left behind is no number and stores nothing
        emit regionFieldEdited(column, value);
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
        if (f.field->editable)
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
