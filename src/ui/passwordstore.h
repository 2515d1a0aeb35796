#pragma once

#include <QString>

namespace tolvimar {

// The mail password in the desktop's keyring (QtKeychain). Nothing is read or written
// until main.cpp enables it, so that tests and tools never touch the user's keyring;
// without it, or without a keyring, the password is asked each time.
class PasswordStore
{
public:
    static void enable(bool on);
    static bool enabled();
    // The key of a login: server and user.
    static QString key(const QString &serverUrl, const QString &user);
    // Empty when none is stored or the keyring cannot be reached.
    static QString read(const QString &key);
    // False when the keyring cannot keep it.
    static bool write(const QString &key, const QString &password);
    static void remove(const QString &key);
};

} // namespace tolvimar
