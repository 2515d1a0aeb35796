#pragma once

class QCoreApplication;

namespace tolvimar {

// Loads Qt's own German texts (file dialogs, standard buttons, the editors' context
// menus) whatever the system's locale: the program speaks German throughout. Returns
// false when the translation files are not installed.
bool installGermanTranslations(QCoreApplication &app);

} // namespace tolvimar
