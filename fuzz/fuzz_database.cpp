// The database reader on arbitrary bytes: it must never crash, hang or read out of bounds, a
// refused file must leave the store as it was, and a file it accepts must write back byte for
// byte.
#include "formats/database.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    MatchStore store;
    Match held;
    held.edit().team1 = QStringLiteral("held");
    store.add(held);
    const DatabaseResult result = readDatabaseBytes(bytes, store);
    if (result.ok()) {
        if (databaseBytes(store) != bytes)
            std::abort();
    } else if (store.count() != 1 || store.matches().at(0)->team1 != QStringLiteral("held")) {
        std::abort();
    }
    return 0;
}
