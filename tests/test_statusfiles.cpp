#include "analysis/pointsstatistics.h"
#include "app/statusstore.h"
#include "app/turnsummary.h"
#include "appwindows.h"
#include "guisupport.h"
#include "pointschart.h"
#include "testsupport.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

QStringList smallReport(const QString &game, int turn, int points, int base)
{
    QStringList lines = reportHeader(game, turn, 4711, base);
    lines.replace(8, QStringLiteral("%1;Punkte").arg(points));
    lines << QStringLiteral("MESSAGE 1") << QStringLiteral("2097;type")
          << QStringLiteral("\"Bauern (a) verdient 40 Silber durch Arbeit.\";rendered")
          << QStringLiteral("40;amount") << QStringLiteral("MESSAGE 2")
          << QStringLiteral("21740;type")
          << QStringLiteral("\"Holzfäller (b) produziert 12 Holz.\";rendered")
          << QStringLiteral("REGION 1 1") << QStringLiteral("\"Mark\";Name")
          << QStringLiteral("\"Ebene\";Terrain") << QStringLiteral("EINHEIT 7")
          << QStringLiteral("\"Bauern\";Name") << QStringLiteral("4711;Partei")
          << QStringLiteral("6;Anzahl") << QStringLiteral("COMMANDS")
          << QStringLiteral("\"ARBEITE\"") << QStringLiteral("GEGENSTAENDE")
          << QStringLiteral("250;Silber");
    return lines;
}

} // namespace

class TestStatusFiles : public QObject
{
    Q_OBJECT
private slots:
    void elevenFilesAndTemplateCopy()
    {
        ImportHarness h(QStringLiteral("Sulvitan"), 2);
        QCOMPARE(h.import(smallReport(QStringLiteral("Sulvitan"), 25, 100, 10)).status,
            ReportImporter::Result::Imported);
        const QStringList files
            = QDir(h.ws.file(QStringLiteral("spiel2/status-data"))).entryList(QDir::Files);
        QCOMPARE(files.size(), 11);
        for (const QString &f : files)
            QVERIFY2(f.startsWith(QStringLiteral("2-")), qPrintable(f));
        QVERIFY(QFileInfo::exists(h.ws.file(QStringLiteral("spiel2/Zug-Spiel2-3-Januar.txt"))));
        // No total marker outside game 1.
        QVERIFY(readTextLines(h.ws.file(QStringLiteral("spiel2/status-data/2-einkommen.txt")))
                    .filter(QStringLiteral("zzzz"))
                    .isEmpty());
        const Configuration c = h.ws.config();
        QCOMPARE(c.line(2, 13), QStringLiteral("100"));
        QCOMPARE(c.line(2, 16), QStringLiteral("Januar im Jahre 3"));
        QCOMPARE(c.line(2, 19), QStringLiteral("250"));
        QCOMPARE(c.line(2, Configuration::GameName), QStringLiteral("Testspiel"));
        // The summaries ran after the import.
        QCOMPARE(h.status(StatusField::Gesamteinkommen), QStringLiteral("40 Silber"));
        QCOMPARE(h.session->status().gesamtproduktion.first(), QStringLiteral("Holz       : 12"));
    }

    void gameOneKeepsTheTotalMarker()
    {
        ImportHarness h(QStringLiteral("Kalmora"), 1);
        h.import(smallReport(QStringLiteral("Kalmora"), 40, 100, 36));
        const QStringList income
            = readTextLines(h.ws.file(QStringLiteral("spiel1/status-data/1-einkommen.txt")));
        QCOMPARE(income.last(), QStringLiteral("zzzz40 Silber"));
    }

    void factionRowOncePerTurnAndDifferences()
    {
        ImportHarness h(QStringLiteral("Kalmora"), 1);
        h.import(smallReport(QStringLiteral("Kalmora"), 40, 100, 36));
        h.import(smallReport(QStringLiteral("Kalmora"), 40, 100, 36));
        QCOMPARE(h.value(QStringLiteral("SELECT COUNT(*) FROM statistik WHERE \"Länge\" = 5000"))
                     .toInt(),
            1);
        h.import(smallReport(QStringLiteral("Kalmora"), 41, 130, 36));
        const QList<QStringList> grid = h.session->pointsGrid();
        QCOMPARE(grid.size(), 3);
        QCOMPARE(grid[0],
            (QStringList {QStringLiteral("Datum"), QStringLiteral("Eigene"),
                QStringLiteral("Schnitt"), QStringLiteral("Vorsprung"), QStringLiteral("<> Eigene"),
                QStringLiteral("<> Schnitt"), QStringLiteral("Partei Silber"),
                QStringLiteral("Personen")}));
        QCOMPARE(grid[1],
            (QStringList {QStringLiteral("404"), QStringLiteral("100"), QStringLiteral("80"),
                QStringLiteral("20"), QString(), QString(), QStringLiteral("250"),
                QStringLiteral("6")}));
        QCOMPARE(grid[2][4], QStringLiteral("30"));
        QCOMPARE(grid[2][5], QStringLiteral("0"));
    }

    void chartSeriesFollowTheGrid()
    {
        ImportHarness h(QStringLiteral("Sulvitan"), 2);
        h.import(smallReport(QStringLiteral("Sulvitan"), 25, 100, 10));
        h.import(smallReport(QStringLiteral("Sulvitan"), 26, 130, 10));
        const PointsSeries series = pointsSeries(h.session->pointsGrid());
        QCOMPARE(series.dates, (QList<qint64> {301, 302}));
        // Sulvitan records no points: the cells stay empty, the line has gaps.
        QVERIFY(!series.points[1]);
        QCOMPARE(series.silver[1], std::optional<qint64>(250));
        QCOMPARE(series.persons[0], std::optional<qint64>(6));
        QVERIFY(pointsSeries({}).isEmpty());
    }

    void sulvitanLeavesPointCellsEmpty()
    {
        ImportHarness h(QStringLiteral("Sulvitan"), 2);
        h.import(smallReport(QStringLiteral("Sulvitan"), 25, 100, 10));
        h.import(smallReport(QStringLiteral("Sulvitan"), 26, 130, 10));
        const QList<QStringList> grid = h.session->pointsGrid();
        QCOMPARE(grid.size(), 3);
        QCOMPARE(grid[2],
            (QStringList {QStringLiteral("302"), QString(), QString(), QString(), QString(),
                QString(), QStringLiteral("250"), QStringLiteral("6")}));
    }

    void noFactionRowsEmptiesTheGrid()
    {
        ImportHarness h;
        h.session->setPointsGrid({{QStringLiteral("alt")}});
        fillPointsStatistics(*h.session);
        QVERIFY(h.session->pointsGrid().isEmpty());
    }

    void openingRestoresTheNewestImport()
    {
        TempWorkspace ws;
        {
            ImportHarness h(QStringLiteral("Kalmora"), 1);
            h.import(smallReport(QStringLiteral("Kalmora"), 40, 100, 36));
            // Move the harness's workspace content into ours.
            for (const QString &entry :
                QDir(h.ws.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
                QFile::remove(ws.file(entry));
                QVERIFY(QFile::rename(h.ws.file(entry), ws.file(entry)));
            }
        }
        ScriptedPrompter prompter;
        Session session(ws.path(), prompter);
        auto main = createWindows(session, prompter, false);
        main->startGame(1, QStringLiteral("Testspiel"), QStringLiteral("Kalmora"));
        QVERIFY2(prompter.log.isEmpty(), qPrintable(prompter.texts().join(u'\n')));
        QCOMPARE(main->findChild<QLineEdit *>(QStringLiteral("Edit6"))->text(),
            QStringLiteral("April im Jahre 4"));
        QCOMPARE(
            main->findChild<QLineEdit *>(QStringLiteral("Edit13"))->text(), QStringLiteral("250"));
        QCOMPARE(main->findChild<QLineEdit *>(QStringLiteral("EditGesamteinkommen"))->text(),
            QStringLiteral("40 Silber"));
        auto *production = main->findChild<QListView *>(QStringLiteral("ListBoxProduktion"));
        QCOMPARE(production->model()->rowCount(), 1);
        auto *editor = templateEditor(*main);
        QVERIFY(editor->toPlainText().contains(QStringLiteral(" EINHEIT 7;\tBauern [6,250$]")));
        QVERIFY(session.orderTemplate().isSaved());
        auto *tabs = main->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
        QStringList visible;
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->isTabVisible(i))
                visible.append(tabs->tabText(i));
        }
        QVERIFY(visible.contains(QStringLiteral("Einkommen")));
        QVERIFY(visible.contains(QStringLiteral("Produktion")));
        const QAbstractItemModel *grid
            = main->findChild<QTableView *>(QStringLiteral("StringGridPunkte"))->model();
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->index(1, 1).data().toString(), QStringLiteral("100"));
        auto *chart = main->findChild<PointsChart *>(QStringLiteral("PointsChart"));
        QCOMPARE(chart->series().dates, (QList<qint64> {404}));
        QVERIFY(!chart->grab().isNull());
    }

    void firstOpeningHasNoFilesAndNoError()
    {
        ImportHarness h(QStringLiteral("Kalmora"), 3);
        QVERIFY(h.prompter.log.isEmpty());
        QVERIFY(h.session->orderTemplate().isEmpty());
        QCOMPARE(h.status(StatusField::Gesamteinkommen), QStringLiteral("0 Silber"));
        QCOMPARE(h.session->status().gesamtproduktion.size(), 11);
    }

    void unreadableFileIsReportedOnceAndOpeningGoesOn()
    {
        ImportHarness h(QStringLiteral("Kalmora"), 1);
        h.import(smallReport(QStringLiteral("Kalmora"), 40, 100, 36));
        // A directory where a file should be cannot be read.
        const QString handel = h.ws.file(QStringLiteral("spiel1/status-data/1-handel.txt"));
        QFile::remove(handel);
        QDir().mkpath(handel);
        h.prompter.log.clear();
        h.session->openGame(1, QStringLiteral("Testspiel"), QStringLiteral("Kalmora"));
        QCOMPARE(h.prompter.log.size(), 1);
        QVERIFY(h.prompter.log.first().text.contains(QStringLiteral("1-handel.txt")));
        QVERIFY(h.session->orderTemplate().text().contains(QStringLiteral("ARBEITE")));
    }

    void emptyDateLoadsNoTemplate()
    {
        ImportHarness h(QStringLiteral("Kalmora"), 1);
        h.import(smallReport(QStringLiteral("Kalmora"), 40, 100, 36));
        h.ws.setLine(1, 16, QString());
        h.session->openGame(1, QStringLiteral("Testspiel"), QStringLiteral("Kalmora"));
        QVERIFY(h.session->orderTemplate().isEmpty());
    }
};

QTEST_MAIN(TestStatusFiles)
#include "test_statusfiles.moc"
