#include "passwordstore.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace tolvimar {

namespace {

bool g_enabled = false;
const QString kService = QStringLiteral("Tolvimar Mail");

// Runs a keyring job to its end; a keyring that does not answer in time counts as none.
bool finish(QKeychain::Job &job)
{
    job.setAutoDelete(false);
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    bool done = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&done] { done = true; });
    job.start();
    limit.start(10000);
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return done && job.error() == QKeychain::NoError;
}

} // namespace

void PasswordStore::enable(bool on)
{
    g_enabled = on;
}

bool PasswordStore::enabled()
{
    return g_enabled;
}

QString PasswordStore::key(const QString &serverUrl, const QString &user)
{
    return user + u'@' + serverUrl.trimmed();
}

QString PasswordStore::read(const QString &key)
{
    if (!g_enabled)
        return QString();
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(key);
    return finish(job) ? job.textData() : QString();
}

bool PasswordStore::write(const QString &key, const QString &password)
{
    if (!g_enabled)
        return false;
    QKeychain::WritePasswordJob job(kService);
    job.setKey(key);
    job.setTextData(password);
    return finish(job);
}

void PasswordStore::remove(const QString &key)
{
    if (!g_enabled)
        return;
    QKeychain::DeletePasswordJob job(kService);
    job.setKey(key);
    finish(job);
}

} // namespace tolvimar
