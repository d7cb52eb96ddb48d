#pragma once

#include "model/match.h"

#include <QLatin1StringView>

// The texts of a match record. The ones nearly every page reads come first, so that they share a
// cache line with the date; matchFileOrder gives the order of the database file.
enum MatchField : int {
    TournamentField,
    RoundField,
    Team1Field,
    Team2Field,
    Goals1Field,
    Goals2Field,
    FileNameField,
    IdField,
    Extra1Field,
    Extra2Field,
    Penalties1Field,
    Penalties2Field,
    TimeField,
    Coach1IdField,
    Coach1Field,
    Coach2IdField,
    Coach2Field,
    Team1IdField,
    Team2IdField,
    StadiumIdField,
    StadiumField,
    CityField,
    AttendanceField,
    RefereeIdField,
    RefereeField,
    RefereeCityField,
    MatchFieldCount
};

// The texts in the order of the database file: the first matchFieldsBeforeDate come before the
// date, the rest after it.
inline constexpr MatchField matchFileOrder[MatchFieldCount] = {
    FileNameField,   IdField,       RoundField,      TournamentField, Goals1Field,
    Goals2Field,     Extra1Field,   Extra2Field,     Penalties1Field, Penalties2Field,
    TimeField,       Coach1IdField, Coach1Field,     Coach2IdField,   Coach2Field,
    Team1IdField,    Team1Field,    Team2IdField,    Team2Field,      StadiumIdField,
    StadiumField,    CityField,     AttendanceField, RefereeIdField,  RefereeField,
    RefereeCityField};
inline constexpr int matchFieldsBeforeDate = 11;

// One row per text of a match: where it lives in a Match and in the store's record, its name in
// the SQLite export, whether it counts for content equality (two reports of one match are equal
// in every field but the file name), and whether it differs from match to match (the file name
// and the match ID, kept as plain characters rather than looked up). In the order of the SQLite
// export's columns, where the date stands after the tournament.
struct MatchFieldInfo
{
    MatchField field;
    QString MatchData::*member;
    QLatin1StringView column;
    bool content;
    bool perMatch;
};

inline constexpr MatchFieldInfo matchFields[MatchFieldCount] = {
    {FileNameField, &MatchData::fileName, QLatin1StringView("fileName"), false, true},
    {IdField, &MatchData::id, QLatin1StringView("id"), true, true},
    {RoundField, &MatchData::round, QLatin1StringView("round"), true, false},
    {TournamentField, &MatchData::tournament, QLatin1StringView("tournament"), true, false},
    {TimeField, &MatchData::time, QLatin1StringView("time"), true, false},
    {Team1Field, &MatchData::team1, QLatin1StringView("team1"), true, false},
    {Team1IdField, &MatchData::team1Id, QLatin1StringView("team1Id"), true, false},
    {Team2Field, &MatchData::team2, QLatin1StringView("team2"), true, false},
    {Team2IdField, &MatchData::team2Id, QLatin1StringView("team2Id"), true, false},
    {Goals1Field, &MatchData::goals1, QLatin1StringView("goals1"), true, false},
    {Goals2Field, &MatchData::goals2, QLatin1StringView("goals2"), true, false},
    {Extra1Field, &MatchData::extra1, QLatin1StringView("extra1"), true, false},
    {Extra2Field, &MatchData::extra2, QLatin1StringView("extra2"), true, false},
    {Penalties1Field, &MatchData::penalties1, QLatin1StringView("penalties1"), true, false},
    {Penalties2Field, &MatchData::penalties2, QLatin1StringView("penalties2"), true, false},
    {Coach1Field, &MatchData::coach1, QLatin1StringView("coach1"), true, false},
    {Coach1IdField, &MatchData::coach1Id, QLatin1StringView("coach1Id"), true, false},
    {Coach2Field, &MatchData::coach2, QLatin1StringView("coach2"), true, false},
    {Coach2IdField, &MatchData::coach2Id, QLatin1StringView("coach2Id"), true, false},
    {StadiumField, &MatchData::stadium, QLatin1StringView("stadium"), true, false},
    {StadiumIdField, &MatchData::stadiumId, QLatin1StringView("stadiumId"), true, false},
    {CityField, &MatchData::city, QLatin1StringView("city"), true, false},
    {AttendanceField, &MatchData::attendance, QLatin1StringView("attendance"), true, false},
    {RefereeField, &MatchData::referee, QLatin1StringView("referee"), true, false},
    {RefereeIdField, &MatchData::refereeId, QLatin1StringView("refereeId"), true, false},
    {RefereeCityField, &MatchData::refereeCity, QLatin1StringView("refereeCity"), true, false},
};
// The SQLite export's date column comes after this many of the texts above.
inline constexpr int matchFieldsBeforeDateColumn = 4;
