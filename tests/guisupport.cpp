#include "guisupport.h"

#include "mainwindow.h"

#include <QAction>
#include <QFile>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

namespace tolvimar::test {

QPlainTextEdit *templateEditor(MainWindow &window)
{
    window.showTemplatePage();
    auto *editor = window.findChild<QPlainTextEdit *>(QStringLiteral("RichEdit4"));
    if (!editor)
        qWarning("no widget RichEdit4");
    return editor;
}

GuiHarness::GuiHarness(bool fixtureConfig)
{
    if (fixtureConfig) {
        const QString cfg = ws.file(QStringLiteral("tolvimar.cfg"));
        QFile::remove(cfg);
        QFile::copy(fixture(QStringLiteral("config/tolvimar.cfg")), cfg);
        QFile::setPermissions(cfg, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    session = std::make_unique<Session>(ws.path(), prompter);
    main = createWindows(*session, prompter, false);
}

void GuiHarness::start(int slot)
{
    QTest::mouseClick(find<QPushButton>(QStringLiteral("ButtonStart%1").arg(slot)), Qt::LeftButton);
}

void GuiHarness::importThroughMenu(const QString &path)
{
    prompter.fileNames.enqueue(path);
    find<QAction>(QStringLiteral("Neu1"))->trigger();
    waitForImport();
}

void GuiHarness::waitForImport()
{
    if (main->isImportRunning()) {
        QSignalSpy ended(main.get(), &MainWindow::importEnded);
        QVERIFY(ended.wait(60000));
    }
}

QStringList GuiHarness::visibleTabs() const
{
    auto *tabs = find<QTabWidget>(QStringLiteral("PageControl1"));
    QStringList visible;
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->isTabVisible(i))
            visible.append(tabs->tabText(i));
    }
    return visible;
}

QStringList GuiHarness::listRows(const QString &objectName) const
{
    QStringList rows;
    auto *model = find<QListView>(objectName)->model();
    for (int r = 0; r < model->rowCount(); ++r)
        rows.append(model->index(r, 0).data().toString());
    return rows;
}

QString GuiHarness::shownTitle() const
{
    QString title = main->windowTitle();
    return title.replace(
        QStringLiteral("[*]"), main->isWindowModified() ? QStringLiteral("*") : QString());
}

} // namespace tolvimar::test
