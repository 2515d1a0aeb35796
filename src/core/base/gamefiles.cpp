#include "gamefiles.h"

#include <QDir>

namespace tolvimar {

QString joinProgramPath(const QString &programPath, const QString &relative)
{
    QString joined = programPath + u'/' + relative;
    joined.replace(u'\\', u'/');
    return QDir::cleanPath(joined);
}

QString imagesDir(const QString &programPath)
{
    return joinProgramPath(programPath, QStringLiteral("\\images\\"));
}

QString imageFile(const QString &programPath, const QString &name)
{
    return joinProgramPath(programPath, QStringLiteral("\\images\\") + name);
}

QString worldMapFileName(int game, int level)
{
    return level == 0 ? QStringLiteral("worldmap-%1.bmp").arg(game)
                      : QStringLiteral("worldmap-%1-%2.bmp").arg(game).arg(level);
}

QString worldMapFile(const QString &programPath, int game, int level)
{
    return imageFile(programPath, worldMapFileName(game, level));
}

QString statusDataDir(const QString &programPath)
{
    return joinProgramPath(programPath, QStringLiteral("\\status-data\\"));
}

QString statusDataFile(const QString &programPath, int game, const QString &suffix)
{
    return joinProgramPath(
        programPath, QStringLiteral("\\status-data\\") + QString::number(game) + suffix);
}

QString statusFile(const QString &programPath, int game, StatusFile file)
{
    static const char *const suffixes[] = {"-kaempfe.txt", "-warnungen.txt", "-ereignisse.txt",
        "-buendnisse.txt", "-einkommen.txt", "-handel.txt", "-produktion.txt", "-bewegungen.txt",
        "-einreise.txt", "-ghdbericht.txt", "-meldungen.txt"};
    return statusDataFile(programPath, game, QString::fromLatin1(suffixes[int(file)]));
}

QString checkerOutputFile(const QString &programPath)
{
    return joinProgramPath(programPath, QStringLiteral("status-data\\check.txt"));
}

QString orderFileName(int game, const QString &dateText)
{
    const qsizetype jahre = dateText.indexOf(QStringLiteral("Jahre"));
    const QString year = dateText.mid(jahre < 0 ? 5 : jahre + 6);
    const qsizetype blank = dateText.indexOf(u' ');
    const QString month = blank < 0 ? QString() : dateText.left(blank);
    return QStringLiteral("Zug-Spiel") + QString::number(game) + u'-' + year + u'-' + month
        + QStringLiteral(".txt");
}

QString orderFilePath(const QString &programPath, int game, const QString &dateText)
{
    return joinProgramPath(programPath, orderFileName(game, dateText));
}

QString orderWordsFile(const QString &programPath)
{
    return joinProgramPath(programPath, QStringLiteral("befehlsworte.txt"));
}

QString learntOrderWordsFile(const QString &programPath)
{
    return joinProgramPath(programPath, QStringLiteral("befehlsworte-gelernt.txt"));
}

QString movementRulesFile(const QString &programPath)
{
    return joinProgramPath(programPath, QStringLiteral("bewegung.txt"));
}

} // namespace tolvimar
