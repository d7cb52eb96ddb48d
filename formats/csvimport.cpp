#include "formats/csvimport.h"

#include "formats/fileio.h"
#include "model/importbatch.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>

using namespace Qt::Literals::StringLiterals;

namespace {

enum Column : int {
    Date,
    HomeTeam,
    AwayTeam,
    HomeGoals,
    AwayGoals,
    Score,
    Tournament,
    Season,
    Referee,
    Attendance,
    Stadium,
    Round,
    Time,
    ColumnCount
};

// Header names, lower case, without spaces and underscores.
const struct
{
    Column column;
    QStringView name;
} headerNames[] = {
    {Date, u"date"},
    {Date, u"дата"},
    {HomeTeam, u"hometeam"},
    {HomeTeam, u"home"},
    {HomeTeam, u"team1"},
    {HomeTeam, u"хозяева"},
    {AwayTeam, u"awayteam"},
    {AwayTeam, u"away"},
    {AwayTeam, u"visitor"},
    {AwayTeam, u"team2"},
    {AwayTeam, u"гости"},
    {HomeGoals, u"fthg"},
    {HomeGoals, u"homegoals"},
    {HomeGoals, u"hgoal"},
    {HomeGoals, u"goals1"},
    {AwayGoals, u"ftag"},
    {AwayGoals, u"awaygoals"},
    {AwayGoals, u"vgoal"},
    {AwayGoals, u"goals2"},
    {Score, u"ft"},
    {Score, u"score"},
    {Score, u"счёт"},
    {Score, u"счет"},
    {Tournament, u"div"},
    {Tournament, u"division"},
    {Tournament, u"competition"},
    {Tournament, u"tournament"},
    {Tournament, u"турнир"},
    {Season, u"season"},
    {Referee, u"referee"},
    {Attendance, u"attendance"},
    {Stadium, u"venue"},
    {Stadium, u"stadium"},
    {Round, u"round"},
    {Round, u"wk"},
    {Time, u"time"},
    {Referee, u"судья"},
    {Attendance, u"зрители"},
    {Stadium, u"стадион"},
    {Round, u"тур"},
    {Time, u"время"},
};

Column columnOf(QStringView header)
{
    QString key;
    key.reserve(header.size());
    for (const QChar c : header) {
        if (c != u' ' && c != u'_' && c != QChar(0xfeff))
            key += c.toLower();
    }
    for (const auto &entry : headerNames) {
        if (key == entry.name)
            return entry.column;
    }
    return ColumnCount;
}

// One record of the text: its cells, each a view into the text or into `unescaped`.
struct Record
{
    QList<QStringView> cells;
    QList<QString> unescaped;
    bool unclosed = false;
};

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Reads the record at pos, moving pos past its line end and counting the line breaks it holds.
void readRecord(QStringView text, qsizetype &pos, QChar separator, Record &record,
                qsizetype &lineBreaks)
{
    record.cells.clear();
    record.unescaped.clear();
    record.unclosed = false;
    const qsizetype size = text.size();
    for (;;) {
        qsizetype start = pos;
        while (start < size && isBlank(text[start]))
            ++start;
        if (start < size && text[start] == u'"') {
            // A quoted cell: "" stands for one quote; separators and line breaks are text.
            qsizetype i = start + 1;
            QString value;
            qsizetype from = i;
            bool closed = false;
            while (i < size) {
                const QChar c = text[i];
                if (c == u'"') {
                    if (i + 1 < size && text[i + 1] == u'"') {
                        value += text.sliced(from, i + 1 - from);
                        i += 2;
                        from = i;
                        continue;
                    }
                    value += text.sliced(from, i - from);
                    closed = true;
                    ++i;
                    break;
                }
                if (c == u'\n')
                    ++lineBreaks;
                ++i;
            }
            if (!closed) {
                value += text.sliced(from, i - from);
                record.unclosed = true;
            }
            // Anything between the closing quote and the separator is kept as written.
            const qsizetype rest = i;
            while (i < size && text[i] != separator && text[i] != u'\n' && text[i] != u'\r')
                ++i;
            value += text.sliced(rest, i - rest);
            record.unescaped.append(value);
            record.cells.append(QStringView(record.unescaped.constLast()));
            pos = i;
        } else {
            qsizetype i = start;
            while (i < size && text[i] != separator && text[i] != u'\n' && text[i] != u'\r')
                ++i;
            record.cells.append(text.sliced(start, i - start));
            pos = i;
        }
        if (pos < size && text[pos] == separator) {
            ++pos;
            continue;
        }
        // The end of the line: \n, \r\n or \r.
        if (pos < size && text[pos] == u'\r')
            ++pos;
        if (pos < size && text[pos] == u'\n')
            ++pos;
        return;
    }
}

// Cells as stored: trimmed, and "NA" alone is empty. Equal texts share one string (teams,
// tournaments, referees and scores repeat from line to line), which saves most of the
// allocations of a large file.
class CellReader
{
public:
    QString operator()(const Record &record, int index)
    {
        if (index < 0 || index >= record.cells.size())
            return QString();
        const QStringView cell = record.cells.at(index).trimmed();
        if (cell.isEmpty() || cell == u"NA")
            return QString();
        const QString key = QString::fromRawData(cell.data(), cell.size());
        const auto found = m_texts.constFind(key);
        if (found != m_texts.cend())
            return *found;
        QString text = cell.toString();
        if (m_texts.size() < maxShared)
            m_texts.insert(text, text);
        return text;
    }

private:
    static constexpr qsizetype maxShared = 200000;
    QHash<QString, QString> m_texts;
};

// A count of goals: digits only; -1 for anything else.
int count(QStringView text)
{
    if (text.isEmpty() || text.size() > 3)
        return -1;
    int n = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

// "2-1", "2:1", "2 – 1": both sides as counts, or false.
bool splitScore(QStringView score, QString &goals1, QString &goals2)
{
    qsizetype mark = -1;
    for (qsizetype i = 0; i < score.size(); ++i) {
        const QChar c = score[i];
        if (c == u'-' || c == u':' || c == QChar(0x2013)) {
            mark = i;
            break;
        }
    }
    if (mark < 0)
        return false;
    const QStringView left = score.first(mark).trimmed();
    const QStringView right = score.sliced(mark + 1).trimmed();
    if (count(left) < 0 || count(right) < 0)
        return false;
    goals1 = left.toString();
    goals2 = right.toString();
    return true;
}

int digitsValue(QStringView text, bool *ok)
{
    *ok = !text.isEmpty();
    int n = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            *ok = false;
            return 0;
        }
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

// An attendance written with thousands separators ("12,345", "12 345") as plain digits.
QString plainCount(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digits += c;
        else if (c != u',' && c != u'.' && c != u' ' && c != QChar(0xa0) && c != QChar(0x202f))
            return text;
    }
    return digits.isEmpty() ? text : digits;
}

QString decode(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(view.sliced(3));
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1251("windows-1251");
    if (cp1251.isValid())
        return cp1251.decode(view);
    return QString::fromLatin1(bytes);
}

} // namespace

QDate parseCsvDate(QStringView text, const QDate &today)
{
    text = text.trimmed();
    if (text.size() < 6 || text.size() > 10)
        return QDate();
    // Three groups of digits with one separator between them.
    qsizetype first = 0;
    while (first < text.size() && text[first] >= u'0' && text[first] <= u'9')
        ++first;
    const QChar separator = first < text.size() ? text[first] : QChar();
    if (separator != u'/' && separator != u'.' && separator != u'-')
        return QDate();
    const QList<QStringView> parts = text.split(separator);
    if (parts.size() != 3)
        return QDate();
    int values[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[i] = digitsValue(parts.at(i), &ok);
        if (!ok)
            return QDate();
    }
    if (separator == u'-') {
        // yyyy-mm-dd
        if (parts.at(0).size() != 4 || parts.at(1).size() > 2 || parts.at(2).size() > 2)
            return QDate();
        return QDate(values[0], values[1], values[2]);
    }
    // dd/mm/yy, dd/mm/yyyy, dd.mm.yyyy (a day or month of one digit too)
    if (parts.at(0).size() > 2 || parts.at(1).size() > 2 ||
        (parts.at(2).size() != 2 && parts.at(2).size() != 4))
        return QDate();
    int year = values[2];
    if (parts.at(2).size() == 2) {
        const int current = (today.isValid() ? today : QDate::currentDate()).year();
        year += current - current % 100;
        if (year > current)
            year -= 100;
    }
    return QDate(year, values[1], values[0]);
}

std::optional<SeasonStart> parseSeasonStart(QStringView text)
{
    const QList<QStringView> parts = text.trimmed().split(u'-');
    if (parts.size() != 2 || parts.at(0).size() > 2 || parts.at(1).size() > 2)
        return std::nullopt;
    bool monthOk = false;
    bool dayOk = false;
    const SeasonStart start{digitsValue(parts.at(0), &monthOk), digitsValue(parts.at(1), &dayOk)};
    // A year without February 29, so that every season has its start.
    if (!monthOk || !dayOk || !QDate(2001, start.month, start.day).isValid())
        return std::nullopt;
    return start;
}

namespace {

// The year the season of date starts in.
int seasonYear(const QDate &date, SeasonStart start)
{
    const bool beforeStart =
        date.month() < start.month || (date.month() == start.month && date.day() < start.day);
    return date.year() - (beforeStart ? 1 : 0);
}

QString seasonName(int first, SeasonStart start)
{
    if (start == SeasonStart{1, 1})
        return QString::number(first);
    return u"%1/%2"_s.arg(first).arg((first + 1) % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

QString csvSeason(const QDate &date, SeasonStart start)
{
    return date.isValid() ? seasonName(seasonYear(date, start), start) : QString();
}

QString csvTournament(const QString &pattern, const QString &division, const QString &season)
{
    const QString &from = pattern.isEmpty() ? csvDefaultTournament : pattern;
    if (!from.contains(u'{'))
        return from;
    // One pass, so that a division or season holding "{...}" is taken as written.
    QString name;
    qsizetype i = 0;
    while (i < from.size()) {
        const QStringView rest = QStringView(from).sliced(i);
        if (rest.startsWith(u"{season}")) {
            name += season;
            i += 8;
        } else if (rest.startsWith(u"{division}")) {
            name += division;
            i += 10;
        } else {
            name += from.at(i++);
        }
    }
    return name;
}

CsvImportResult importCsvData(const QByteArray &bytes, const QString &fileName, ImportBatch &batch,
                              const CsvImportOptions &options)
{
    CsvImportResult result;
    const QString text = decode(bytes);
    const QStringView all(text);

    // The separator: the one of ',' and ';' the header line holds more of.
    const qsizetype headerEnd = [&] {
        qsizetype i = 0;
        while (i < all.size() && all[i] != u'\n' && all[i] != u'\r')
            ++i;
        return i;
    }();
    const QStringView headerLine = all.first(headerEnd);
    const QChar separator = headerLine.count(u';') > headerLine.count(u',') ? u';' : u',';

    qsizetype pos = 0;
    qsizetype lineBreaks = 0;
    Record record;
    readRecord(all, pos, separator, record, lineBreaks);
    int columns[ColumnCount];
    std::fill(std::begin(columns), std::end(columns), -1);
    for (int i = 0; i < record.cells.size(); ++i) {
        const Column column = columnOf(record.cells.at(i).trimmed());
        if (column != ColumnCount && columns[column] < 0)
            columns[column] = i;
    }
    const bool goalPair = columns[HomeGoals] >= 0 && columns[AwayGoals] >= 0;
    if (columns[Date] < 0)
        result.missing |= CsvMissingDate;
    if (columns[HomeTeam] < 0)
        result.missing |= CsvMissingHomeTeam;
    if (columns[AwayTeam] < 0)
        result.missing |= CsvMissingAwayTeam;
    if (!goalPair && columns[Score] < 0)
        result.missing |= CsvMissingGoals;
    if (result.missing != CsvMissingNothing)
        return result;

    QString baseName = fileName;
    const qsizetype dot = baseName.lastIndexOf(u'.');
    if (dot > 0)
        baseName.truncate(dot);
    CellReader value;
    const QDate today = options.today.isValid() ? options.today : QDate::currentDate();
    const qsizetype addedBefore = batch.added();
    const qsizetype duplicatesBefore = batch.duplicates();
    // The season and tournament of the line before, kept while the lines share them (they mostly
    // do), so that most lines make no new string.
    int dateSeasonYear = 0;
    QString dateSeason;
    QString tournamentDivision;
    QString tournamentSeason;
    QString tournament;

    while (pos < all.size()) {
        const qsizetype line = lineBreaks + 2;
        // A line ends at \n, \r\n or \r: count the \r alone as a line end too.
        const qsizetype start = pos;
        readRecord(all, pos, separator, record, lineBreaks);
        const QStringView consumed = all.sliced(start, pos - start);
        lineBreaks += consumed.endsWith(u'\n') || consumed.endsWith(u'\r') ? 1 : 0;

        bool blank = true;
        for (const QStringView cell : std::as_const(record.cells))
            blank = blank && cell.trimmed().isEmpty();
        if (blank && !record.unclosed) {
            // Trailing empty lines and lines of separators only are no matches.
            if (pos < all.size() || !consumed.trimmed().isEmpty())
                ++result.blank;
            continue;
        }
        ++result.lines;
        const auto refuse = [&](CsvRefusal reason, const QString &cell) {
            result.refused.append(CsvLineProblem{line, reason, cell});
        };
        if (record.unclosed) {
            refuse(CsvRefusal::UnclosedQuote, QString());
            continue;
        }
        Match match;
        MatchData &m = match.edit();
        const QString dateText = value(record, columns[Date]);
        m.date = parseCsvDate(dateText, today);
        if (!m.date.isValid()) {
            refuse(CsvRefusal::BadDate, dateText);
            continue;
        }
        m.team1 = value(record, columns[HomeTeam]);
        if (m.team1.isEmpty()) {
            refuse(CsvRefusal::NoHomeTeam, QString());
            continue;
        }
        m.team2 = value(record, columns[AwayTeam]);
        if (m.team2.isEmpty()) {
            refuse(CsvRefusal::NoAwayTeam, QString());
            continue;
        }
        if (goalPair) {
            m.goals1 = value(record, columns[HomeGoals]);
            m.goals2 = value(record, columns[AwayGoals]);
        }
        QString goalsText = m.goals1 + u'-' + m.goals2;
        if ((m.goals1.isEmpty() || m.goals2.isEmpty()) && columns[Score] >= 0) {
            goalsText = value(record, columns[Score]);
            splitScore(goalsText, m.goals1, m.goals2);
        }
        if (count(m.goals1) < 0 || count(m.goals2) < 0) {
            refuse(CsvRefusal::BadGoals, goalsText);
            continue;
        }
        QString division = value(record, columns[Tournament]);
        if (division.isEmpty())
            division = baseName;
        QString season = value(record, columns[Season]);
        if (season.isEmpty()) {
            const int first = seasonYear(m.date, options.seasonStart);
            if (dateSeason.isNull() || first != dateSeasonYear) {
                dateSeasonYear = first;
                dateSeason = seasonName(first, options.seasonStart);
            }
            season = dateSeason;
        }
        if (tournament.isNull() || division != tournamentDivision || season != tournamentSeason) {
            tournamentDivision = division;
            tournamentSeason = season;
            tournament = csvTournament(options.tournament, division, season);
        }
        m.tournament = tournament;
        m.referee = value(record, columns[Referee]);
        m.attendance = plainCount(value(record, columns[Attendance]));
        m.stadium = value(record, columns[Stadium]);
        m.round = value(record, columns[Round]);
        m.time = value(record, columns[Time]);
        m.fileName = fileName + u'-' + QString::number(line);
        batch.add(match);
    }
    result.added = batch.added() - addedBefore;
    result.duplicates = batch.duplicates() - duplicatesBefore;
    return result;
}

CsvImportResult importCsvFile(const QString &path, ImportBatch &batch,
                              const CsvImportOptions &options)
{
    const FileContents file = readWholeFile(path);
    if (!file.ok()) {
        CsvImportResult result;
        result.opened = false;
        // Empty for a pipe, device or socket: the front ends say it is no regular file.
        if (file.status != FileContents::NotRegular || file.error.code == EISDIR)
            result.systemError = file.error.isError() ? file.error.text : qt_error_string(EIO);
        return result;
    }
    return importCsvData(file.bytes, QFileInfo(path).fileName(), batch, options);
}
