// One complete content of the clipboard: typed byte representations plus the object flavours.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QUrl>
#include <utility>

struct PasteboardContent
{
    // (type identifier, bytes), in the order the owner offers them.
    QList<std::pair<QString, QByteArray>> data;
    QList<QUrl> urls;     // written as text/uri-list and x-special/gnome-copied-files
    QList<QColor> colors; // written as application/x-color
    bool hasUrls = false; // an empty URL list is still a content of its own
    bool hasColors = false;

    bool isEmpty() const { return data.isEmpty() && !hasUrls && !hasColors; }
};
