// Serves our content on the CLIPBOARD selection until another program takes it. The serving runs on
// a thread of its own (X11SelectionServer): the main thread only hands the content over.
#pragma once

#include "platform/PasteboardContent.h"

#include <QThread>

class X11SelectionServer;

class X11ClipboardOwner
{
public:
    X11ClipboardOwner() = default;
    ~X11ClipboardOwner();
    X11ClipboardOwner(const X11ClipboardOwner&) = delete;
    X11ClipboardOwner& operator=(const X11ClipboardOwner&) = delete;

    // Takes the selection once with exactly this content (an empty content owns it with no targets).
    void replace(const PasteboardContent& content);

private:
    QThread m_thread;
    X11SelectionServer* m_server = nullptr; // lives on m_thread, deleted there when it ends
};
