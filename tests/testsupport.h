#pragma once

#include "app/configuration.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tolvimar::test {

QString fixture(const QString &relative);

// A temporary workspace with a fresh configuration file; slots can be given a
// game type before the session reads it.
class TempWorkspace
{
public:
    TempWorkspace();
    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.filePath(relative); }
    Configuration config() const;
    void setLine(int game, int offset, const QString &text);

private:
    QTemporaryDir m_dir;
};

// Runs the command line tool; returns its exit code and fills stdout/stderr.
int runCli(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr);

QByteArray readBytes(const QString &path);

} // namespace tolvimar::test
