// Running applications: which one is in front, and bringing one back to the front.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

struct RunningApplication
{
    std::optional<QString> bundleID; // desktop-entry id ("org.gnome.TextEditor"), or the WM_CLASS class
    std::optional<QString> name;     // the entry's Name, else the WM_CLASS class
    std::uint32_t window = 0;        // the active X11 window at that moment (0: none known)
    std::optional<std::int64_t> pid; // _NET_WM_PID of that window, when known
    std::uint64_t handle = 0;        // the window where it has no X11 id (a Wayland toplevel), opaque; 0: none
};

class Applications
{
public:
    virtual ~Applications() = default;

    // The application of the active window now, or nothing when no window is active.
    virtual std::optional<RunningApplication> frontmostApplication() = 0;

    // The application of the process that owns the clipboard now, when the desktop can tell (it
    // may be another program than the one in front). Nothing when it cannot be found out.
    virtual std::optional<RunningApplication> clipboardOwner() { return std::nullopt; }

    // Asks the window manager to activate the application's remembered window.
    virtual void activate(const RunningApplication& app) = 0;

    // Calls `done(true)` once the application's window is active, or `done(false)` when `timeoutMs`
    // passes first. Never blocks; `done` runs on the main thread.
    virtual void whenActive(const RunningApplication& app, int timeoutMs, std::function<void(bool)> done) = 0;
};
