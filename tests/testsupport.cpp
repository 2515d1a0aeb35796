#include "testsupport.h"

#include "app/workspace.h"

#include <QFile>
#include <QProcess>

namespace tolvimar::test {

QString fixture(const QString &relative)
{
    return QStringLiteral(TOLVIMAR_FIXTURES "/") + relative;
}

TempWorkspace::TempWorkspace()
{
    Workspace(m_dir.path()).ensure();
}

Configuration TempWorkspace::config() const
{
    Configuration c(Workspace(m_dir.path()).configPath());
    c.load();
    return c;
}

void TempWorkspace::setLine(int game, int offset, const QString &text)
{
    Configuration c = config();
    c.setLine(game, offset, text);
    c.save();
}

int runCli(const QStringList &arguments, QString *out, QString *err)
{
    QProcess process;
    process.start(QStringLiteral(TOLVIMAR_CLI), arguments);
    process.waitForFinished(120000);
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace tolvimar::test
