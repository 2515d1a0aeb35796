#include "ordermailing.h"

#include "app/job.h"
#include "app/session.h"
#include "base/errors.h"
#include "base/prompter.h"
#include "mail/mailsettings.h"
#include "mail/ordersending.h"
#include "mail/smtpsender.h"
#include "passwordstore.h"

#include <QInputDialog>
#include <QLineEdit>
#include <memory>

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

void OrderMailing::withPassword(
    const MailSettings &settings, std::function<void(const QString &, bool)> go)
{
    if (settings.user.isEmpty()) {
        go(QString(), false);
        return;
    }
    PasswordStore::read(PasswordStore::key(settings.serverUrl, settings.user), this,
        [this, settings, go](const QString &stored) {
            if (!stored.isEmpty()) {
                go(stored, false);
                return;
            }
            QInputDialog dialog(m_window);
            dialog.setObjectName(QStringLiteral("MailPasswort"));
            dialog.setWindowTitle(kTitle);
            dialog.setLabelText(
                QStringLiteral("Passwort für %1 auf %2:")
                    .arg(settings.user, SmtpSender::shownServer(settings.serverUrl)));
            dialog.setTextEchoMode(QLineEdit::Password);
            if (dialog.exec() != QDialog::Accepted || dialog.textValue().isEmpty())
                return;
            go(dialog.textValue(), true);
        });
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

    // The checker runs as a job on the file as saved: the window keeps painting, but
    // takes no input until it has ended.
    const int gameNumber = game.number;
    auto afterCheck = [this, settings, gameNumber](const OrderSending::Check &check) {
        if (m_session.game().number != gameNumber)
            return;
        continueAfterCheck(settings, check);
    };
    OrderFile orderFile = m_session.orderFile();
    if (!OrderSending::hasChecker(game)) {
        afterCheck(OrderSending(game, orderFile).check());
        return;
    }
    const OrderChecker::Result saved = OrderChecker::saveOrderFile(orderFile);
    if (saved.status != OrderChecker::Result::Ran) {
        afterCheck(OrderSending::checkOf(saved));
        return;
    }
    m_window->setEnabled(false);
    prompter.setBusy(true);
    auto *job = new Job(this);
    auto check = std::make_shared<OrderSending::Check>();
    connect(job, &Job::finished, this, [this, job, check, afterCheck] {
        job->deleteLater();
        m_session.prompter().setBusy(false);
        m_window->setEnabled(true);
        afterCheck(*check);
    });
    job->start([game = ActiveGame(game), path = orderFile.path(), lock = orderFile.lock(), check](
                   JobControl &) { *check = OrderSending::checkSaved(game, path, lock); });
}

void OrderMailing::continueAfterCheck(
    const MailSettings &settings, const OrderSending::Check &check)
{
    Prompter &prompter = m_session.prompter();
    if (check.status == OrderSending::Check::NotRun) {
        emit statusText(check.message);
    } else if (check.status == OrderSending::Check::Failed) {
        const QString question = check.message + QStringLiteral("\n\n") + outputHead(check.output)
            + QStringLiteral("\n\nTrotzdem senden?");
        if (!prompter.askYesNo(Prompter::Kind::Warning, kTitle, question))
            return;
    }

    // The keyring answers later; the game may have changed meanwhile.
    const int gameNumber = m_session.game().number;
    withPassword(settings, [this, settings, gameNumber](const QString &password, bool asked) {
        if (m_session.game().number == gameNumber)
            send(settings, password, asked);
    });
}

void OrderMailing::send(const MailSettings &settings, const QString &password, bool asked)
{
    Prompter &prompter = m_session.prompter();
    OrderFile orderFile = m_session.orderFile();
    OrderSending sending(m_session.game(), orderFile);
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
