#pragma once

// What both fuzz targets share: a folder for the run, an empty workspace made once
// (configuration file and a database with every table), a fresh copy of it for each
// input, and the input written to a file.

#include "app/session.h"
#include "base/scriptedprompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace tolvimar::fuzz {

class FuzzWorkspace
{
public:
    // Called once from LLVMFuzzerInitialize; the application lives as long as the process.
    FuzzWorkspace(char *program, const QString &name)
    {
        static int appArgc = 1;
        static char *appArgv[] = {program, nullptr};
        new QCoreApplication(appArgc, appArgv);
        // On a memory file system when there is one: the database syncs on every commit.
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        m_root
            = std::make_unique<QTemporaryDir>(base + QStringLiteral("/fuzz-%1-XXXXXX").arg(name));
        if (!m_root->isValid())
            std::abort();
        m_template = file(QStringLiteral("template"));
        m_workspace = file(QStringLiteral("ws"));
        ScriptedPrompter prompter;
        Session session(m_template, prompter);
    }

    QString file(const QString &name) const { return m_root->filePath(name); }
    const QString &workspace() const { return m_workspace; }

    // Writes the input to the file and makes the workspace a fresh copy of the empty one.
    void prepare(const QByteArray &bytes, const QString &inputFile) const
    {
        QFile input(inputFile);
        if (!input.open(QIODevice::WriteOnly) || input.write(bytes) != bytes.size())
            std::abort();
        input.close();
        QDir(m_workspace).removeRecursively();
        QDir().mkpath(m_workspace);
        for (const QString &name :
            {QStringLiteral("tolvimar.cfg"), QStringLiteral("kalmora.sqlite")})
            QFile::copy(m_template + u'/' + name, m_workspace + u'/' + name);
    }

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_template;
    QString m_workspace;
};

} // namespace tolvimar::fuzz
