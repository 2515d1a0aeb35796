#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tolvimar {

class Session;

// "Mit Allianz abgleichen": the alliance server (remembered for the slot, without its
// password), an optional password that is never stored, the direction, a progress
// bar and what went each way.
class AllianceSyncDialog : public QDialog
{
    Q_OBJECT
public:
    AllianceSyncDialog(Session &session, QWidget *parent);

    QLineEdit *serverEdit() const { return m_server; }
    // Closing waits while a sync runs.
    void reject() override;
    QLineEdit *passwordEdit() const { return m_password; }

public slots:
    // "Abgleichen": runs the chosen direction and shows the outcome.
    void AbgleichenClick();

signals:
    // A pull changed the game's map; the level list may have grown.
    void mapChanged();

private:
    void setRunning(bool running);

    Session &m_session;
    bool m_running = false;
    QLineEdit *m_server;
    QLineEdit *m_password;
    QComboBox *m_direction;
    QProgressBar *m_progress;
    QLabel *m_step;
    QPlainTextEdit *m_result;
    QPushButton *m_start;
    QPushButton *m_close;
};

} // namespace tolvimar
