#include "platform/Platform.h"

namespace {
Platform& installed()
{
    static Platform platform;
    return platform;
}
} // namespace

const Platform& Platform::current()
{
    return installed();
}

void Platform::install(const Platform& platform)
{
    installed() = platform;
}
