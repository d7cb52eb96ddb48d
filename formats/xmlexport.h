#pragma once

#include "model/match.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The XML report of one match in the form the import reads (model/xmlimport.h): a declaration, a
// root element "match" holding the rest, one element a line, indented, with only the elements and
// attributes that hold a value. Tabs, line breaks and carriage returns are written as character
// references, so that they read back as they were. Characters XML 1.0 cannot hold at all (the
// other control characters below U+0020, unpaired surrogates, U+FFFE and U+FFFF) are left out;
// *dropped, when given, is set to whether any was. Encoded as UTF-8, or as windows-1251 when asked
// (characters that encoding lacks are then written as character references).
QByteArray matchXml(const MatchData &match, bool windows1251 = false, bool *dropped = nullptr);

// The path, relative to an export folder, that a report named fileName is written to: each
// '/'-separated part of the name with control characters and '\' replaced by '_' and a leading
// '.' by '_' (hidden entries are not read back by the import); empty, "." and ".." parts are left
// out, so the path never leaves the folder; ".xml" is added when the name lacks it. A part longer
// than a file system takes is shortened, with a mark of the whole part ("~" and eight hex
// digits) that keeps long names apart. Empty for a name with no part left: such a report is
// written as "new-N.xml".
QString exportRelativePath(const QString &fileName);

struct XmlExportResult
{
    struct Failure
    {
        QString fileName; // the match's
        QString path;     // the file or folder that could not be written
        QString reason;   // the system's
    };
    qsizetype written = 0;
    QStringList altered;       // file names of reports some of whose characters were left out
    QList<Failure> notWritten; // the reports that could not be written, in export order
    QString failedPath;        // the folder that could not be made, or the first report not written
    QString systemError;       // and why
    bool ok() const { return failedPath.isEmpty(); }
};

// Writes the report of every match into directory (created with its parents if missing), each to
// the file exportRelativePath names; two matches whose paths meet (the same path, or a file where
// the other needs a folder) get distinct numbered names ("a.xml", "a-2.xml"). A file already
// there is replaced atomically; nothing else in the folder is touched, and a link inside it is
// never followed. A report that cannot be written is named in notWritten and the others are
// written still; only a folder that cannot be made stops the export at the start.
XmlExportResult exportXmlReports(const QList<Match> &matches, const QString &directory);
