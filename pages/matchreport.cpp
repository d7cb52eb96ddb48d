#include "pages/matchreport.h"

#include "strings/texts.h"
#include "strings/windowtexts.h"

#include <QLocale>
#include <QStringList>

namespace {

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

// The icon shown before an event's type, or an empty text for a kind without one.
QLatin1StringView iconTag(EventKind kind)
{
    switch (kind) {
    case EventKind::Goal:
        return QLatin1StringView("<img src=':/icon/images/goal.png'>");
    case EventKind::PenaltyGoal:
        return QLatin1StringView("<img src=':/icon/images/pen.png'>");
    case EventKind::MissedPenalty:
        return QLatin1StringView("<img src=':/icon/images/missed.png'>");
    case EventKind::OwnGoal:
        return QLatin1StringView("<img src=':/icon/images/autogoal.png'>");
    case EventKind::SendingOff:
        return QLatin1StringView("<img src=':/icon/images/red.png'>");
    case EventKind::SecondCaution:
        return QLatin1StringView("<img src=':/icon/images/yellow2.png'>");
    case EventKind::Caution:
        return QLatin1StringView("<img src=':/icon/images/yellow.png'>");
    case EventKind::Substitution:
        return QLatin1StringView("<img src=':/icon/images/subs.png'>");
    case EventKind::Unknown:
        break;
    }
    return QLatin1StringView();
}

QString eventRow(const MatchEvent &event)
{
    const Texts &t = texts();
    const EventKind kind = eventKind(event.type);
    if (kind == EventKind::Substitution) {
        return t.reportSubstitution.arg(esc(event.time), iconTag(kind), esc(event.type),
                                        esc(event.team), esc(event.player), esc(event.player2));
    }
    if (kind != EventKind::Unknown) {
        return t.reportEvent.arg(esc(event.time), iconTag(kind), esc(event.type), esc(event.team),
                                 esc(event.player));
    }
    if (event.player2.isEmpty()) {
        return t.reportOtherEvent.arg(esc(event.time), esc(event.type), esc(event.team),
                                      esc(event.player));
    }
    return t.reportOtherEventTwoPlayers.arg(esc(event.time), esc(event.type), esc(event.team),
                                            esc(event.player), esc(event.player2));
}

void appendNames(QString &html, const QList<PlayerEntry> &players)
{
    for (qsizetype i = 0; i < players.size(); ++i) {
        if (i > 0)
            html += QLatin1StringView("<br>");
        html += esc(players.at(i).name);
    }
}

// The score, with the extra time and the shoot-out in brackets when the report has them.
QString fullScore(const MatchData &match)
{
    const Texts &t = texts();
    QStringList details;
    if (!match.extra1.isEmpty() || !match.extra2.isEmpty())
        details.append(t.reportExtra.arg(match.extra1, match.extra2));
    if (!match.penalties1.isEmpty() || !match.penalties2.isEmpty())
        details.append(t.reportShootout.arg(match.penalties1, match.penalties2));
    if (details.isEmpty())
        return scoreText(match);
    return t.reportScoreDetails.arg(scoreText(match), details.join(QStringLiteral(", ")));
}

// City, stadium and attendance; the referee; the date and the kick-off time: one line each, an
// empty field leaving out its words and its punctuation, and an empty line left out.
QString placeLines(const MatchData &match)
{
    const Texts &t = texts();
    const QString date = match.date.isValid() ? esc(QLocale(QLocale::Russian, QLocale::Russia)
                                                        .toString(match.date, QLocale::LongFormat))
                                              : QString();
    if (!match.city.isEmpty() && !match.stadium.isEmpty() && !match.attendance.isEmpty() &&
        !match.referee.isEmpty() && !match.refereeCity.isEmpty() && !match.time.isEmpty() &&
        !date.isEmpty())
        return QLatin1StringView("<p>") + t.reportCity.arg(esc(match.city)) +
               t.reportPlace.arg(esc(match.stadium), esc(match.attendance), esc(match.referee),
                                 esc(match.refereeCity), esc(match.time), date);
    const WindowTexts &w = windowTexts();
    QString where;
    if (!match.city.isEmpty())
        where += t.reportCity.arg(esc(match.city));
    QStringList place;
    if (!match.stadium.isEmpty())
        place.append(w.reportStadium.arg(esc(match.stadium)));
    if (!match.attendance.isEmpty())
        place.append(w.reportAttendance.arg(esc(match.attendance)));
    if (place.isEmpty())
        where.chop(where.endsWith(u' ') ? 1 : 0);
    where += place.join(u' ');
    QString referee;
    if (!match.referee.isEmpty()) {
        referee = w.reportReferee.arg(esc(match.referee));
        if (!match.refereeCity.isEmpty())
            referee += w.reportRefereeCity.arg(esc(match.refereeCity));
    }
    QStringList when;
    if (!date.isEmpty())
        when.append(date);
    if (!match.time.isEmpty())
        when.append(esc(match.time));
    QStringList lines;
    for (const QString &line : {where, referee, when.join(u' ')}) {
        if (!line.isEmpty())
            lines.append(line);
    }
    if (lines.isEmpty())
        return QString();
    return QLatin1StringView("<p>") + lines.join(QLatin1StringView("<br>")) +
           QLatin1StringView("</p>");
}

} // namespace

QString matchReportHtml(const MatchData &match, ReportScore score)
{
    const Texts &t = texts();
    QString html;
    html += t.reportTournament.arg(esc(match.tournament));
    // One to three characters is a round number or a short stage code; longer texts name a stage.
    const qsizetype roundLength = match.round.size();
    html += (roundLength >= 1 && roundLength <= 3 ? t.reportRoundNumber : t.reportRound)
                .arg(esc(match.round));
    html +=
        t.reportTeams.arg(esc(match.team1), esc(match.team2),
                          esc(score == ReportScore::Full ? fullScore(match) : scoreText(match)));
    html += placeLines(match);

    html += QLatin1StringView("<table border='0' width='100%'><tr><td>");
    appendNames(html, match.players1);
    html += QLatin1StringView("</td><td>");
    appendNames(html, match.players2);
    html += QLatin1StringView("</td></tr>");
    html += t.reportCoaches.arg(esc(match.coach1), esc(match.coach2));
    html += QLatin1StringView("</table>");

    html += QLatin1StringView("<table border='0' width='100%'>");
    for (const MatchEvent &event : match.events)
        html += eventRow(event);
    html += QLatin1StringView("</table>");
    return html;
}
