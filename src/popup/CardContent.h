// What a card shows and offers, computed from its item alone (no widgets).
#pragma once

#include "history/ClipboardItem.h"
#include "popup/CardAction.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

// What the card's buttons reach outside the card; the popup supplies them.
struct CardActionHandlers
{
    std::function<void(const QUrl&)> openUrl;
    std::function<void(const QString&)> revealFile;
    std::function<void(const QString&)> saveFile; // asks where to save a copy of the file
    std::function<void(const QString&)> copyText; // puts plain text on the clipboard
};

namespace CardContent {
// The footer text of a link card: the URL's host, else the trimmed text; the text as it is when
// it does not parse as a URL.
QString linkHost(const ClipboardItem& item);
// The buttons of the card. Text kinds have none; image, PDF and colour cards get theirs too.
QList<CardAction> smartActions(const ClipboardItem& item, const CardActionHandlers& handlers);
// Whether the path's extension names an image type.
bool isImageFile(const QString& path);
// Whether a file entry's card shows the picture of its first file (else its icon and name).
bool showsFirstFileImage(const ClipboardItem& item);

// "N characters": the stored count, else the text's characters as a reader perceives them.
QString characterCountText(const ClipboardItem& item);
// The folder of the first file with "~" for the home folder; "File" without paths.
QString fileFolderText(const ClipboardItem& item, const QString& homePath);
// "+N more" for N further files; empty for one file or none.
QString moreFilesText(const ClipboardItem& item);
QString firstFileName(const ClipboardItem& item);
// The first `maxCharacters` of a text as a card lays them out: every line end (LF, CR LF, a lone
// CR as old Mac files have it, NEL and the Unicode separators) a line separator, tabs four spaces.
QString previewText(const QString& text, qsizetype maxCharacters);
QString cardToolTip(int index);

// "rgb(R, G, B)", each channel times 255 rounded half away from zero.
QString rgbText(const QColor& color);

// A string that parses as a URL by the strict rules of RFC 3986 (nothing for an empty string).
std::optional<QUrl> parseUrl(const QString& text);
} // namespace CardContent
