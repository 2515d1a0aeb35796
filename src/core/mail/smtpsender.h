#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace tolvimar {

// One message to one recipient through the player's SMTP server, by libcurl.
// "smtps://" speaks TLS from the start; "smtp://" must switch to TLS by STARTTLS
// before anything else is said, unless the server is on this machine and no login
// is asked for. The server's certificate is always checked, against the system's
// certificates or the file the player names. A time limit holds for the whole
// sending.
class SmtpSender
{
public:
    struct Request
    {
        QString serverUrl;
        QString user;
        QString password;
        QString caFile;
        QString from;
        QString to;
        QByteArray message; // the whole message, lines in CR LF
        int timeoutSeconds = 60;
    };

    struct Result
    {
        bool sent = false;
        QString reply; // the server's last answer ("250 OK …")
        QString reason; // why nothing was sent, in German; empty when sent
        bool loginRefused = false; // the server refused user or password
    };

    // Checks the request before anything goes out: the URL's form and scheme, the
    // addresses, the certificate file. Empty when it can be sent.
    static QString requestProblem(const Request &request);
    static Result send(const Request &request);
    // The server as a message names it: "smtp://host:587" without user or password.
    static QString shownServer(const QString &serverUrl);
};

} // namespace tolvimar
