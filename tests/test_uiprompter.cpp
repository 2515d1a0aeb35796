#include "uiprompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
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
};

QTEST_MAIN(TestUiPrompter)
#include "test_uiprompter.moc"
