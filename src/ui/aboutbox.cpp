#include "aboutbox.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

namespace tolvimar {

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
            | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Kalmora Assistent Info"));
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("Tolvimar V" TOLVIMAR_VERSION), this);
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

} // namespace tolvimar
