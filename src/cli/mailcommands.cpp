#include "mailcommands.h"

#include "app/session.h"
#include "base/errors.h"
#include "base/textfile.h"
#include "cliutil.h"
#include "mail/mailsettings.h"
#include "mail/ordersending.h"

#include <QFileInfo>
#include <QProcessEnvironment>

namespace tolvimar::cli {

namespace {

// The password from --password-file (a file only its owner may read) or from
// TOLVIMAR_SMTP_PASSWORD. Throws UserError.
QString readPassword(const QString &passwordFile)
{
    if (passwordFile.isEmpty())
        return QProcessEnvironment::systemEnvironment().value(
            QStringLiteral("TOLVIMAR_SMTP_PASSWORD"));
    const QFileInfo info(passwordFile);
    if (!info.isFile())
        throw UserError(QStringLiteral("Die Passwortdatei %1 gibt es nicht.").arg(passwordFile));
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
        | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
        | QFileDevice::ExeOther;
    if (info.permissions() & others)
        throw UserError(QStringLiteral("Die Passwortdatei %1 dürfen auch andere lesen; sie muss "
                                       "die Rechte 0600 haben (chmod 600).")
                            .arg(passwordFile));
    QByteArray bytes = readRegularFile(passwordFile, 64 * 1024);
    // One line; its line end is not part of the password.
    const qsizetype end = bytes.indexOf('\n');
    if (end >= 0)
        bytes.truncate(end);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    return QString::fromUtf8(bytes);
}

} // namespace

int send(const Arguments &args)
{
    CommandOptions options;
    QString problem;
    if (!parseCommandOptions(args.rest,
            {QStringLiteral("--slot"), QStringLiteral("--smtp"), QStringLiteral("--from"),
                QStringLiteral("--to"), QStringLiteral("--user"), QStringLiteral("--subject"),
                QStringLiteral("--cafile"), QStringLiteral("--password-file")},
            {QStringLiteral("--attach"), QStringLiteral("--force")}, &options, &problem))
        return usage(problem);
    const int slot = slotOption(options, &problem);
    if (slot == 0)
        return usage(problem);
    if (!options.positional.isEmpty())
        return usage(QStringLiteral("send kennt keine weiteren Argumente."));

    OpenedSlot opened;
    echoToStderr(opened.prompter);
    opened.session = openWorkspace(args, opened.prompter);
    openSlot(*opened.session, slot, QString());
    Session &session = *opened.session;
    if (session.status()[StatusField::Datum].isEmpty()) {
        err() << "Spiel " << slot
              << " hat noch keinen Bericht eingelesen; es gibt keine Befehle zum Senden.\n";
        return 2;
    }

    // Options given on the command line win over the slot's settings.
    MailSettings settings = MailSettings::load(session.workspace(), slot);
    const auto take = [&](const char *option, QString &value) {
        const QString name = QString::fromLatin1(option);
        if (options.values.contains(name))
            value = options.values.value(name).trimmed();
    };
    take("--smtp", settings.serverUrl);
    take("--from", settings.from);
    take("--to", settings.to);
    take("--user", settings.user);
    take("--subject", settings.subject);
    take("--cafile", settings.caFile);
    if (options.flags.contains(QStringLiteral("--attach")))
        settings.attach = true;
    const QString password = settings.user.isEmpty()
        ? QString()
        : readPassword(options.values.value(QStringLiteral("--password-file")));

    OrderFile orderFile = session.orderFile();
    OrderSending sending(session.game(), orderFile);
    const OrderSending::Check check = sending.check();
    if (check.status == OrderSending::Check::NotRun) {
        err() << check.message << "\n";
    } else if (check.status == OrderSending::Check::Failed) {
        out() << check.output;
        err() << check.message << "\n";
        if (!options.flags.contains(QStringLiteral("--force"))) {
            err() << "Die Befehle wurden nicht gesendet (mit --force trotzdem senden).\n";
            return 1;
        }
    }
    const OrderSending::Result result = sending.send(settings, password);
    if (!result.sent) {
        err() << result.message << "\n";
        return 2;
    }
    out() << result.message << "\n";
    if (!result.copyProblem.isEmpty())
        err() << result.copyProblem << "\n";
    return 0;
}

} // namespace tolvimar::cli
