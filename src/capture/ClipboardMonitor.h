// Notices every new clipboard content and turns it into at most one history entry.
#pragma once

#include <QObject>

class ClipboardMonitor : public QObject
{
    Q_OBJECT
public:
    static ClipboardMonitor& shared();

    void start();
    void stop();
    // The next change is the program's own paste-back: skip it.
    void suppressNext();
    // Poll at the next turn of the event loop.
    void kick();
};
