#include "regionentrydialog.h"

#include "app/session.h"
#include "attempt.h"
#include "base/errors.h"
#include "base/prompter.h"
#include "map/regionentry.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace tolvimar {

namespace {

const QString kTitle = QStringLiteral("Manuelle Regionserfassung");

QLineEdit *edit(const QString &objectName, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(objectName);
    return e;
}

} // namespace

RegionEntryDialog::RegionEntryDialog(Session &session, QWidget *mainWindow)
    : QDialog(mainWindow,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
            | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_session(session)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(kTitle);
    m_name = edit(QStringLiteral("Edit1"), this);
    m_x = edit(QStringLiteral("Edit2"), this);
    m_y = edit(QStringLiteral("Edit3"), this);
    m_exportGood = edit(QStringLiteral("Edit4"), this);
    m_terrain = new QComboBox(this);
    m_terrain->setObjectName(QStringLiteral("ComboBox1"));
    m_terrain->addItems(RegionEntry::terrains());

    // Each caption above its control: name and coordinates on the left, export good
    // and terrain on the right, the buttons below.
    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Name der Region"), this), 0, 0);
    grid->addWidget(m_name, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Exportgut"), this), 0, 1);
    grid->addWidget(m_exportGood, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Breite/Länge"), this), 2, 0);
    auto *coords = new QHBoxLayout;
    coords->addWidget(m_x);
    coords->addWidget(m_y);
    grid->addLayout(coords, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("Regiontyp"), this), 2, 1);
    grid->addWidget(m_terrain, 3, 1);
    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(QStringLiteral("Speichern"), this);
    save->setObjectName(QStringLiteral("Button1"));
    save->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    grid->setRowStretch(4, 1);
    grid->addLayout(buttons, 5, 0, 1, 2);
    setFixedSize(435, 213);
    connect(save, &QPushButton::clicked, this, &RegionEntryDialog::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &RegionEntryDialog::Button2Click);
}

void RegionEntryDialog::open()
{
    m_mainWindow->setEnabled(false);
    m_name->clear();
    m_x->clear();
    m_y->clear();
    m_exportGood->clear();
    m_terrain->setCurrentIndex(1);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    // A window stays usable while its disabled parent is not, once enabled explicitly.
    setEnabled(true);
    show();
    raise();
    activateWindow();
    m_name->setFocus();
}

bool RegionEntryDialog::readCoordinate(QLineEdit *edit, const QString &what, int *value)
{
    if (parseStrictInt(edit->text(), value))
        return true;
    m_session.prompter().message(Prompter::Kind::Warning, kTitle,
        QStringLiteral("\"%1\" ist keine gültige ganze Zahl. Bitte für %2 eine ganze Zahl "
                       "eingeben, z. B. 12 oder -3.")
            .arg(edit->text(), what));
    edit->setFocus();
    edit->selectAll();
    return false;
}

void RegionEntryDialog::Button1Click()
{
    EnteredRegion region;
    if (!readCoordinate(m_x, QStringLiteral("die Breite"), &region.x)
        || !readCoordinate(m_y, QStringLiteral("die Länge"), &region.y))
        return;
    region.name = m_name->text();
    region.level = m_session.mapState().level();
    region.terrain = m_terrain->currentText();
    region.exportGood = m_exportGood->text();
    if (!attempt(m_session.prompter(), kTitle,
            [&] { RegionEntry(m_session.database(), m_session.game().number).save(region); }))
        return;
    backToMainWindow();
    m_session.mapState().setCurrentPosition(QPoint(region.x, region.y));
    emit regionSaved({region.x, region.y, region.level});
}

void RegionEntryDialog::Button2Click()
{
    backToMainWindow();
}

void RegionEntryDialog::reject()
{
    backToMainWindow();
}

void RegionEntryDialog::backToMainWindow()
{
    hide();
    m_mainWindow->setEnabled(true);
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

} // namespace tolvimar
