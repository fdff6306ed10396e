// The system clipboard as the main thread sees it: a change counter and a writer.
// Reading the content happens elsewhere (PasteboardReader), off the main thread.
#pragma once

#include "platform/PasteboardContent.h"

#include <QObject>
#include <QtGlobal>

// Which content one change put on the clipboard, in the desktop's own terms: the program's handle
// that took the clipboard (an X window) and the moment it took it (an X server time). A content is
// read for its change, never for whoever owns the clipboard by the time the reading starts.
struct ClipboardChange
{
    quint64 owner = 0; // 0: nobody owns the clipboard after this change
    quint32 time = 0;  // 0: the desktop did not say

    friend bool operator==(const ClipboardChange&, const ClipboardChange&) = default;
};

class Clipboard : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Incremented every time the clipboard changes owner, our own writes included.
    virtual qint64 changeCount() const = 0;
    // The change changeCount() counted last.
    virtual ClipboardChange lastChange() const = 0;

    // Replaces the whole content in one change: the old content is gone, the new one (possibly
    // empty) is served to other programs until one of them takes the clipboard.
    virtual void replaceContents(const PasteboardContent& content) = 0;

signals:
    // Emitted after changeCount() moved; lets the monitor poll at once instead of at its next tick.
    void changed();
};
