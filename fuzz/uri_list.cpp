// Fuzzes the copied-file-list parser: any bytes give a bounded list or a refusal, never more. The
// first byte says whether the list names its operation first, and whether the rest repeats up to
// past the limits of entries and bytes.
#include "platform/UriList.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) {
        return 0;
    }
    const QByteArray once(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const qsizetype times = (data[0] & 0xF0) == 0xF0
                                ? std::min<qsizetype>(UriList::maxEntries + 1, UriList::maxBytes / once.size() + 2)
                                : 1;
    const QByteArray bytes = once.repeated(times);
    const UrlList list = UriList::parse(bytes, data[0] & 1);
    if (list.urls.size() > UriList::maxEntries || (list.isOverLimit && !list.urls.isEmpty()) ||
        (bytes.size() > UriList::maxBytes && !list.isOverLimit)) {
        __builtin_trap();
    }
    for (const QUrl& url : list.urls) {
        if (url.isLocalFile()) {
            url.toLocalFile();
        }
    }
    return 0;
}
