// Counting stops at the limits, so the work is bounded by them as well as by the bytes given.
#include "popup/RichTextPrefix.h"

#include <QByteArrayView>

namespace {
bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool sameName(QByteArrayView a, const char* b)
{
    return qstrnicmp(a.data(), a.size(), b, -1) == 0;
}

// Where the content of an element that holds no markup (a script, a style sheet) ends: at
// "</name", case aside.
qsizetype endOfRawText(const QByteArray& html, qsizetype from, QByteArrayView name)
{
    for (qsizetype i = html.indexOf("</", from); i >= 0; i = html.indexOf("</", i + 2)) {
        if (i + 2 + name.size() <= html.size() &&
            qstrnicmp(html.constData() + i + 2, name.size(), name.data(), name.size()) == 0) {
            return i;
        }
    }
    return html.size();
}
} // namespace

bool RichTextPrefix::cut(RtfText& text)
{
    qsizetype characters = 0;
    int paragraphs = 0;
    for (qsizetype r = 0; r < text.runs.size(); ++r) {
        const qsizetype length = text.runs.at(r).text.size();
        for (qsizetype i = 0; i < length; ++i) {
            qsizetype keep = -1;
            if (++characters > maxCharacters) {
                keep = i;
            } else if (text.runs.at(r).text.at(i) == QLatin1Char('\n') && ++paragraphs == maxParagraphs) {
                keep = i + 1; // the paragraph keeps its end
            } else {
                continue;
            }
            const bool more = keep < length || r + 1 < text.runs.size();
            text.runs[r].text.truncate(keep);
            text.runs.resize(r + 1);
            return more;
        }
    }
    return false;
}

qsizetype RichTextPrefix::htmlLength(const QByteArray& html)
{
    qsizetype characters = 0;
    int tags = 0;
    qsizetype i = 0;
    while (i < html.size()) {
        const char c = html.at(i);
        if (c != '<') {
            if (!isSpace(c) && ++characters > maxCharacters) {
                return i;
            }
            ++i;
            continue;
        }
        if (QByteArrayView(html).sliced(i).startsWith("<!--")) {
            const qsizetype end = html.indexOf("-->", i + 4);
            i = end < 0 ? html.size() : end + 3;
            continue;
        }
        if (++tags > maxHtmlTags) {
            return i;
        }
        qsizetype nameEnd = i + 1;
        while (nameEnd < html.size() && isLetter(html.at(nameEnd))) {
            ++nameEnd;
        }
        const QByteArrayView name = QByteArrayView(html).sliced(i + 1, nameEnd - i - 1);
        const qsizetype close = html.indexOf('>', nameEnd);
        if (close < 0) {
            return html.size();
        }
        i = close + 1;
        if (sameName(name, "script") || sameName(name, "style")) {
            i = endOfRawText(html, i, name);
        }
    }
    return html.size();
}
