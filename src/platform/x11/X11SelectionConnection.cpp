#include "platform/x11/X11SelectionConnection.h"

#include <algorithm>
#include <poll.h>
#include <xcb/xfixes.h>

X11SelectionConnection* X11SelectionConnection::forCurrentThread()
{
    // One per thread: the capture worker keeps its connection between changes, and a connection is
    // never shared between threads that could both be waiting on it.
    thread_local std::unique_ptr<X11SelectionConnection> current;
    if (current && current->isBroken()) {
        current.reset();
    }
    if (!current) {
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection)) {
            xcb_disconnect(connection);
            return nullptr;
        }
        current = std::make_unique<X11SelectionConnection>(connection);
    }
    return current.get();
}

X11SelectionConnection::X11SelectionConnection(xcb_connection_t* connection) : m_connection(connection)
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    m_root = screen ? screen->root : xcb_window_t(XCB_WINDOW_NONE);

    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(m_connection, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        // XFixes requests are only valid after the version handshake.
        const auto version = xcbPtr(xcb_xfixes_query_version_reply(
            m_connection, xcb_xfixes_query_version(m_connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
            nullptr));
        if (version) {
            m_xfixesEventBase = xfixes->first_event;
        }
    }
}

X11SelectionConnection::~X11SelectionConnection()
{
    xcb_disconnect(m_connection);
}

bool X11SelectionConnection::isBroken() const
{
    return xcb_connection_has_error(m_connection) != 0;
}

xcb_atom_t X11SelectionConnection::atom(const QByteArray& name)
{
    if (const auto found = m_atoms.constFind(name); found != m_atoms.constEnd()) {
        return *found;
    }
    const xcb_atom_t value = X11Connection::internAtom(m_connection, name.constData());
    if (value != XCB_ATOM_NONE) {
        m_atoms.insert(name, value);
        m_names.insert(value, name);
    }
    return value;
}

QList<QByteArray> X11SelectionConnection::atomNames(const QList<xcb_atom_t>& atoms)
{
    QList<xcb_get_atom_name_cookie_t> cookies(atoms.size());
    for (qsizetype i = 0; i < atoms.size(); ++i) {
        if (!m_names.contains(atoms[i]) && atoms[i] != XCB_ATOM_NONE) {
            cookies[i] = xcb_get_atom_name(m_connection, atoms[i]);
        }
    }
    QList<QByteArray> names;
    names.reserve(atoms.size());
    for (qsizetype i = 0; i < atoms.size(); ++i) {
        if (const auto found = m_names.constFind(atoms[i]); found != m_names.constEnd()) {
            names.append(*found);
            continue;
        }
        if (atoms[i] == XCB_ATOM_NONE) {
            names.append(QByteArray());
            continue;
        }
        const auto reply = xcbPtr(xcb_get_atom_name_reply(m_connection, cookies[i], nullptr));
        QByteArray name;
        if (reply) {
            name = QByteArray(xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get()));
            m_names.insert(atoms[i], name);
            m_atoms.insert(name, atoms[i]);
        }
        names.append(name);
    }
    return names;
}

X11SelectionConnection::Event
X11SelectionConnection::waitForEvent(Deadline deadline, const std::function<bool(const xcb_generic_event_t&)>& handle)
{
    for (;;) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(m_connection)) {
            Event event = xcbPtr(raw);
            if (handle(*event)) {
                return event;
            }
        }
        if (isBroken()) {
            return xcbPtr<xcb_generic_event_t>(nullptr);
        }
        const auto remaining =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (remaining <= 0) {
            return xcbPtr<xcb_generic_event_t>(nullptr);
        }
        pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        // Rounded up so the last wait does not spin on a 0 ms timeout.
        ::poll(&descriptor, 1, static_cast<int>(std::min<long long>(remaining + 1, 1000)));
    }
}
