#include "ordersending.h"

#include "../base/errors.h"
#include "../base/filebatch.h"
#include "../base/gamefiles.h"
#include "../base/textfile.h"
#include "../base/workspacelock.h"
#include "../orders/checker.h"
#include "../orders/orderfile.h"
#include "ordermessage.h"
#include "smtpsender.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace tolvimar {

namespace {

// The order file is small; a larger one is no order file.
constexpr qint64 kMaxOrderFileBytes = 32 << 20;

QString notSent(const QString &reason)
{
    return QStringLiteral("Die Befehle wurden nicht gesendet. ") + reason;
}

} // namespace

OrderSending::OrderSending(const ActiveGame &game, OrderFile &orderFile)
    : m_game(game)
    , m_orderFile(orderFile)
{
}

QString OrderSending::sentFolder(const QString &programPath)
{
    return joinProgramPath(programPath, QStringLiteral("gesendet"));
}

bool OrderSending::hasChecker(const ActiveGame &game)
{
    return !OrderChecker(game).command().program.isEmpty();
}

OrderSending::Check OrderSending::check(int timeoutMs)
{
    if (!hasChecker(m_game))
        return checkSaved(m_game, QString(), nullptr, timeoutMs);
    const OrderChecker::Result saved = OrderChecker::saveOrderFile(m_orderFile);
    if (saved.status != OrderChecker::Result::Ran)
        return checkOf(saved);
    return checkSaved(m_game, m_orderFile.path(), m_orderFile.lock(), timeoutMs);
}

OrderSending::Check OrderSending::checkSaved(
    const ActiveGame &game, const QString &orderPath, WorkspaceLock *lock, int timeoutMs)
{
    if (!hasChecker(game)) {
        Check check;
        check.message = QStringLiteral("Es ist kein ZugChecker eingestellt; die Befehle werden "
                                       "ungeprüft gesendet.");
        return check;
    }
    return checkOf(OrderChecker(game).runOnSavedFile(orderPath, lock, timeoutMs));
}

OrderSending::Check OrderSending::checkOf(const OrderChecker::Result &ran)
{
    Check check;
    check.output = ran.output;
    if (ran.status != OrderChecker::Result::Ran) {
        check.message = ran.message + QStringLiteral(" Die Befehle werden ungeprüft gesendet.");
        return check;
    }
    check.exitCode = ran.exitCode;
    if (ran.exitCode != 0) {
        check.status = Check::Failed;
        check.message
            = QStringLiteral("Der ZugChecker meldet Fehler (Rückgabewert %1).").arg(ran.exitCode);
        return check;
    }
    check.status = Check::Passed;
    return check;
}

OrderSending::Result OrderSending::send(const MailSettings &settings, const QString &password)
{
    Result result;
    QByteArray orderBytes;
    try {
        m_orderFile.save();
        orderBytes = readRegularFile(m_orderFile.path(), kMaxOrderFileBytes);
    } catch (const UserError &e) {
        result.message = notSent(e.message());
        return result;
    }

    OrderMessage message;
    message.from = settings.from;
    message.to = settings.to;
    message.subject = settings.subjectFor(m_game);
    message.orderBytes = orderBytes;
    message.encoding = m_orderFile.encoding();
    message.fileName = QFileInfo(m_orderFile.path()).fileName();
    message.attach = settings.attach;
    message.date = QDateTime::currentDateTime();
    message.messageId = newMessageId(settings.from);

    SmtpSender::Request request;
    request.serverUrl = settings.serverUrl;
    request.user = settings.user;
    request.password = password;
    request.caFile = settings.caFile;
    request.from = settings.from;
    request.to = settings.to;
    request.message = message.bytes();
    request.timeoutSeconds = settings.timeoutSeconds;
    const SmtpSender::Result sent = SmtpSender::send(request);
    if (!sent.sent) {
        result.loginRefused = sent.loginRefused;
        result.message = notSent(sent.reason);
        return result;
    }
    result.sent = true;
    result.reply = sent.reply;
    result.message = QStringLiteral("Gesendet an %1 (%2)").arg(settings.to, sent.reply);

    // The copy: the message as it went out, with the server and its answer on top.
    const QString folder = sentFolder(m_game.programPath);
    // Named by the time of sending; a second sending within the same second gets a number.
    const QString stem = QDir(folder).filePath(QFileInfo(m_orderFile.path()).completeBaseName()
        + message.date.toString(QStringLiteral("-yyyyMMdd-HHmmss")));
    result.copyPath = stem + QStringLiteral(".eml");
    for (int n = 2; QFileInfo::exists(result.copyPath); ++n)
        result.copyPath = stem + QStringLiteral("-%1.eml").arg(n);
    const QByteArray copy
        = "X-Gesendet-Ueber: " + SmtpSender::shownServer(settings.serverUrl).toUtf8()
        + "\r\nX-Server-Antwort: " + sent.reply.toUtf8() + "\r\n" + request.message;
    try {
        const WorkspaceWriteScope write(m_orderFile.lock());
        if (!QDir().mkpath(folder))
            throw UserError(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.")
                                .arg(QDir::toNativeSeparators(folder)));
        writeFileAtomically(result.copyPath, copy);
    } catch (const UserError &e) {
        result.copyProblem = QStringLiteral("Die Kopie der gesendeten Befehle wurde nicht "
                                            "gespeichert: ")
            + e.message();
        result.copyPath.clear();
    }
    return result;
}

} // namespace tolvimar
