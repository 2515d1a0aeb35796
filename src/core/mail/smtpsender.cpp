#include "smtpsender.h"

#include "ordermessage.h"

#include <QFileInfo>
#include <QStringList>
#include <cstring>
#include <curl/curl.h>
#include <mutex>

namespace tolvimar {

namespace {

bool isThisMachine(const QString &host)
{
    if (host.compare(u"localhost", Qt::CaseInsensitive) == 0)
        return true;
    if (host == u"::1")
        return true;
    // 127.0.0.0/8, written as four decimal numbers.
    const QStringList parts = host.split(u'.');
    if (parts.size() != 4 || parts.first() != u"127")
        return false;
    for (const QString &part : parts) {
        bool ok = false;
        if (part.toInt(&ok) > 255 || !ok)
            return false;
    }
    return true;
}

// What libcurl reads the message from.
struct Upload
{
    const QByteArray *bytes;
    qsizetype offset = 0;
};

size_t readMessage(char *buffer, size_t size, size_t count, void *userdata)
{
    auto *upload = static_cast<Upload *>(userdata);
    const size_t room = size * count;
    const size_t left = size_t(upload->bytes->size() - upload->offset);
    const size_t n = qMin(room, left);
    std::memcpy(buffer, upload->bytes->constData() + upload->offset, n);
    upload->offset += qsizetype(n);
    return n;
}

// Keeps the server's answers, the last one told in every message.
int collectReplies(CURL *, curl_infotype type, char *data, size_t size, void *userdata)
{
    if (type != CURLINFO_HEADER_IN)
        return 0;
    auto *replies = static_cast<QStringList *>(userdata);
    const QString line = QString::fromUtf8(data, qsizetype(size)).trimmed();
    if (!line.isEmpty())
        replies->append(line);
    return 0;
}

size_t ignoreBody(char *, size_t size, size_t count, void *)
{
    return size * count;
}

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

QString reasonText(
    CURLcode code, long response, const QString &lastReply, const char *detail, int timeoutSeconds)
{
    QString reason;
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        reason = QStringLiteral("der Servername ist unbekannt");
        break;
    case CURLE_COULDNT_CONNECT:
        reason = QStringLiteral("keine Verbindung möglich (der Server nimmt keine Verbindung an)");
        break;
    case CURLE_OPERATION_TIMEDOUT:
        reason = QStringLiteral("keine Antwort innerhalb des Zeitlimits von %1 Sekunden")
                     .arg(timeoutSeconds);
        break;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        reason = QStringLiteral("dem Zertifikat des Servers wird nicht vertraut");
        break;
    case CURLE_SSL_CONNECT_ERROR:
        reason = QStringLiteral("die verschlüsselte Verbindung kam nicht zustande");
        break;
    case CURLE_USE_SSL_FAILED:
        reason = QStringLiteral("der Server bietet keine Verschlüsselung (STARTTLS) an; das "
                                "Passwort wird nur verschlüsselt gesendet");
        break;
    case CURLE_LOGIN_DENIED:
        reason = QStringLiteral("Benutzername oder Passwort wurden abgelehnt");
        break;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_WEIRD_SERVER_REPLY:
        reason = response >= 400 ? QStringLiteral("der Server hat die Nachricht abgelehnt")
                                 : QStringLiteral("die Verbindung brach ab");
        break;
    default:
        reason = response >= 400 ? QStringLiteral("der Server hat die Nachricht abgelehnt")
                                 : QString::fromUtf8(curl_easy_strerror(code));
        break;
    }
    QStringList details;
    if (response >= 400 && !lastReply.isEmpty())
        details.append(lastReply);
    if (detail && *detail)
        details.append(QString::fromUtf8(detail).trimmed());
    if (!details.isEmpty())
        reason += QStringLiteral(" (") + details.join(QStringLiteral("; ")) + u')';
    return reason;
}

} // namespace

QString SmtpSender::shownServer(const QString &serverUrl)
{
    const QUrl url(serverUrl.trimmed());
    if (!url.isValid() || url.host().isEmpty())
        return serverUrl.trimmed();
    return url.toString(
        QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment);
}

QString SmtpSender::requestProblem(const Request &request)
{
    const QUrl url(request.serverUrl.trimmed(), QUrl::StrictMode);
    if (request.serverUrl.trimmed().isEmpty())
        return QStringLiteral("Es ist kein Mail-Server eingestellt (smtps://… oder smtp://…).");
    if (!url.isValid() || url.host().isEmpty())
        return QStringLiteral("\"%1\" ist keine Server-Adresse (smtps://server:465 oder "
                              "smtp://server:587).")
            .arg(request.serverUrl);
    const QString scheme = url.scheme().toLower();
    if (scheme != u"smtps" && scheme != u"smtp")
        return QStringLiteral("Der Mail-Server %1 wird nur über smtps:// oder smtp:// "
                              "angesprochen.")
            .arg(shownServer(request.serverUrl));
    if (!url.userInfo().isEmpty())
        return QStringLiteral("Benutzer und Passwort gehören nicht in die Server-Adresse %1.")
            .arg(shownServer(request.serverUrl));
    if (request.password.isEmpty() != request.user.isEmpty())
        return request.user.isEmpty()
            ? QStringLiteral("Zum Passwort fehlt der Benutzername für %1.")
                  .arg(shownServer(request.serverUrl))
            : QStringLiteral("Für den Benutzer %1 auf %2 fehlt das Passwort.")
                  .arg(request.user, shownServer(request.serverUrl));
    if (const QString problem = addressProblem(request.from); !problem.isEmpty())
        return QStringLiteral("Absender: ") + problem + u'.';
    if (const QString problem = addressProblem(request.to); !problem.isEmpty())
        return QStringLiteral("Befehlsadresse: ") + problem + u'.';
    if (!request.caFile.isEmpty() && !QFileInfo(request.caFile).isFile())
        return QStringLiteral("Die Zertifikatsdatei %1 gibt es nicht.").arg(request.caFile);
    return QString();
}

SmtpSender::Result SmtpSender::send(const Request &request)
{
    Result result;
    const QString server = shownServer(request.serverUrl);
    if (const QString problem = requestProblem(request); !problem.isEmpty()) {
        result.reason = problem;
        return result;
    }
    initCurlOnce();
    CURL *curl = curl_easy_init();
    if (!curl) {
        result.reason = QStringLiteral("libcurl ließ sich nicht starten");
        return result;
    }
    const QUrl url(request.serverUrl.trimmed());
    const bool local = isThisMachine(url.host());
    const QByteArray urlBytes = url.toString(QUrl::FullyEncoded).toUtf8();
    const QByteArray user = request.user.toUtf8();
    const QByteArray password = request.password.toUtf8();
    const QByteArray from = '<' + request.from.toUtf8() + '>';
    const QByteArray caFile = request.caFile.toLocal8Bit();
    curl_slist *recipients
        = curl_slist_append(nullptr, ('<' + request.to.toUtf8() + '>').constData());
    Upload upload {&request.message};
    QStringList replies;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(curl, CURLOPT_URL, urlBytes.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    // STARTTLS is required, before the login, except to this machine without one.
    const bool clearAllowed = local && request.user.isEmpty();
    curl_easy_setopt(curl, CURLOPT_USE_SSL, long(clearAllowed ? CURLUSESSL_NONE : CURLUSESSL_ALL));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caFile.isEmpty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.constData());
    if (!user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(request.message.size()));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, ignoreBody);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, long(qMax(1, request.timeoutSeconds)));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(qMax(1, request.timeoutSeconds)));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, collectReplies);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &replies);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);

    const CURLcode code = curl_easy_perform(curl);
    long response = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response);
    // Taken before the cleanup, whose QUIT adds the server's farewell.
    // The answer that decided, not the farewell to the QUIT after a refusal.
    QString lastReply = replies.isEmpty() ? QString() : replies.last();
    for (qsizetype i = replies.size() - 1; i >= 0 && response > 0; --i) {
        if (replies[i].startsWith(QString::number(response))) {
            lastReply = replies[i];
            break;
        }
    }
    curl_slist_free_all(recipients);
    curl_easy_cleanup(curl);

    if (code == CURLE_OK && response >= 200 && response < 300) {
        result.sent = true;
        result.reply = lastReply.isEmpty() ? QString::number(response) : lastReply;
        return result;
    }
    result.loginRefused = code == CURLE_LOGIN_DENIED;
    result.reason = QStringLiteral("Server %1: ").arg(server)
        + reasonText(code, response, lastReply, errorBuffer, request.timeoutSeconds);
    return result;
}

} // namespace tolvimar
