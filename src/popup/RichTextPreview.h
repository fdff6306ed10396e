// The styled text of a rich-text card, read from its stored RTF, RTFD or HTML document.
#pragma once

#include "history/ClipboardItem.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QString>
#include <QTextDocument>
#include <memory>
#include <optional>

namespace RichTextPreview {
struct Preview
{
    std::unique_ptr<QTextDocument> document;
    bool isCut = false; // the document goes on past what was read

    explicit operator bool() const { return document != nullptr; }
};

// The beginning of the item's asset, as much as a card can show (RichTextPrefix), with its own
// fonts and colours; nothing when there is no asset, it is no regular file, cannot be read or does
// not parse (the card then shows the plain text). The asset is RTFD when its path ends in ".rtfd"
// exactly, HTML when it ends in ".html", RTF otherwise.
Preview load(const ClipboardItem& item);

// Where a document laid out at the width of an area is cut to the area's height: only whole lines
// show, and when text is left out (below the area, or past the document's end when `goesOn`), the
// last line shown ends in an ellipsis at `textEnd`, written in the font and colour of the
// character before it.
struct TailCut
{
    bool truncated = false;
    bool hasLastLine = false; // when truncated and at least one line fits
    double lineTop = 0;       // the last line shown
    double lineHeight = 0;
    double ascent = 0;
    double textEnd = 0; // where its text stops and the ellipsis begins
    QFont font;
    QColor color;
};
TailCut cutAtWholeLines(const QTextDocument& document, const QSizeF& area, bool goesOn = false);

// A document's point sizes are laid out at the screen's resolution (a 12 pt font takes 16 pixels at
// 96 dpi); drawn at this scale, one point takes one device-independent pixel, as the sizes of the
// interface do.
double pointScale();

// HTML laid out without fetching anything it refers to (images, style sheets): clipboard HTML
// must not make us read files or the network.
std::unique_ptr<QTextDocument> documentFromHtml(const QString& html);
} // namespace RichTextPreview
