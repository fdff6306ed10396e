#include "platform/x11/X11Clipboard.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11SelectionReader.h"

#include <QCoreApplication>
#include <xcb/xfixes.h>

X11Clipboard::X11Clipboard(QObject* parent) : Clipboard(parent)
{
    xcb_connection_t* c = X11Connection::connection();
    if (!c) {
        return;
    }
    // Qt has already done the XFixes version handshake on its connection (it watches the clipboard
    // the same way); asking again with other numbers could change what Qt gets.
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present) {
        return;
    }
    m_xfixesEventBase = xfixes->first_event;
    m_selection = X11Connection::atom("CLIPBOARD");
    m_window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, X11Connection::rootWindow(), -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_xfixes_select_selection_input(c, m_window, m_selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(c);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11Clipboard::~X11Clipboard()
{
    if (m_window == 0) {
        return;
    }
    if (QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    if (xcb_connection_t* c = X11Connection::connection()) {
        xcb_destroy_window(c, m_window);
        xcb_flush(c);
    }
}

bool X11Clipboard::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != m_xfixesEventBase + XCB_XFIXES_SELECTION_NOTIFY) {
        return false;
    }
    const auto* notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
    if (notify->window != m_window || notify->selection != m_selection) {
        return false;
    }
    // Every owner change counts, our own included (the monitor skips those it was told about). The
    // new owner and the time it gave for taking the selection name this change's content: an owner
    // that took the selection again since refuses a request stamped with an earlier time.
    ++m_changeCount;
    // When the owner's window or connection went away, nobody owns the selection any more.
    const bool hasOwner = notify->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER;
    m_lastChange =
        ClipboardChange{hasOwner ? notify->owner : xcb_window_t(XCB_WINDOW_NONE), notify->selection_timestamp};
    emit changed();
    // Qt selects the same notification on its own window; it sees its own copy of the event.
    return false;
}

qint64 X11Clipboard::changeCount() const
{
    return m_changeCount;
}

ClipboardChange X11Clipboard::lastChange() const
{
    return m_lastChange;
}

void X11Clipboard::replaceContents(const PasteboardContent& content)
{
    m_owner.replace(content);
}

std::unique_ptr<PasteboardReader> X11Clipboard::open(const ClipboardChange& change,
                                                     std::chrono::steady_clock::time_point deadline)
{
    return X11SelectionReader::open(change, deadline);
}
