#include "passwordstore.h"

#include <QPointer>
#include <QTimer>
#include <memory>
#include <qt6keychain/keychain.h>

namespace tolvimar {

namespace {

bool g_enabled = false;
const QString kService = QStringLiteral("Tolvimar Mail");
constexpr int kAnswerMs = 10000;

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

void PasswordStore::read(
    const QString &key, QObject *context, std::function<void(const QString &)> done)
{
    if (!g_enabled) {
        done(QString());
        return;
    }
    // Whichever comes first, the keyring's answer or the time limit, is the answer.
    auto answered = std::make_shared<bool>(false);
    auto answer = [answered, done, guard = QPointer<QObject>(context)](const QString &password) {
        if (*answered || !guard)
            return;
        *answered = true;
        done(password);
    };
    auto *job = new QKeychain::ReadPasswordJob(kService);
    job->setAutoDelete(true);
    job->setKey(key);
    QObject::connect(job, &QKeychain::Job::finished, context, [answer](QKeychain::Job *finished) {
        const auto *read = static_cast<QKeychain::ReadPasswordJob *>(finished);
        answer(read->error() == QKeychain::NoError ? read->textData() : QString());
    });
    QTimer::singleShot(kAnswerMs, context, [answer] { answer(QString()); });
    job->start();
}

void PasswordStore::write(const QString &key, const QString &password)
{
    if (!g_enabled)
        return;
    auto *job = new QKeychain::WritePasswordJob(kService);
    job->setAutoDelete(true);
    job->setKey(key);
    job->setTextData(password);
    job->start();
}

void PasswordStore::remove(const QString &key)
{
    if (!g_enabled)
        return;
    auto *job = new QKeychain::DeletePasswordJob(kService);
    job->setAutoDelete(true);
    job->setKey(key);
    job->start();
}

} // namespace tolvimar
