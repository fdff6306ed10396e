// Fuzzes the history file reader; whatever it accepts must survive writing and reading back.
#include "history/HistoryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto items = HistoryFile::decode(bytes)) {
        if (!HistoryFile::decode(HistoryFile::encode(*items))) {
            __builtin_trap();
        }
    }
    return 0;
}
