// The pasteboard type identifiers the core speaks, whatever the desktop calls them.
#pragma once

#include <QString>

namespace PasteboardType {
inline const QString string = QStringLiteral("public.utf8-plain-text");
inline const QString utf16PlainText = QStringLiteral("public.utf16-plain-text");
inline const QString plainText = QStringLiteral("public.plain-text");
inline const QString nextPlainAscii = QStringLiteral("NeXT plain ascii pasteboard type");
inline const QString html = QStringLiteral("public.html");
inline const QString htmlMime = QStringLiteral("text/html");
inline const QString rtf = QStringLiteral("public.rtf");
inline const QString flatRtfd = QStringLiteral("com.apple.flat-rtfd");
inline const QString pdf = QStringLiteral("com.adobe.pdf");
inline const QString png = QStringLiteral("public.png");
inline const QString tiff = QStringLiteral("public.tiff");
// Object flavours: file URLs and colours are read and written as objects, not bytes.
inline const QString fileUrl = QStringLiteral("public.file-url");
inline const QString color = QStringLiteral("com.apple.cocoa.pasteboard.color");
} // namespace PasteboardType
