#pragma once

#include "base/prompter.h"

#include <functional>

class QWidget;

namespace tolvimar {

// Questions and messages as real dialogs.
class UiPrompter : public Prompter
{
public:
    explicit UiPrompter(QWidget *parent = nullptr);
    void setParent(QWidget *parent) { m_parent = parent; }
    // Where notices go (the main window's status bar).
    // Where file dialogs open first; later they open where the last file was.
    void setStartDirectory(const QString &dir) { m_directory = dir; }
    void setNoticeSink(std::function<void(const QString &)> sink)
    {
        m_noticeSink = std::move(sink);
    }

    bool askYesNo(Kind kind, const QString &title, const QString &text) override;
    bool askYesNoDefaultYes(Kind kind, const QString &title, const QString &text) override;
    int askChoice(
        Kind kind, const QString &title, const QString &text, const QStringList &buttons) override;
    void message(Kind kind, const QString &title, const QString &text) override;
    void notice(const QString &text) override;
    QString openFileName(const QString &caption, const QStringList &filters) override;
    QString saveFileName(const QString &caption, const QStringList &filters, int selectedFilter,
        bool confirmOverwrite) override;
    QString askText(
        const QString &caption, const QString &prompt, const QString &defaultText) override;
    void setBusy(bool busy) override;

private:
    // The window a message box belongs to: the active one, else the main window.
    QWidget *boxParent() const;
    // defaultButton: QMessageBox::Yes or QMessageBox::No.
    bool askYesNoWithDefault(
        Kind kind, const QString &title, const QString &text, int defaultButton);

    QWidget *m_parent;
    QString m_directory;
    std::function<void(const QString &)> m_noticeSink;
};

} // namespace tolvimar
