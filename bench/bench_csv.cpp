// CSV import benchmark: lines per second reading a results file in the layout of the public
// archives (Div,Date,Time,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR,Referee,Attendance) into a
// fresh store through an ImportBatch, as scorewright-cli import-csv does, from bytes in memory;
// once in UTF-8 and once in windows-1251.
//
//   bench_csv [--lines N] [--runs R]
#include "bench/benchsupport.h"
#include "formats/csvimport.h"
#include "generator/generator.h"
#include "model/importbatch.h"

#include <QCoreApplication>
#include <QStringEncoder>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = int(bench::option(args, u"--runs"_s, 3));
    GeneratorOptions options;
    options.matches = bench::option(args, u"--lines"_s, 500000);
    options.fullReports = false;
    options.faults = false;

    QString text = u"Div,Date,Time,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR,Referee,"
                   "Attendance\n"_s;
    qsizetype lines = 0;
    for (const Match &match : generateMatches(options)) {
        const MatchData &m = *match;
        if (!m.date.isValid())
            continue;
        const int g1 = scoreNumber(m.goals1);
        const int g2 = scoreNumber(m.goals2);
        const QString result = g1 > g2 ? u"H"_s : g1 < g2 ? u"A"_s : u"D"_s;
        text += QStringList{m.tournament,
                            m.date.toString(u"dd/MM/yyyy"_s),
                            m.time,
                            m.team1,
                            m.team2,
                            m.goals1,
                            m.goals2,
                            result,
                            QString::number(g1 / 2),
                            QString::number(g2 / 2),
                            u"D"_s,
                            u"\""_s + m.referee + u"\""_s,
                            m.attendance}
                    .join(u',');
        text += u'\n';
        ++lines;
    }
    const QByteArray utf8 = text.toUtf8();
    const QByteArray cp1251 = QStringEncoder("windows-1251").encode(text);

    bench::out().setRealNumberPrecision(4);
    bench::out() << "machine: " << bench::machine() << "\nbest of " << runs
                 << " runs; wall clock [processor time]\n";
    for (const auto &[name, data] :
         {std::pair{"UTF-8", &utf8}, std::pair{"windows-1251", &cp1251}}) {
        const QByteArray *bytes = data; // a lambda may not capture a structured binding
        qsizetype added = 0;
        const bench::Timing timing = bench::bestOf(runs, [&] {
            MatchStore store;
            ImportBatch batch(store);
            const CsvImportResult result = importCsvData(*bytes, u"bench.csv"_s, batch);
            added = result.added;
        });
        bench::out() << name << ": " << lines << " lines, " << bytes->size() / 1e6 << " MB, "
                     << added << " matches in " << timing.wallMs << " ms [" << timing.cpuMs
                     << " ms]: " << qint64(lines / timing.wallMs * 1000) << " lines/s ["
                     << qint64(lines / timing.cpuMs * 1000) << " lines/s]\n";
    }
    bench::out().flush();
    return 0;
}
