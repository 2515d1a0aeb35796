#include "progresswindow.h"

#include "widgets.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace tolvimar {

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
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_cancel->setObjectName(QStringLiteral("AbbrechenButton"));
    form->addRow(m_cancel);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        // Asked once; the window closes when the work has stopped.
        m_cancel->setEnabled(false);
        m_step->setText(QStringLiteral("Wird abgebrochen ..."));
        emit cancelRequested();
    });
    setFixedSize(sizeHint());
    m_cancel->hide();
}

void ProgressWindow::setCancellable(bool cancellable)
{
    m_cancel->setVisible(cancellable);
    m_cancel->setEnabled(cancellable);
}

void ProgressWindow::reject()
{
    if (m_cancel->isVisible() && m_cancel->isEnabled())
        m_cancel->click();
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

} // namespace tolvimar
