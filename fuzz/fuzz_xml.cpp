// The XML report reader on arbitrary bytes: it must never crash or run away with time or memory
// (libFuzzer's -timeout and -rss_limit_mb say how much), and what it reads must stay within the
// bounds of a report. The quick reader and the general one must read every document alike.
#include "formats/xmlimport.h"

#include <QtGlobal>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The reader names each faulty report on the debug output: silence it.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    bool error = false;
    const Match match =
        readMatchXmlBytes(bytes, QStringLiteral("f.xml"), QStringLiteral("f.xml"), &error);
    if (match->events.size() > maxReportEvents || match->players1.size() > maxLineupPlayers ||
        match->players2.size() > maxLineupPlayers || match->fileName != QStringLiteral("f.xml"))
        std::abort();
    // The quick reader reads what it reads exactly as the general reader does.
    bool generalError = false;
    const Match general = readMatchXmlBytes(bytes, QStringLiteral("f.xml"), QStringLiteral("f.xml"),
                                            &generalError, XmlReading::General);
    if (generalError != error || !general.sameRecord(match))
        std::abort();
    return 0;
}
