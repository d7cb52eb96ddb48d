#include "generator/generator.h"
#include "formats/xmlexport.h"

#include "strings/texts.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

// std::mt19937's output is fixed by the standard; its distributions are not, so these are ours.
class Random
{
public:
    explicit Random(quint32 seed) : m_engine(seed) {}

    quint32 next() { return quint32(m_engine()); }
    // 0 <= result < n
    int below(int n) { return n <= 0 ? 0 : int((quint64(next()) * quint64(n)) >> 32); }
    int between(int low, int high) { return low + below(high - low + 1); }
    double unit() { return next() / 4294967296.0; }
    bool chance(double p) { return unit() < p; }
    int poisson(double lambda)
    {
        const double limit = std::exp(-lambda);
        int k = 0;
        double p = unit();
        while (p > limit && k < 20) {
            ++k;
            p *= unit();
        }
        return k;
    }
    template <typename T> const T &pick(const QList<T> &list)
    {
        return list.at(below(int(list.size())));
    }

private:
    std::mt19937 m_engine;
};

const char16_t *const surnameRoots[] = {
    u"Иван",    u"Петр",    u"Сидор",  u"Смирн",  u"Кузнец",    u"Поп",      u"Василь",   u"Соколь",
    u"Михайл",  u"Новик",   u"Фёдор",  u"Мороз",  u"Волк",      u"Алекс",    u"Лебед",    u"Семён",
    u"Егор",    u"Павл",    u"Козл",   u"Степан", u"Никол",     u"Орл",      u"Андре",    u"Макар",
    u"Никит",   u"Захар",   u"Зайц",   u"Солов",  u"Борис",     u"Яковл",    u"Григор",   u"Роман",
    u"Воробь",  u"Серге",   u"Кирилл", u"Фрол",   u"Александр", u"Дмитри",   u"Королёв",  u"Гусев",
    u"Киселёв", u"Ильин",   u"Максим", u"Поляк",  u"Сорокин",   u"Виноград", u"Ковал",    u"Белов",
    u"Медвед",  u"Антон",   u"Тарас",  u"Жук",    u"Баран",     u"Филипп",   u"Комар",    u"Давыд",
    u"Беляк",   u"Герасим", u"Богдан", u"Осип",   u"Сазон",     u"Мартын",   u"Колесник", u"Карп",
    u"Суворов", u"Титов",   u"Блинов", u"Гаврил", u"Щерб",      u"Ефим",     u"Денис",    u"Лукин",
};
const char16_t *const surnameEndings[] = {u"ов", u"ев", u"ин", u"енко", u"ский", u"ович", u"ук"};

const char16_t *const cities[] = {
    u"Москва",       u"Самара",      u"Казань",      u"Томск",           u"Омск",
    u"Пермь",        u"Уфа",         u"Тула",        u"Курск",           u"Орёл",
    u"Брянск",       u"Липецк",      u"Тверь",       u"Рязань",          u"Калуга",
    u"Владимир",     u"Иваново",     u"Ярославль",   u"Кострома",        u"Вологда",
    u"Архангельск",  u"Мурманск",    u"Псков",       u"Смоленск",        u"Воронеж",
    u"Белгород",     u"Тамбов",      u"Пенза",       u"Саратов",         u"Волгоград",
    u"Астрахань",    u"Ростов",      u"Краснодар",   u"Ставрополь",      u"Сочи",
    u"Нальчик",      u"Оренбург",    u"Челябинск",   u"Екатеринбург",    u"Тюмень",
    u"Курган",       u"Новосибирск", u"Барнаул",     u"Кемерово",        u"Иркутск",
    u"Чита",         u"Хабаровск",   u"Владивосток", u"Ижевск",          u"Киров",
    u"Чебоксары",    u"Ульяновск",   u"Тольятти",    u"Нижний Новгород", u"Калининград",
    u"Петрозаводск", u"Лесногорск",  u"Заречный",    u"Сосновка",        u"Приозёрск",
};

const char16_t *const clubNames[] = {
    u"Динамо",   u"Спартак", u"Торпедо", u"Локомотив",   u"Металлург", u"Шахтёр",
    u"Химик",    u"Сокол",   u"Факел",   u"Ротор",       u"Луч",       u"Волга",
    u"Звезда",   u"Ракета",  u"Энергия", u"Текстильщик", u"Строитель", u"Нефтяник",
    u"Авангард", u"Старт",   u"Сатурн",  u"Титан",       u"Кристалл",  u"Заря",
};

const char16_t *const stadiumNames[] = {
    u"Центральный", u"Городской", u"Труд",   u"Олимп",  u"Юность", u"Восток",
    u"Победа",      u"Арена",     u"Радуга", u"Пионер", u"Салют",  u"Снежинка",
};

const char16_t *const zones[] = {u"Запад", u"Центр", u"Юг", u"Урал-Поволжье", u"Восток", u"Сибирь"};

const char16_t *const kickOffTimes[] = {u"13:00", u"15:00", u"16:30", u"17:00", u"19:00", u"20:30"};

template <typename T, std::size_t N> QString pickText(Random &random, T (&list)[N])
{
    return QString::fromUtf16(list[random.below(int(N))]);
}

struct Person
{
    QString id;
    QString name;
    QString city;
};

struct Team
{
    QString id;
    QString name;
    QString city;
    QString stadium;
    QString stadiumId;
    int capacity = 0;
    double strength = 0;
    Person coach;
    QList<Person> squad;
};

// One player on the pitch during a match: where he stands (0 is the goalkeeper) and when he
// came on and went off.
struct Appearance
{
    int player; // index into the squad
    int position;
    int on;
    int off;
    bool cautioned = false;
};

struct TimedEvent
{
    int minute;
    MatchEvent event;
};

class World
{
public:
    explicit World(const GeneratorOptions &options) : m_options(options), m_random(options.seed)
    {
        m_divisions = options.divisions;
        m_seasons = options.seasons;
        const int teams = std::max(options.teamsPerDivision, 2);
        const qsizetype perSeason = qsizetype(teams) * (teams - 1);
        if (m_divisions <= 0) {
            m_divisions =
                options.matches <= 0
                    ? 1
                    : int(std::clamp<qsizetype>(
                          (options.matches + 25 * perSeason - 1) / (25 * perSeason), 1, 30));
        }
        if (m_seasons <= 0) {
            const qsizetype season = perSeason * m_divisions + 1;
            m_seasons = options.matches <= 0 ? 1 : int((options.matches + season - 1) / season);
        }
        for (int d = 0; d < m_divisions; ++d) {
            QList<Team> division;
            for (int t = 0; t < teams; ++t)
                division.append(newTeam(d));
            m_leagues.append(division);
        }
        for (int d = 0; d < 2 * m_divisions + 8; ++d)
            m_referees.append(newPerson(m_nextRefereeId, true));
    }

    QList<Match> play()
    {
        for (int season = 0; season < m_seasons && !full(); ++season) {
            const int year = m_options.firstYear + season;
            for (int d = 0; d < m_divisions && !full(); ++d)
                playLeague(d, year);
            if (!full())
                playCup(year);
            newSeason();
        }
        return m_matches;
    }

private:
    bool full() const { return m_options.matches > 0 && m_matches.size() >= m_options.matches; }

    QString surname()
    {
        return pickText(m_random, surnameRoots) + pickText(m_random, surnameEndings);
    }

    Person newPerson(int &counter, bool withCity)
    {
        Person person;
        person.id = QString::number(counter++);
        person.name = surname();
        if (withCity)
            person.city = pickText(m_random, cities);
        return person;
    }

    Person newPlayer() { return newPerson(m_nextPlayerId, false); }

    Team newTeam(int division)
    {
        Team team;
        // Club names are unique: a name already taken gets the next club word of the same city.
        QString name;
        do {
            team.city = pickText(m_random, cities);
            name = pickText(m_random, clubNames) + u' ' + team.city;
        } while (m_teamNames.contains(name));
        m_teamNames.insert(name);
        team.name = name;
        team.id = QString::number(m_nextTeamId++);
        team.stadium = pickText(m_random, stadiumNames);
        team.stadiumId = QString::number(m_nextStadiumId++);
        team.capacity =
            division == 0 ? m_random.between(15, 45) * 1000 : m_random.between(3, 20) * 1000;
        team.strength = m_random.unit() - 0.5 - 0.1 * division;
        team.coach = newPerson(m_nextCoachId, false);
        const int size = m_random.between(22, 26);
        for (int i = 0; i < size; ++i)
            team.squad.append(newPlayer());
        return team;
    }

    // Squads change between seasons: some players leave, a few of them for another club (keeping
    // their ID), and young players come in; now and then a club changes its coach.
    void newSeason()
    {
        QList<Person> transfers;
        for (QList<Team> &division : m_leagues) {
            for (Team &team : division) {
                for (int i = int(team.squad.size()) - 1; i >= 0; --i) {
                    if (!m_random.chance(0.15))
                        continue;
                    if (m_random.chance(0.4))
                        transfers.append(team.squad.at(i));
                    team.squad.removeAt(i);
                }
                if (m_random.chance(0.25))
                    team.coach = newPerson(m_nextCoachId, false);
                team.strength =
                    std::clamp(team.strength + 0.2 * (m_random.unit() - 0.5), -0.9, 0.6);
            }
        }
        for (QList<Team> &division : m_leagues) {
            for (Team &team : division) {
                while (team.squad.size() < 22) {
                    if (!transfers.isEmpty() && m_random.chance(0.5))
                        team.squad.append(transfers.takeAt(m_random.below(int(transfers.size()))));
                    else
                        team.squad.append(newPlayer());
                }
            }
        }
    }

    static QString divisionName(int division)
    {
        if (division == 0)
            return u"Высшая лига"_s;
        if (division == 1)
            return u"Первая лига"_s;
        const int zone = division - 2;
        const int zoneCount = int(std::size(zones));
        QString name = u"Вторая лига. Зона «%1»"_s.arg(QString::fromUtf16(zones[zone % zoneCount]));
        if (zone >= zoneCount)
            name += u' ' + QString::number(zone / zoneCount + 1);
        return name;
    }

    // A double round robin by the circle method: every team meets every other once at home and
    // once away, one round a week from early March.
    void playLeague(int division, int year)
    {
        QList<Team> &teams = m_leagues[division];
        const QString tournament = divisionName(division);
        QList<int> order;
        for (int i = 0; i < teams.size(); ++i)
            order.append(i);
        if (order.size() % 2 != 0)
            order.append(-1); // a bye
        const int n = int(order.size());
        const int rounds = n - 1;
        QDate start(year, 3, 1);
        while (start.dayOfWeek() != Qt::Saturday)
            start = start.addDays(1);
        for (int leg = 0; leg < 2; ++leg) {
            QList<int> circle = order;
            for (int r = 0; r < rounds && !full(); ++r) {
                const int round = leg * rounds + r + 1;
                const QDate weekend = start.addDays(7 * (round - 1));
                for (int i = 0; i < n / 2 && !full(); ++i) {
                    int home = circle.at(i);
                    int away = circle.at(n - 1 - i);
                    if (home < 0 || away < 0)
                        continue;
                    if ((r + i + leg) % 2 != 0)
                        std::swap(home, away);
                    const QDate date = weekend.addDays(m_random.below(2));
                    playMatch(teams[home], teams[away], date, tournament, QString::number(round),
                              false, division);
                }
                // Rotate every position but the first.
                circle.insert(1, circle.takeLast());
            }
        }
    }

    void playCup(int year)
    {
        QList<Team *> entrants;
        for (QList<Team> &division : m_leagues) {
            for (Team &team : division)
                entrants.append(&team);
        }
        // Amateur clubs make up the draw when the leagues are small.
        while (entrants.size() < 32) {
            m_amateurs.append(newTeam(9));
            entrants.clear();
            for (QList<Team> &division : m_leagues) {
                for (Team &team : division)
                    entrants.append(&team);
            }
            for (Team &team : m_amateurs)
                entrants.append(&team);
        }
        int size = 1;
        while (size * 2 <= entrants.size() && size < 64)
            size *= 2;
        // A random draw of `size` clubs.
        for (int i = 0; i < size; ++i)
            std::swap(entrants[i], entrants[i + m_random.below(int(entrants.size()) - i)]);
        entrants.resize(size);

        const QString tournament = u"Кубок"_s;
        QDate date(year, 5, 10);
        while (date.dayOfWeek() != Qt::Wednesday)
            date = date.addDays(1);
        while (entrants.size() > 1 && !full()) {
            const int ties = int(entrants.size()) / 2;
            const QString round = ties == 1   ? u"Финал"_s
                                  : ties == 2 ? u"1/2 финала"_s
                                              : u"1/%1 финала"_s.arg(ties);
            QList<Team *> winners;
            for (int i = 0; i < ties && !full(); ++i) {
                Team *home = entrants.at(2 * i);
                Team *away = entrants.at(2 * i + 1);
                const int winner = playMatch(*home, *away, date, tournament, round, true, 0);
                winners.append(winner == 1 ? home : away);
            }
            entrants = winners;
            date = date.addDays(28);
        }
    }

    // Plays one match and appends it; returns the side that went through (1 or 2).
    int playMatch(Team &home, Team &away, const QDate &date, const QString &tournament,
                  const QString &round, bool knockout, int division)
    {
        Match match;
        MatchData &m = match.edit();
        const int number = m_nextMatchId++;
        m.id = QString::number(number);
        m.fileName = m.id + u".xml"_s;
        m.tournament = tournament;
        m.round = round;
        m.date = date;
        m.time = pickText(m_random, kickOffTimes);
        m.team1 = home.name;
        m.team1Id = home.id;
        m.team2 = away.name;
        m.team2Id = away.id;
        m.coach1 = home.coach.name;
        m.coach1Id = home.coach.id;
        m.coach2 = away.coach.name;
        m.coach2Id = away.coach.id;
        m.stadium = home.stadium;
        m.stadiumId = home.stadiumId;
        m.city = home.city;
        const double fill = 0.3 + 0.65 * m_random.unit();
        m.attendance = QString::number(int(home.capacity * fill) / 100 * 100);
        const Person &referee =
            m_referees.at((division * 2 + m_random.below(10)) % int(m_referees.size()));
        m.referee = referee.name;
        m.refereeId = referee.id;
        m.refereeCity = referee.city;

        const double edge = home.strength - away.strength;
        const int goals1 = m_random.poisson(std::max(0.2, 1.4 + 0.6 * edge));
        const int goals2 = m_random.poisson(std::max(0.2, 1.05 - 0.6 * edge));
        int extra1 = 0;
        int extra2 = 0;
        int winner = goals1 > goals2 ? 1 : 2;
        if (knockout && goals1 == goals2) {
            extra1 = m_random.poisson(0.35);
            extra2 = m_random.poisson(0.3);
            m.extra1 = QString::number(extra1);
            m.extra2 = QString::number(extra2);
            winner = extra1 > extra2 ? 1 : 2;
            if (extra1 == extra2) {
                int p1 = 0;
                int p2 = 0;
                for (int kick = 0; kick < 5 || p1 == p2; ++kick) {
                    p1 += m_random.chance(0.76) ? 1 : 0;
                    p2 += m_random.chance(0.74) ? 1 : 0;
                    // Within the first five kicks each, stop once one side cannot be caught.
                    if (kick < 4 && (p1 > p2 + 4 - kick || p2 > p1 + 4 - kick))
                        break;
                }
                m.penalties1 = QString::number(p1);
                m.penalties2 = QString::number(p2);
                winner = p1 > p2 ? 1 : 2;
            }
        }
        // The score at the end of play, extra time included.
        m.goals1 = QString::number(goals1 + extra1);
        m.goals2 = QString::number(goals2 + extra2);
        if (m_options.fullReports)
            writeLineUpsAndEvents(m, home, away, goals1 + extra1, goals2 + extra2,
                                  knockout && goals1 == goals2);
        if (m_options.faults)
            addFaults(m);
        m_matches.append(match);
        return winner;
    }

    QList<Appearance> lineUp(const Team &team)
    {
        QList<int> indexes;
        for (int i = 0; i < team.squad.size(); ++i)
            indexes.append(i);
        // The goalkeeper is one of the first two of the squad.
        const int keeper = m_random.below(2);
        std::swap(indexes[0], indexes[keeper]);
        for (int i = 1; i < 11; ++i)
            std::swap(indexes[i], indexes[i + m_random.below(int(indexes.size()) - i)]);
        QList<Appearance> players;
        for (int i = 0; i < indexes.size(); ++i)
            players.append({indexes.at(i), i < 11 ? i : -1, i < 11 ? 0 : -1, i < 11 ? 200 : -1});
        return players;
    }

    // A player on the pitch at minute, attackers more likely; -1 when there is none.
    int onPitch(const QList<Appearance> &players, int minute, bool outfield)
    {
        QList<int> candidates;
        for (int i = 0; i < players.size(); ++i) {
            const Appearance &a = players.at(i);
            if (a.on < 0 || a.on > minute || a.off <= minute || (outfield && a.position == 0))
                continue;
            for (int w = 0; w < 1 + a.position / 4; ++w)
                candidates.append(i);
        }
        return candidates.isEmpty() ? -1 : m_random.pick(candidates);
    }

    static MatchEvent event(const QString &type, const QString &time, const Team &team,
                            const Person &player)
    {
        MatchEvent e;
        e.type = type;
        e.time = time;
        e.team = team.name;
        e.player = player.name;
        e.playerid = player.id;
        return e;
    }

    void writeLineUpsAndEvents(MatchData &m, const Team &home, const Team &away, int goals1,
                               int goals2, bool extraTime)
    {
        const Texts &t = texts();
        const Team *teams[2] = {&home, &away};
        QList<Appearance> sides[2] = {lineUp(home), lineUp(away)};
        const int length = extraTime ? 120 : 90;
        QList<TimedEvent> events;

        for (int s = 0; s < 2; ++s) {
            for (int i = 0; i < 11; ++i) {
                const Person &p = teams[s]->squad.at(sides[s].at(i).player);
                (s == 0 ? m.players1 : m.players2).append({p.id, p.name});
            }
            // Substitutions: off goes a starter still on the pitch, on comes one from the bench.
            // In minute order, so that no player goes off twice.
            QList<int> minutes(m_random.between(1, extraTime ? 4 : 3));
            for (int &minute : minutes)
                minute = m_random.between(46, length - 2);
            std::sort(minutes.begin(), minutes.end());
            int bench = 11;
            for (const int minute : std::as_const(minutes)) {
                if (bench >= sides[s].size())
                    break;
                const int off = onPitch(sides[s], minute, true);
                if (off < 0)
                    break;
                Appearance &in = sides[s][bench++];
                in.position = sides[s].at(off).position;
                in.on = minute;
                in.off = 200;
                sides[s][off].off = minute;
                MatchEvent e = event(t.substitution, QString::number(minute), *teams[s],
                                     teams[s]->squad.at(sides[s].at(off).player));
                const Person &on = teams[s]->squad.at(in.player);
                e.player2 = on.name;
                e.playerid2 = on.id;
                events.append({minute, e});
            }
        }

        // Cautions and sendings-off before goals, so that a sent-off player scores no more.
        for (int s = 0; s < 2; ++s) {
            // In minute order, and a second caution only for a player who is not replaced later:
            // a sent-off player appears in no later event.
            QList<int> minutes(m_random.poisson(1.8));
            for (int &minute : minutes)
                minute = m_random.between(5, length);
            std::sort(minutes.begin(), minutes.end());
            for (const int minute : std::as_const(minutes)) {
                const int who = onPitch(sides[s], minute, false);
                if (who < 0)
                    continue;
                Appearance &a = sides[s][who];
                const Person &p = teams[s]->squad.at(a.player);
                if (a.cautioned && a.off < 200)
                    continue;
                if (a.cautioned) {
                    events.append(
                        {minute, event(t.secondCaution, QString::number(minute), *teams[s], p)});
                    a.off = minute;
                } else {
                    a.cautioned = true;
                    events.append(
                        {minute, event(t.caution, QString::number(minute), *teams[s], p)});
                }
            }
            if (m_random.chance(0.04)) {
                const int minute = m_random.between(10, length);
                const int who = onPitch(sides[s], minute, false);
                // Nor a straight red for a player replaced or cautioned later.
                if (who >= 0 && sides[s].at(who).off == 200 && !sides[s].at(who).cautioned) {
                    sides[s][who].off = minute;
                    events.append({minute, event(t.sendingOff, QString::number(minute), *teams[s],
                                                 teams[s]->squad.at(sides[s].at(who).player))});
                }
            }
            if (m_random.chance(0.06)) {
                const int minute = m_random.between(1, 90);
                const int who = onPitch(sides[s], minute, true);
                if (who >= 0) {
                    events.append(
                        {minute, event(t.missedPenalty, QString::number(minute), *teams[s],
                                       teams[s]->squad.at(sides[s].at(who).player))});
                }
            }
        }

        const int goals[2] = {goals1, goals2};
        const int regular[2] = {goals1 - scoreNumber(m.extra1), goals2 - scoreNumber(m.extra2)};
        for (int s = 0; s < 2; ++s) {
            for (int g = 0; g < goals[s]; ++g) {
                const int minute =
                    g < regular[s] ? m_random.between(1, 90) : m_random.between(91, 120);
                const double kind = m_random.unit();
                if (kind < 0.05) {
                    // An own goal, scored by a defender of the other side, under his own team.
                    const int o = 1 - s;
                    const int who = onPitch(sides[o], minute, true);
                    if (who >= 0) {
                        events.append({minute, event(t.ownGoal, QString::number(minute), *teams[o],
                                                     teams[o]->squad.at(sides[o].at(who).player))});
                        continue;
                    }
                }
                const int who = onPitch(sides[s], minute, true);
                if (who < 0)
                    continue;
                const QString &type = kind < 0.15 ? t.penaltyGoal : t.goal;
                events.append({minute, event(type, QString::number(minute), *teams[s],
                                             teams[s]->squad.at(sides[s].at(who).player))});
            }
        }
        std::stable_sort(
            events.begin(), events.end(),
            [](const TimedEvent &a, const TimedEvent &b) { return a.minute < b.minute; });
        for (const TimedEvent &e : events)
            m.events.append(e.event);
    }

    void addFaults(MatchData &m)
    {
        const double roll = m_random.unit();
        if (roll < 0.01) {
            m.attendance.clear();
        } else if (roll < 0.015 && !m.players2.isEmpty()) {
            m.players2.removeAt(m_random.below(int(m.players2.size())));
        } else if (roll < 0.018 && !m.players1.isEmpty()) {
            // A mistyped ID: the same player under another number in this one report.
            m.players1[m_random.below(int(m.players1.size()))].id += u'0';
        } else if (roll < 0.02) {
            m.date = QDate();
        }
    }

    const GeneratorOptions m_options;
    Random m_random;
    int m_divisions = 1;
    int m_seasons = 1;
    QList<QList<Team>> m_leagues;
    QList<Team> m_amateurs;
    QList<Person> m_referees;
    QSet<QString> m_teamNames;
    QList<Match> m_matches;
    int m_nextMatchId = 1001;
    int m_nextTeamId = 1;
    int m_nextStadiumId = 1;
    int m_nextCoachId = 501;
    int m_nextRefereeId = 801;
    int m_nextPlayerId = 10001;
};

} // namespace

QList<Match> generateMatches(const GeneratorOptions &options)
{
    World world(options);
    return world.play();
}

void generateInto(const GeneratorOptions &options, MatchStore &store)
{
    const QList<Match> matches = generateMatches(options);
    for (const Match &match : matches)
        store.add(match);
}

QByteArray reportXml(const MatchData &m, bool windows1251)
{
    return matchXml(m, windows1251);
}

bool writeReports(const QList<Match> &matches, const QString &directory, QString *error)
{
    QHash<QString, int> tournamentNumbers;
    QDir root(directory);
    qsizetype index = 0;
    for (const Match &match : matches) {
        const MatchData &m = *match;
        if (!tournamentNumbers.contains(m.tournament))
            tournamentNumbers.insert(m.tournament, int(tournamentNumbers.size()) + 1);
        const int tournament = tournamentNumbers.value(m.tournament);
        const QString season = m.date.isValid() ? QString::number(m.date.year()) : u"undated"_s;
        const QString sub = u"%1/t%2"_s.arg(season).arg(tournament, 2, 10, QChar(u'0'));
        if (!root.mkpath(sub)) {
            if (error)
                *error = u"cannot create directory %1"_s.arg(root.filePath(sub));
            return false;
        }
        QFile file(root.filePath(sub + u'/' + m.fileName));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reportXml(m, index % 10 == 9)) < 0 || !file.flush()) {
            if (error)
                *error = u"cannot write %1: %2"_s.arg(file.fileName(), file.errorString());
            return false;
        }
        ++index;
    }
    return true;
}
