// Fuzzes the HTML simplifier: it must read its own output back unchanged (its view of the tags
// and their nesting holds for what it writes), and Qt's importer must never build tables nested
// deeper than the simplifier allows. The first byte picks the depth limit.
#include "FuzzSupport.h"
#include "capture/HtmlSimplifier.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>

namespace {
int tableDepth(QTextFrame* frame)
{
    int deepest = 0;
    for (QTextFrame* child : frame->childFrames()) {
        deepest = std::max(deepest, tableDepth(child));
    }
    return deepest + (qobject_cast<QTextTable*>(frame) ? 1 : 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) {
        return 0;
    }
    const int limit = 4 + data[0] % 60;
    const QString html = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const HtmlSimplifier::Simplified simplified = HtmlSimplifier::simplify(html, limit);
    if (HtmlSimplifier::simplify(simplified.html, limit).html != simplified.html) {
        __builtin_trap(); // a second pass sees tags or nesting the first did not
    }
    QTextDocument document;
    document.setHtml(simplified.html);
    if (tableDepth(document.rootFrame()) > HtmlSimplifier::maxTableDepth) {
        __builtin_trap(); // the importer nested tables the simplifier did not count
    }
    return 0;
}
