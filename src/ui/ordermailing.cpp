#include "ordermailing.h"

#include "app/session.h"
#include "base/errors.h"
#include "base/prompter.h"
#include "mail/mailsettings.h"
#include "mail/ordersending.h"
#include "mail/smtpsender.h"
#include "passwordstore.h"

#include <QInputDialog>
#include <QLineEdit>

namespace tolvimar {

namespace {

const QString kTitle = QStringLiteral("Befehle senden");

// The first lines of the checker's output, enough for a question box.
QString outputHead(const QString &output)
{
    constexpr int kLines = 25;
    const QStringList lines = output.split(u'\n');
    QString head = lines.mid(0, kLines).join(u'\n').trimmed();
    if (lines.size() > kLines)
        head += QStringLiteral("\n… (die ganze Ausgabe zeigt \"Zug prüfen lassen\")");
    return head;
}

} // namespace

OrderMailing::OrderMailing(Session &session, QWidget *window)
    : QObject(window)
    , m_session(session)
    , m_window(window)
{
}

bool OrderMailing::password(const MailSettings &settings, QString *password, bool *asked)
{
    *asked = false;
    if (settings.user.isEmpty())
        return true;
    *password = PasswordStore::read(PasswordStore::key(settings.serverUrl, settings.user));
    if (!password->isEmpty())
        return true;
    QInputDialog dialog(m_window);
    dialog.setObjectName(QStringLiteral("MailPasswort"));
    dialog.setWindowTitle(kTitle);
    dialog.setLabelText(QStringLiteral("Passwort für %1 auf %2:")
                            .arg(settings.user, SmtpSender::shownServer(settings.serverUrl)));
    dialog.setTextEchoMode(QLineEdit::Password);
    if (dialog.exec() != QDialog::Accepted || dialog.textValue().isEmpty())
        return false;
    *password = dialog.textValue();
    *asked = true;
    return true;
}

void OrderMailing::sendOrders()
{
    Prompter &prompter = m_session.prompter();
    const ActiveGame &game = m_session.game();
    if (!game.isOpen() || m_session.status()[StatusField::Datum].isEmpty()) {
        prompter.message(Prompter::Kind::Information, kTitle,
            QStringLiteral("Es ist noch kein Bericht eingelesen; es gibt keine Befehle zum "
                           "Senden."));
        return;
    }
    MailSettings settings;
    try {
        settings = MailSettings::load(m_session.workspace(), game.number);
    } catch (const UserError &e) {
        prompter.message(Prompter::Kind::Error, kTitle, e.message());
        return;
    }
    if (settings.serverUrl.isEmpty() || settings.from.isEmpty() || settings.to.isEmpty()) {
        prompter.message(Prompter::Kind::Information, kTitle,
            QStringLiteral("Bitte zuerst unter Datei → Optionen den Mail-Server, den Absender "
                           "und die Befehlsadresse des Spiels eintragen."));
        return;
    }

    OrderFile orderFile = m_session.orderFile();
    OrderSending sending(game, orderFile);
    OrderSending::Check check;
    m_window->setEnabled(false);
    {
        BusyScope busy(prompter);
        check = sending.check();
    }
    m_window->setEnabled(true);
    if (check.status == OrderSending::Check::NotRun) {
        emit statusText(check.message);
    } else if (check.status == OrderSending::Check::Failed) {
        const QString question = check.message + QStringLiteral("\n\n") + outputHead(check.output)
            + QStringLiteral("\n\nTrotzdem senden?");
        if (!prompter.askYesNo(Prompter::Kind::Warning, kTitle, question))
            return;
    }

    QString password;
    bool asked = false;
    if (!this->password(settings, &password, &asked))
        return;
    OrderSending::Result result;
    m_window->setEnabled(false);
    {
        BusyScope busy(prompter);
        result = sending.send(settings, password);
    }
    m_window->setEnabled(true);
    if (!result.sent) {
        // A kept password that no longer works is asked for next time.
        if (result.loginRefused && !asked)
            PasswordStore::remove(PasswordStore::key(settings.serverUrl, settings.user));
        prompter.message(Prompter::Kind::Error, kTitle, result.message);
        return;
    }
    // A password typed now is kept in the keyring once the server took it.
    if (asked)
        PasswordStore::write(PasswordStore::key(settings.serverUrl, settings.user), password);
    emit statusText(result.message);
    if (!result.copyProblem.isEmpty())
        prompter.message(Prompter::Kind::Warning, kTitle, result.copyProblem);
}

} // namespace tolvimar
