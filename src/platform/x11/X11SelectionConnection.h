// The capture worker's own connection to the X server: selection transfers must never wait on, or
// be waited on by, the main thread's connection.
#pragma once

#include "platform/x11/X11Connection.h"

#include <QByteArray>
#include <QHash>
#include <chrono>
#include <functional>
#include <memory>

class X11SelectionConnection
{
public:
    using Deadline = std::chrono::steady_clock::time_point;
    using Event = XcbPtr<xcb_generic_event_t>;

    // The connection of the calling thread, opened on first use and kept for the thread's life;
    // reopened when the server dropped it. Nothing when no X server answers.
    static X11SelectionConnection* forCurrentThread();

    explicit X11SelectionConnection(xcb_connection_t* connection);
    ~X11SelectionConnection();
    X11SelectionConnection(const X11SelectionConnection&) = delete;
    X11SelectionConnection& operator=(const X11SelectionConnection&) = delete;

    xcb_connection_t* get() const { return m_connection; }
    xcb_window_t root() const { return m_root; }
    bool isBroken() const;
    // XFixes events start here; 0 when the server has no XFixes.
    std::uint8_t xfixesEventBase() const { return m_xfixesEventBase; }

    // Interned on first use, cached for the connection's life.
    xcb_atom_t atom(const QByteArray& name);
    // Names of many atoms in one round trip (empty names for atoms the server does not know).
    QList<QByteArray> atomNames(const QList<xcb_atom_t>& atoms);

    // Hands every event to `handle` until it returns true (that event is returned) or the deadline
    // passes or the connection breaks (nothing is returned).
    Event waitForEvent(Deadline deadline, const std::function<bool(const xcb_generic_event_t&)>& handle);

private:
    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    std::uint8_t m_xfixesEventBase = 0;
    QHash<QByteArray, xcb_atom_t> m_atoms;
    QHash<xcb_atom_t, QByteArray> m_names;
};
