#pragma once

#include <QObject>

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
    // The password of the login; empty and false when the player cancels.
    bool password(const MailSettings &settings, QString *password, bool *asked);

    Session &m_session;
    QWidget *m_window;
};

} // namespace tolvimar
