// Applications on an EWMH desktop: the active window's application, and activating a window.
#pragma once

#include "platform/Applications.h"
#include "platform/xdg/DesktopEntryIndex.h"

#include <QSet>

class X11Applications final : public Applications
{
public:
    std::optional<RunningApplication> frontmostApplication() override;
    std::optional<RunningApplication> clipboardOwner() override;
    void activate(const RunningApplication& app) override;
    void whenActive(const RunningApplication& app, int timeoutMs, std::function<void(bool)> done) override;

private:
    // An application without a desktop entry has no icon but its windows': keep it for its cards.
    void keepWindowIcon(const RunningApplication& app);

    DesktopEntryIndex m_entries;
    QSet<QString> m_iconsKept; // once per run and application is enough
};
