// Mouse presses anywhere on the desktop, seen without taking them from the window they are meant for.
#pragma once

#include <functional>

class PointerMonitor
{
public:
    virtual ~PointerMonitor() = default;

    // Calls `onPress` on the main thread, after the event has been handled, for every left or right
    // button press on the desktop (our own windows included: the caller tells them apart).
    // False when the desktop cannot report presses; nothing is installed then.
    virtual bool install(std::function<void()> onPress) = 0;
    virtual void remove() = 0;
    virtual bool isInstalled() const = 0;
};
