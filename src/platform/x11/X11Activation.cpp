#include "platform/x11/X11Applications.h"

void X11Applications::activate(const RunningApplication&) {}

void X11Applications::whenActive(const RunningApplication&, int, std::function<void(bool)> done)
{
    done(false);
}
