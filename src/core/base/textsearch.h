#pragma once

#include <QStringView>
#include <string>

namespace tolvimar {

// A case-sensitive substring test, as QStringView::contains. Report lines are
// short and tested against many keys; a plain scan for the key's first character
// beats the general search, which prepares for long texts on every call.
inline bool containsText(QStringView text, QStringView key)
{
    const qsizetype n = key.size();
    if (n == 0)
        return true;
    const char16_t *t = text.utf16();
    const char16_t *k = key.utf16();
    const char16_t first = k[0];
    for (qsizetype i = 0, last = text.size() - n; i <= last; ++i) {
        if (t[i] == first
            && std::char_traits<char16_t>::compare(t + i + 1, k + 1, size_t(n - 1)) == 0)
            return true;
    }
    return false;
}

} // namespace tolvimar
