#pragma once

#include "model/match.h"

#include <QLatin1StringView>

#include <array>

// The interned texts of a match record. The ones nearly every page reads come first, so that they
// share a cache line with the date.
enum MatchField : int {
    TournamentField,
    RoundField,
    Team1Field,
    Team2Field,
    Goals1Field,
    Goals2Field,
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
    TextFieldCount
};

// The plain texts of a match record: its own, never shared with another match (PlainTextId).
enum class PlainField : int { FileName, Id };
inline constexpr int PlainFieldCount = 2;
// Every text of a match.
inline constexpr int MatchFieldCount = TextFieldCount + PlainFieldCount;

// Values by field, indexed by their own kind of field only: a plain field cannot pick an interned
// text, nor the reverse.
template <typename Field, typename Value, int N> struct FieldArray
{
    std::array<Value, N> values;

    Value &operator[](Field field) { return values[size_t(field)]; }
    const Value &operator[](Field field) const { return values[size_t(field)]; }
    Value *begin() { return values.data(); }
    Value *end() { return values.data() + N; }
    const Value *begin() const { return values.data(); }
    const Value *end() const { return values.data() + N; }
};

// A text field of either kind.
struct FieldKey
{
    constexpr FieldKey(MatchField field) : text(field), plain(PlainField::FileName), isPlain(false)
    {}
    constexpr FieldKey(PlainField field) : text(TextFieldCount), plain(field), isPlain(true) {}

    MatchField text;
    PlainField plain;
    bool isPlain;
};

// The texts in the order of the database file: the first matchFieldsBeforeDate come before the
// date, the rest after it.
inline constexpr FieldKey matchFileOrder[MatchFieldCount] = {
    PlainField::FileName, PlainField::Id,  RoundField,      TournamentField,
    Goals1Field,          Goals2Field,     Extra1Field,     Extra2Field,
    Penalties1Field,      Penalties2Field, TimeField,       Coach1IdField,
    Coach1Field,          Coach2IdField,   Coach2Field,     Team1IdField,
    Team1Field,           Team2IdField,    Team2Field,      StadiumIdField,
    StadiumField,         CityField,       AttendanceField, RefereeIdField,
    RefereeField,         RefereeCityField};
inline constexpr int matchFieldsBeforeDate = 11;

// Where a text stands in a match report's XML: an attribute of the element, or (no attribute) the
// element's text. "match" is the root element.
struct XmlPlace
{
    const char *element;   // "" for none
    const char *attribute; // "" for the element's text
};

// One row per text of a match: where it lives in a Match and in the store's record, its name in
// the SQLite export, its place in the XML report (none for the file name, which names the file),
// and whether it counts for content equality (two reports of one match are equal in every field
// but the file name). In the order of the SQLite export's columns, where the date stands after the
// tournament.
struct MatchFieldInfo
{
    FieldKey key;
    QString MatchData::*member;
    QLatin1StringView column;
    XmlPlace xml;
    bool content;
};

// clang-format off
inline constexpr MatchFieldInfo matchFields[MatchFieldCount] = {
    {PlainField::FileName,  &MatchData::fileName,     QLatin1StringView("fileName"),    {"",        ""},           false},
    {PlainField::Id,        &MatchData::id,           QLatin1StringView("id"),          {"match",   "id"},         true},
    {RoundField,            &MatchData::round,        QLatin1StringView("round"),       {"match",   "round"},      true},
    {TournamentField,       &MatchData::tournament,   QLatin1StringView("tournament"),  {"match",   "tournament"}, true},
    {TimeField,             &MatchData::time,         QLatin1StringView("time"),        {"date",    "time"},       true},
    {Team1Field,            &MatchData::team1,        QLatin1StringView("team1"),       {"team1",   ""},           true},
    {Team1IdField,          &MatchData::team1Id,      QLatin1StringView("team1Id"),     {"team1",   "id"},         true},
    {Team2Field,            &MatchData::team2,        QLatin1StringView("team2"),       {"team2",   ""},           true},
    {Team2IdField,          &MatchData::team2Id,      QLatin1StringView("team2Id"),     {"team2",   "id"},         true},
    {Goals1Field,           &MatchData::goals1,       QLatin1StringView("goals1"),      {"score",   "goals1"},     true},
    {Goals2Field,           &MatchData::goals2,       QLatin1StringView("goals2"),      {"score",   "goals2"},     true},
    {Extra1Field,           &MatchData::extra1,       QLatin1StringView("extra1"),      {"score",   "extra1"},     true},
    {Extra2Field,           &MatchData::extra2,       QLatin1StringView("extra2"),      {"score",   "extra2"},     true},
    {Penalties1Field,       &MatchData::penalties1,   QLatin1StringView("penalties1"),  {"score",   "penalties1"}, true},
    {Penalties2Field,       &MatchData::penalties2,   QLatin1StringView("penalties2"),  {"score",   "penalties2"}, true},
    {Coach1Field,           &MatchData::coach1,       QLatin1StringView("coach1"),      {"coach1",  ""},           true},
    {Coach1IdField,         &MatchData::coach1Id,     QLatin1StringView("coach1Id"),    {"coach1",  "id"},         true},
    {Coach2Field,           &MatchData::coach2,       QLatin1StringView("coach2"),      {"coach2",  ""},           true},
    {Coach2IdField,         &MatchData::coach2Id,     QLatin1StringView("coach2Id"),    {"coach2",  "id"},         true},
    {StadiumField,          &MatchData::stadium,      QLatin1StringView("stadium"),     {"stadium", ""},           true},
    {StadiumIdField,        &MatchData::stadiumId,    QLatin1StringView("stadiumId"),   {"stadium", "id"},         true},
    {CityField,             &MatchData::city,         QLatin1StringView("city"),        {"stadium", "city"},       true},
    {AttendanceField,       &MatchData::attendance,   QLatin1StringView("attendance"),  {"stadium", "attendance"}, true},
    {RefereeField,          &MatchData::referee,      QLatin1StringView("referee"),     {"referee", ""},           true},
    {RefereeIdField,        &MatchData::refereeId,    QLatin1StringView("refereeId"),   {"referee", "id"},         true},
    {RefereeCityField,      &MatchData::refereeCity,  QLatin1StringView("refereeCity"), {"referee", "city"},       true},
};
// clang-format on
// The SQLite export's date column comes after this many of the texts above.
inline constexpr int matchFieldsBeforeDateColumn = 4;
