#pragma once

#include <QString>

namespace tolvimar {

// A report's turn as the date code year·100 + month and as the German date text.
struct GameDate
{
    int year = 0;
    int month = 0;
    qint64 code = 0;
    QString text; // "Dezember im Jahre 1"
};

GameDate dateFromTurn(int turn);
QString monthName(int month); // 1..12

} // namespace tolvimar
