// The rules file reader on arbitrary bytes: it must never crash or hit undefined behaviour (a
// number out of range), a refused file leaves the book empty, and a book it reads is written and
// read back the same.
#include "model/competitionrules.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    RuleBook book;
    const RulesFileResult result = parseRules(bytes, book);
    if (!result.ok()) {
        if (!book.isEmpty())
            std::abort();
        return 0;
    }
    RuleBook again;
    if (!parseRules(rulesFileBytes(book), again).ok() || again != book)
        std::abort();
    return 0;
}
