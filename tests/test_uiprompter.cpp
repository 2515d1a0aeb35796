#include "uiprompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tolvimar;

class TestUiPrompter : public QObject
{
    Q_OBJECT
private slots:
    void questionOverDisabledWindowCanBeAnswered_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Ja") << true;
        QTest::newRow("Nein") << false;
    }
    void questionOverDisabledWindowCanBeAnswered()
    {
        QFETCH(bool, yes);
        QWidget parent;
        parent.show();
        parent.setEnabled(false);
        UiPrompter prompter(&parent);
        QStringList buttons;
        bool enabled = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            enabled = box->isEnabled();
            for (QAbstractButton *b : box->buttons())
                buttons.append(b->text());
            QTest::mouseClick(
                box->button(yes ? QMessageBox::Yes : QMessageBox::No), Qt::LeftButton);
        });
        QCOMPARE(prompter.askYesNo(Prompter::Kind::Confirmation, QStringLiteral("Bestätigung"),
                     QStringLiteral("?")),
            yes);
        QVERIFY(enabled);
        buttons.sort();
        QCOMPARE(buttons, (QStringList {QStringLiteral("&Ja"), QStringLiteral("&Nein")}));
    }

    // Return presses the default button: No for a plain question, Yes where the
    // answer keeps what the player has.
    void returnTakesTheDefaultAnswer_data()
    {
        QTest::addColumn<bool>("yesDefault");
        QTest::newRow("Nein voreingestellt") << false;
        QTest::newRow("Ja voreingestellt") << true;
    }
    void returnTakesTheDefaultAnswer()
    {
        QFETCH(bool, yesDefault);
        QWidget parent;
        parent.show();
        UiPrompter prompter(&parent);
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key_Return);
        });
        const QString title = QStringLiteral("Bestätigung");
        const bool answer = yesDefault
            ? prompter.askYesNoDefaultYes(Prompter::Kind::Confirmation, title, QStringLiteral("?"))
            : prompter.askYesNo(Prompter::Kind::Confirmation, title, QStringLiteral("?"));
        QCOMPARE(answer, yesDefault);
    }

    // A report of any name can be opened by typing its path, whatever the filter.
    void typedPathOpensAnyFile()
    {
        QTemporaryDir dir;
        const QString report = dir.filePath(QStringLiteral("bericht.dat"));
        QFile file(report);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("VERSION 42\n");
        file.close();
        QWidget parent;
        parent.show();
        UiPrompter prompter(&parent);
        prompter.setStartDirectory(dir.path());
        QStringList filters;
        bool openEnabled = false;
        QString problem;
        QTimer::singleShot(50, [&] {
            auto *dialog = parent.findChild<QFileDialog *>(QStringLiteral("OpenDialog1"));
            if (!dialog) {
                problem = QStringLiteral("no dialog");
                return;
            }
            filters = dialog->nameFilters();
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
            if (!name || !buttons) {
                problem = QStringLiteral("no name field or buttons");
                dialog->reject();
                return;
            }
            QTest::keyClicks(name, report);
            QPushButton *open = buttons->button(QDialogButtonBox::Open);
            openEnabled = open && open->isEnabled();
            if (openEnabled)
                QTest::keyClick(name, Qt::Key_Return);
            if (dialog->isVisible())
                dialog->reject();
        });
        const QString chosen = prompter.openFileName(QStringLiteral("CR einlesen"),
            {QStringLiteral("Berichte (*.cr *.txt)"), QStringLiteral("Alle Dateien (*)")});
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(openEnabled);
        QCOMPARE(chosen, report);
        QCOMPARE(filters,
            (QStringList {
                QStringLiteral("Berichte (*.cr *.txt)"), QStringLiteral("Alle Dateien (*)")}));
    }
};

QTEST_MAIN(TestUiPrompter)
#include "test_uiprompter.moc"
