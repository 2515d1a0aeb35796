#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tolvimar::test {

// A real SMTP server (Debian's aiosmtpd, tests/smtptestserver.py) on 127.0.0.1 at a
// free port, with a throwaway certificate made by openssl: STARTTLS and a login are
// required. Each message it receives is kept raw in a folder. It stops with the
// object, and on its own when the test dies (its standard input closes).
class SmtpTestServer
{
public:
    static constexpr const char *kUser = "spieler";
    // A password with umlauts and a sharp s, sent as UTF-8.
    static QString password() { return QStringLiteral("Grüße aus Kühlungsborn"); }

    SmtpTestServer() = default;
    ~SmtpTestServer();
    SmtpTestServer(const SmtpTestServer &) = delete;
    SmtpTestServer &operator=(const SmtpTestServer &) = delete;

    // Makes the certificate and starts the server; false with the reason when that fails.
    // Without tls it offers no STARTTLS and takes the login in the clear.
    bool start(QString *problem, bool tls = true);
    void stop();

    int port() const { return m_port; }
    QString url() const { return QStringLiteral("smtp://127.0.0.1:%1").arg(m_port); }
    QString certificate() const { return m_dir.filePath(QStringLiteral("cert.pem")); }
    // The messages received so far, raw, in the order they came.
    QList<QByteArray> messages() const;
    // The envelope of message i: sender, then the recipients.
    QStringList envelope(int i) const;
    // A port of this machine where nothing listens.
    static int closedPort();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};

} // namespace tolvimar::test
