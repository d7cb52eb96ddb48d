#include "model/xmlimport.h"

#include "model/importbatch.h"

#include <QDebug>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QXmlStreamReader>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// Limits for documents that declare entities: at most 256 characters per entity, and at most
// 64 KB of document, so at most about 21,000 references, about 5.6 million characters in all.
constexpr int entityExpansionLimit = 256;
constexpr qsizetype maxEntityDocumentBytes = 64 * 1024;
// Reports read on every core between two additions to the store: enough to keep the cores busy,
// few enough that progress keeps coming.
constexpr qsizetype reportsPerBatch = 512;

// The elements a report is made of; every other name is Other.
enum class Element : quint8 {
    Other,
    Match,
    Team1,
    Team2,
    Date,
    Coach1,
    Coach2,
    Stadium,
    Referee,
    Score,
    Player1,
    Player2,
    Event
};

// Names are compared exactly, case included, without building a string per element.
Element elementOf(QStringView name)
{
    switch (name.size()) {
    case 4:
        if (name == u"date")
            return Element::Date;
        break;
    case 5:
        if (name == u"team1")
            return Element::Team1;
        if (name == u"team2")
            return Element::Team2;
        if (name == u"event")
            return Element::Event;
        if (name == u"match")
            return Element::Match;
        if (name == u"score")
            return Element::Score;
        break;
    case 6:
        if (name == u"coach1")
            return Element::Coach1;
        if (name == u"coach2")
            return Element::Coach2;
        break;
    case 7:
        if (name == u"player1")
            return Element::Player1;
        if (name == u"player2")
            return Element::Player2;
        if (name == u"stadium")
            return Element::Stadium;
        if (name == u"referee")
            return Element::Referee;
        break;
    default:
        break;
    }
    return Element::Other;
}

// The value of the attribute with the given local name; null when absent. Namespace declarations
// (xmlns:id="...") are not values.
QString attribute(const QXmlStreamAttributes &attributes, QStringView name)
{
    for (const QXmlStreamAttribute &a : attributes) {
        if (a.name() == name && a.prefix() != u"xmlns")
            return a.value().toString();
    }
    return QString();
}

// Exactly eight digits, yyyyMMdd, naming a real day; anything else is no date.
QDate parseDate(QStringView text)
{
    if (text.size() != 8)
        return QDate();
    int digits[8];
    for (int i = 0; i < 8; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return QDate();
        digits[i] = c - u'0';
    }
    const int year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
    const int month = digits[4] * 10 + digits[5];
    const int day = digits[6] * 10 + digits[7];
    const QDate date(year, month, day);
    return date.isValid() ? date : QDate();
}

void startElement(Element element, const QXmlStreamAttributes &attributes, MatchData &m,
                  QString &pendingPlayerId)
{
    const auto attr = [&attributes](QStringView name) { return attribute(attributes, name); };
    switch (element) {
    case Element::Match:
        m.id = attr(u"id");
        m.round = attr(u"round");
        m.tournament = attr(u"tournament");
        break;
    case Element::Team1:
        m.team1Id = attr(u"id");
        break;
    case Element::Team2:
        m.team2Id = attr(u"id");
        break;
    case Element::Date:
        m.time = attr(u"time");
        break;
    case Element::Coach1:
        m.coach1Id = attr(u"id");
        break;
    case Element::Coach2:
        m.coach2Id = attr(u"id");
        break;
    case Element::Stadium:
        m.stadiumId = attr(u"id");
        m.city = attr(u"city");
        m.attendance = attr(u"attendance");
        break;
    case Element::Referee:
        m.refereeId = attr(u"id");
        m.refereeCity = attr(u"city");
        break;
    case Element::Score:
        m.goals1 = attr(u"goals1");
        m.goals2 = attr(u"goals2");
        m.extra1 = attr(u"extra1");
        m.extra2 = attr(u"extra2");
        m.penalties1 = attr(u"penalties1");
        m.penalties2 = attr(u"penalties2");
        break;
    case Element::Player1:
    case Element::Player2:
        pendingPlayerId = attr(u"id");
        break;
    case Element::Event: {
        MatchEvent event;
        event.type = attr(u"type");
        event.time = attr(u"time");
        event.team = attr(u"team");
        event.player = attr(u"player");
        event.playerid = attr(u"playerid");
        event.player2 = attr(u"player2");
        event.playerid2 = attr(u"playerid2");
        event.comment = attr(u"comment");
        m.events.append(event);
        break;
    }
    case Element::Other:
        break;
    }
}

// The character data of one element up to its first comment or child.
void takeText(Element element, const QString &text, MatchData &m, const QString &pendingPlayerId)
{
    switch (element) {
    case Element::Team1:
        m.team1 = text;
        break;
    case Element::Team2:
        m.team2 = text;
        break;
    case Element::Date:
        m.date = parseDate(text);
        break;
    case Element::Coach1:
        m.coach1 = text;
        break;
    case Element::Coach2:
        m.coach2 = text;
        break;
    case Element::Stadium:
        m.stadium = text;
        break;
    case Element::Referee:
        m.referee = text;
        break;
    case Element::Player1:
        m.players1.append(PlayerEntry{pendingPlayerId, text});
        break;
    case Element::Player2:
        m.players2.append(PlayerEntry{pendingPlayerId, text});
        break;
    case Element::Match:
    case Element::Score:
    case Element::Event:
    case Element::Other:
        break;
    }
}

bool takesText(Element element)
{
    switch (element) {
    case Element::Team1:
    case Element::Team2:
    case Element::Date:
    case Element::Coach1:
    case Element::Coach2:
    case Element::Stadium:
    case Element::Referee:
    case Element::Player1:
    case Element::Player2:
        return true;
    default:
        return false;
    }
}

} // namespace

Match readMatchXml(QFile &file, bool *error)
{
    Match match;
    MatchData &m = match.edit();
    const QString path = file.fileName();
    m.fileName = path.sliced(path.lastIndexOf(u'/') + 1);

    // Read at most maxReportBytes: a report is small, and a huge file must not take the memory.
    const QByteArray bytes = file.read(maxReportBytes);
    const bool cut = bytes.size() == maxReportBytes && !file.atEnd();

    QXmlStreamReader reader(bytes);
    // Prefixes are accepted whether declared or not; elements are known by their local names.
    reader.setNamespaceProcessing(false);
    // Entities declared in a document's own DTD multiply its text: no entity may expand to more
    // than entityExpansionLimit characters, and a document that declares any must be small, so
    // that every reference it can hold expanded stays within a few megabytes.
    reader.setEntityExpansionLimit(entityExpansionLimit);

    // The element whose character data is being read (Other after any token that is not data).
    Element current = Element::Other;
    QString pendingPlayerId;
    // Adjacent data tokens (text next to a CDATA section) are one piece of text.
    QString text;
    bool haveText = false;
    const auto flushText = [&] {
        if (haveText) {
            takeText(current, text, m, pendingPlayerId);
            text.clear();
            haveText = false;
        }
    };

    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::Characters) {
            if (takesText(current)) {
                if (haveText)
                    text += reader.text();
                else
                    text = reader.text().toString();
                haveText = true;
            }
            continue;
        }
        flushText();
        if (token == QXmlStreamReader::StartElement) {
            current = elementOf(reader.name());
            startElement(current, reader.attributes(), m, pendingPlayerId);
            continue;
        }
        current = Element::Other;
        if (token == QXmlStreamReader::DTD && !reader.entityDeclarations().isEmpty() &&
            bytes.size() > maxEntityDocumentBytes)
            reader.raiseError(QStringLiteral("entity declarations in a large document"));
    }
    flushText();

    const bool failed = reader.hasError() || cut;
    if (failed)
        qDebug().noquote() << QStringLiteral("\"%1\" file has error").arg(path);
    if (error)
        *error = failed;
    return match;
}

namespace {

// One entry of the walk, in walk order: a directory, or a file with what reading it gave.
struct WalkEntry
{
    QString path;
    bool directory = false;
    bool report = false; // a regular file named *.xml, read into match
    bool opened = false;
    bool error = false;
    Match match;
};

// Reads the reports among entries on every core. Each entry is written by exactly one thread.
void readReports(std::vector<WalkEntry> &entries)
{
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < entries.size(); i = next++) {
            WalkEntry &entry = entries[i];
            if (!entry.report)
                continue;
            QFile file(entry.path);
            entry.opened = file.open(QIODevice::ReadOnly);
            if (entry.opened)
                entry.match = readMatchXml(file, &entry.error);
        }
    };
    const int helpers = std::max(0, QThread::idealThreadCount() - 1);
    std::vector<std::thread> threads;
    threads.reserve(size_t(helpers));
    for (int i = 0; i < helpers; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread &thread : threads)
        thread.join();
}

} // namespace

ImportResult importDirectory(const QString &directory, MatchStore &store,
                             const ImportProgress &progress)
{
    ImportResult result;
    const QFileInfo root(directory);
    if (!root.isDir()) {
        result.directory = false;
        return result;
    }

    const auto progressCheck = [&] {
        if (progress && result.files % 100 == 0)
            progress(result.files);
    };

    ImportBatch batch(store);
    const QDir rootDir(root.absoluteFilePath());
    // The walk gathers a batch of reports, every core reads them, and then they are added in walk
    // order: the store ends up exactly as a one-thread import leaves it.
    std::vector<WalkEntry> entries;
    qsizetype reports = 0;
    const auto addBatch = [&] {
        readReports(entries);
        for (const WalkEntry &entry : entries) {
            if (entry.directory) {
                progressCheck();
                continue;
            }
            ++result.files;
            if (!entry.opened)
                continue;
            if (batch.add(entry.match, rootDir.relativeFilePath(entry.path)) && entry.error)
                ++result.errors;
            progressCheck();
        }
        entries.clear();
        reports = 0;
    };

    // Without QDir::Hidden and QDir::System: hidden entries, sockets and devices stay out, and
    // links to directories are listed but not descended into.
    QDirIterator it(root.absoluteFilePath(), QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        WalkEntry entry;
        entry.path = it.next();
        const QFileInfo info = it.fileInfo();
        entry.directory = info.isDir();
        // A link to a pipe or device would block or never end: only regular files are read.
        entry.report =
            !entry.directory && entry.path.endsWith(QLatin1StringView(".xml")) && info.isFile();
        reports += entry.report;
        entries.push_back(std::move(entry));
        if (reports == reportsPerBatch)
            addBatch();
    }
    addBatch();
    result.matches = batch.added();
    result.duplicates = batch.duplicates();
    result.dates = batch.dateSpan();
    return result;
}
