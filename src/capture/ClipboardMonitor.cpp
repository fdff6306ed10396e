#include "capture/ClipboardMonitor.h"

ClipboardMonitor& ClipboardMonitor::shared()
{
    static ClipboardMonitor* monitor = new ClipboardMonitor;
    return *monitor;
}

void ClipboardMonitor::start() {}

void ClipboardMonitor::stop() {}

void ClipboardMonitor::suppressNext() {}

void ClipboardMonitor::kick() {}
