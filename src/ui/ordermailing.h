#pragma once

#include "mail/ordersending.h"

#include <QObject>
#include <functional>

class QWidget;

namespace tolvimar {

class Session;
struct MailSettings;

// "Datei → Befehle senden": checks the orders, asks "Trotzdem senden?" when the
// checker reports errors, gets the password from the keyring or asks for it, and
// sends the order file with the slot's mail settings (core: mail/ordersending).
class OrderMailing : public QObject
{
    Q_OBJECT
public:
    OrderMailing(Session &session, QWidget *window);
    void sendOrders();

signals:
    // "Gesendet an … (250 …)" and the checker that could not run.
    void statusText(const QString &text);

private:
    // Calls go with the password of the login (from the keyring, or typed: asked) once
    // it is known; not at all when the player cancels the question.
    void withPassword(const MailSettings &settings, std::function<void(const QString &, bool)> go);
    void send(const MailSettings &settings, const QString &password, bool asked);
    // The question "Trotzdem senden?" after a failed check, then the password.
    void continueAfterCheck(const MailSettings &settings, const OrderSending::Check &check);

    Session &m_session;
    QWidget *m_window;
};

} // namespace tolvimar
