#include "alliancesyncdialog.h"
#include "app/alliancesync.h"
#include "base/slotsettings.h"
#include "db/database.h"
#include "gamefixture.h"
#include "guisupport.h"
#include "mapimage.h"
#include "mappanel.h"
#include "pgtestserver.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

void addRegion(Session &session, int x, int y, int level, int date)
{
    GameRows(session.database(), 1, date)
        .region(x, y, level,
            {{QStringLiteral("Regionname"), QStringLiteral("Feld")},
                {QStringLiteral("Regiontyp"), QStringLiteral("Ebene")}});
}

// Another member's workspace pushes its regions (x, y, level) of turn `date`.
AllianceSync::Result::Status pushFromAnotherMember(
    const QString &server, const QList<QList<int>> &regions, int date)
{
    ImportHarness other;
    for (const QList<int> &r : regions)
        addRegion(*other.session, r[0], r[1], r[2], date);
    ShareProgress quiet;
    return AllianceSync(*other.session, quiet)
        .run(AllianceSync::Direction::Push, server, QString())
        .status;
}

// The sync runs as a job: returns once it has ended and its outcome is shown.
void waitForSync(AllianceSyncDialog *dialog)
{
    if (dialog->isSyncRunning()) {
        QSignalSpy ended(dialog, &AllianceSyncDialog::syncEnded);
        QVERIFY(ended.wait(60000));
    }
}

struct Gui : GuiHarness
{
    Gui() { main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora")); }

    template<typename T> static T *in(QWidget *dialog, const char *name)
    {
        T *child = dialog->findChild<T *>(QString::fromLatin1(name));
        if (!child)
            qWarning("no %s", name);
        return child;
    }
    QString settingsFile() const { return SlotSettings(session->workspace(), 1).filePath(); }
};

} // namespace

class TestGuiShare : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!m_server.startForTestClass())
            return;
        m_server.sql(QStringLiteral("postgres"),
            QStringLiteral("CREATE DATABASE mitglieder OWNER mitglied"));
    }
    void cleanupTestCase() { m_server.stop(); }

    // "Karte → Mit Allianz abgleichen" opens the dialog; a sync in it brings another
    // player's regions, the level list learns the new level, the server is remembered.
    void syncThroughTheMenu()
    {
        const QString server = m_server.conninfo(m_server.createDatabase());
        // Another member has pushed two regions, one on level 3.
        QCOMPARE(
            pushFromAnotherMember(server, {{4, 4, 0}, {1, 1, 3}}, 302), AllianceSync::Result::Done);
        Gui gui;
        addRegion(*gui.session, 0, 0, 0, 301);
        QComboBox *levels = gui.find<QComboBox>(QStringLiteral("DBLookupComboBox3"));
        QCOMPARE(levels->count(), 1);

        bool seen = false;
        QList<int> percents;
        QString result;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<AllianceSyncDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            seen = true;
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Mit Allianz abgleichen"));
            QCOMPARE(Gui::in<QLineEdit>(dialog, "ServerEdit")->text(), QString());
            auto *bar = Gui::in<QProgressBar>(dialog, "AbgleichFortschritt");
            connect(bar, &QProgressBar::valueChanged, [&](int v) { percents.append(v); });
            Gui::in<QLineEdit>(dialog, "ServerEdit")->setText(server);
            QTest::mouseClick(Gui::in<QPushButton>(dialog, "AbgleichenButton"), Qt::LeftButton);
            waitForSync(dialog);
            result = Gui::in<QPlainTextEdit>(dialog, "ErgebnisText")->toPlainText();
            QCOMPARE(Gui::in<QLabel>(dialog, "SchrittLabel")->text(),
                QStringLiteral("Abgleich beendet"));
            QVERIFY(!QApplication::overrideCursor());
            QVERIFY(Gui::in<QPushButton>(dialog, "SchliessenButton")->isEnabled());
            Gui::in<QPushButton>(dialog, "SchliessenButton")->click();
        });
        gui.find<QAction>(QStringLiteral("MitAllianzabgleichen1"))->trigger();
        QVERIFY(seen);
        QCOMPARE(result,
            QStringLiteral("Hochgeladen: 1 Zeile (Regionen 1, Burgen 0, Schiffe 0, Einheiten 0)\n"
                           "Heruntergeladen: 2 Zeilen (Regionen 2, Burgen 0, Schiffe 0, "
                           "Einheiten 0)"));
        QVERIFY(!percents.isEmpty());
        QCOMPARE(percents.last(), 100);
        QCOMPARE(levels->count(), 2);
        QCOMPARE(levels->itemData(1).toInt(), 3);
        QVERIFY(levels->itemText(1).startsWith(QStringLiteral("3 ")));

        // The next dialog offers the remembered server.
        AllianceSyncDialog again(*gui.session, gui.main.get());
        QCOMPARE(Gui::in<QLineEdit>(&again, "ServerEdit")->text(),
            PgConnection::withoutPassword(server));
        QVERIFY(Gui::in<QLineEdit>(&again, "PasswortEdit")->text().isEmpty());
    }

    // The password field is used for the connection and forgotten: the settings hold
    // the server without it, and a new dialog starts with an empty field.
    void passwordIsUsedAndForgotten()
    {
        Gui gui;
        addRegion(*gui.session, 0, 0, 0, 301);
        AllianceSyncDialog dialog(*gui.session, gui.main.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Gui::in<QLineEdit>(&dialog, "ServerEdit")
            ->setText(
                m_server.tcpConninfo(QStringLiteral("mitglieder"), QStringLiteral("mitglied")));
        auto *text = Gui::in<QPlainTextEdit>(&dialog, "ErgebnisText");
        dialog.AbgleichenClick();
        waitForSync(&dialog);
        QVERIFY2(text->toPlainText().contains(QStringLiteral("verlangt ein Passwort")),
            qPrintable(text->toPlainText()));
        QVERIFY2(text->toPlainText().contains(QStringLiteral("nichts geändert")),
            qPrintable(text->toPlainText()));
        QCOMPARE(QApplication::focusWidget(), Gui::in<QLineEdit>(&dialog, "PasswortEdit"));
        QCOMPARE(Gui::in<QLabel>(&dialog, "SchrittLabel")->text(),
            QStringLiteral("Abgleich fehlgeschlagen"));
        QVERIFY(!QFile::exists(gui.settingsFile()));

        QTest::keyClicks(Gui::in<QLineEdit>(&dialog, "PasswortEdit"), QStringLiteral("geheim"));
        dialog.AbgleichenClick();
        waitForSync(&dialog);
        QVERIFY2(text->toPlainText().startsWith(QStringLiteral("Hochgeladen: 1 Zeile")),
            qPrintable(text->toPlainText()));
        const QByteArray stored = readBytes(gui.settingsFile());
        QVERIFY2(stored.contains("user=mitglied"), stored.constData());
        QVERIFY2(!stored.contains("geheim"), stored.constData());
        QVERIFY(!readBytes(gui.ws.file(QStringLiteral("tolvimar.cfg"))).contains("mitglied"));

        AllianceSyncDialog next(*gui.session, gui.main.get());
        QVERIFY(Gui::in<QLineEdit>(&next, "PasswortEdit")->text().isEmpty());
        QVERIFY(Gui::in<QLineEdit>(&next, "ServerEdit")
                    ->text()
                    .contains(QStringLiteral("user=mitglied")));
    }

    // A pull while the world map is shown and a region selected: the window shows the
    // map drawn anew.
    void pullRedrawsTheShownMap()
    {
        const QString server = m_server.conninfo(m_server.createDatabase());
        QCOMPARE(
            pushFromAnotherMember(server, {{6, 2, 0}, {0, 0, 0}}, 305), AllianceSync::Result::Done);
        Gui gui;
        addRegion(*gui.session, 0, 0, 0, 301);
        addRegion(*gui.session, 1, 0, 0, 301);
        gui.find<QPushButton>(QStringLiteral("Button4"))->click();
        gui.main->getSekKoo(0, 0);
        gui.find<QToolButton>(QStringLiteral("ToolButton1"))->click();
        gui.find<QToolButton>(QStringLiteral("ToolButton2"))->click();
        const QSize before = gui.session->mapState().worldMap().size();
        AllianceSyncDialog dialog(*gui.session, gui.main.get());
        connect(&dialog, &AllianceSyncDialog::mapChanged, gui.main.get(),
            [&] { gui.main->getSekKoo(6, 2); });
        dialog.show();
        Gui::in<QLineEdit>(&dialog, "ServerEdit")->setText(server);
        dialog.AbgleichenClick();
        waitForSync(&dialog);
        QVERIFY2(Gui::in<QPlainTextEdit>(&dialog, "ErgebnisText")
                     ->toPlainText()
                     .contains(QStringLiteral("Heruntergeladen: 2 Zeilen")),
            qPrintable(Gui::in<QPlainTextEdit>(&dialog, "ErgebnisText")->toPlainText()));
        QVERIFY(gui.session->mapState().worldMap().size() != before);
        QCOMPARE(gui.find<MapImage>(QStringLiteral("Image82"))->image().size(),
            gui.session->mapState().worldMap().size());
    }

    // A failure of the server's library is told in German first (what failed, what to
    // check), with the library's own words kept on a line of their own below.
    void failureIsExplainedInGerman_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("first");
        QTest::newRow("no server listening")
            << QStringLiteral("host=127.0.0.1 port=1 dbname=allianz user=name connect_timeout=5")
            << QStringLiteral("Keine Verbindung zum Allianzserver");
        QTest::newRow("unreadable server text")
            << QStringLiteral("karte allianz") << QStringLiteral("nicht lesbar");
    }
    void failureIsExplainedInGerman()
    {
        QFETCH(QString, server);
        QFETCH(QString, first);
        Gui gui;
        AllianceSyncDialog dialog(*gui.session, gui.main.get());
        dialog.show();
        Gui::in<QLineEdit>(&dialog, "ServerEdit")->setText(server);
        QTest::mouseClick(Gui::in<QPushButton>(&dialog, "AbgleichenButton"), Qt::LeftButton);
        waitForSync(&dialog);
        const QString text = Gui::in<QPlainTextEdit>(&dialog, "ErgebnisText")->toPlainText();
        const QStringList lines = text.split(u'\n');
        QVERIFY2(lines.size() >= 2, qPrintable(text));
        QVERIFY2(lines[0].contains(first) && lines[0].contains(QStringLiteral("prüfen")),
            qPrintable(text));
        const QString original = QStringLiteral("Ursprüngliche Meldung: ");
        QVERIFY2(lines[1].startsWith(original) && lines[1].size() > original.size() + 5,
            qPrintable(text));
        // The library's words stand only below the German sentence.
        QVERIFY2(!lines[0].contains(lines[1].mid(original.size())), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("nichts geändert")), qPrintable(text));
    }

    void emptyServerIsAskedFor()
    {
        Gui gui;
        AllianceSyncDialog dialog(*gui.session, gui.main.get());
        dialog.AbgleichenClick();
        waitForSync(&dialog);
        QVERIFY(Gui::in<QPlainTextEdit>(&dialog, "ErgebnisText")
                    ->toPlainText()
                    .startsWith(QStringLiteral("Bitte den Allianzserver angeben")));
        QCOMPARE(Gui::in<QProgressBar>(&dialog, "AbgleichFortschritt")->value(), 0);
    }

private:
    TestPostgres m_server;
};

QTEST_MAIN(TestGuiShare)
#include "test_gui_share.moc"
