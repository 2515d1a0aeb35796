#include "scriptedprompter.h"

namespace tolvimar {

bool ScriptedPrompter::askYesNo(Kind kind, const QString &title, const QString &text)
{
    log.append({kind, title, text, true});
    if (echo)
        echo(log.last());
    return yesNoAnswers.isEmpty() ? defaultYes : yesNoAnswers.dequeue();
}

bool ScriptedPrompter::askYesNoDefaultYes(Kind kind, const QString &title, const QString &text)
{
    const bool yes = askYesNo(kind, title, text);
    log.last().yesDefault = true;
    return yes;
}

int ScriptedPrompter::askChoice(
    Kind kind, const QString &title, const QString &text, const QStringList &buttons)
{
    log.append({kind, title, text, true});
    choiceButtons.append(buttons);
    if (echo)
        echo(log.last());
    const int chosen = choiceAnswers.isEmpty() ? -1 : int(buttons.indexOf(choiceAnswers.dequeue()));
    return chosen >= 0 ? chosen : int(buttons.size()) - 1;
}

void ScriptedPrompter::message(Kind kind, const QString &title, const QString &text)
{
    log.append({kind, title, text, false});
    if (echo)
        echo(log.last());
}

void ScriptedPrompter::notice(const QString &text)
{
    notices.append(text);
}

QString ScriptedPrompter::openFileName(const QString &caption, const QStringList &filters)
{
    fileCaptions.append(caption);
    fileFilters.append(filters);
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedPrompter::saveFileName(
    const QString &caption, const QStringList &filters, int, bool)
{
    fileCaptions.append(caption);
    fileFilters.append(filters);
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedPrompter::askText(
    const QString &caption, const QString &prompt, const QString &defaultText)
{
    textQuestions.append({caption, prompt, defaultText});
    return textAnswers.isEmpty() ? defaultText : textAnswers.dequeue();
}

QStringList ScriptedPrompter::texts() const
{
    QStringList result;
    for (const Entry &e : log)
        result.append(e.text);
    return result;
}

bool ScriptedPrompter::hasText(const QString &part) const
{
    for (const Entry &e : log) {
        if (e.text.contains(part))
            return true;
    }
    return false;
}

} // namespace tolvimar
