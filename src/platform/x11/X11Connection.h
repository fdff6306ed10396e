// Qt's own connection to the X server, with interned atoms and RAII for replies and errors.
#pragma once

#include <xcb/xcb.h>

#include <QByteArray>
#include <cstdlib>
#include <memory>

// Replies and errors from xcb are malloc'ed; hold them in this.
template <typename T> using XcbPtr = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> XcbPtr<T> xcbPtr(T* pointer)
{
    return XcbPtr<T>(pointer, &std::free);
}

namespace X11Connection {
// Nothing when the program does not run on an X11 display.
xcb_connection_t* connection();
xcb_window_t rootWindow();
// Interns on first use and caches (on Qt's connection, main thread only).
xcb_atom_t atom(const char* name);
// The window the window manager names active (_NET_ACTIVE_WINDOW on the root), or none.
xcb_window_t activeWindow();
// Interns on any connection, uncached (for the worker's own connection).
xcb_atom_t internAtom(xcb_connection_t* connection, const char* name);
QByteArray atomName(xcb_connection_t* connection, xcb_atom_t atom);
} // namespace X11Connection
