#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tolvimar {

class Job;
class Session;

// "Mit Allianz abgleichen": the alliance server (remembered for the slot, without its
// password), an optional password that is never stored, the direction, a progress
// bar and what went each way.
class AllianceSyncDialog : public QDialog
{
    Q_OBJECT
public:
    AllianceSyncDialog(Session &session, QWidget *parent);

    // While a sync runs, closing asks it to stop ("Abbrechen").
    void reject() override;
    bool isSyncRunning() const { return m_job != nullptr; }

public slots:
    // "Abgleichen": starts the chosen direction on a worker thread (its own database
    // connection); the dialog shows the progress and, at the end, the outcome.
    void AbgleichenClick();

signals:
    // A pull changed the game's map; the level list may have grown.
    void mapChanged();
    // A sync started by AbgleichenClick has ended and its outcome is shown.
    void syncEnded();

private:
    void setRunning(bool running);
    void showProgress();

    Session &m_session;
    Job *m_job = nullptr; // while a sync runs
    QLineEdit *m_server;
    QLineEdit *m_password;
    QComboBox *m_direction;
    QProgressBar *m_progress;
    QLabel *m_step;
    QPlainTextEdit *m_result;
    QPushButton *m_start;
    QPushButton *m_cancel;
    QPushButton *m_close;
};

} // namespace tolvimar
