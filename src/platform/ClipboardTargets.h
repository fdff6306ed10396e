// The MIME types (and X targets) under which a clipboard content is served, with their bytes: the X11
// owner and the Wayland data source offer the same names.
#pragma once

#include "platform/PasteboardContent.h"

#include <QByteArray>
#include <QList>

struct ClipboardTarget
{
    QByteArray name;  // the MIME type or target atom's name: "UTF8_STRING", "text/html", ...
    int format = 8;   // on X11: 8, or 16 for application/x-color
    QByteArray bytes; // the property data, in this program's byte order for format 16
};

namespace ClipboardTargets {
// Every representation under its usual X names, in order: text as UTF8_STRING,
// text/plain;charset=utf-8, text/plain and STRING (Latin-1); RTF, RTFD, HTML, PNG, PDF under their
// MIME names; files as text/uri-list and x-special/gnome-copied-files; a colour as
// application/x-color. Nothing else is added.
QList<ClipboardTarget> forContent(const PasteboardContent& content);
} // namespace ClipboardTargets
