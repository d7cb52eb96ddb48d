#pragma once

#include <QString>

// The texts of the standings tables as published: the place and the goal difference.
struct StandingsTexts
{
    const QString hPlace = QStringLiteral("М");      // 1, 2, 3 … in table order
    const QString hDifference = QStringLiteral("Р"); // scored less conceded, signed
};

inline const StandingsTexts &standingsTexts()
{
    static const StandingsTexts texts;
    return texts;
}
