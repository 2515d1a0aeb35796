#pragma once

#include <QString>
#include <QStringList>

namespace tolvimar {

// Every question, message and file choice that core needs. The window answers with
// real dialogs, the command line and the tests answer by script. Nothing in core
// opens a dialog itself.
class Prompter
{
public:
    enum class Kind { Information, Warning, Error, Confirmation };

    virtual ~Prompter() = default;

    // A box with the buttons Yes and No; true for Yes.
    virtual bool askYesNo(Kind kind, const QString &title, const QString &text) = 0;
    // The same box with Yes as the default button, for questions where Return must
    // keep what the player has.
    virtual bool askYesNoDefaultYes(Kind kind, const QString &title, const QString &text)
    {
        return askYesNo(kind, title, text);
    }
    // A box with the buttons named (the first is the default, the last cancels);
    // the index of the one pressed. Without an answer of its own: Yes/No, No cancels.
    virtual int askChoice(
        Kind kind, const QString &title, const QString &text, const QStringList &buttons)
    {
        return askYesNo(kind, title, text) ? 0 : int(buttons.size()) - 1;
    }
    // A box with an OK button.
    virtual void message(Kind kind, const QString &title, const QString &text) = 0;
    // Something worth knowing that must not interrupt (a missing cached map, ...).
    virtual void notice(const QString &text) = 0;
    // Filters are "Name (*.ext)" texts; an empty result means cancelled.
    virtual QString openFileName(const QString &caption, const QStringList &filters) = 0;
    virtual QString saveFileName(const QString &caption, const QStringList &filters,
        int selectedFilter, bool confirmOverwrite)
        = 0;
    // A one-line input box; cancelling it answers defaultText.
    virtual QString askText(
        const QString &caption, const QString &prompt, const QString &defaultText)
    {
        Q_UNUSED(caption);
        Q_UNUSED(prompt);
        return defaultText;
    }
    // Long operations: the busy pointer.
    virtual void setBusy(bool /*busy*/) { }
};

// Shows the busy pointer for its lifetime.
class BusyScope
{
public:
    explicit BusyScope(Prompter &prompter)
        : m_prompter(prompter)
    {
        m_prompter.setBusy(true);
    }
    ~BusyScope() { m_prompter.setBusy(false); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    Prompter &m_prompter;
};

} // namespace tolvimar
