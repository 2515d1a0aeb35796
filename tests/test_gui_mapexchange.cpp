#include "db/database.h"
#include "gamefixture.h"
#include "guisupport.h"
#include "mappanel.h"
#include "progresswindow.h"
#include "regionentrydialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStatusBar>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

const QString kNotMarked = QStringLiteral(
    "Es ist noch keine Region markiert. Bitte zuerst den Mittelpunkt des Exportbereichs "
    "markieren.");

struct Gui : GuiHarness
{
    Gui() { main->startGame(1, QStringLiteral("Test"), QStringLiteral("Kalmora")); }

    Database &db() { return session->database(); }

    // A 5 x 5 square of named regions around (0, 0) on level 0.
    void addSquare()
    {
        Transaction transaction(db());
        GameRows rows(db(), 1);
        for (int x = -2; x <= 2; ++x)
            for (int y = -2; y <= 2; ++y)
                rows.region(x, y, 0,
                    {{QStringLiteral("Regiontyp"), QStringLiteral("Ebene")},
                        {QStringLiteral("Regionname"),
                            QStringLiteral("Feld %1/%2").arg(x).arg(y)}});
        transaction.commit();
    }

    // Every region row as "game x/y/level terrain name date", in key order.
    QStringList rows()
    {
        QSqlQuery q(db().connection());
        if (!q.exec(QStringLiteral("SELECT \"Spiel\", \"Breite\", \"Länge\", \"Ebene\", "
                                   "\"Regiontyp\", \"Regionname\", \"Info Datum\", \"Angebot\" "
                                   "FROM regionen ORDER BY 1, 2, 3, 4")))
            qFatal("query failed");
        QStringList result;
        while (q.next()) {
            QStringList fields;
            for (int i = 0; i < 8; ++i)
                fields.append(q.value(i).isNull() ? QStringLiteral("-") : q.value(i).toString());
            result.append(fields[0] + u' ' + fields[1] + u'/' + fields[2] + u'/' + fields[3] + u' '
                + fields.mid(4).join(u' '));
        }
        return result;
    }

    void trigger(const char *action) { find<QAction>(QString::fromLatin1(action))->trigger(); }
    RegionEntryDialog *dialog() const { return main->windows().regionEntry; }
    template<typename T> T *inDialog(const char *name) const
    {
        return dialog()->findChild<T *>(QString::fromLatin1(name));
    }
};

// Notes whether the main window was disabled when the progress window appeared.
class ShowWatcher : public QObject
{
public:
    ShowWatcher(QWidget *watched, QWidget *mainWindow)
        : m_main(mainWindow)
    {
        watched->installEventFilter(this);
    }
    int shown = 0;
    bool mainEnabledWhenShown = true;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            ++shown;
            mainEnabledWhenShown = m_main->isEnabled();
        }
        return false;
    }

private:
    QWidget *m_main;
};

} // namespace

class TestGuiMapExchange : public QObject
{
    Q_OBJECT
private slots:
    void menuEntries()
    {
        Gui gui;
        for (const char *name : {"Regioneingeben1", "Kartendatenimportieren1",
                 "Kartendatenexportieren1", "Kartenbereichexportieren1"})
            QVERIFY2(gui.find<QAction>(QString::fromLatin1(name))->isEnabled(), name);
        QVERIFY(!gui.find<QAction>(QStringLiteral("K1"))->isEnabled());
    }

    void importThroughTheMenu_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("error");
        QTest::newRow("read") << QByteArray(
            "REGION 4 5\r\n\"Wald\";Terrain\r\n\"N\xF6rdlich\";Name\r\n"
            "REGION 6 5 1\r\n\"Ozean\";Terrain\r\n")
                              << QStringList {"1 4/5/0 Wald Nördlich - -",
                                     "1 6/5/1 Ozean Ozean - -"}
                              << "";
        QTest::newRow("bad header")
            << QByteArray("REGION 4 5\r\n\"Wald\";Terrain\r\nREGION 6 y\r\n") << QStringList()
            << "Zeile 3: \"y\"";
    }
    void importThroughTheMenu()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, rows);
        QFETCH(QString, error);
        Gui gui;
        const QString path = gui.ws.file(QStringLiteral("karte.txt"));
        writeBytes(path, file);
        ShowWatcher watcher(gui.main->windows().progress, gui.main.get());
        gui.prompter.fileNames.enqueue(path);
        gui.trigger("Kartendatenimportieren1");

        QCOMPARE(
            gui.prompter.fileFilters, (QList<QStringList> {{"Textdateien (*.txt)", "Alle (*.*)"}}));
        QCOMPARE(watcher.shown, 1);
        QVERIFY(!watcher.mainEnabledWhenShown);
        // Restored whether the file was read or refused.
        QVERIFY(gui.main->isEnabled());
        QVERIFY(!gui.main->windows().progress->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(gui.rows(), rows);
        if (error.isEmpty()) {
            QVERIFY2(gui.prompter.log.isEmpty(), qPrintable(gui.prompter.texts().join(u'\n')));
            // The status bar says what was done.
            QCOMPARE(gui.main->statusBar()->currentMessage(),
                QStringLiteral("Kartendaten importiert: %1 neue Regionen aus karte.txt")
                    .arg(rows.size()));
        } else {
            QCOMPARE(gui.prompter.log.size(), 1);
            QCOMPARE(gui.prompter.log[0].kind, Prompter::Kind::Error);
            QVERIFY(gui.prompter.log[0].text.contains(QDir::toNativeSeparators(path)));
            QVERIFY2(
                gui.prompter.log[0].text.contains(error), qPrintable(gui.prompter.log[0].text));
        }
    }

    void cancelledImportDoesNothing()
    {
        Gui gui;
        ShowWatcher watcher(gui.main->windows().progress, gui.main.get());
        gui.trigger("Kartendatenimportieren1");
        QCOMPARE(gui.prompter.fileCaptions.size(), 1);
        QCOMPARE(watcher.shown, 0);
        QVERIFY(gui.prompter.log.isEmpty());
    }

    void wholeMapExport()
    {
        Gui gui;
        gui.addSquare();
        gui.trigger("Kartendatenexportieren1"); // cancelled: nothing written, nothing said
        QVERIFY(gui.prompter.log.isEmpty());
        const QString path = gui.ws.file(QStringLiteral("gesamt.txt"));
        gui.prompter.fileNames.enqueue(path);
        gui.trigger("Kartendatenexportieren1");
        QCOMPARE(
            gui.prompter.fileFilters.last(), (QStringList {"Alle (*.*)", "Textdateien (*.txt)"}));
        QCOMPARE(gui.prompter.texts(),
            QStringList {QStringLiteral("Exportieren der Gesamtkarte in Datei: %1 erfolgreich "
                                        "durchgeführt.")
                             .arg(QDir::toNativeSeparators(path))});
        const QStringList lines = decodeText(readBytes(path)).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 25 * 3 + 1);
        QCOMPARE(lines.first(), QStringLiteral("REGION -2 -2"));
        QVERIFY(!QApplication::overrideCursor());
    }

    // "Gesamtkarte" means every level, also once the world map shows only one.
    void wholeMapExportHoldsEveryLevel()
    {
        Gui gui;
        gui.addSquare();
        GameRows(gui.db(), 1)
            .region(5, 5, 1,
                {{QStringLiteral("Regiontyp"), QStringLiteral("Berge")},
                    {QStringLiteral("Regionname"), QStringLiteral("Tiefe")}});
        gui.trigger("Inselkarteexportieren1");
        const QString path = gui.ws.file(QStringLiteral("gesamt.txt"));
        gui.prompter.fileNames.enqueue(path);
        gui.trigger("Kartendatenexportieren1");
        const QStringList lines = decodeText(readBytes(path)).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 26 * 3 + 1);
        QVERIFY(lines.contains(QStringLiteral("REGION 5 5 1")));
    }

    void areaExport_data()
    {
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QPoint>("centre");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("regions"); // -1: no file written
        QTest::addColumn<QString>("message");
        const QString done = QStringLiteral("Exportieren des Kartenteiles");
        QTest::newRow("radius 1") << true << "Feld 0/0  0/0" << QPoint(0, 0) << QStringList {"1"}
                                  << 7 << done;
        QTest::newRow("cancelled: radius 8")
            << true << "Feld 0/0  0/0" << QPoint(0, 0) << QStringList() << 25 << done;
        QTest::newRow("negative radius")
            << true << "Feld 1/-1  1/-1" << QPoint(1, -1) << QStringList {"-1"} << 0 << done;
        QTest::newRow("not a number") << true << "Feld 0/0  0/0" << QPoint(0, 0)
                                      << QStringList {"zwei"} << -1 << "\"zwei\" ist keine";
        QTest::newRow("nothing marked")
            << false << "Feld 0/0  0/0" << QPoint() << QStringList() << -1 << kNotMarked;
        QTest::newRow("empty panel")
            << true << "" << QPoint(0, 0) << QStringList() << -1 << kNotMarked;
        QTest::newRow("no region there") << true << "Keine Informationen über Region"
                                         << QPoint(9, 9) << QStringList() << -1 << kNotMarked;
    }
    void areaExport()
    {
        QFETCH(bool, marked);
        QFETCH(QString, panel);
        QFETCH(QPoint, centre);
        QFETCH(QStringList, answers);
        QFETCH(int, regions);
        QFETCH(QString, message);
        Gui gui;
        gui.addSquare();
        if (marked)
            gui.session->mapState().selectRegion({centre.x(), centre.y(), 0});
        gui.session->mapState().setRegionCaption(panel);
        const QString path = gui.ws.file(QStringLiteral("teil.txt"));
        gui.prompter.fileNames.enqueue(path);
        for (const QString &a : answers)
            gui.prompter.textAnswers.enqueue(a);
        gui.trigger("Kartenbereichexportieren1");

        QCOMPARE(gui.prompter.log.size(), 1);
        QVERIFY2(gui.prompter.log[0].text.contains(message), qPrintable(gui.prompter.log[0].text));
        if (message == kNotMarked) {
            QVERIFY(gui.prompter.fileCaptions.isEmpty());
            QVERIFY(gui.prompter.textQuestions.isEmpty());
        } else {
            QCOMPARE(gui.prompter.fileFilters.last(),
                (QStringList {"Alle (*.*)", "Textdateien (*.txt)"}));
            QCOMPARE(gui.prompter.textQuestions.size(), 1);
            const auto &q = gui.prompter.textQuestions[0];
            QCOMPARE(q.caption, QStringLiteral("Kartenteilexport"));
            QCOMPARE(q.prompt,
                QStringLiteral("Exportradius um Feld %1/%2  (%1/%2)?")
                    .arg(centre.x())
                    .arg(centre.y()));
            QCOMPARE(q.defaultText, QStringLiteral("8"));
        }
        QCOMPARE(QFileInfo::exists(path), regions >= 0);
        if (regions >= 0)
            QCOMPARE(readBytes(path).count("REGION"), regions);
    }

    // The region shown last by the region view is the centre of the area.
    void areaExportAroundTheRegionShown()
    {
        Gui gui;
        gui.addSquare();
        gui.main->getSekKoo(1, -1);
        const QString path = gui.ws.file(QStringLiteral("teil.txt"));
        gui.prompter.fileNames.enqueue(path);
        gui.prompter.textAnswers.enqueue(QStringLiteral("1"));
        gui.trigger("Kartenbereichexportieren1");
        QCOMPARE(gui.prompter.textQuestions.size(), 1);
        QCOMPARE(gui.prompter.textQuestions[0].prompt,
            QStringLiteral("Exportradius um Feld 1/-1  (1/-1)?"));
        QCOMPARE(readBytes(path).count("REGION"), 7);
    }

    void regionEntrySaves()
    {
        Gui gui;
        QSignalSpy moved(&gui.session->mapState(), &MapState::currentPositionChanged);
        gui.trigger("Regioneingeben1");
        RegionEntryDialog *dialog = gui.dialog();
        QVERIFY(dialog->isVisible());
        QVERIFY(!gui.main->isEnabled());
        QVERIFY(dialog->isEnabled());
        QCOMPARE(dialog->objectName(), QStringLiteral("TForm4"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Manuelle Regionserfassung"));
        QCOMPARE(dialog->size(), QSize(435, 213));
        auto *terrain = gui.inDialog<QComboBox>("ComboBox1");
        QCOMPARE(terrain->currentText(), QStringLiteral("Ebene"));
        QStringList items;
        for (int i = 0; i < terrain->count(); ++i)
            items.append(terrain->itemText(i));
        QCOMPARE(items,
            (QStringList {
                "Berge", "Ebene", "Gletscher", "Hochland", "Ozean", "Sumpf", "Wald", "Wüste"}));

        QTest::keyClicks(gui.inDialog<QLineEdit>("Edit1"), QStringLiteral("Neuland"));
        QTest::keyClicks(gui.inDialog<QLineEdit>("Edit2"), QStringLiteral("12"));
        QTest::keyClicks(gui.inDialog<QLineEdit>("Edit3"), QStringLiteral("-3"));
        QTest::keyClicks(gui.inDialog<QLineEdit>("Edit4"), QStringLiteral("Eisen"));
        terrain->setCurrentText(QStringLiteral("Berge"));
        QTest::mouseClick(gui.inDialog<QPushButton>("Button1"), Qt::LeftButton);

        QVERIFY(!dialog->isVisible());
        QVERIFY(gui.main->isEnabled());
        QCOMPARE(gui.rows(), QStringList {QStringLiteral("1 12/-3/0 Berge Neuland 0 Eisen")});
        QCOMPARE(gui.session->mapState().currentPosition(), QPoint(12, -3));
        QCOMPARE(moved.size(), 1);
        // The saved region is shown: the title names it as "Region Info" does.
        QCOMPARE(
            gui.find<QLabel>(QStringLiteral("Panel1"))->text(), QStringLiteral("Neuland  12/-3"));
        QCOMPARE(gui.session->mapState().selectedRegion(), std::optional<Position>({12, -3, 0}));
        QVERIFY(gui.prompter.log.isEmpty());

        // Opened again: emptied, "Ebene" chosen; on level 2 a desert is stored as "Desert"
        // there, and the row of level 0 stays.
        gui.session->mapState().setLevel(2);
        gui.trigger("Regioneingeben1");
        for (const char *name : {"Edit1", "Edit2", "Edit3", "Edit4"})
            QVERIFY2(gui.inDialog<QLineEdit>(name)->text().isEmpty(), name);
        QCOMPARE(terrain->currentText(), QStringLiteral("Ebene"));
        QTest::keyClicks(gui.inDialog<QLineEdit>("Edit2"), QStringLiteral("12"));
        QTest::keyClicks(gui.inDialog<QLineEdit>("Edit3"), QStringLiteral("-3"));
        terrain->setCurrentText(QStringLiteral("Wüste"));
        QTest::mouseClick(gui.inDialog<QPushButton>("Button1"), Qt::LeftButton);
        QCOMPARE(
            gui.rows(), (QStringList {"1 12/-3/0 Berge Neuland 0 Eisen", "1 12/-3/2 Desert  0 "}));
    }

    void regionEntryBadNumber_data()
    {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letters in x") << "12a"
                                      << "3"
                                      << "\"12a\" ist keine gültige ganze Zahl";
        QTest::newRow("empty y") << "12"
                                 << ""
                                 << "\"\" ist keine gültige ganze Zahl";
        QTest::newRow("fraction") << "1,5"
                                  << "3"
                                  << "\"1,5\" ist keine";
    }
    void regionEntryBadNumber()
    {
        QFETCH(QString, x);
        QFETCH(QString, y);
        QFETCH(QString, shown);
        Gui gui;
        gui.trigger("Regioneingeben1");
        gui.inDialog<QLineEdit>("Edit2")->setText(x);
        gui.inDialog<QLineEdit>("Edit3")->setText(y);
        QTest::mouseClick(gui.inDialog<QPushButton>("Button1"), Qt::LeftButton);
        QCOMPARE(gui.prompter.log.size(), 1);
        QVERIFY2(gui.prompter.log[0].text.contains(shown), qPrintable(gui.prompter.log[0].text));
        QVERIFY(gui.dialog()->isVisible());
        QVERIFY(!gui.main->isEnabled());
        QVERIFY(gui.rows().isEmpty());

        QTest::mouseClick(gui.inDialog<QPushButton>("Button2"), Qt::LeftButton);
        QVERIFY(!gui.dialog()->isVisible());
        QVERIFY(gui.main->isEnabled());
        QVERIFY(gui.rows().isEmpty());
    }

    void regionEntryCancelled_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Abbrechen") << false;
        QTest::newRow("Escape") << true;
    }
    void regionEntryCancelled()
    {
        QFETCH(bool, escape);
        Gui gui;
        const QPoint home = gui.session->mapState().currentPosition();
        gui.trigger("Regioneingeben1");
        gui.inDialog<QLineEdit>("Edit1")->setText(QStringLiteral("Nie"));
        gui.inDialog<QLineEdit>("Edit2")->setText(QStringLiteral("1"));
        gui.inDialog<QLineEdit>("Edit3")->setText(QStringLiteral("1"));
        if (escape)
            QTest::keyClick(gui.dialog(), Qt::Key_Escape);
        else
            QTest::mouseClick(gui.inDialog<QPushButton>("Button2"), Qt::LeftButton);
        QVERIFY(!gui.dialog()->isVisible());
        QVERIFY(gui.main->isEnabled());
        QVERIFY(gui.rows().isEmpty());
        QCOMPARE(gui.session->mapState().currentPosition(), home);
        QVERIFY(gui.find<QLabel>(QStringLiteral("Panel1"))->text().isEmpty());
    }
};

QTEST_MAIN(TestGuiMapExchange)
#include "test_gui_mapexchange.moc"
