// The CSV results reader on arbitrary bytes: it must never crash, hang or read out of bounds,
// every data line must be accounted for (a match added, a duplicate or a refusal), and the lines
// it names as holding bad bytes must exist and come in order.
#include "formats/csvimport.h"
#include "model/importbatch.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    MatchStore store;
    ImportBatch batch(store);
    CsvImportOptions options;
    options.today = QDate(2026, 12, 7);
    const CsvImportResult result = importCsvData(bytes, QStringLiteral("f.csv"), batch, options);
    if (result.missing == CsvMissingNothing &&
        result.added + result.duplicates + result.refused.size() != result.lines)
        std::abort();
    if (result.added != store.count())
        std::abort();
    qsizetype previous = 0;
    for (const qsizetype line : result.badByteLines) {
        if (line <= previous || line > bytes.count('\n') + bytes.count('\r') + 1)
            std::abort();
        previous = line;
    }
    return 0;
}
