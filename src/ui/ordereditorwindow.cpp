#include "ordereditorwindow.h"

#include "widgets.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvimar {

OrderEditorWindow::OrderEditorWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Befehlseditor"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    auto *name = readOnlyEdit(QStringLiteral("Edit1"), this);
    form->addRow(QStringLiteral("Einheit Name"), name);
    layout->addLayout(form);
    auto *group = new QGroupBox(QStringLiteral("Befehle der Einheit"), this);
    auto *groupLayout = new QVBoxLayout(group);
    auto *memo = new QPlainTextEdit(group);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    groupLayout->addWidget(memo);
    layout->addWidget(group);
    auto *marks = new QHBoxLayout;
    for (int i = 1; i <= 3; ++i) {
        auto *box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i));
        box->setEnabled(false);
        marks->addWidget(box);
    }
    layout->addLayout(marks);
    auto *buttons = new QHBoxLayout;
    auto *apply = new QPushButton(QStringLiteral("Befehle ausführen"), this);
    apply->setObjectName(QStringLiteral("Button1"));
    apply->setEnabled(false);
    auto *hideButton = new QPushButton(QStringLiteral("Editor ausblenden"), this);
    hideButton->setObjectName(QStringLiteral("Button3"));
    buttons->addWidget(apply);
    buttons->addWidget(hideButton);
    layout->addLayout(buttons);
    connect(hideButton, &QPushButton::clicked, this, &QDialog::hide);
}

} // namespace tolvimar
