#pragma once

#include <QString>

namespace tolvimar {

class Session;

// The order template as a file: "Zug-Spiel" + game + "-" + year + "-" + month
// name + ".txt" in the game's program path, lines ended by CR LF, in the encoding
// the report came in.
class OrderFile
{
public:
    explicit OrderFile(Session &session);

    QString orderFilePath() const;

    // Writes the template under the order file name; the saved state is not touched.
    // Throws UserError; the previous file then stays as it was.
    void writeOrderFile() const;
    // "Zugvorlage Speichern": write and mark saved. Throws UserError (state unchanged).
    void save();
    // "Zugvorlage Speichern unter...": write exactly under the chosen name.
    void saveAs(const QString &path);

    // The commands as the menu runs them: failures are shown, the state stays
    // "not saved". Each returns whether a file now holds the template.
    bool speichern();
    bool speichernUnter();
    // The five-minute tick: saves when there are unsaved changes; a failure is
    // noted without a box so that typing is not interrupted.
    void autosave();

private:
    Session &m_session;
};

} // namespace tolvimar
