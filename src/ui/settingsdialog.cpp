#include "settingsdialog.h"

#include "app/session.h"
#include "attempt.h"
#include "base/errors.h"
#include "base/prompter.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace tolvimar {

SettingsDialog::SettingsDialog(Session &session, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowStaysOnTopHint)
    , m_session(session)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Einstellungen"));
    setWindowTitle(QStringLiteral("Einstellungen"));
    auto *form = new QFormLayout(this);
    auto *home = new QHBoxLayout;
    m_homeX = new QLineEdit(this);
    m_homeX->setObjectName(QStringLiteral("EditHeimatX"));
    m_homeY = new QLineEdit(this);
    m_homeY->setObjectName(QStringLiteral("EditHeimatY"));
    // Digits and a sign only; a decimal point or comma stays visible and is refused when
    // saving, since a locale's number validator would read "7.5" as 75.
    for (QLineEdit *edit : {m_homeX, m_homeY}) {
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("-?[0-9.,]*")), edit));
        edit->setMaxLength(11);
    }
    home->addWidget(m_homeX);
    home->addWidget(m_homeY);
    form->addRow(QStringLiteral("Heimatregion (x/y):"), home);
    m_programPath = new QLineEdit(this);
    m_programPath->setObjectName(QStringLiteral("EditProgrammPath"));
    m_programPath->setMinimumWidth(320);
    form->addRow(QStringLiteral("Programm Path:"), m_programPath);
    m_checkerPath = new QLineEdit(this);
    m_checkerPath->setObjectName(QStringLiteral("EditCheckerPath"));
    form->addRow(QStringLiteral("Path zum externen ZugChecker:"), m_checkerPath);
    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(QStringLiteral("Speichern"), this);
    save->setObjectName(QStringLiteral("ButtonSpeichern"));
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("ButtonAbbrechen"));
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    connect(save, &QPushButton::clicked, this, &SettingsDialog::speichernClick);
    connect(cancel, &QPushButton::clicked, this, &SettingsDialog::abbrechenClick);
}

void SettingsDialog::open()
{
    if (!attempt(m_session.prompter(), QStringLiteral("Fehler"), [this] {
            const Session::Settings s = m_session.settings();
            m_homeX->setText(s.homeX);
            m_homeY->setText(s.homeY);
            m_programPath->setText(s.programPath);
            m_checkerPath->setText(s.checkerPath);
        }))
        return;
    m_mainWindow->setEnabled(false);
    // A window stays usable while its disabled parent is not, once enabled explicitly.
    setEnabled(true);
    show();
}

void SettingsDialog::speichernClick()
{
    if (!attempt(m_session.prompter(), QStringLiteral("Fehler"), [this] {
            m_session.saveSettings(
                {m_homeX->text(), m_homeY->text(), m_programPath->text(), m_checkerPath->text()});
        }))
        return;
    backToMainWindow();
}

void SettingsDialog::abbrechenClick()
{
    backToMainWindow();
}

void SettingsDialog::reject()
{
    backToMainWindow();
}

void SettingsDialog::backToMainWindow()
{
    hide();
    m_mainWindow->setEnabled(true);
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

} // namespace tolvimar
