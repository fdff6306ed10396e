// Fuzzes the flat RTFD container reader.
#include "FuzzSupport.h"
#include "capture/RtfdReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto entries = RtfdReader::entries(bytes)) {
        qsizetype total = 0;
        for (const auto& entry : *entries) {
            total += entry.name.size() + entry.data.size();
        }
        if (total > bytes.size()) {
            __builtin_trap(); // entries can only hold bytes that were there
        }
    }
    RtfdReader::plainText(bytes);
    return 0;
}
