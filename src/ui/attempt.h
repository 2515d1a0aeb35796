#pragma once

#include "base/errors.h"
#include "base/prompter.h"

namespace tolvimar {

// Runs a handler's work; a UserError it throws goes to onFailure with its message.
// Returns whether the work ran through.
template<typename Work, typename Failure> bool attempt(Work &&work, Failure &&onFailure)
{
    try {
        work();
        return true;
    } catch (const UserError &e) {
        onFailure(e.message());
        return false;
    }
}

// Runs a handler's work; a UserError it throws is shown once as an error message with
// the title.
template<typename Work> bool attempt(Prompter &prompter, const QString &title, Work &&work)
{
    return attempt(std::forward<Work>(work),
        [&](const QString &message) { prompter.message(Prompter::Kind::Error, title, message); });
}

} // namespace tolvimar
