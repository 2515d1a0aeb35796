#include "uiprompter.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
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

QWidget *UiPrompter::boxParent() const
{
    // A box stands over the window the player works in: asked from a window that stays
    // on top (the order editor), it must not open behind it.
    QWidget *active = QApplication::activeWindow();
    return active && active->isVisible() ? active : m_parent;
}

UiPrompter::UiPrompter(QWidget *parent)
    : m_parent(parent)
{
}

bool UiPrompter::askYesNo(Kind kind, const QString &title, const QString &text)
{
    return askYesNoWithDefault(kind, title, text, QMessageBox::No);
}

bool UiPrompter::askYesNoDefaultYes(Kind kind, const QString &title, const QString &text)
{
    return askYesNoWithDefault(kind, title, text, QMessageBox::Yes);
}

bool UiPrompter::askYesNoWithDefault(
    Kind kind, const QString &title, const QString &text, int defaultButton)
{
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(iconFor(kind), title, text, QMessageBox::Yes | QMessageBox::No, boxParent());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.setDefaultButton(QMessageBox::StandardButton(defaultButton));
    box.setEscapeButton(QMessageBox::No);
    // Asked during an import the main window is disabled; its box must not be.
    box.setEnabled(true);
    const bool yes = box.exec() == QMessageBox::Yes;
    QApplication::restoreOverrideCursor();
    return yes;
}

int UiPrompter::askChoice(
    Kind kind, const QString &title, const QString &text, const QStringList &buttons)
{
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(iconFor(kind), title, text, QMessageBox::NoButton, boxParent());
    QList<QAbstractButton *> pressed;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        const bool last = i + 1 == buttons.size();
        pressed.append(box.addButton(buttons[i],
            last ? QMessageBox::RejectRole
                 : (i == 0 ? QMessageBox::AcceptRole : QMessageBox::DestructiveRole)));
    }
    if (!pressed.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton *>(pressed.first()));
        box.setEscapeButton(pressed.last());
    }
    box.setEnabled(true);
    box.exec();
    QApplication::restoreOverrideCursor();
    const qsizetype chosen = pressed.indexOf(box.clickedButton());
    return chosen >= 0 ? int(chosen) : int(buttons.size()) - 1;
}

void UiPrompter::message(Kind kind, const QString &title, const QString &text)
{
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(iconFor(kind), title, text, QMessageBox::Ok, boxParent());
    box.setEnabled(true);
    box.exec();
    QApplication::restoreOverrideCursor();
}

void UiPrompter::notice(const QString &text)
{
    if (m_noticeSink)
        m_noticeSink(text);
}

namespace {

// Qt's own file dialog, which takes a path typed into its name field as it stands:
// the plain dialog reads the folders of a typed path as a selection of its own.
class OpenDialog : public QFileDialog
{
public:
    OpenDialog(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
        : QFileDialog(parent, caption, dir, filter)
    {
        setOption(QFileDialog::DontUseNativeDialog);
        // A typed path of an existing file enables "Öffnen", whatever the filter.
        if (auto *name = findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            connect(name, &QLineEdit::textChanged, this, [this] { enableOpenForTypedFile(); });
    }
    QString typedFile() const { return m_typed; }

    void accept() override
    {
        m_typed = typedPath();
        if (!m_typed.isEmpty()) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }

private:
    QString typedPath() const
    {
        const auto *name = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        const QString text = name ? name->text().trimmed() : QString();
        if (text.isEmpty())
            return QString();
        const QFileInfo info(QDir(directory()).filePath(text));
        return info.isFile() ? info.absoluteFilePath() : QString();
    }
    void enableOpenForTypedFile()
    {
        auto *buttons = findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        if (QPushButton *open = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
            open && !typedPath().isEmpty())
            open->setEnabled(true);
    }

    QString m_typed;
};

} // namespace

QString UiPrompter::openFileName(const QString &caption, const QStringList &filters)
{
    // Qt's own dialog on every desktop: a path typed into its name field opens that
    // file whatever the filter shows.
    OpenDialog dialog(m_parent, caption, m_directory, filters.join(QStringLiteral(";;")));
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    QString file = dialog.typedFile();
    if (file.isEmpty() && !dialog.selectedFiles().isEmpty())
        file = dialog.selectedFiles().first();
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
