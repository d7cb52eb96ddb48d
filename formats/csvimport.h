#pragma once

#include "model/matchstore.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class ImportBatch;

// Reads match results from CSV files, one match a line, as public results archives publish
// them. The header line decides the columns; names are matched without regard to case, spaces
// and underscores:
//   date        Date, Дата
//   home team   HomeTeam, Home, team1, Хозяева
//   away team   AwayTeam, Away, Visitor, team2, Гости
//   goals       FTHG + FTAG, HomeGoals + AwayGoals, hgoal + vgoal, goals1 + goals2, or one score
//               column FT, Score, Счёт holding "2-1" or "2:1"
//   division    Div, Division, Competition, Tournament, Турнир; else the file name without its
//               ending
//   season      Season; else the season the date falls in (see csvSeason)
//   also        Referee (Судья), Attendance (Зрители), Venue or Stadium (Стадион), Round or Wk
//               (Тур), Time (Время, the kick-off)
// Other columns are ignored. A cell holding only "NA" is empty. Dates are read as dd/mm/yy,
// dd/mm/yyyy, yyyy-mm-dd or dd.mm.yyyy (a day or month may have one digit); a two-digit year is the
// latest year ending in those digits that is not after the current one. Cells are separated by ','
// or ';' (whichever the header holds more of) and quoted as in RFC 4180; the text is UTF-8 (with or
// without a byte order mark) or, when it is not valid UTF-8, windows-1251.

// What a file lacks to be read at all.
enum CsvMissing : unsigned {
    CsvMissingNothing = 0,
    CsvMissingDate = 1,
    CsvMissingHomeTeam = 2,
    CsvMissingAwayTeam = 4,
    CsvMissingGoals = 8
};

// Why a line was not taken.
enum class CsvRefusal {
    BadDate,      // empty or not a date of the forms above
    NoHomeTeam,   // empty home team
    NoAwayTeam,   // empty away team
    BadGoals,     // goals empty or not a count
    UnclosedQuote // a quoted cell that the file ends inside
};

struct CsvLineProblem
{
    qsizetype line = 0; // 1 is the header line
    CsvRefusal reason = CsvRefusal::BadDate;
    QString text; // the offending cell as written
};

struct CsvImportResult
{
    bool opened = true; // false: the file could not be read (systemError says why)
    QString systemError;
    unsigned missing = CsvMissingNothing; // non-zero: the header lacks these; nothing was read
    qsizetype lines = 0;      // data lines read (the header and blank lines not counted)
    qsizetype blank = 0;      // lines holding nothing but separators, passed over
    qsizetype added = 0;      // matches added
    qsizetype duplicates = 0; // lines equal to a match already there, not added
    QList<CsvLineProblem> refused;
    bool ok() const { return opened && missing == CsvMissingNothing; }
};

// The day of the year a season starts on; July 1 unless a league plays in a calendar year.
struct SeasonStart
{
    int month = 7;
    int day = 1;
    bool operator==(const SeasonStart &other) const
    {
        return month == other.month && day == other.day;
    }
};

// "MM-DD" ("07-01", "1-1"); nullopt for anything else and for February 29, which not every year
// has.
std::optional<SeasonStart> parseSeasonStart(QStringView text);

// The season date falls in: the seasons start on start each year; one starting on January 1 is
// named by its year ("2019"), any other by the years it spans ("2019/20", "1999/00").
QString csvSeason(const QDate &date, SeasonStart start);

// The tournament of a CSV line: the pattern with every "{season}" and "{division}" replaced; an
// empty pattern is csvDefaultTournament. division is the line's division column, or the file name
// without its ending where there is none (or it is empty); season is its Season column, or the
// season of its date where there is none (or it is empty).
QString csvTournament(const QString &pattern, const QString &division, const QString &season);
inline const QString csvDefaultTournament = QStringLiteral("{division} {season}");

struct CsvImportOptions
{
    // The tournament of every match as csvTournament makes it from this pattern: empty names it
    // "<division> <season>"; a name without "{...}" names every match alike.
    QString tournament;
    SeasonStart seasonStart;
    // The day two-digit years are read against; the current day when null.
    QDate today;
};

// Reads the CSV text bytes of a file named fileName (the name without folder: it names the
// matches, "<fileName>-<line>", and, without a competition column, the tournament) and adds its
// matches through batch, so that duplicates are skipped and taken names made distinct.
CsvImportResult importCsvData(const QByteArray &bytes, const QString &fileName, ImportBatch &batch,
                              const CsvImportOptions &options = {});
// The same for the file at path.
CsvImportResult importCsvFile(const QString &path, ImportBatch &batch,
                              const CsvImportOptions &options = {});

// A date cell in one of the forms above; null when it is none.
QDate parseCsvDate(QStringView text, const QDate &today);
