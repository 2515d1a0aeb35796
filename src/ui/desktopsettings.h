#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace tolvimar {

// What the desktop program remembers between runs (the window's geometry, the recent
// reports) lives in one INI file, normally ~/.config/tolvimar/tolvimar.conf. Until the
// program chooses the file nothing is read or kept, so tests and tools that build the
// windows leave the user's file alone.
class DesktopSettings
{
public:
    // The user's file under the desktop's configuration folder.
    static QString userFile();
    // Chooses the file (empty: none).
    static void setFile(const QString &path);
    static QString file();
    // The settings in the chosen file; null when none is chosen.
    static std::unique_ptr<QSettings> open();
};

} // namespace tolvimar
