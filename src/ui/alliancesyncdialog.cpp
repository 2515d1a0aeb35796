#include "alliancesyncdialog.h"

#include "app/alliancesync.h"
#include "app/job.h"
#include "app/jobprogress.h"
#include "app/session.h"
#include "attempt.h"
#include "base/errors.h"
#include "db/database.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvimar {

AllianceSyncDialog::AllianceSyncDialog(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("AllianzDialog"));
    setWindowTitle(QStringLiteral("Mit Allianz abgleichen"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    m_server = new QLineEdit(this);
    m_server->setObjectName(QStringLiteral("ServerEdit"));
    m_server->setPlaceholderText(QStringLiteral("host=… port=5432 dbname=… user=… sslmode=…"));
    m_server->setMinimumWidth(420);
    form->addRow(QStringLiteral("Allianzserver:"), m_server);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("PasswortEdit"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(QStringLiteral("nur wenn der Server eines verlangt"));
    form->addRow(QStringLiteral("Passwort:"), m_password);
    m_direction = new QComboBox(this);
    m_direction->setObjectName(QStringLiteral("RichtungBox"));
    m_direction->addItem(QStringLiteral("Senden und holen"), int(AllianceSync::Direction::Sync));
    m_direction->addItem(QStringLiteral("Nur senden"), int(AllianceSync::Direction::Push));
    m_direction->addItem(QStringLiteral("Nur holen"), int(AllianceSync::Direction::Pull));
    form->addRow(QStringLiteral("Abgleich:"), m_direction);
    layout->addLayout(form);
    auto *hint
        = new QLabel(QStringLiteral("Das Passwort wird nicht gespeichert. Eigene Markierungen "
                                    "und Gruppen bleiben auf diesem Rechner."),
            this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    m_step = new QLabel(this);
    m_step->setObjectName(QStringLiteral("SchrittLabel"));
    layout->addWidget(m_step);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("AbgleichFortschritt"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    layout->addWidget(m_progress);
    m_result = new QPlainTextEdit(this);
    m_result->setObjectName(QStringLiteral("ErgebnisText"));
    m_result->setReadOnly(true);
    m_result->setFixedHeight(90);
    layout->addWidget(m_result);
    auto *buttons = new QHBoxLayout;
    m_start = new QPushButton(QStringLiteral("Abgleichen"), this);
    m_start->setObjectName(QStringLiteral("AbgleichenButton"));
    m_start->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_cancel->setObjectName(QStringLiteral("AbbrechenButton"));
    m_cancel->setEnabled(false);
    m_close = new QPushButton(QStringLiteral("Schließen"), this);
    m_close->setObjectName(QStringLiteral("SchliessenButton"));
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
    connect(m_start, &QPushButton::clicked, this, &AllianceSyncDialog::AbgleichenClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (!m_job)
            return;
        m_job->cancel();
        m_cancel->setEnabled(false);
        m_step->setText(QStringLiteral("Wird abgebrochen ..."));
    });

    if (m_session.game().isOpen()) {
        ShareProgress quiet;
        attempt([&] { m_server->setText(AllianceSync(m_session, quiet).rememberedServer()); },
            [this](const QString &message) { m_result->setPlainText(message); });
    } else {
        m_start->setEnabled(false);
        m_result->setPlainText(QStringLiteral("Bitte zuerst ein Spiel starten."));
    }
}

void AllianceSyncDialog::reject()
{
    if (m_job)
        m_cancel->click();
    else
        QDialog::reject();
}

void AllianceSyncDialog::setRunning(bool running)
{
    m_cancel->setEnabled(running);
    for (QWidget *w : {static_cast<QWidget *>(m_server), static_cast<QWidget *>(m_password),
             static_cast<QWidget *>(m_direction), static_cast<QWidget *>(m_start),
             static_cast<QWidget *>(m_close)})
        w->setEnabled(!running);
    if (running)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void AllianceSyncDialog::AbgleichenClick()
{
    const QString server = m_server->text().trimmed();
    if (server.isEmpty()) {
        m_result->setPlainText(QStringLiteral("Bitte den Allianzserver angeben, z. B. "
                                              "\"host=karte.example.org dbname=allianz "
                                              "user=name sslmode=verify-full\"."));
        m_server->setFocus();
        return;
    }
    const auto direction = AllianceSync::Direction(m_direction->currentData().toInt());
    m_result->clear();
    m_progress->setValue(0);
    m_step->clear();
    m_job = new Job(this);
    // What the worker needs, copied here: it reads nothing of the dialog.
    struct Run
    {
        explicit Run(Session &session, Job &job)
            : progress(job, session.workspaceLock())
            , sync(session, progress)
        {
        }
        JobShareProgress progress;
        AllianceSync sync;
        AllianceSync::Result result;
    };
    auto run = std::make_shared<Run>(m_session, *m_job);
    const QString password = m_password->text();
    const QString databasePath = m_session.database().path();
    connect(m_job, &Job::progressed, this, &AllianceSyncDialog::showProgress);
    connect(m_job, &Job::finished, this, [this, run, server] {
        std::exchange(m_job, nullptr)->deleteLater();
        setRunning(false);
        // The maps are drawn on this thread; the job's progress has ended.
        ShareProgress quiet;
        const AllianceSync::Result result
            = AllianceSync(m_session, quiet).takeOver(std::move(run->result));
        QString text = result.message;
        if (result.status != AllianceSync::Result::Failed) {
            m_step->setText(QStringLiteral("Abgleich beendet"));
            attempt([&] { run->sync.rememberServer(server); },
                [&](const QString &message) {
                    text += QStringLiteral("\nDer Server wurde nicht gemerkt: ") + message;
                });
        } else {
            m_step->setText(QStringLiteral("Abgleich fehlgeschlagen"));
            m_progress->setValue(0);
        }
        for (const QString &notice : result.notices)
            text += QStringLiteral("\nHinweis des Allianzservers: ") + notice;
        m_result->setPlainText(text);
        if (result.pulled && result.down.total() > 0)
            emit mapChanged();
        if (result.needsPassword) {
            m_password->setFocus();
            m_password->selectAll();
        }
        emit syncEnded();
    });
    setRunning(true);
    m_job->start([run, direction, server, password, databasePath](JobControl &) {
        try {
            // A connection of this thread: the session's belongs to the window's.
            Database db(databasePath);
            run->result = run->sync.exchange(db, direction, server, password);
        } catch (const UserError &e) {
            run->result.status = AllianceSync::Result::Failed;
            run->result.message
                = e.message() + QStringLiteral("\nIn der eigenen Datenbank wurde nichts geändert.");
        }
    });
}

void AllianceSyncDialog::showProgress()
{
    if (!m_job)
        return;
    const JobControl::Progress progress = m_job->progress();
    if (!m_cancel->isEnabled() && m_job->isCancelled())
        return; // "Wird abgebrochen ..." stays
    m_step->setText(progress.step);
    m_progress->setValue(progress.percent);
}

} // namespace tolvimar
