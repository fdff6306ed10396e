// Fuzzes HTML rendering and the HTML-or-text decision. The first byte picks the plain-text flavour.
#include "FuzzSupport.h"
#include "capture/HtmlHeuristics.h"
#include "capture/PasteboardText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) {
        return 0;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const auto decoded = PasteboardText::decodedString(bytes);
    std::optional<QString> html;
    std::optional<QString> htmlPlain = HtmlHeuristics::htmlToPlain(bytes);
    if (decoded) {
        html = HtmlHeuristics::fragment(*decoded);
        if (!htmlPlain) {
            htmlPlain = HtmlHeuristics::htmlToPlain(*html);
        }
    }
    std::optional<QString> plainText;
    switch (data[0] % 3) {
    case 1:
        plainText = QString();
        break;
    case 2:
        plainText = htmlPlain;
        break;
    default:
        break;
    }
    HtmlHeuristics::shouldCaptureAsHTML(html, htmlPlain, plainText);
    return 0;
}
