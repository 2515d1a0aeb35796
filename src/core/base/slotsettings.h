#pragma once

#include <QString>

namespace tolvimar {

class Workspace;
class WorkspaceLock;

// Settings of a game slot that the configuration file has no line for (the alliance
// server), in a small file beside it, "tolvimar-spielK.ini": "Name=Wert" lines in
// UTF-8. Never meant for passwords.
class SlotSettings
{
public:
    SlotSettings(const Workspace &workspace, int game);

    const QString &filePath() const { return m_path; }

    // The value of a name; empty when the file or the name is missing. Throws
    // UserError when the file cannot be read.
    QString value(const QString &name) const;
    // Stores a value (line breaks become blanks) under the workspace lock, the file
    // replaced atomically. Throws UserError.
    void setValue(const QString &name, const QString &value, WorkspaceLock *lock);

private:
    QString m_path;
};

} // namespace tolvimar
