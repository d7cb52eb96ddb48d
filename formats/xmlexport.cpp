#include "formats/xmlexport.h"

#include "formats/fileio.h"
#include "model/matchfields.h"
#include "model/matchstore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStringEncoder>
#include <QVarLengthArray>

#include <cstdio>
#include <cstring>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

class Writer
{
public:
    QString out;
    bool dropped = false;

    // text escaped for an attribute value or element content.
    void escaped(const QString &text)
    {
        const qsizetype size = text.size();
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t c = text.at(i).unicode();
            switch (c) {
            case u'&':
                out += u"&amp;"_s;
                continue;
            case u'<':
                out += u"&lt;"_s;
                continue;
            case u'>':
                out += u"&gt;"_s;
                continue;
            case u'"':
                out += u"&quot;"_s;
                continue;
            case u'\t':
                out += u"&#9;"_s;
                continue;
            case u'\n':
                out += u"&#10;"_s;
                continue;
            case u'\r':
                out += u"&#13;"_s;
                continue;
            default:
                break;
            }
            if (c < 0x20 || c == 0xfffe || c == 0xffff) {
                dropped = true;
                continue;
            }
            if (QChar::isHighSurrogate(c)) {
                if (i + 1 < size && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
                    out += text.at(i);
                    out += text.at(++i);
                } else {
                    dropped = true;
                }
                continue;
            }
            if (QChar::isLowSurrogate(c)) {
                dropped = true;
                continue;
            }
            out += QChar(c);
        }
    }

    using Attributes = QVarLengthArray<std::pair<QLatin1StringView, const QString *>, 8>;

    void attributes(const Attributes &list)
    {
        for (const auto &[name, value] : list) {
            if (value->isEmpty())
                continue;
            out += u' ';
            out += name;
            out += u"=\""_s;
            escaped(*value);
            out += u'"';
        }
    }

    // <name a="v" ...>text</name>; an element with neither text nor attributes is left out
    // unless always is set, and an empty text is written as an empty CDATA section then, which
    // the import reads as an empty text (a line-up entry without a name stays an entry).
    void element(QLatin1StringView name, const Attributes &list, const QString &text = QString(),
                 bool always = false)
    {
        bool any = always || !text.isEmpty();
        for (const auto &attribute : list)
            any = any || !attribute.second->isEmpty();
        if (!any)
            return;
        out += u"  <"_s;
        out += name;
        attributes(list);
        if (text.isEmpty() && !always) {
            out += u"/>\n"_s;
            return;
        }
        out += u'>';
        if (text.isEmpty())
            out += u"<![CDATA[]]>"_s;
        else
            escaped(text);
        out += u"</"_s;
        out += name;
        out += u">\n"_s;
    }
};

// An element of a report and the texts of a match it holds, as the field table places them.
struct ElementLayout
{
    QLatin1StringView name;
    QString MatchData::*text = nullptr;
    QVarLengthArray<std::pair<QLatin1StringView, QString MatchData::*>, 8> attributes;
};

// The root element first, then the others in the order they are written; the date element's text
// is the date, which is no text field.
const std::vector<ElementLayout> &reportLayout()
{
    static const std::vector<ElementLayout> layout = [] {
        std::vector<ElementLayout> elements;
        for (const char *name : {"match", "team1", "team2", "date", "coach1", "coach2", "stadium",
                                 "referee", "score"}) {
            ElementLayout element;
            element.name = QLatin1StringView(name);
            for (const MatchFieldInfo &f : matchFields) {
                if (std::strcmp(f.xml.element, name) != 0)
                    continue;
                if (*f.xml.attribute == '\0')
                    element.text = f.member;
                else
                    element.attributes.append({QLatin1StringView(f.xml.attribute), f.member});
            }
            elements.push_back(element);
        }
        return elements;
    }();
    return layout;
}

Writer::Attributes attributesOf(const ElementLayout &element, const MatchData &m)
{
    Writer::Attributes list;
    for (const auto &[name, member] : element.attributes)
        list.append({name, &(m.*member)});
    return list;
}

// A part longer than this many UTF-8 bytes is shortened: file systems refuse names over 255, and
// a number ("-12") and ".xml" may still be added.
constexpr qsizetype maxPartBytes = 240;

// part cut to fit maxPartBytes, ".xml" kept; "~" and eight hex digits of a hash of the whole part
// keep two long names that begin alike apart.
QString shortened(const QString &part)
{
    if (part.size() * 3 <= maxPartBytes || part.toUtf8().size() <= maxPartBytes)
        return part;
    const bool xml = part.endsWith(u".xml"_s);
    const QString stem = xml ? part.chopped(4) : part;
    const QString mark =
        u'~' +
        QString::fromLatin1(
            QCryptographicHash::hash(part.toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
    const qsizetype room = maxPartBytes - mark.size() - (xml ? 4 : 0);
    qsizetype bytes = 0;
    qsizetype keep = 0;
    while (keep < stem.size()) {
        const bool pair = stem.at(keep).isHighSurrogate() && keep + 1 < stem.size() &&
                          stem.at(keep + 1).isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(stem.at(keep), stem.at(keep + 1))
                                : stem.at(keep).unicode();
        const qsizetype length = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (bytes + length > room)
            break;
        bytes += length;
        keep += pair ? 2 : 1;
    }
    return stem.left(keep) + mark + (xml ? u".xml"_s : QString());
}

// A part of a relative path made safe to be a file or folder name.
QString safePart(const QString &part)
{
    QString safe = part;
    for (QChar &c : safe) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == u'\\')
            c = u'_';
    }
    if (safe.startsWith(u'.'))
        safe[0] = u'_';
    return shortened(safe);
}

// True when every existing part of relative under root is a real folder, not a link; missing
// parts are made.
bool makeFolders(const QString &root, const QString &relative)
{
    QString path = root;
    for (const QString &part : relative.split(u'/')) {
        path += u'/' + part;
        const QFileInfo info(path);
        if (info.isSymLink())
            return false;
        if (!info.exists() && !QDir().mkdir(path))
            return false;
        if (!QFileInfo(path).isDir())
            return false;
    }
    return true;
}

// Replaces target atomically, without waiting for the disk after each of thousands of files.
bool replaceFile(const QString &target, const QByteArray &bytes, QString *error)
{
    // A link planted at the name after the check is replaced, never followed.
    const SystemError failure = writeFileSafely(target, bytes, false, false);
    if (failure.isError())
        *error = failure.text;
    return !failure.isError();
}

} // namespace

QByteArray matchXml(const MatchData &m, bool windows1251, bool *dropped)
{
    QStringEncoder encoder(windows1251 ? "windows-1251" : "UTF-8",
                           QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) {
        encoder = QStringEncoder(QStringConverter::Utf8);
        windows1251 = false;
    }
    Writer w;
    w.out.reserve(4096);
    w.out += u"<?xml version=\"1.0\" encoding=\""_s;
    w.out += windows1251 ? u"windows-1251"_s : u"UTF-8"_s;
    w.out += u"\"?>\n<"_s;
    const std::vector<ElementLayout> &layout = reportLayout();
    w.out += layout.front().name;
    w.attributes(attributesOf(layout.front(), m));
    w.out += u">\n"_s;
    const QString date = m.date.isValid() ? m.date.toString(u"yyyyMMdd"_s) : QString();
    for (auto element = layout.begin() + 1; element != layout.end(); ++element) {
        const QString &text = element->text                ? m.*element->text
                              : element->name == "date"_L1 ? date
                                                           : QString();
        w.element(element->name, attributesOf(*element, m), text);
    }
    for (const PlayerEntry &p : m.players1)
        w.element("player1"_L1, {{"id"_L1, &p.id}}, p.name, true);
    for (const PlayerEntry &p : m.players2)
        w.element("player2"_L1, {{"id"_L1, &p.id}}, p.name, true);
    for (const MatchEvent &e : m.events) {
        // An event is an entry even when it holds nothing.
        w.out += u"  <event"_s;
        w.attributes({{"type"_L1, &e.type},
                      {"time"_L1, &e.time},
                      {"team"_L1, &e.team},
                      {"player"_L1, &e.player},
                      {"playerid"_L1, &e.playerid},
                      {"player2"_L1, &e.player2},
                      {"playerid2"_L1, &e.playerid2},
                      {"comment"_L1, &e.comment}});
        w.out += u"/>\n"_s;
    }
    w.out += u"</match>\n"_s;
    if (dropped)
        *dropped = w.dropped;
    if (!windows1251)
        return encoder.encode(w.out);
    // Characters windows-1251 lacks become character references.
    QByteArray bytes;
    bytes.reserve(w.out.size());
    QStringEncoder one("windows-1251", QStringConverter::Flag::Stateless |
                                           QStringConverter::Flag::ConvertInvalidToNull);
    const qsizetype size = w.out.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char32_t c = w.out.at(i).isHighSurrogate() && i + 1 < size
                               ? QChar::surrogateToUcs4(w.out.at(i), w.out.at(i + 1))
                               : w.out.at(i).unicode();
        const qsizetype length = c > 0xffff ? 2 : 1;
        const QByteArray encoded = one.encode(QStringView(w.out).sliced(i, length));
        if (c < 0x80 || (!encoded.isEmpty() && !encoded.contains('\0') && encoded != "?"))
            bytes += encoded;
        else
            bytes += "&#" + QByteArray::number(uint(c)) + ';';
        i += length - 1;
    }
    return bytes;
}

QString exportRelativePath(const QString &fileName)
{
    QStringList parts;
    for (const QString &part : fileName.split(u'/')) {
        if (part.isEmpty() || part == u"."_s || part == u".."_s)
            continue;
        parts.append(safePart(part));
    }
    QString path = parts.join(u'/');
    if (path.isEmpty())
        return path;
    if (!path.endsWith(u".xml"_s))
        path += u".xml"_s;
    return path;
}

XmlExportResult exportXmlReports(const QList<Match> &matches, const QString &directory)
{
    XmlExportResult result;
    const QString root = QDir(directory).absolutePath();
    if (!QDir().mkpath(root) || !QFileInfo(root).isDir()) {
        result.failedPath = root;
        result.systemError = qt_error_string();
        return result;
    }
    QSet<QString> files;   // paths taken by a report
    QSet<QString> folders; // paths taken by a folder that holds reports
    // The index of the first part of path (folder by folder, the file last) that cannot be
    // used: a name another report took, or an entry on disk of the wrong kind, or a link. -1: none.
    const auto clash = [&](const QString &path) -> qsizetype {
        qsizetype index = 0;
        for (qsizetype slash = path.indexOf(u'/'); slash >= 0;
             slash = path.indexOf(u'/', slash + 1), ++index) {
            const QString folder = path.left(slash);
            const QFileInfo info(root + u'/' + folder);
            if (files.contains(folder) || info.isSymLink() || (info.exists() && !info.isDir()))
                return index;
        }
        const QFileInfo info(root + u'/' + path);
        if (files.contains(path) || folders.contains(path) || info.isSymLink() ||
            (info.exists() && !info.isFile()))
            return index;
        return -1;
    };
    // A report without a usable name is named "new-N", N from 1, past every name wanted.
    QSet<QString> wantedPaths;
    for (const Match &match : matches)
        wantedPaths.insert(exportRelativePath(match->fileName));
    int nextNew = 1;
    for (const Match &match : matches) {
        QString wanted = exportRelativePath(match->fileName);
        if (wanted.isEmpty()) {
            do
                wanted = numberedFileName(u"new.xml"_s, nextNew++);
            while (wantedPaths.contains(wanted) || clash(wanted) >= 0);
        }
        // The part that clashes gets a number: "a.xml" -> "a-2.xml", "2020/1.xml" ->
        // "2020-2/1.xml" when "2020" is a file.
        const QStringList original = wanted.split(u'/');
        QStringList parts = original;
        QString path = wanted;
        qsizetype numbered = -1;
        int n = 2;
        for (qsizetype index; (index = clash(path)) >= 0;) {
            if (index != numbered) {
                numbered = index;
                n = 2;
            }
            parts[index] = numberedFileName(original.at(index), n++);
            path = parts.join(u'/');
        }
        files.insert(path);
        const qsizetype lastSlash = path.lastIndexOf(u'/');
        for (qsizetype slash = path.indexOf(u'/'); slash >= 0;
             slash = path.indexOf(u'/', slash + 1))
            folders.insert(path.left(slash));

        const QString target = root + u'/' + path;
        // A report that cannot be written is named, and the export goes on with the others.
        const auto notWritten = [&](const QString &where, const QString &why) {
            if (result.failedPath.isEmpty()) {
                result.failedPath = where;
                result.systemError = why;
            }
            result.notWritten.append({match->fileName, where, why});
        };
        if (lastSlash > 0 && !makeFolders(root, path.left(lastSlash))) {
            notWritten(QFileInfo(target).absolutePath(), qt_error_string());
            continue;
        }
        bool dropped = false;
        const QByteArray bytes = matchXml(*match, false, &dropped);
        QString error;
        if (!replaceFile(target, bytes, &error)) {
            notWritten(target, error);
            continue;
        }
        if (dropped)
            result.altered.append(match->fileName);
        ++result.written;
    }
    return result;
}
