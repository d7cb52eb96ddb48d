#include "pages/analysis.h"
#include "pages/pagecodes.h"

#include "pages/builders.h"
#include "strings/texts.h"

#include <QHash>

#include <algorithm>

// Home and away tables and the form table: the standings' own counting and ranking over a part
// of each team's matches.

namespace {

int formLength(const QString &argument)
{
    bool ok = false;
    const int n = argument.toInt(&ok);
    return ok && n > 0 ? n : defaultFormLength;
}

QString resultLetter(qint64 scored, qint64 conceded)
{
    const Texts &t = texts();
    return scored > conceded ? t.formWin : scored < conceded ? t.formLoss : t.formDraw;
}

void emitForm(const PageContext &context, PageRows &rows)
{
    const MatchStore &store = context.match.store();
    const TextTable &t = store.texts();
    const CompetitionRules &rules = context.params.rules;

    // The scored matches in date order (matches of one day in the order they came), then each
    // team's of them.
    std::vector<qsizetype> &kept = rows.kept();
    std::stable_sort(kept.begin(), kept.end(), [&store](qsizetype a, qsizetype b) {
        return store.record(a).julianDay < store.record(b).julianDay;
    });
    TeamTally tally(usesHeadToHead(rules));
    std::vector<std::vector<qsizetype>> byTeam;
    for (qsizetype m : kept) {
        const MatchRecord &r = store.record(m);
        const qsizetype team1 = tally.team(t, r.texts[Team1Field]);
        const qsizetype team2 = tally.team(t, r.texts[Team2Field]);
        if (size_t(std::max(team1, team2)) >= byTeam.size())
            byTeam.resize(size_t(std::max(team1, team2)) + 1);
        byTeam[size_t(team1)].push_back(m);
        if (team2 != team1)
            byTeam[size_t(team2)].push_back(m);
    }

    // The last N of each, counted for that team's side alone.
    const size_t n = size_t(formLength(context.params.argument));
    QHash<QString, QString> letters;
    for (size_t team = 0; team < byTeam.size(); ++team) {
        const std::vector<qsizetype> &played = byTeam[team];
        QStringList form;
        for (size_t i = played.size() > n ? played.size() - n : 0; i < played.size(); ++i) {
            const MatchRecord &r = store.record(played[i]);
            const qsizetype team1 = tally.team(t, r.texts[Team1Field]);
            const qsizetype team2 = tally.team(t, r.texts[Team2Field]);
            const int g1 = scoreNumber(t.text(r.texts[Goals1Field]));
            const int g2 = scoreNumber(t.text(r.texts[Goals2Field]));
            const bool home = team1 == qsizetype(team);
            const qint64 scored = home ? g1 : g2;
            const qint64 conceded = home ? g2 : g1;
            tally.addResult(qsizetype(team), home ? team2 : team1, scored, conceded, !home);
            form.append(resultLetter(scored, conceded));
        }
        letters.insert(tally.record(qsizetype(team)).name, form.join(u' '));
    }
    rows.clear();

    // The standings as they are, with the letters in a column of their own.
    const Standings standings =
        standingsOf(tally, rules, context.filter ? context.filter->till : QDate());
    writeStandings(*context.table, standings, {texts().hForm}, [&letters](const TeamRecord &team) {
        return QStringList{letters.value(team.name)};
    });
}

} // namespace

void homeTable(const PageContext &context, PageRows &rows)
{
    countStandings(context, rows, StandingsSide::Home);
}

void awayTable(const PageContext &context, PageRows &rows)
{
    countStandings(context, rows, StandingsSide::Away);
}

void formTable(const PageContext &context, PageRows &rows)
{
    if (context.table) {
        emitForm(context, rows);
        return;
    }
    const MatchRecord &r = context.match.record();
    const TextTable &t = context.match.store().texts();
    if (t.text(r.texts[Goals1Field]).isEmpty() && t.text(r.texts[Goals2Field]).isEmpty())
        return;
    rows.kept().push_back(context.match.index());
}

void setTeamMenu(ResultTable &table, bool withStandings)
{
    const Texts &t = texts();
    QStringList labels{t.menuDetails};
    QStringList codes{QString()};
    if (withStandings) {
        labels << t.menuHome << t.menuAway << t.menuForm;
        codes << QString(PageCode::HomeTable) << QString(PageCode::AwayTable)
              << QString(PageCode::FormTable);
    }
    labels << t.menuHeadToHead;
    codes << QString(PageCode::HeadToHead);
    table.setMenu(labels, codes);
}
