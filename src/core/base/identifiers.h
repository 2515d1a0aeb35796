#pragma once

#include "activegame.h"

#include <QString>
#include <optional>

namespace tolvimar {

// Faction, unit, ship and building numbers as text in base N (N at most 36).
// Digit value 21 is written as the capital "L"; every other letter is small.
QString idToStr(qint64 value, int base);
// Reads base-N text; case does not matter; a character outside 0-9a-z counts -1.
int strToId(QStringView text, int base);
// "points rest" summed over all persons → "[points per person] rest"; 0 persons
// give "[0] rest". Throws ConversionError(-1, ...) when points is not a number.
QString formatTalent(const QString &talent, int persons);
// Whether formatTalent() reads the talent's points.
bool talentHasNumber(QStringView talent);

// The number text of a unit, ship or building in a game: base-N text for Kalmora
// games, decimal in Sulvitan games.
QString numberText(qint64 value, GameType gameType, int base);
// The number a number text names, read as numberText() writes it (letters in any
// case); nullopt for anything else.
std::optional<qint64> numberOfText(QStringView text, GameType gameType, int base);

} // namespace tolvimar
