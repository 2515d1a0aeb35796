// Writes pictures of the main windows for a look by eye:
//   tolvimar_screenshots OUTDIR [REPORT]
// Uses a temporary workspace; runs offscreen.
#include "app/session.h"
#include "appwindows.h"
#include "base/scriptedprompter.h"
#include "detailpages.h"
#include "ordereditorwindow.h"
#include "regionentrydialog.h"
#include "selectiondialog.h"
#include "testsupport.h"
#include "unitspage.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QListView>
#include <QPainter>
#include <QTabWidget>
#include <QTimer>

using namespace tolvimar;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QString report = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                    : test::fixture(QStringLiteral("reports/kalmora-klein.cr"));
    test::TempWorkspace ws;
    ws.setLine(1, Configuration::GameName, QStringLiteral("Nordreich"));
    ws.setLine(1, Configuration::GameTypeText, QStringLiteral("Kalmora"));
    ScriptedPrompter prompter;
    Session session(ws.path(), prompter);
    auto main = createWindows(session, prompter, false);
    main->resize(1280, 860);
    QApplication::processEvents();

    // The selection dialog over the main window.
    QImage picture = main->grab().toImage();
    {
        QPainter painter(&picture);
        const QPixmap dialog = main->windows().selection->grab();
        painter.drawPixmap((picture.width() - dialog.width()) / 2,
            (picture.height() - dialog.height()) / 2, dialog);
    }
    picture.save(out + QStringLiteral("/1-spielwahl.png"));

    main->startGame(1, QStringLiteral("Nordreich"), QStringLiteral("Kalmora"));
    QApplication::processEvents();
    main->grab().save(out + QStringLiteral("/2-gestartet.png"));

    prompter.fileNames.enqueue(report);
    main->findChild<QAction *>(QStringLiteral("Neu1"))->trigger();
    // The import runs on a worker thread; its end is taken over on this one.
    while (main->isImportRunning())
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    QApplication::processEvents();
    auto *tabs = main->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    const QStringList wanted = {QStringLiteral("Status"), QStringLiteral("Einkommen"),
        QStringLiteral("Zugvorlage"), QStringLiteral("Kämpfe")};
    int n = 3;
    for (const QString &title : wanted) {
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->tabText(i) == title)
                tabs->setCurrentIndex(i);
        }
        QApplication::processEvents();
        main->grab().save(out + QStringLiteral("/%1-import-%2.png").arg(n++).arg(title));
    }
    // The unit page with a unit of the report's first region, and the order editor
    // over the main window.
    if (report.endsWith(QStringLiteral("kalmora-klein.cr"))) {
        main->windows().selection->hide();
        main->getSekKoo(1, 2);
        auto *units = main->findChild<UnitsPage *>();
        main->findChild<DetailPages *>()->setCurrentWidget(units);
        units->selectEntry(4);
        QApplication::processEvents();
        main->grab().save(out + QStringLiteral("/%1-einheiten.png").arg(n++));
        units->ListBox3DblClick();
        QApplication::processEvents();
        picture = main->grab().toImage();
        {
            QPainter painter(&picture);
            const QPixmap editor = main->windows().orderEditor->grab();
            painter.drawPixmap(picture.width() - editor.width() - 40, 120, editor);
        }
        picture.save(out + QStringLiteral("/%1-befehlseditor.png").arg(n++));
        // Keeps the windows up for a picture of the whole screen with its window manager.
        if (const int hold = qEnvironmentVariableIntValue("TOLVIMAR_SHOTS_HOLD_MS"); hold > 0) {
            QEventLoop loop;
            QTimer::singleShot(hold, &loop, &QEventLoop::quit);
            loop.exec();
        }
    }
    // The region view of the first region, on its three pages.
    main->getSekKoo(1, 2);
    auto *regionPages = main->findChild<QTabWidget *>(QStringLiteral("PageControl2"));
    for (int i = 0; i < 3; ++i) {
        regionPages->setCurrentIndex(i);
        QApplication::processEvents();
        main->grab().save(out + QStringLiteral("/%1-region-%2.png").arg(n++).arg(i));
    }

    main->findChild<QAction *>(QStringLiteral("Regioneingeben1"))->trigger();
    QApplication::processEvents();
    main->windows().regionEntry->grab().save(
        out + QStringLiteral("/%1-regionserfassung.png").arg(n++));
    main->windows().regionEntry->reject();

    for (const QString &t : prompter.texts())
        qWarning("%s", qPrintable(t));
    return 0;
}
