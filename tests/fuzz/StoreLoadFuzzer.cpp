// libFuzzer: arbitrary bytes as the store file.
#include "FuzzScratch.h"
#include "StoreLoadCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static FuzzScratch scratch(QStringLiteral(".conf"));
    const QString fault = checkStoreLoad(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)), scratch.nextPath());
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "store load: %s\n", fault.toUtf8().constData());
        std::abort();
    }
    return 0;
}
