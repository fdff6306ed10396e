// The desktop services of the program in a Wayland session (wlroots compositors), built once at
// start-up on a connection of their own. It names the protocols it found in one log line.
//
// Not provided here (null in services()): the copy-keystroke tap (the clipboard's own change events
// drive capture), global shortcuts (the compositor binds `stashwell --toggle`), and the pointer
// monitor and window effects, which belong to the popup's way of showing itself.
#pragma once

#include "platform/Platform.h"

#include <QString>
#include <memory>

class WaylandPlatform
{
public:
    // True when a Wayland compositor answers at $WAYLAND_DISPLAY; otherwise false and a reason.
    static bool canConnect(QString* reason);

    explicit WaylandPlatform(const QString& dataFolder);
    // Ends the Wayland thread first, then the services.
    ~WaylandPlatform();

    Platform services() const;

    // Whether the compositor offers data control: without it this platform sees no clipboard.
    bool hasClipboard() const;
    // "Stashwell: Wayland: in use ...; missing ..." (the line written to the log at start-up).
    QString protocolSummary() const;

private:
    struct Services;
    std::unique_ptr<Services> m_services;
    QString m_dataFolder;
};
