#include "quickreference.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tolvimar {

QuickReference::QuickReference(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("KurzReferenz"));
    setWindowTitle(QStringLiteral("Kurz Referenz"));
    auto *layout = new QVBoxLayout(this);
    m_text = new QTextBrowser(this);
    m_text->setObjectName(QStringLiteral("TextKurzReferenz"));
    m_text->setOpenExternalLinks(false);
    layout->addWidget(m_text);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Schließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    layout->addWidget(buttons);
    resize(560, 620);

    QFile guide(QStringLiteral(":/docs/anleitung.md"));
    const QString text
        = guide.open(QIODevice::ReadOnly) ? section(QString::fromUtf8(guide.readAll())) : QString();
    m_text->setMarkdown(text.isEmpty() ? QStringLiteral("Die Kurzreferenz fehlt.") : text);
}

QString QuickReference::section(const QString &guide)
{
    const QString heading = QStringLiteral("## Kurzreferenz");
    qsizetype start = guide.startsWith(heading) ? 0 : guide.indexOf(u'\n' + heading);
    if (start < 0)
        return QString();
    if (start > 0)
        ++start;
    qsizetype end = guide.indexOf(QStringLiteral("\n## "), start + heading.size());
    if (end < 0)
        end = guide.size();
    return guide.mid(start, end - start).trimmed();
}

} // namespace tolvimar
