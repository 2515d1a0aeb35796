#include "base/slotsettings.h"
#include "guisupport.h"
#include "mail/mailsettings.h"
#include "mainwindow.h"
#include "settingsdialog.h"
#include "smtptestserver.h"

#include <QCheckBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

struct Gui : GuiHarness
{
    Gui() { main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora")); }

    QWidget *settingsDialog()
    {
        find<QAction>(QStringLiteral("Optionen1"))->trigger();
        return main->windows().settings;
    }
    template<typename T> static T *in(QWidget *dialog, const char *name)
    {
        T *child = dialog->findChild<T *>(QString::fromLatin1(name));
        if (!child)
            qWarning("no %s", name);
        return child;
    }
    void fillMail(const QString &server, const QString &caFile)
    {
        QWidget *dialog = settingsDialog();
        in<QLineEdit>(dialog, "EditMailServer")->setText(server);
        in<QLineEdit>(dialog, "EditMailBenutzer")
            ->setText(QString::fromLatin1(SmtpTestServer::kUser));
        in<QLineEdit>(dialog, "EditMailAbsender")->setText(QStringLiteral("spieler@example.org"));
        in<QLineEdit>(dialog, "EditMailBefehlsadresse")
            ->setText(QStringLiteral("befehle@example.org"));
        in<QLineEdit>(dialog, "EditMailZertifikate")->setText(caFile);
        QTest::mouseClick(in<QPushButton>(dialog, "ButtonSpeichern"), Qt::LeftButton);
    }
};

// Answers the password question with the password once it shows (the checker's run
// turns the event loop before it does).
void answerPassword(QWidget *window, const QString &password, bool *asked)
{
    *asked = false;
    auto *poll = new QTimer(window);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, window, [window, password, asked, poll] {
        auto *dialog = window->findChild<QInputDialog *>(QStringLiteral("MailPasswort"));
        if (!dialog || !dialog->isVisible())
            return;
        *asked = true;
        dialog->setTextValue(password);
        dialog->accept();
        poll->deleteLater();
    });
    poll->start();
}

} // namespace

// "Datei → Optionen" keeps the mail settings of the slot, and "Datei → Befehle senden"
// sends the orders through a real server that requires STARTTLS and a login.
class TestGuiMail : public QObject
{
    Q_OBJECT
private slots:
    void settingsAreKeptWithTheSlot()
    {
        Gui gui;
        QWidget *dialog = gui.settingsDialog();
        QVERIFY(dialog->isVisible());
        Gui::in<QLineEdit>(dialog, "EditMailServer")
            ->setText(QStringLiteral("smtps://mail.example.org:465"));
        Gui::in<QLineEdit>(dialog, "EditMailBenutzer")->setText(QStringLiteral("spieler"));
        Gui::in<QLineEdit>(dialog, "EditMailAbsender")->setText(QStringLiteral("ich@example.org"));
        Gui::in<QLineEdit>(dialog, "EditMailBefehlsadresse")
            ->setText(QStringLiteral("zug@example.org"));
        Gui::in<QLineEdit>(dialog, "EditMailBetreff")->setText(QStringLiteral("Züge für Runde 4"));
        Gui::in<QCheckBox>(dialog, "CheckMailAnhang")->setChecked(true);
        QTest::mouseClick(Gui::in<QPushButton>(dialog, "ButtonSpeichern"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());

        const MailSettings kept = MailSettings::load(gui.session->workspace(), 1);
        QCOMPARE(kept.serverUrl, QStringLiteral("smtps://mail.example.org:465"));
        QCOMPARE(kept.user, QStringLiteral("spieler"));
        QCOMPARE(kept.from, QStringLiteral("ich@example.org"));
        QCOMPARE(kept.to, QStringLiteral("zug@example.org"));
        QCOMPARE(kept.subject, QStringLiteral("Züge für Runde 4"));
        QVERIFY(kept.attach);
        // Another slot has its own.
        QVERIFY(MailSettings::load(gui.session->workspace(), 2).serverUrl.isEmpty());

        // Opened again, the dialog shows what was kept; "Abbrechen" changes nothing.
        dialog = gui.settingsDialog();
        QCOMPARE(Gui::in<QLineEdit>(dialog, "EditMailBetreff")->text(),
            QStringLiteral("Züge für Runde 4"));
        QVERIFY(Gui::in<QCheckBox>(dialog, "CheckMailAnhang")->isChecked());
        Gui::in<QLineEdit>(dialog, "EditMailServer")->setText(QStringLiteral("smtp://anders:587"));
        QTest::mouseClick(Gui::in<QPushButton>(dialog, "ButtonAbbrechen"), Qt::LeftButton);
        QCOMPARE(MailSettings::load(gui.session->workspace(), 1).serverUrl,
            QStringLiteral("smtps://mail.example.org:465"));
    }

    void sendsThroughTheMenu()
    {
        SmtpTestServer server;
        QString problem;
        QVERIFY2(server.start(&problem), qPrintable(problem));
        Gui gui;
        gui.importThroughMenu(fixture(QStringLiteral("reports/kalmora-klein.cr")));
        gui.fillMail(server.url(), server.certificate());
        auto *send = gui.find<QAction>(QStringLiteral("Befehlesenden1"));
        QCOMPARE(send->text().remove(u'&'), QStringLiteral("Befehle senden"));

        // A checker that reports errors: the question, answered "no", sends nothing.
        const QString checker = gui.ws.file(QStringLiteral("checker.sh"));
        writeBytes(checker, "#!/bin/sh\necho \"$1:3: Fehler in Zeile 3\"\nexit 1\n");
        QFile::setPermissions(checker, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        gui.session->saveSettings({QStringLiteral("0"), QStringLiteral("0"),
            gui.session->settings().programPath, checker});
        gui.prompter.yesNoAnswers.enqueue(false);
        send->trigger();
        QTRY_VERIFY(gui.main->isEnabled()); // the checker runs as a job
        QVERIFY2(gui.prompter.hasText(QStringLiteral("Trotzdem senden?")),
            qPrintable(gui.prompter.texts().join(u'\n')));
        QVERIFY(gui.prompter.hasText(QStringLiteral("Fehler in Zeile 3")));
        QVERIFY(server.messages().isEmpty());

        // Answered "yes": the password is asked for, and the orders arrive.
        gui.prompter.yesNoAnswers.enqueue(true);
        bool asked = false;
        answerPassword(gui.main.get(), SmtpTestServer::password(), &asked);
        send->trigger();
        QTRY_VERIFY(gui.main->isEnabled()); // the checker runs as a job
        QVERIFY(asked);
        QCOMPARE(server.messages().size(), 1);
        QVERIFY2(gui.main->statusBar()->currentMessage().startsWith(
                     QStringLiteral("Gesendet an befehle@example.org (250 ")),
            qPrintable(gui.main->statusBar()->currentMessage()));
        QVERIFY(gui.main->isEnabled());

        // A wrong password: told, naming the server, and nothing arrives.
        gui.prompter.yesNoAnswers.enqueue(true);
        answerPassword(gui.main.get(), QStringLiteral("falsch"), &asked);
        send->trigger();
        QTRY_VERIFY(gui.main->isEnabled()); // the checker runs as a job
        QCOMPARE(server.messages().size(), 1);
        QVERIFY2(gui.prompter.hasText(
                     QStringLiteral("Die Befehle wurden nicht gesendet. Server ") + server.url()),
            qPrintable(gui.prompter.texts().join(u'\n')));
    }
};

QTEST_MAIN(TestGuiMail)
#include "test_gui_mail.moc"
