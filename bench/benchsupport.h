#pragma once

// Small helpers shared by the benchmarks: memory figures from /proc, the machine's description,
// and a best-of-n timer.

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <time.h>

namespace bench {

// A field of /proc/self/status in kB ("VmHWM", "VmRSS"), or -1 where there is none.
inline qint64 statusKb(const char *field)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

inline QString machine()
{
    QString model;
    QFile cpu(QStringLiteral("/proc/cpuinfo"));
    if (cpu.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : cpu.readAll().split('\n')) {
            if (line.startsWith("model name")) {
                model = QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
                break;
            }
        }
    }
    return QStringLiteral("%1, %2 logical CPUs, Qt %3")
        .arg(model.isEmpty() ? QStringLiteral("unknown CPU") : model)
        .arg(QThread::idealThreadCount())
        .arg(QString::fromLatin1(qVersion()));
}

// Processor time of the calling thread in milliseconds: on a machine shared with other work it
// is a steadier figure than the wall clock, which also counts the time spent waiting for a CPU.
inline double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Timing
{
    double wallMs = std::numeric_limits<double>::max();
    double cpuMs = std::numeric_limits<double>::max();
};

// The shortest wall-clock and the shortest processor time of runs runs of work, in milliseconds.
inline Timing bestOf(int runs, const std::function<void()> &work)
{
    Timing best;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        const double cpu = threadCpuMs();
        timer.start();
        work();
        best.wallMs = std::min(best.wallMs, timer.nsecsElapsed() / 1e6);
        best.cpuMs = std::min(best.cpuMs, threadCpuMs() - cpu);
    }
    return best;
}

inline QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

// The value after name in arguments, as a number, or fallback.
inline qint64 option(const QStringList &arguments, const QString &name, qint64 fallback)
{
    const qsizetype at = arguments.indexOf(name);
    if (at < 0 || at + 1 >= arguments.size())
        return fallback;
    bool ok = false;
    const qint64 value = arguments.at(at + 1).toLongLong(&ok);
    return ok ? value : fallback;
}

} // namespace bench
