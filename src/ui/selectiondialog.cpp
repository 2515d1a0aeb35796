#include "selectiondialog.h"

#include "base/activegame.h"
#include "base/configuration.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace tolvimar {

SelectionDialog::SelectionDialog(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
            | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
            | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Spielwahl"));
    setWindowTitle(QStringLiteral("Spielwahl"));
    auto *grid = new QGridLayout(this);
    QList<QGroupBox *> boxes;
    for (int k = 1; k <= 6; ++k) {
        auto *box = new QGroupBox(QStringLiteral("Spiel %1").arg(k), this);
        box->setObjectName(QStringLiteral("GroupBoxSpiel%1").arg(k));
        auto *row = new QHBoxLayout(box);
        auto *name = new QLineEdit(box);
        name->setObjectName(QStringLiteral("EditName%1").arg(k));
        name->setMinimumWidth(180);
        auto *type = new QComboBox(box);
        type->setObjectName(QStringLiteral("ComboBoxTyp%1").arg(k));
        type->addItems(gameTypeNames());
        type->setCurrentIndex(-1);
        type->setMinimumWidth(100);
        auto *start = new QPushButton(QStringLiteral("Start"), box);
        start->setObjectName(QStringLiteral("ButtonStart%1").arg(k));
        // Return starts the slot whose field has the focus, never a default button.
        start->setAutoDefault(false);
        auto *hint = new QLabel(QStringLiteral("Erst Spieltyp wählen"), box);
        hint->setObjectName(QStringLiteral("LabelTypFehlt%1").arg(k));
        hint->setStyleSheet(QStringLiteral("color: #a04000;"));
        row->addWidget(new QLabel(QStringLiteral("Name:"), box));
        row->addWidget(name, 1);
        row->addWidget(new QLabel(QStringLiteral("Spieltyp:"), box));
        row->addWidget(type);
        row->addWidget(start);
        row->addWidget(hint);
        boxes.append(box);
        m_names[k - 1] = name;
        m_types[k - 1] = type;
        m_starts[k - 1] = start;
        m_hints[k - 1] = hint;
        connect(start, &QPushButton::clicked, this, [this, k] { startClick(k); });
        connect(type, &QComboBox::currentIndexChanged, this, [this, k] { showTypeState(k); });
        showTypeState(k);
    }
    // Two slots a row; one a row on a screen too narrow for two.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int columns = screen
            && 2 * boxes.first()->sizeHint().width() + 4 * grid->spacing()
                > screen->availableGeometry().width()
        ? 1
        : 2;
    for (int i = 0; i < boxes.size(); ++i)
        grid->addWidget(boxes[i], i / columns, i % columns);
    setFixedSize(sizeHint());
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

void SelectionDialog::showSlots(const Configuration &config)
{
    for (int k = 1; k <= 6; ++k) {
        m_names[k - 1]->setText(config.line(k, Configuration::GameName));
        const std::optional<GameType> type
            = parseGameType(config.line(k, Configuration::GameTypeText));
        QComboBox *combo = m_types[k - 1];
        combo->setCurrentIndex(type ? combo->findText(gameTypeName(*type)) : -1);
        // A configured slot keeps its game type.
        combo->setEnabled(combo->currentIndex() < 0);
        showTypeState(k);
    }
}

void SelectionDialog::showTypeState(int game)
{
    // A slot without a game type cannot start: the program would not know which
    // reports it reads.
    const bool typed = m_types[game - 1]->currentIndex() >= 0;
    m_starts[game - 1]->setEnabled(typed);
    // The hint keeps its room, so that the dialog does not change its size.
    QSizePolicy policy = m_hints[game - 1]->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    m_hints[game - 1]->setSizePolicy(policy);
    m_hints[game - 1]->setVisible(!typed);
}

int SelectionDialog::slotOf(const QWidget *widget) const
{
    for (; widget; widget = widget->parentWidget()) {
        for (int k = 1; k <= 6; ++k) {
            if (widget == m_names[k - 1]->parentWidget())
                return k;
        }
    }
    return 0;
}

void SelectionDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        const int k = slotOf(focusWidget());
        if (k > 0 && m_starts[k - 1]->isEnabled())
            startClick(k);
        else if (k > 0)
            m_types[k - 1]->setFocus(Qt::OtherFocusReason);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SelectionDialog::startClick(int game)
{
    const QString name = m_names[game - 1]->text();
    const QString type = m_types[game - 1]->currentText();
    hide();
    emit startRequested(game, name, type);
}

} // namespace tolvimar
