// libFuzzer: arbitrary bytes as the WAV file of an entry's sound.
#include "FuzzScratch.h"
#include "WaveOpenCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static FuzzScratch scratch(QStringLiteral(".wav"));
    const QString fault = checkWaveOpen(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)), scratch.nextPath());
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "wav open: %s\n", fault.toUtf8().constData());
        std::abort();
    }
    return 0;
}
