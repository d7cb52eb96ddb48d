#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// What decides between teams. Points always decide first; the chain names what decides between
// teams level on points, in order. The head-to-head criteria look only at the matches between the
// teams still level.
enum class TieBreak {
    Points,
    GoalDifference,
    GoalAverage, // goals scored divided by goals conceded
    Scored,
    AwayScored,
    Wins,
    HeadToHeadPoints,
    HeadToHeadDifference,
    HeadToHeadScored,
    Name, // code-unit order of the team names
};

bool isHeadToHead(TieBreak criterion);
// Every criterion, in the order the help and the dialog list them.
QList<TieBreak> allTieBreaks();
// The criterion's token in the rules file and on the command line ("diff", "h2h-points" ...).
QString tieBreakToken(TieBreak criterion);
std::optional<TieBreak> tieBreakFromToken(QStringView token);
// The criterion's name in the window ("разница мячей" ...).
QString tieBreakName(TieBreak criterion);

// Points taken from a team by its league. With a valid date they count in a table that reaches
// that date; without one, in every table.
struct Deduction
{
    QString team;
    int points = 0;
    QString reason;
    QDate from;

    bool operator==(const Deduction &other) const;
};

// The rules of one tournament. A default-constructed set is the program's standard: three points
// for a win, one for a draw, then goal difference and goals scored; the name settles what is left.
struct CompetitionRules
{
    int win = 3;
    int draw = 1;
    int loss = 0;
    QList<TieBreak> tieBreaks{TieBreak::GoalDifference, TieBreak::Scored};
    QList<Deduction> deductions;

    bool operator==(const CompetitionRules &other) const;
    bool operator!=(const CompetitionRules &other) const { return !(*this == other); }
    // Points and tie-breaks as another set's, deductions aside.
    bool sameScheme(const CompetitionRules &other) const;
    // The total taken from team in a table that reaches asOf (an invalid asOf reaches every date).
    qint64 deductedFrom(const QString &team, const QDate &asOf) const;
};

// The ready-made rule sets, with their display names.
struct RulesPreset
{
    QString name;
    CompetitionRules rules;
};
QList<RulesPreset> rulesPresets();

// The display name of a rule set: the preset's name when its points and tie-breaks are a preset's,
// otherwise a short description ("2-1-0; разница мячей, забитые").
QString rulesDisplayName(const CompetitionRules &rules);

// "3-1-0" and back: three whole numbers 0..99 for a win, a draw and a loss.
QString pointsText(const CompetitionRules &rules);
bool parsePoints(QStringView text, CompetitionRules &rules);
// A comma-separated chain of tokens; on an unknown token returns false and names it in badToken.
bool parseTieBreaks(QStringView text, QList<TieBreak> &chain, QString *badToken = nullptr);

// The rules of every tournament that has rules of its own; the others follow the standard.
class RuleBook
{
public:
    bool isEmpty() const { return m_rules.isEmpty(); }
    QStringList tournaments() const { return m_rules.keys(); }
    // The rules of tournament: its own, or the standard ones (also for "<Все турниры>").
    CompetitionRules rulesFor(const QString &tournament) const;
    // Sets the rules of tournament; the standard rules remove its entry.
    void setRules(const QString &tournament, const CompetitionRules &rules);
    void clear() { m_rules.clear(); }

    bool operator==(const RuleBook &other) const { return m_rules == other.m_rules; }
    bool operator!=(const RuleBook &other) const { return !(*this == other); }

private:
    QMap<QString, CompetitionRules> m_rules;
};

// The rules file kept beside a database: the database's path with ".rules" appended.
QString rulesFilePath(const QString &databasePath);

// What reading a rules file came to. Anything but Ok and Missing leaves the book empty.
struct RulesFileResult
{
    enum Status {
        Ok,
        Missing,          // no file: the standard rules
        CannotRead,       // detail: the system's reason
        NotRegular,       // a directory, pipe or device: nothing was read (detail: the reason)
        Malformed,        // not JSON, or not the expected shape; detail says where
        UnknownCriterion, // detail: the token
        BadValue,         // detail: the field, as "tournaments/NAME/points/win"
        CannotWrite,      // detail: the system's reason
    };
    Status status = Ok;
    QString detail;

    bool ok() const { return status == Ok || status == Missing; }
};

// The largest rules file read: a thousand tournaments with their deductions take a fraction.
constexpr qint64 maxRulesFileBytes = 4 * 1024 * 1024;

// Reads path into book (emptied first, and left empty on any failure).
RulesFileResult readRulesFile(const QString &path, RuleBook &book);
RulesFileResult parseRules(const QByteArray &bytes, RuleBook &book);
// The book as the rules file holds it: indented JSON, tournaments in name order.
QByteArray rulesFileBytes(const RuleBook &book);
