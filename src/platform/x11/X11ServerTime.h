// The X server's current time, for requests that want a real timestamp (selection ownership,
// window activation) rather than CurrentTime.
#pragma once

#include <xcb/xcb.h>

namespace X11ServerTime {
// Reads the time from a property change on a private window of a private connection, waiting at
// most `timeoutMs`. XCB_CURRENT_TIME (0) when the server cannot be reached or does not answer.
// Main thread only.
xcb_timestamp_t now(int timeoutMs = 200);
} // namespace X11ServerTime
