#include "model/competitionrules.h"

#include "formats/fileio.h"
#include "strings/texts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cerrno>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

struct CriterionInfo
{
    TieBreak criterion;
    QLatin1StringView token;
};

constexpr CriterionInfo criteria[] = {
    {TieBreak::Points, "points"_L1},
    {TieBreak::GoalDifference, "diff"_L1},
    {TieBreak::GoalAverage, "average"_L1},
    {TieBreak::Scored, "scored"_L1},
    {TieBreak::AwayScored, "away-scored"_L1},
    {TieBreak::Wins, "wins"_L1},
    {TieBreak::HeadToHeadPoints, "h2h-points"_L1},
    {TieBreak::HeadToHeadDifference, "h2h-diff"_L1},
    {TieBreak::HeadToHeadScored, "h2h-scored"_L1},
    {TieBreak::Name, "name"_L1},
};

CompetitionRules makeRules(int win, int draw, int loss, const QList<TieBreak> &chain)
{
    CompetitionRules rules;
    rules.win = win;
    rules.draw = draw;
    rules.loss = loss;
    rules.tieBreaks = chain;
    return rules;
}

// A whole number of the rules file in [low, high], or nothing.
std::optional<int> wholeNumber(const QJsonValue &value, int low, int high)
{
    if (!value.isDouble())
        return std::nullopt;
    // The range first: converting a double outside the integers' range (1e116, 2^63) is
    // undefined.
    const double number = value.toDouble();
    if (!(number >= low && number <= high) || std::floor(number) != number)
        return std::nullopt;
    return int(number);
}

RulesFileResult fail(RulesFileResult::Status status, const QString &detail)
{
    return {status, detail};
}

RulesFileResult parseTournament(const QString &name, const QJsonValue &value,
                                CompetitionRules &rules)
{
    const QString where = u"tournaments/"_s + name;
    if (!value.isObject())
        return fail(RulesFileResult::Malformed, where);
    const QJsonObject object = value.toObject();

    if (object.contains(u"points"_s)) {
        const QJsonValue points = object.value(u"points"_s);
        if (!points.isObject())
            return fail(RulesFileResult::BadValue, where + u"/points"_s);
        const QJsonObject p = points.toObject();
        for (const auto &[key, field] :
             {std::pair{u"win"_s, &rules.win}, std::pair{u"draw"_s, &rules.draw},
              std::pair{u"loss"_s, &rules.loss}}) {
            if (!p.contains(key))
                continue;
            const std::optional<int> number = wholeNumber(p.value(key), 0, 99);
            if (!number)
                return fail(RulesFileResult::BadValue, where + u"/points/"_s + key);
            *field = *number;
        }
    }

    if (object.contains(u"tiebreaks"_s)) {
        const QJsonValue chain = object.value(u"tiebreaks"_s);
        if (!chain.isArray())
            return fail(RulesFileResult::BadValue, where + u"/tiebreaks"_s);
        rules.tieBreaks.clear();
        for (const QJsonValue &item : chain.toArray()) {
            const std::optional<TieBreak> criterion = tieBreakFromToken(item.toString());
            if (!item.isString() || !criterion)
                return fail(RulesFileResult::UnknownCriterion,
                            item.isString() ? item.toString() : item.toVariant().toString());
            if (!rules.tieBreaks.contains(*criterion))
                rules.tieBreaks.append(*criterion);
        }
    }

    if (object.contains(u"deductions"_s)) {
        const QJsonValue list = object.value(u"deductions"_s);
        if (!list.isArray())
            return fail(RulesFileResult::BadValue, where + u"/deductions"_s);
        const QJsonArray items = list.toArray();
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QString at = where + u"/deductions/"_s + QString::number(i + 1);
            if (!items.at(i).isObject())
                return fail(RulesFileResult::BadValue, at);
            const QJsonObject d = items.at(i).toObject();
            Deduction deduction;
            deduction.team = d.value(u"team"_s).toString();
            if (deduction.team.isEmpty())
                return fail(RulesFileResult::BadValue, at + u"/team"_s);
            const std::optional<int> points = wholeNumber(d.value(u"points"_s), 1, 999);
            if (!points)
                return fail(RulesFileResult::BadValue, at + u"/points"_s);
            deduction.points = *points;
            deduction.reason = d.value(u"reason"_s).toString();
            if (d.contains(u"from"_s)) {
                deduction.from = QDate::fromString(d.value(u"from"_s).toString(), Qt::ISODate);
                if (!deduction.from.isValid())
                    return fail(RulesFileResult::BadValue, at + u"/from"_s);
            }
            rules.deductions.append(deduction);
        }
    }
    return {};
}

} // namespace

QString tieBreakName(TieBreak criterion)
{
    const Texts &t = texts();
    switch (criterion) {
    case TieBreak::Points:
        return t.tbPoints;
    case TieBreak::GoalDifference:
        return t.tbDifference;
    case TieBreak::GoalAverage:
        return t.tbAverage;
    case TieBreak::Scored:
        return t.tbScored;
    case TieBreak::AwayScored:
        return t.tbAwayScored;
    case TieBreak::Wins:
        return t.tbWins;
    case TieBreak::HeadToHeadPoints:
        return t.tbH2hPoints;
    case TieBreak::HeadToHeadDifference:
        return t.tbH2hDifference;
    case TieBreak::HeadToHeadScored:
        return t.tbH2hScored;
    case TieBreak::Name:
        return t.tbName;
    }
    return QString();
}

bool isHeadToHead(TieBreak criterion)
{
    return criterion == TieBreak::HeadToHeadPoints || criterion == TieBreak::HeadToHeadDifference ||
           criterion == TieBreak::HeadToHeadScored;
}

QList<TieBreak> allTieBreaks()
{
    QList<TieBreak> list;
    for (const CriterionInfo &info : criteria)
        list.append(info.criterion);
    return list;
}

QString tieBreakToken(TieBreak criterion)
{
    for (const CriterionInfo &info : criteria) {
        if (info.criterion == criterion)
            return QString(info.token);
    }
    return QString();
}

std::optional<TieBreak> tieBreakFromToken(QStringView token)
{
    for (const CriterionInfo &info : criteria) {
        if (token == info.token)
            return info.criterion;
    }
    return std::nullopt;
}

bool Deduction::operator==(const Deduction &other) const
{
    return team == other.team && points == other.points && reason == other.reason &&
           from == other.from;
}

bool CompetitionRules::operator==(const CompetitionRules &other) const
{
    return sameScheme(other) && deductions == other.deductions;
}

bool CompetitionRules::sameScheme(const CompetitionRules &other) const
{
    // "points" in the chain and anything after "name" change nothing.
    const auto effective = [](const QList<TieBreak> &chain) {
        QList<TieBreak> out;
        for (TieBreak criterion : chain) {
            if (criterion != TieBreak::Points)
                out.append(criterion);
            if (criterion == TieBreak::Name)
                break;
        }
        if (!out.isEmpty() && out.constLast() == TieBreak::Name)
            out.removeLast();
        return out;
    };
    return win == other.win && draw == other.draw && loss == other.loss &&
           effective(tieBreaks) == effective(other.tieBreaks);
}

qint64 CompetitionRules::deductedFrom(const QString &team, const QDate &asOf) const
{
    qint64 total = 0;
    for (const Deduction &deduction : deductions) {
        if (deduction.team == team &&
            (!deduction.from.isValid() || !asOf.isValid() || deduction.from <= asOf))
            total += deduction.points;
    }
    return total;
}

QList<RulesPreset> rulesPresets()
{
    using T = TieBreak;
    const Texts &t = texts();
    return {
        {t.presetStandard, CompetitionRules()},
        {t.presetTwoPoints, makeRules(2, 1, 0, {T::GoalDifference, T::Scored})},
        {t.presetGoalAverage, makeRules(2, 1, 0, {T::GoalAverage})},
        {t.presetUefa, makeRules(3, 1, 0,
                                 {T::HeadToHeadPoints, T::HeadToHeadDifference, T::HeadToHeadScored,
                                  T::GoalDifference, T::Scored, T::AwayScored, T::Wins})},
        {t.presetLaLiga,
         makeRules(3, 1, 0,
                   {T::HeadToHeadPoints, T::HeadToHeadDifference, T::GoalDifference, T::Scored})},
    };
}

QString rulesDisplayName(const CompetitionRules &rules)
{
    for (const RulesPreset &preset : rulesPresets()) {
        if (preset.rules.sameScheme(rules))
            return preset.name;
    }
    QStringList names;
    for (TieBreak criterion : rules.tieBreaks) {
        if (criterion != TieBreak::Points)
            names.append(tieBreakName(criterion));
    }
    return texts().rulesCustomName.arg(pointsText(rules), names.join(u", "_s));
}

QString pointsText(const CompetitionRules &rules)
{
    return u"%1-%2-%3"_s.arg(rules.win).arg(rules.draw).arg(rules.loss);
}

bool parsePoints(QStringView text, CompetitionRules &rules)
{
    static const QRegularExpression form(u"^(\\d{1,2})-(\\d{1,2})-(\\d{1,2})$"_s);
    const QRegularExpressionMatch match = form.match(text.toString());
    if (!match.hasMatch())
        return false;
    rules.win = match.captured(1).toInt();
    rules.draw = match.captured(2).toInt();
    rules.loss = match.captured(3).toInt();
    return true;
}

bool parseTieBreaks(QStringView text, QList<TieBreak> &chain, QString *badToken)
{
    QList<TieBreak> parsed;
    for (QStringView token : text.split(u',')) {
        const std::optional<TieBreak> criterion = tieBreakFromToken(token.trimmed());
        if (!criterion) {
            if (badToken)
                *badToken = token.trimmed().toString();
            return false;
        }
        if (!parsed.contains(*criterion))
            parsed.append(*criterion);
    }
    chain = parsed;
    return true;
}

CompetitionRules RuleBook::rulesFor(const QString &tournament) const
{
    return m_rules.value(tournament);
}

void RuleBook::setRules(const QString &tournament, const CompetitionRules &rules)
{
    if (rules == CompetitionRules())
        m_rules.remove(tournament);
    else
        m_rules.insert(tournament, rules);
}

QString rulesFilePath(const QString &databasePath)
{
    return databasePath + u".rules"_s;
}

RulesFileResult parseRules(const QByteArray &bytes, RuleBook &book)
{
    book.clear();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return fail(RulesFileResult::Malformed,
                    u"%1 (byte %2)"_s.arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        return fail(RulesFileResult::Malformed, u"/"_s);
    const QJsonObject root = document.object();
    const QJsonValue version = root.value(u"version"_s);
    if (!version.isUndefined() && wholeNumber(version, 1, 1) != 1)
        return fail(RulesFileResult::BadValue, u"version"_s);
    const QJsonValue tournaments = root.value(u"tournaments"_s);
    if (!tournaments.isUndefined() && !tournaments.isObject())
        return fail(RulesFileResult::Malformed, u"tournaments"_s);

    RuleBook read;
    const QJsonObject list = tournaments.toObject();
    for (auto it = list.begin(); it != list.end(); ++it) {
        CompetitionRules rules;
        const RulesFileResult result = parseTournament(it.key(), it.value(), rules);
        if (!result.ok())
            return result;
        read.setRules(it.key(), rules);
    }
    book = read;
    return {};
}

RulesFileResult readRulesFile(const QString &path, RuleBook &book)
{
    book.clear();
    // Through the safe reader: a pipe or device put in the file's place (a FIFO, a link to
    // /dev/zero) is refused at once, and a file far larger than any rules file is not read whole.
    const FileContents file = readFileStart(QFile::encodeName(path), maxRulesFileBytes);
    if (file.status == FileContents::CannotOpen && file.error.code == ENOENT)
        return fail(RulesFileResult::Missing, QString());
    if (file.status == FileContents::NotRegular)
        return fail(RulesFileResult::NotRegular, texts().notRegularReason);
    if (!file.ok())
        return fail(RulesFileResult::CannotRead, file.error.text);
    if (file.cut)
        return fail(RulesFileResult::CannotRead, SystemError::fromErrno(EFBIG).text);
    return parseRules(file.bytes, book);
}

QByteArray rulesFileBytes(const RuleBook &book)
{
    QJsonObject tournaments;
    for (const QString &name : book.tournaments()) {
        const CompetitionRules rules = book.rulesFor(name);
        QJsonObject object;
        object.insert(
            u"points"_s,
            QJsonObject{{u"win"_s, rules.win}, {u"draw"_s, rules.draw}, {u"loss"_s, rules.loss}});
        QJsonArray chain;
        for (TieBreak criterion : rules.tieBreaks)
            chain.append(tieBreakToken(criterion));
        object.insert(u"tiebreaks"_s, chain);
        QJsonArray deductions;
        for (const Deduction &d : rules.deductions) {
            QJsonObject item{{u"team"_s, d.team}, {u"points"_s, d.points}};
            if (!d.reason.isEmpty())
                item.insert(u"reason"_s, d.reason);
            if (d.from.isValid())
                item.insert(u"from"_s, d.from.toString(Qt::ISODate));
            deductions.append(item);
        }
        if (!deductions.isEmpty())
            object.insert(u"deductions"_s, deductions);
        tournaments.insert(name, object);
    }
    const QJsonObject root{{u"version"_s, 1}, {u"tournaments"_s, tournaments}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
