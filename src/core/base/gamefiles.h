#pragma once

#include <QString>

namespace tolvimar {

// The files of a game under its program path, one place for each name. The
// program path is a plain prefix; names written with Windows separators
// ("\images\", "status-data\check.txt") are joined with the platform's.

// Joins a file name or a sub-path onto a program path; either separator may be
// used and a doubled separator counts as one.
QString joinProgramPath(const QString &programPath, const QString &relative);

QString imagesDir(const QString &programPath);
// A bitmap of the "\images\" folder: terrain tiles, "wblank.bmp", "blank.bmp".
QString imageFile(const QString &programPath, const QString &name);
// The cached world map of a level: "worldmap-K.bmp" for level 0,
// "worldmap-K-L.bmp" for the others.
QString worldMapFileName(int game, int level);
QString worldMapFile(const QString &programPath, int game, int level);

QString statusDataDir(const QString &programPath);
QString statusDataFile(const QString &programPath, int game, const QString &suffix);
// The status files that keep a game's newest import.
enum class StatusFile {
    Kaempfe,
    Warnungen,
    Ereignisse,
    Buendnisse,
    Einkommen,
    Handel,
    Produktion,
    Bewegungen,
    Einreise,
    Geheimdienstbericht,
    Meldungen
};
// "\status-data\" + game + "-kaempfe.txt" and so on.
QString statusFile(const QString &programPath, int game, StatusFile file);
QString checkerOutputFile(const QString &programPath);

// The order file "Zug-Spiel" + game + "-" + year + "-" + month name + ".txt", with
// year and month taken from the status page's date text ("Maerz im Jahre 7").
QString orderFileName(int game, const QString &dateText);
QString orderFilePath(const QString &programPath, int game, const QString &dateText);

// The player's own order words ("befehlsworte.txt") and the words the imports learnt
// from the orders of the reports ("befehlsworte-gelernt.txt"), in the game folder.
QString orderWordsFile(const QString &programPath);
QString learntOrderWordsFile(const QString &programPath);
// The game's own movement rules ("bewegung.txt") in the game folder.
QString movementRulesFile(const QString &programPath);

} // namespace tolvimar
