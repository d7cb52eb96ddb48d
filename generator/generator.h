#pragma once

#include "model/matchstore.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Invents football seasons: leagues played home and away, a knock-out cup with extra time and
// shoot-outs, clubs with stadiums, coaches and squads that change between seasons, referees, and
// full match reports with line-ups and events. The same options always give the same matches, on
// every platform: the generator draws only from std::mt19937 through its own distributions.
struct GeneratorOptions
{
    quint32 seed = 1;
    // Stop after this many matches (0: play every season in full).
    qsizetype matches = 0;
    // Seasons and leagues; 0 chooses enough of them for `matches`.
    int seasons = 0;
    int divisions = 0;
    int teamsPerDivision = 16;
    int firstYear = 1992;
    // Line-ups and events; without them a report holds the general data and the score only.
    bool fullReports = true;
    // A few reports with the faults the data checks look for: no attendance, a line-up of ten,
    // a mistyped player ID, no date.
    bool faults = true;
};

QList<Match> generateMatches(const GeneratorOptions &options);

// Adds the generated matches to store.
void generateInto(const GeneratorOptions &options, MatchStore &store);

// The XML report of one match, as the import reads it: a root element "match" holding the rest.
// Empty values are left out. The text is declared and encoded as UTF-8, or as windows-1251 when
// asked (and the platform can encode it).
QByteArray reportXml(const MatchData &match, bool windows1251 = false);

// Writes every match as a report file named by its fileName, in subdirectories by season and
// tournament ("2001/t01/…"); every tenth file is in windows-1251. Returns false with a message in
// error when a directory or file cannot be written.
bool writeReports(const QList<Match> &matches, const QString &directory, QString *error);
