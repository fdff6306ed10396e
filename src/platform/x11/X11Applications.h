// Applications on an EWMH desktop: the active window's application, and activating a window.
#pragma once

#include "platform/Applications.h"
#include "platform/xdg/DesktopEntryIndex.h"

class X11Applications final : public Applications
{
public:
    std::optional<RunningApplication> frontmostApplication() override;
    std::optional<RunningApplication> clipboardOwner() override;
    void activate(const RunningApplication& app) override;
    void whenActive(const RunningApplication& app, int timeoutMs, std::function<void(bool)> done) override;

private:
    DesktopEntryIndex m_entries;
};
