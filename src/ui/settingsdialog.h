#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace tolvimar {

class Session;

// "Einstellungen": home region, program path and the path of the order checker of
// the active game, and how its orders are sent by e-mail (kept with the slot's other
// settings; the password never).
class SettingsDialog : public QDialog
{
    Q_OBJECT
public:
    SettingsDialog(Session &session, QWidget *mainWindow);
    // Loads the fields from the configuration file, disables the main window, shows.
    void open() override;
    void reject() override;

private:
    void speichernClick();
    void abbrechenClick();
    void backToMainWindow();

    Session &m_session;
    QWidget *m_mainWindow;
    QLineEdit *m_homeX;
    QLineEdit *m_homeY;
    QLineEdit *m_programPath;
    QLineEdit *m_checkerPath;
    QGroupBox *m_mail;
    QLineEdit *m_mailServer;
    QLineEdit *m_mailUser;
    QLineEdit *m_mailFrom;
    QLineEdit *m_mailTo;
    QLineEdit *m_mailSubject;
    QCheckBox *m_mailAttach;
    QLineEdit *m_mailCaFile;
};

} // namespace tolvimar
