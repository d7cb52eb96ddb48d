// The XML report reader on arbitrary bytes: it must never crash or run away with time or memory
// (libFuzzer's -timeout and -rss_limit_mb say how much), and what it reads must stay within the
// bounds of a report.
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
    return 0;
}
