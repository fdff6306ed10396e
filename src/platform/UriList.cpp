#include "platform/UriList.h"

#include <utility>

namespace UriList {
UrlList parse(const QByteArray& bytes, bool hasOperationLine)
{
    if (bytes.size() > maxBytes) {
        return UrlList{{}, true};
    }
    UrlList list;
    bool first = true;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) {
            end = bytes.size();
        }
        const QByteArray line = bytes.sliced(start, end - start).trimmed();
        start = end + 1;
        const bool isFirst = std::exchange(first, false);
        if (isFirst && hasOperationLine && (line == "copy" || line == "cut")) {
            continue;
        }
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        if (list.urls.size() == maxEntries) {
            return UrlList{{}, true};
        }
        list.urls.append(QUrl::fromEncoded(line));
    }
    return list;
}
} // namespace UriList
