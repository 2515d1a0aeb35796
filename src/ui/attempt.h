#pragma once

#include "base/errors.h"
#include "base/prompter.h"

namespace tolvimar {

// Runs a handler's work; a UserError it throws is shown once as an error message with
// the title. Returns whether the work ran through.
template<typename Work> bool attempt(Prompter &prompter, const QString &title, Work &&work)
{
    try {
        work();
        return true;
    } catch (const UserError &e) {
        prompter.message(Prompter::Kind::Error, title, e.message());
        return false;
    }
}

} // namespace tolvimar
