#pragma once

#include "prompter.h"

#include <QQueue>
#include <functional>

namespace tolvimar {

// Answers from a script and records everything it was asked or told. Used by the
// command line tool and by the tests.
class ScriptedPrompter : public Prompter
{
public:
    struct Entry
    {
        Kind kind;
        QString title;
        QString text;
        bool question;
        bool yesDefault = false; // a Yes/No question whose default button is Yes
    };

    bool defaultYes = false;
    QQueue<bool> yesNoAnswers;
    // Answers of askChoice by button text (none left: the last button, cancel), and
    // the buttons of every such question.
    QQueue<QString> choiceAnswers;
    QList<QStringList> choiceButtons;
    QQueue<QString> fileNames;
    QList<Entry> log;
    QStringList notices;
    QStringList fileCaptions;
    // The filters of every file dialog, in order.
    QList<QStringList> fileFilters;
    // Answers of the input boxes (none left: the default answer) and what they asked.
    QQueue<QString> textAnswers;
    struct TextQuestion
    {
        QString caption;
        QString prompt;
        QString defaultText;
    };
    QList<TextQuestion> textQuestions;
    // Called for every message and question as it happens (the CLI prints them).
    std::function<void(const Entry &)> echo;

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

    QStringList texts() const;
    bool hasText(const QString &part) const;
};

} // namespace tolvimar
