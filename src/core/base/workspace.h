#pragma once

#include <QString>

namespace tolvimar {

// The directory the program works in: it holds the configuration file and the
// database; the program paths of the slots are resolved against it.
class Workspace
{
public:
    explicit Workspace(const QString &dir);

    const QString &dir() const { return m_dir; }
    QString configPath() const;
    QString databasePath() const;

    // Creates the directory and a fresh configuration file when they are missing.
    // Throws UserError when either cannot be made.
    // Returns true when the configuration file was created.
    bool ensure() const;

    // A program path as stored in a slot (absolute, or relative to the workspace),
    // as an absolute directory ending in a separator.
    QString resolveProgramPath(const QString &stored) const;

private:
    QString m_dir;
};

} // namespace tolvimar
