#include "settingsdialog.h"

#include "app/session.h"
#include "attempt.h"
#include "base/errors.h"
#include "base/prompter.h"
#include "mail/mailsettings.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
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

    m_mail = new QGroupBox(QStringLiteral("Befehle per Mail senden"), this);
    m_mail->setObjectName(QStringLiteral("GroupMail"));
    auto *mailForm = new QFormLayout(m_mail);
    const auto mailField = [&](const char *name, const char *label, const char *placeholder) {
        auto *edit = new QLineEdit(m_mail);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setPlaceholderText(QString::fromUtf8(placeholder));
        mailForm->addRow(QString::fromUtf8(label), edit);
        return edit;
    };
    m_mailServer = mailField("EditMailServer", "Mail-Server:", "smtps://mail.example.org:465");
    m_mailUser = mailField("EditMailBenutzer", "Benutzer:", "");
    m_mailFrom = mailField("EditMailAbsender", "Absender:", "name@example.org");
    m_mailTo = mailField("EditMailBefehlsadresse", "Befehlsadresse des Spiels:", "");
    m_mailSubject = mailField("EditMailBetreff", "Betreff:", "Befehle und die Parteinummer");
    m_mailAttach = new QCheckBox(QStringLiteral("Befehle als angehängte Datei senden"), m_mail);
    m_mailAttach->setObjectName(QStringLiteral("CheckMailAnhang"));
    mailForm->addRow(QString(), m_mailAttach);
    m_mailCaFile = mailField(
        "EditMailZertifikate", "Zertifikate (Datei):", "leer: die Zertifikate des Systems");
    auto *passwordNote = new QLabel(QStringLiteral("Das Passwort wird nie hier gespeichert: es "
                                                   "liegt im Schlüsselbund des Desktops oder wird "
                                                   "bei jedem Senden erfragt."),
        m_mail);
    passwordNote->setWordWrap(true);
    mailForm->addRow(passwordNote);
    form->addRow(m_mail);
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
            const int game = m_session.game().number;
            m_mail->setEnabled(game > 0);
            const MailSettings mail
                = game > 0 ? MailSettings::load(m_session.workspace(), game) : MailSettings();
            m_mailServer->setText(mail.serverUrl);
            m_mailUser->setText(mail.user);
            m_mailFrom->setText(mail.from);
            m_mailTo->setText(mail.to);
            m_mailSubject->setText(mail.subject);
            m_mailAttach->setChecked(mail.attach);
            m_mailCaFile->setText(mail.caFile);
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
            const int game = m_session.game().number;
            if (game == 0)
                return;
            MailSettings mail = MailSettings::load(m_session.workspace(), game);
            mail.serverUrl = m_mailServer->text();
            mail.user = m_mailUser->text();
            mail.from = m_mailFrom->text();
            mail.to = m_mailTo->text();
            mail.subject = m_mailSubject->text();
            mail.attach = m_mailAttach->isChecked();
            mail.caFile = m_mailCaFile->text();
            mail.save(m_session.workspace(), game, &m_session.workspaceLock());
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
