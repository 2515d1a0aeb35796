#include "smtptestserver.h"

#include <QDir>
#include <QFile>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvimar::test {

SmtpTestServer::~SmtpTestServer()
{
    stop();
}

bool SmtpTestServer::start(QString *problem, bool tls)
{
    QDir(m_dir.path()).mkpath(QStringLiteral("eingang"));
    QProcess openssl;
    openssl.setWorkingDirectory(m_dir.path());
    openssl.start(QStringLiteral("openssl"),
        {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
            QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
            QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
            QStringLiteral("-keyout"), QStringLiteral("key.pem"), QStringLiteral("-out"),
            QStringLiteral("cert.pem"), QStringLiteral("-days"), QStringLiteral("2"),
            QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
            QStringLiteral("subjectAltName=IP:127.0.0.1")});
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0) {
        *problem = QStringLiteral("openssl made no certificate: ")
            + QString::fromLocal8Bit(openssl.readAllStandardError()) + openssl.errorString();
        return false;
    }
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments = {QStringLiteral(TOLVIMAR_SMTP_SERVER_SCRIPT), QStringLiteral("--out"),
        m_dir.filePath(QStringLiteral("eingang")), QStringLiteral("--user"),
        QString::fromLatin1(kUser), QStringLiteral("--password"), password()};
    if (tls) {
        arguments << QStringLiteral("--cert") << certificate() << QStringLiteral("--key")
                  << m_dir.filePath(QStringLiteral("key.pem"));
    }
    m_process.start(QStringLiteral(TOLVIMAR_SYSTEM_PYTHON), arguments);
    if (!m_process.waitForStarted(30000)) {
        *problem = QStringLiteral("the SMTP test server did not start: ") + m_process.errorString();
        return false;
    }
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(30000)) {
            *problem = QStringLiteral("the SMTP test server (python3-aiosmtpd) did not start "
                                      "listening");
            stop();
            return false;
        }
    }
    const QByteArray line = m_process.readLine().trimmed();
    m_port = line.startsWith("PORT ") ? line.mid(5).toInt() : 0;
    if (m_port <= 0) {
        *problem = QStringLiteral("the SMTP test server said: ") + QString::fromUtf8(line);
        stop();
        return false;
    }
    return true;
}

void SmtpTestServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QList<QByteArray> SmtpTestServer::messages() const
{
    const QDir inbox(m_dir.filePath(QStringLiteral("eingang")));
    QList<QByteArray> found;
    for (const QString &name :
        inbox.entryList({QStringLiteral("*.eml")}, QDir::Files, QDir::Name)) {
        QFile file(inbox.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            found.append(file.readAll());
    }
    return found;
}

QStringList SmtpTestServer::envelope(int i) const
{
    QFile file(m_dir.filePath(
        QStringLiteral("eingang/%1.eml.envelope").arg(i + 1, 3, 10, QLatin1Char('0'))));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

int SmtpTestServer::closedPort()
{
    // Bound for a moment to learn a free port, then let go without listening.
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(probe, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::getsockname(probe, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(probe);
    return port;
}

} // namespace tolvimar::test
