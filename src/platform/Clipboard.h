// The system clipboard as the main thread sees it: a change counter and a writer.
// Reading the content happens elsewhere (PasteboardReader), off the main thread.
#pragma once

#include "platform/PasteboardContent.h"

#include <QObject>

class Clipboard : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Incremented every time the clipboard changes owner, our own writes included.
    virtual qint64 changeCount() const = 0;

    // Replaces the whole content in one change: the old content is gone, the new one (possibly
    // empty) is served to other programs until one of them takes the clipboard.
    virtual void replaceContents(const PasteboardContent& content) = 0;

signals:
    // Emitted after changeCount() moved; lets the monitor poll at once instead of at its next tick.
    void changed();
};
