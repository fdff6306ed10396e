#include "platform/x11/X11KeyTap.h"

bool X11KeyTap::install(std::function<void()>)
{
    return false;
}

void X11KeyTap::remove() {}
