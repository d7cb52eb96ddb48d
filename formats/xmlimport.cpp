#include "formats/xmlimport.h"

#include "model/importbatch.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QXmlStreamReader>

#include <QStringDecoder>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// attr(name) gives the value of the element's attribute of that name, null when absent.
template <typename Attribute>
void startElement(Element element, const Attribute &attr, MatchData &m, QString &pendingPlayerId)
{
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

// The units of a document as the scanner sees them: bytes, or UTF-16 or UTF-32 code units, which
// the byte values of markup characters could appear inside.
class Units
{
public:
    explicit Units(const QByteArray &bytes) : m_data(bytes.constData())
    {
        const auto starts = [&bytes](const char *prefix, int n) {
            return bytes.size() >= n && std::memcmp(bytes.constData(), prefix, size_t(n)) == 0;
        };
        if (starts("\xFF\xFE\0\0", 4) || starts("<\0\0\0", 4)) {
            m_width = 4;
        } else if (starts("\0\0\xFE\xFF", 4) || starts("\0\0\0<", 4)) {
            m_width = 4;
            m_bigEndian = true;
        } else if (starts("\xFE\xFF", 2) || starts("\0<", 2)) {
            m_width = 2;
            m_bigEndian = true;
        } else if (starts("\xFF\xFE", 2) || starts("<\0", 2)) {
            m_width = 2;
        }
        m_size = bytes.size() / m_width;
    }

    qsizetype size() const { return m_size; }
    qsizetype bytes(qsizetype units) const { return units * m_width; }
    char32_t at(qsizetype i) const
    {
        const auto *p = reinterpret_cast<const uchar *>(m_data) + i * m_width;
        char32_t c = 0;
        for (int b = 0; b < m_width; ++b)
            c |= char32_t(p[m_bigEndian ? b : m_width - 1 - b]) << (8 * (m_width - 1 - b));
        return c;
    }
    bool startsWith(qsizetype i, const char *text) const
    {
        for (qsizetype k = 0; text[k]; ++k) {
            if (i + k >= m_size || at(i + k) != char32_t(uchar(text[k])))
                return false;
        }
        return true;
    }
    // The index just past the first text at or after i, or size() when there is none.
    qsizetype skipPast(qsizetype i, const char *text) const
    {
        for (; i < m_size; ++i) {
            if (startsWith(i, text))
                return i + qsizetype(std::strlen(text));
        }
        return m_size;
    }

private:
    const char *m_data;
    qsizetype m_size = 0;
    int m_width = 1;
    bool m_bigEndian = false;
};

// Follows quoted values through markup.
struct Quotes
{
    char32_t open = 0;
    // True for a character outside any quoted value, the quotes themselves excluded.
    bool outside(char32_t c)
    {
        if (open) {
            open = c == open ? 0 : open;
            return false;
        }
        if (c == U'"' || c == U'\'') {
            open = c;
            return false;
        }
        return true;
    }
};

// How many leading bytes of a report stay within the bounds of a report: all of them, or those
// before the first element nested deeper than maxReportDepth or holding more than
// maxReportAttributes attributes, or before an attribute-list declaration. A quick pass over the
// markup, before the XML reader (whose cost grows with the square of the attributes of an
// element) sees the document.
qsizetype boundedLength(const QByteArray &bytes)
{
    const Units u(bytes);
    const qsizetype n = u.size();
    int depth = 0;
    qsizetype i = 0;
    while (i < n) {
        if (u.at(i) != U'<') {
            ++i;
            continue;
        }
        const qsizetype start = i;
        if (u.startsWith(i, "<!--")) {
            i = u.skipPast(i + 4, "-->");
        } else if (u.startsWith(i, "<![CDATA[")) {
            i = u.skipPast(i + 9, "]]>");
        } else if (u.startsWith(i, "<?")) {
            i = u.skipPast(i + 2, "?>");
        } else if (u.startsWith(i, "<!")) {
            // A document type declaration, with its internal subset in brackets.
            Quotes quotes;
            int brackets = 0;
            for (++i; i < n; ++i) {
                const char32_t c = u.at(i);
                if (!quotes.outside(c))
                    continue;
                if (c == U'[') {
                    ++brackets;
                } else if (c == U']') {
                    --brackets;
                } else if (c == U'<' && u.startsWith(i, "<!ATTLIST")) {
                    return u.bytes(start);
                } else if (c == U'<' && u.startsWith(i, "<!--")) {
                    i = u.skipPast(i + 4, "-->") - 1;
                } else if (c == U'>' && brackets <= 0) {
                    ++i;
                    break;
                }
            }
        } else if (u.startsWith(i, "</")) {
            --depth;
            i = u.skipPast(i + 2, ">");
        } else {
            Quotes quotes;
            int attributes = 0;
            char32_t last = 0;
            for (++i; i < n; ++i) {
                const char32_t c = u.at(i);
                if (!quotes.outside(c))
                    continue;
                if (c == U'>')
                    break;
                if (c == U'=' && ++attributes > maxReportAttributes)
                    return u.bytes(start);
                if (c != U' ' && c != U'\t' && c != U'\n' && c != U'\r')
                    last = c;
            }
            ++i;
            if (last != U'/' && ++depth > maxReportDepth)
                return u.bytes(start);
        }
    }
    return bytes.size();
}

// The common report, read without the general XML reader: UTF-8 or windows-1251 text made of
// elements with attributes and character data, with the predefined entities and character
// references. Anything else (a comment, CDATA, a document type, a processing instruction, a
// prefixed or non-ASCII name, a line break inside an attribute value, a character that is no XML
// character, any error, a report past its bounds) makes it give up, and the general reader reads
// the document instead. What it reads whole it reads exactly as the general reader does.
class SimpleReport
{
public:
    // True when the document was read whole into m; false leaves m partly filled.
    static bool read(const QByteArray &document, MatchData &m)
    {
        QString text;
        if (!decode(document, text))
            return false;
        SimpleReport r(text, m);
        return r.document();
    }

private:
    struct Attribute
    {
        QStringView name;
        QStringView raw; // the value as written, references not yet resolved
        bool references = false;
    };

    SimpleReport(const QString &text, MatchData &m)
        : p(text.constData()), end(text.constData() + text.size()), m(m)
    {}

    // The document's characters after its declaration, when its encoding is one of the two.
    static bool decode(const QByteArray &document, QString &text)
    {
        const char *b = document.constData();
        const qsizetype n = document.size();
        qsizetype start = 0;
        const bool bom = n >= 3 && std::memcmp(b, "\xEF\xBB\xBF", 3) == 0;
        if (bom)
            start = 3;
        bool windows1251 = false;
        if (n - start >= 6 && std::memcmp(b + start, "<?xml", 5) == 0 &&
            isSpace(uchar(b[start + 5]))) {
            const char *close =
                static_cast<const char *>(memmem(b + start, size_t(n - start), "?>", 2));
            if (!close)
                return false;
            const QByteArrayView declaration(b + start + 5, close - (b + start + 5));
            QByteArrayView encoding;
            if (!parseDeclaration(declaration, encoding))
                return false;
            if (encoding.compare("windows-1251", Qt::CaseInsensitive) == 0 && !bom)
                windows1251 = true;
            else if (!encoding.isNull() && encoding.compare("utf-8", Qt::CaseInsensitive) != 0)
                return false;
            start = close + 2 - b;
        }
        const QByteArrayView rest(b + start, n - start);
        if (windows1251) {
            QStringDecoder decoder("windows-1251", QStringConverter::Flag::Stateless);
            if (!decoder.isValid())
                return false;
            text = decoder.decode(rest);
            // A byte the encoding does not define is left to the general reader.
            return !decoder.hasError() && !text.contains(QChar::ReplacementCharacter);
        }
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        text = decoder.decode(rest);
        return !decoder.hasError();
    }

    // version="1.0", then optionally encoding="..." and standalone="yes|no", nothing else.
    static bool parseDeclaration(QByteArrayView d, QByteArrayView &encoding)
    {
        qsizetype i = 0;
        const auto pseudo = [&](const char *name, QByteArrayView &value) {
            const qsizetype before = i;
            while (i < d.size() && isSpace(uchar(d[i])))
                ++i;
            const qsizetype length = qsizetype(std::strlen(name));
            if (i == before || d.size() - i < length || d.sliced(i, length) != name) {
                i = before;
                return false;
            }
            i += length;
            while (i < d.size() && isSpace(uchar(d[i])))
                ++i;
            if (i >= d.size() || d[i] != '=') {
                i = before;
                return false;
            }
            ++i;
            while (i < d.size() && isSpace(uchar(d[i])))
                ++i;
            if (i >= d.size() || (d[i] != '"' && d[i] != '\'')) {
                i = before;
                return false;
            }
            const char quote = d[i++];
            const qsizetype from = i;
            while (i < d.size() && d[i] != quote)
                ++i;
            if (i >= d.size()) {
                i = before;
                return false;
            }
            value = d.sliced(from, i - from);
            ++i;
            return true;
        };
        QByteArrayView version;
        QByteArrayView standalone;
        if (!pseudo("version", version) || version != "1.0")
            return false;
        pseudo("encoding", encoding);
        if (pseudo("standalone", standalone) && standalone != "yes" && standalone != "no")
            return false;
        while (i < d.size() && isSpace(uchar(d[i])))
            ++i;
        return i == d.size() && (encoding.isNull() || !encoding.isEmpty());
    }

    static bool isSpace(char32_t c) { return c == 0x20 || c == 0x9 || c == 0xA || c == 0xD; }
    static bool isNameStart(char16_t c)
    {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
    }
    static bool isNameChar(char16_t c)
    {
        return isNameStart(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
    }
    // A character XML allows in text, carriage returns aside.
    static bool isPlainChar(char16_t c) { return c >= 0x20 ? c < 0xFFFE : c == 0x9 || c == 0xA; }

    bool skipSpace()
    {
        const QChar *from = p;
        while (p < end && isSpace(p->unicode()))
            ++p;
        return p != from;
    }

    bool name(QStringView &out)
    {
        const QChar *from = p;
        if (p >= end || !isNameStart(p->unicode()))
            return false;
        ++p;
        while (p < end && isNameChar(p->unicode()))
            ++p;
        out = QStringView(from, p);
        return true;
    }

    // Reads the reference at p (just past '&') up to its ';' and appends its character to out
    // when out is given.
    static bool reference(const QChar *&p, const QChar *end, QString *out)
    {
        const QChar *semicolon = p;
        while (semicolon < end && *semicolon != u';' && semicolon - p < 12)
            ++semicolon;
        if (semicolon >= end || *semicolon != u';')
            return false;
        const QStringView ref(p, semicolon);
        char32_t c = 0;
        if (ref == u"amp")
            c = U'&';
        else if (ref == u"lt")
            c = U'<';
        else if (ref == u"gt")
            c = U'>';
        else if (ref == u"quot")
            c = U'"';
        else if (ref == u"apos")
            c = U'\'';
        else if (ref.size() >= 2 && ref[0] == u'#') {
            const bool hex = ref[1] == u'x';
            const QStringView digits = ref.sliced(hex ? 2 : 1);
            if (digits.isEmpty() || digits.size() > 7)
                return false;
            for (const QChar d : digits) {
                const char16_t u = d.unicode();
                int v;
                if (u >= u'0' && u <= u'9')
                    v = u - u'0';
                else if (hex && u >= u'a' && u <= u'f')
                    v = u - u'a' + 10;
                else if (hex && u >= u'A' && u <= u'F')
                    v = u - u'A' + 10;
                else
                    return false;
                c = c * (hex ? 16 : 10) + char32_t(v);
            }
            const bool legal = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
                               (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
            if (!legal)
                return false;
        } else {
            return false;
        }
        if (out) {
            if (c > 0xFFFF) {
                out->append(QChar::highSurrogate(c));
                out->append(QChar::lowSurrogate(c));
            } else {
                out->append(QChar(char16_t(c)));
            }
        }
        p = semicolon + 1;
        return true;
    }

    // Text whose references were checked as it was read, with its references resolved.
    static QString resolved(QStringView raw, bool references)
    {
        if (!references)
            return raw.toString();
        QString out;
        out.reserve(raw.size());
        const QChar *end = raw.data() + raw.size();
        for (const QChar *q = raw.data(); q < end;) {
            if (*q == u'&')
                reference(++q, end, &out);
            else
                out.append(*q++);
        }
        return out;
    }

    bool tag()
    {
        QStringView element;
        if (!name(element))
            return false;
        int count = 0;
        bool empty = false;
        for (;;) {
            const bool spaced = skipSpace();
            if (p >= end)
                return false;
            if (*p == u'>') {
                ++p;
                break;
            }
            if (*p == u'/') {
                if (p + 1 >= end || p[1] != u'>')
                    return false;
                p += 2;
                empty = true;
                break;
            }
            if (!spaced || count == maxReportAttributes)
                return false;
            Attribute &a = attributes[count];
            if (!name(a.name))
                return false;
            for (int k = 0; k < count; ++k) {
                if (attributes[k].name == a.name)
                    return false;
            }
            skipSpace();
            if (p >= end || *p != u'=')
                return false;
            ++p;
            skipSpace();
            if (p >= end || (*p != u'"' && *p != u'\''))
                return false;
            const QChar quote = *p++;
            const QChar *from = p;
            a.references = false;
            while (p < end && *p != quote) {
                const char16_t c = p->unicode();
                if (c == u'&') {
                    if (!reference(++p, end, nullptr))
                        return false;
                    a.references = true;
                    continue;
                }
                // A tab or line break in a value is normalised: left to the general reader.
                if (c == u'<' || c < 0x20 || c >= 0xFFFE)
                    return false;
                ++p;
            }
            if (p >= end)
                return false;
            a.raw = QStringView(from, p);
            ++p;
            ++count;
        }

        flushText();
        const Element kind = elementOf(element);
        if ((kind == Element::Event && m.events.size() >= maxReportEvents) ||
            (kind == Element::Player1 && m.players1.size() >= maxLineupPlayers) ||
            (kind == Element::Player2 && m.players2.size() >= maxLineupPlayers))
            return false;
        const auto attr = [this, count](QStringView wanted) {
            for (int k = 0; k < count; ++k) {
                if (attributes[k].name == wanted)
                    return resolved(attributes[k].raw, attributes[k].references);
            }
            return QString();
        };
        startElement(kind, attr, m, pendingPlayerId);
        if (empty) {
            current = Element::Other;
        } else {
            if (open.size() == maxReportDepth)
                return false;
            open.push_back(element);
            current = kind;
        }
        return true;
    }

    bool endTag()
    {
        QStringView element;
        if (!name(element))
            return false;
        skipSpace();
        if (p >= end || *p != u'>' || open.empty() || open.back() != element)
            return false;
        ++p;
        open.pop_back();
        flushText();
        current = Element::Other;
        return true;
    }

    // Character data up to the next markup.
    bool characters()
    {
        const QChar *from = p;
        bool references = false;
        bool lineBreak = false; // a carriage return, which the general reader normalises
        while (p < end && *p != u'<') {
            const char16_t c = p->unicode();
            if (c == u'&') {
                references = true;
                if (!reference(++p, end, nullptr))
                    return false;
                continue;
            }
            if (c == 0xD)
                lineBreak = true;
            else if (!isPlainChar(c))
                return false;
            if (c == u'>' && p - from >= 2 && p[-1] == u']' && p[-2] == u']')
                return false;
            ++p;
        }
        // Outside the root only white space may stand.
        if (open.empty()) {
            for (const QChar *q = from; q < p; ++q) {
                if (!isSpace(q->unicode()))
                    return false;
            }
            return true;
        }
        if (!takesText(current))
            return true;
        if (lineBreak)
            return false;
        const QStringView raw(from, p);
        if (references)
            text += resolved(raw, true);
        else
            text += raw;
        haveText = true;
        return true;
    }

    void flushText()
    {
        if (haveText) {
            takeText(current, text, m, pendingPlayerId);
            text.clear();
            haveText = false;
        }
    }

    bool document()
    {
        bool rootSeen = false;
        while (p < end) {
            if (*p != u'<') {
                if (!characters())
                    return false;
                continue;
            }
            ++p;
            if (p < end && *p == u'/') {
                ++p;
                if (!endTag())
                    return false;
                continue;
            }
            // A second root element, or markup other than elements, is the general reader's.
            if (open.empty() && rootSeen)
                return false;
            rootSeen = true;
            if (!tag())
                return false;
        }
        return rootSeen && open.empty();
    }

    const QChar *p;
    const QChar *end;
    MatchData &m;
    Attribute attributes[maxReportAttributes];
    std::vector<QStringView> open;
    Element current = Element::Other;
    QString pendingPlayerId;
    QString text;
    bool haveText = false;
};
} // namespace

Match readMatchXml(QFile &file, bool *error)
{
    // Read at most maxReportBytes: a report is small, and a huge file must not take the memory.
    QByteArray bytes = file.read(maxReportBytes);
    const bool cut = bytes.size() == maxReportBytes && !file.atEnd();
    const QString path = file.fileName();
    bool failed = false;
    Match match = readMatchXmlBytes(bytes, path.sliced(path.lastIndexOf(u'/') + 1), path, &failed);
    if (cut && !failed)
        qDebug().noquote() << QStringLiteral("\"%1\" file has error").arg(path);
    if (error)
        *error = failed || cut;
    return match;
}

Match readMatchXmlBytes(const QByteArray &bytes, const QString &fileName, const QString &path,
                        bool *error, XmlReading reading)
{
    const QByteArray document = bytes.left(maxReportBytes);
    if (reading == XmlReading::Quick) {
        Match quick;
        quick.edit().fileName = fileName;
        if (SimpleReport::read(document, quick.edit())) {
            if (error)
                *error = false;
            return quick;
        }
    }

    Match match;
    MatchData &m = match.edit();
    m.fileName = fileName;

    const qsizetype bounded = boundedLength(document);
    QXmlStreamReader reader(bounded < document.size() ? document.left(bounded) : document);
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

    bool pastBound = bounded < document.size();
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
            // Players and events past their bound are left out, and the reading ends there.
            if ((current == Element::Event && m.events.size() >= maxReportEvents) ||
                (current == Element::Player1 && m.players1.size() >= maxLineupPlayers) ||
                (current == Element::Player2 && m.players2.size() >= maxLineupPlayers)) {
                pastBound = true;
                break;
            }
            const QXmlStreamAttributes attributes = reader.attributes();
            startElement(
                current, [&attributes](QStringView name) { return attribute(attributes, name); }, m,
                pendingPlayerId);
            continue;
        }
        current = Element::Other;
        if (token == QXmlStreamReader::DTD && !reader.entityDeclarations().isEmpty() &&
            document.size() > maxEntityDocumentBytes)
            reader.raiseError(QStringLiteral("entity declarations in a large document"));
    }
    flushText();

    const bool failed = reader.hasError() || pastBound;
    if (failed)
        qDebug().noquote() << QStringLiteral("\"%1\" file has error").arg(path);
    if (error)
        *error = failed;
    return match;
}

namespace {

// A name from the file system as text: UTF-8 when it is that; otherwise the bytes of an 8-bit
// encoding, read as windows-1251 when most of its non-ASCII bytes are Cyrillic letters there and
// as Latin-1 otherwise ("Матч.xml" and "café.xml" written by older systems both stay readable).
QString readableName(const QByteArray &name)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(name);
    if (!utf8.hasError())
        return text;
    qsizetype high = 0;
    qsizetype letters = 0;
    for (const char c : name) {
        const uchar b = uchar(c);
        high += b >= 0x80;
        letters += b >= 0xC0;
    }
    QStringDecoder cp1251("windows-1251");
    if (cp1251.isValid() && high >= 2 && letters * 4 >= high * 3)
        return cp1251.decode(name);
    return QString::fromLatin1(name);
}

// Reads up to maxReportBytes (and one more, to tell a longer file) of a regular file named by its
// bytes; an error number on failure.
int readReportFile(const QByteArray &path, QByteArray &bytes, bool &cut)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = errno ? errno : EINVAL;
        ::close(fd);
        return S_ISREG(info.st_mode) ? error : EINVAL;
    }
    bytes.resize(qsizetype(std::min<qint64>(info.st_size, maxReportBytes) + 1));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        if (n == 0)
            break;
        done += n;
    }
    ::close(fd);
    cut = done > maxReportBytes;
    bytes.truncate(std::min<qsizetype>(done, maxReportBytes));
    return 0;
}

// The walk: directories in depth-first order, each one's entries sorted by their bytes.
class Walk
{
public:
    Walk(MatchStore &store, ImportResult &result, const ImportProgress &progress)
        : m_batch(store), m_result(result), m_progress(progress)
    {}

    void directory(const QByteArray &path, const QString &relative)
    {
        QList<QByteArray> names;
        if (DIR *dir = ::opendir(path.constData())) {
            while (const dirent *entry = ::readdir(dir)) {
                if (entry->d_name[0] != '.')
                    names.append(QByteArray(entry->d_name));
            }
            ::closedir(dir);
        }
        std::sort(names.begin(), names.end());
        for (const QByteArray &name : std::as_const(names)) {
            const QByteArray full = path + '/' + name;
            const QString shown = relative + readableName(name);
            struct stat info;
            if (::lstat(full.constData(), &info) != 0)
                continue;
            if (S_ISDIR(info.st_mode)) {
                m_queue.emplace_back(Entry::Directory);
                directory(full, shown + u'/');
                continue;
            }
            // A link to a directory is not followed (it could lead round in a circle).
            struct stat target;
            if (S_ISLNK(info.st_mode) && ::stat(full.constData(), &target) == 0 &&
                S_ISDIR(target.st_mode))
                continue;
            if (!name.endsWith(".xml")) {
                m_queue.emplace_back(Entry::File);
                continue;
            }
            m_queue.emplace_back(Entry::Report, full, readableName(name), shown);
            if (++m_reports == reportsPerBatch)
                addQueued();
        }
    }

    void finish()
    {
        addQueued();
        m_result.matches = m_batch.added();
        m_result.duplicates = m_batch.duplicates();
        m_result.dates = m_batch.dateSpan();
    }

private:
    // What the walk met, in walk order; a report also what reading it gave.
    struct Entry
    {
        enum Kind { Directory, File, Report };
        explicit Entry(Kind kind, QByteArray path = {}, QString name = {}, QString relative = {})
            : kind(kind), path(std::move(path)), name(std::move(name)),
              relative(std::move(relative))
        {}

        Kind kind;
        QByteArray path;
        QString name;
        QString relative;
        int readError = 0; // errno of a report that could not be read
        bool error = false;
        Match match;
    };

    static void read(Entry &entry)
    {
        QByteArray bytes;
        bool cut = false;
        entry.readError = readReportFile(entry.path, bytes, cut);
        if (entry.readError)
            return;
        const QString shownPath = QFile::decodeName(entry.path);
        entry.match = readMatchXmlBytes(bytes, entry.name, shownPath, &entry.error);
        if (cut && !entry.error)
            qDebug().noquote() << QStringLiteral("\"%1\" file has error").arg(shownPath);
        entry.error = entry.error || cut;
    }

    // Every core reads the queued reports; then they are added in walk order, so the store ends
    // up exactly as a one-thread walk leaves it, progress included.
    void addQueued()
    {
        std::atomic<size_t> next{0};
        const auto work = [&] {
            for (size_t i = next++; i < m_queue.size(); i = next++) {
                if (m_queue[i].kind == Entry::Report)
                    read(m_queue[i]);
            }
        };
        std::vector<std::thread> helpers;
        for (int i = 1; i < QThread::idealThreadCount() && m_reports > 1; ++i)
            helpers.emplace_back(work);
        work();
        for (std::thread &helper : helpers)
            helper.join();

        for (const Entry &entry : m_queue) {
            if (entry.kind != Entry::Directory)
                ++m_result.files;
            if (entry.kind == Entry::Report) {
                if (entry.readError)
                    m_result.unreadable.append(
                        {entry.relative, entry.readError == EINVAL ? 0 : entry.readError});
                else if (m_batch.add(entry.match, entry.relative) && entry.error)
                    ++m_result.errors;
            }
            progressCheck();
        }
        m_queue.clear();
        m_reports = 0;
    }

    void progressCheck()
    {
        if (m_progress && m_result.files % 100 == 0)
            m_progress(m_result.files);
    }

    ImportBatch m_batch;
    ImportResult &m_result;
    const ImportProgress &m_progress;
    std::vector<Entry> m_queue;
    qsizetype m_reports = 0;
};

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
    Walk walk(store, result, progress);
    walk.directory(QFile::encodeName(root.absoluteFilePath()), QString());
    walk.finish();
    return result;
}
