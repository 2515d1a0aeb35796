#include "smallwindows.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

namespace tolvimar {

namespace {

QLineEdit *readOnlyEdit(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

} // namespace

ProgressWindow::ProgressWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Einlesen der Auswertung läuft ..."));
    auto *form = new QFormLayout(this);
    m_step = readOnlyEdit(QStringLiteral("edit1"), this);
    m_step->setMinimumWidth(420);
    m_line = readOnlyEdit(QStringLiteral("Edit2"), this);
    m_unit = readOnlyEdit(QStringLiteral("Edit3"), this);
    m_gauge = new QProgressBar(this);
    m_gauge->setObjectName(QStringLiteral("Gauge1"));
    m_gauge->setRange(0, 100);
    form->addRow(QStringLiteral("Teilstueck :"), m_step);
    form->addRow(QStringLiteral("Zeile :"), m_line);
    form->addRow(QStringLiteral("Einheit :"), m_unit);
    form->addRow(m_gauge);
}

void ProgressWindow::setStep(const QString &text)
{
    m_step->setText(text);
}

void ProgressWindow::setLine(const QString &text)
{
    m_line->setText(text);
}

void ProgressWindow::setUnitName(const QString &text)
{
    m_unit->setText(text);
}

void ProgressWindow::setPercent(int percent)
{
    m_gauge->setValue(qBound(0, percent, 100));
}

void ProgressWindow::reset()
{
    m_step->clear();
    m_line->clear();
    m_unit->clear();
    m_gauge->setValue(0);
}

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Kalmora Assistent Info"));
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("Tolvimar V3.6.0"), this);
    title->setObjectName(QStringLiteral("LabelVersion"));
    QFont big = title->font();
    big.setPointSize(22);
    big.setWeight(QFont::Black);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    auto *author = new QLabel(QStringLiteral("Das Tolvimar-Team, 2002 – 2026"), this);
    author->setAlignment(Qt::AlignCenter);
    m_text = new QTextBrowser(this);
    m_text->setObjectName(QStringLiteral("Memo1"));
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setHtml(QStringLiteral(
        "<div align=center><br><br><br><br><br><br>"
        "Tolvimar ist Freeware.<br><br>"
        "Dank an alle, die es möglich machen, Kalmora und Sulvitan kostenlos zu spielen.<br><br>"
        "Ich hoffe, das Programm hilft Euch bei Euren Zügen.<br><br>"
        "Fragen und Anregungen bitte per E-Mail an<br>tolvimar@example.org"
        "<br><br><br><br><br><br></div>"));
    m_text->setFixedSize(360, 160);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    layout->addWidget(title);
    layout->addWidget(author);
    layout->addWidget(m_text, 0, Qt::AlignCenter);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
    m_scroll = new QTimer(this);
    m_scroll->setInterval(60);
    connect(m_scroll, &QTimer::timeout, this, [this] {
        QScrollBar *bar = m_text->verticalScrollBar();
        bar->setValue(bar->value() >= bar->maximum() ? 0 : bar->value() + 1);
    });
    setFixedSize(sizeHint());
}

void AboutBox::showEvent(QShowEvent *event)
{
    m_text->verticalScrollBar()->setValue(0);
    m_scroll->start();
    QDialog::showEvent(event);
}

void AboutBox::hideEvent(QHideEvent *event)
{
    m_scroll->stop();
    QDialog::hideEvent(event);
}

CheckerOutputWindow::CheckerOutputWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Zug Checker Ausgabe"));
    auto *layout = new QVBoxLayout(this);
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setFont(QFont(QStringLiteral("Monospace")));
    layout->addWidget(m_memo);
    setFixedSize(640, 420);
}

void CheckerOutputWindow::showOutput(const QString &text)
{
    show();
    m_memo->setPlainText(text);
    raise();
}

QString CheckerOutputWindow::output() const
{
    return m_memo->toPlainText();
}

OrderEditorWindow::OrderEditorWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Befehlseditor"));
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

RegionEntryDialog::RegionEntryDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Manuelle Regionserfassung"));
    setModal(true);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Name der Region"), readOnlyEdit(QStringLiteral("Edit1"), this));
    auto *coords = new QHBoxLayout;
    coords->addWidget(readOnlyEdit(QStringLiteral("Edit2"), this));
    coords->addWidget(readOnlyEdit(QStringLiteral("Edit3"), this));
    form->addRow(QStringLiteral("Breite/Länge"), coords);
    form->addRow(QStringLiteral("Exportgut"), readOnlyEdit(QStringLiteral("Edit4"), this));
    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(QStringLiteral("Speichern"), this);
    save->setObjectName(QStringLiteral("Button1"));
    save->setEnabled(false);
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace tolvimar
