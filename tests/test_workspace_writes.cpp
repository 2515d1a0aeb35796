#include "base/errors.h"
#include "testsupport.h"

#include <QLockFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

QString kalmoraReport()
{
    return fixture(QStringLiteral("reports/kalmora-klein.cr"));
}

enum class Write { TemplateSave, Settings, GameValues, Import };

} // namespace

Q_DECLARE_METATYPE(Write)

// Every write of the workspace waits for the workspace lock and, when another
// program keeps it, stops with a message and leaves the files as they were.
class TestWorkspaceWrites : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The backup of an order file cannot be put in place (see below).
        qputenv("TOLVIMAR_TEST_FAULTS", "rename:Zug-Spiel1-4-April.txt.bak");
    }

    void writesWaitForTheLock_data()
    {
        QTest::addColumn<Write>("write");
        QTest::newRow("template save") << Write::TemplateSave;
        QTest::newRow("settings") << Write::Settings;
        QTest::newRow("game values") << Write::GameValues;
        QTest::newRow("import") << Write::Import;
    }
    void writesWaitForTheLock()
    {
        QFETCH(Write, write);
        ImportHarness h(QStringLiteral("Kalmora"), 1);
        QCOMPARE(h.importFile(kalmoraReport()).status, ReportImporter::Result::Imported);
        QTextCursor typed(h.session->orderTemplate().document().textDocument());
        typed.select(QTextCursor::Document);
        typed.insertText(QStringLiteral("GEAENDERT"));
        const QString orders = h.session->orderFile().path();
        const QByteArray ordersBefore = readBytes(orders);
        const QByteArray configBefore = readBytes(h.ws.file(QStringLiteral("tolvimar.cfg")));
        h.session->workspaceLock().setWaitMs(300);
        QLockFile other(h.session->workspaceLock().filePath());
        QVERIFY(other.tryLock(0));

        QString message;
        try {
            switch (write) {
            case Write::TemplateSave:
                h.session->orderFile().save();
                break;
            case Write::Settings:
                h.session->saveSettings({QStringLiteral("1"), QStringLiteral("2"),
                    QStringLiteral("spiel1/"), QStringLiteral("pruefer")});
                break;
            case Write::GameValues:
                h.session->saveGameSlot();
                break;
            case Write::Import:
                message = h.importFile(kalmoraReport()).message;
                break;
            }
        } catch (const UserError &e) {
            message = e.message();
        }
        QVERIFY2(
            message.contains(QStringLiteral("anderen Tolvimar-Programm")), qPrintable(message));
        QCOMPARE(readBytes(orders), ordersBefore);
        QCOMPARE(readBytes(h.ws.file(QStringLiteral("tolvimar.cfg"))), configBefore);
        QVERIFY(!h.session->orderTemplate().isSaved() || write == Write::Import);

        // Once the other program is done, the same write goes through.
        other.unlock();
        if (write == Write::TemplateSave) {
            h.session->orderFile().save();
            QVERIFY(readBytes(orders).startsWith("GEAENDERT"));
        }
    }

    // The player's saved orders are never lost: when their backup cannot be put in
    // place, the order file is not replaced either, and the import says so.
    void ordersStayWhenTheirBackupFails()
    {
        ImportHarness h(QStringLiteral("Kalmora"), 1);
        QCOMPARE(h.importFile(kalmoraReport()).status, ReportImporter::Result::Imported);
        const QString orders = h.session->orderFile().path();
        const QByteArray edited = readBytes(orders) + " ; meine Befehle\r\n";
        writeBytes(orders, edited);
        const ReportImporter::Result result = h.importFile(kalmoraReport());
        QCOMPARE(result.status, ReportImporter::Result::ImportedIncomplete);
        QCOMPARE(readBytes(orders), edited);
        QVERIFY(!QFileInfo::exists(orders + QStringLiteral(".bak")));
        QVERIFY2(result.message.contains(QStringLiteral("Zug-Spiel1-4-April.txt:")),
            qPrintable(result.message));
        QVERIFY(!result.message.contains(QStringLiteral("unverändert")));
    }
};

QTEST_GUILESS_MAIN(TestWorkspaceWrites)
#include "test_workspace_writes.moc"
