#pragma once

#include <QString>
#include <functional>

class QObject;

namespace tolvimar {

// The mail password in the desktop's keyring (QtKeychain). Nothing is read or written
// until main.cpp enables it, so that tests and tools never touch the user's keyring;
// without it, or without a keyring, the password is asked each time. The keyring
// answers by signals: nobody waits for it.
class PasswordStore
{
public:
    static void enable(bool on);
    static bool enabled();
    // The key of a login: server and user.
    static QString key(const QString &serverUrl, const QString &user);
    // Hands the stored password to done once the keyring has answered (empty when none
    // is stored, the keyring cannot be reached or does not answer within 10 seconds);
    // at once when the store is not enabled. Nothing is called after context is gone.
    static void read(
        const QString &key, QObject *context, std::function<void(const QString &)> done);
    // Started and left to run; a keyring that cannot keep it keeps nothing.
    static void write(const QString &key, const QString &password);
    static void remove(const QString &key);
};

} // namespace tolvimar
