#include "uiprompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace tolvimar {

namespace {

QMessageBox::Icon iconFor(Prompter::Kind kind)
{
    switch (kind) {
    case Prompter::Kind::Information:
        return QMessageBox::Information;
    case Prompter::Kind::Warning:
        return QMessageBox::Warning;
    case Prompter::Kind::Error:
        return QMessageBox::Critical;
    case Prompter::Kind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

UiPrompter::UiPrompter(QWidget *parent)
    : m_parent(parent)
{
}

bool UiPrompter::askYesNo(Kind kind, const QString &title, const QString &text)
{
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(iconFor(kind), title, text, QMessageBox::Yes | QMessageBox::No, m_parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.setDefaultButton(QMessageBox::No);
    // Asked during an import the main window is disabled; its box must not be.
    box.setEnabled(true);
    const bool yes = box.exec() == QMessageBox::Yes;
    QApplication::restoreOverrideCursor();
    return yes;
}

void UiPrompter::message(Kind kind, const QString &title, const QString &text)
{
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(iconFor(kind), title, text, QMessageBox::Ok, m_parent);
    box.setEnabled(true);
    box.exec();
    QApplication::restoreOverrideCursor();
}

void UiPrompter::notice(const QString &text)
{
    if (m_noticeSink)
        m_noticeSink(text);
}

QString UiPrompter::openFileName(const QString &caption, const QStringList &filters)
{
    const QString file = QFileDialog::getOpenFileName(
        m_parent, caption, m_directory, filters.join(QStringLiteral(";;")));
    if (!file.isEmpty())
        m_directory = QFileInfo(file).absolutePath();
    return file;
}

QString UiPrompter::saveFileName(
    const QString &caption, const QStringList &filters, int selectedFilter, bool confirmOverwrite)
{
    QString selected = filters.value(selectedFilter);
    QFileDialog::Options options;
    if (!confirmOverwrite)
        options |= QFileDialog::DontConfirmOverwrite;
    const QString file = QFileDialog::getSaveFileName(
        m_parent, caption, m_directory, filters.join(QStringLiteral(";;")), &selected, options);
    if (!file.isEmpty())
        m_directory = QFileInfo(file).absolutePath();
    return file;
}

QString UiPrompter::askText(
    const QString &caption, const QString &prompt, const QString &defaultText)
{
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QInputDialog box(m_parent);
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Abbrechen"));
    box.setEnabled(true);
    const bool ok = box.exec() == QDialog::Accepted;
    QApplication::restoreOverrideCursor();
    return ok ? box.textValue() : defaultText;
}

void UiPrompter::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace tolvimar
