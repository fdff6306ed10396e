#include "platform/x11/X11Applications.h"

std::optional<RunningApplication> X11Applications::frontmostApplication()
{
    return std::nullopt;
}
