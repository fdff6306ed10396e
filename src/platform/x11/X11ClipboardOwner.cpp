#include "platform/x11/X11ClipboardOwner.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11ServerTime.h"

#include <QCoreApplication>

namespace {
// A requestor that has not taken the next piece of a large transfer for this long has gone away.
constexpr qint64 stalledTransferMs = 10000;

xcb_atom_t atom(const char* name)
{
    return X11Connection::atom(name);
}
} // namespace

X11ClipboardOwner::X11ClipboardOwner(QObject* parent) : QObject(parent)
{
    m_stallCheck.setInterval(1000);
    connect(&m_stallCheck, &QTimer::timeout, this, &X11ClipboardOwner::dropStalledTransfers);
}

X11ClipboardOwner::~X11ClipboardOwner()
{
    if (m_filterInstalled && QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    if (m_connection && m_window != XCB_WINDOW_NONE) {
        xcb_destroy_window(m_connection, m_window);
        xcb_flush(m_connection);
    }
}

bool X11ClipboardOwner::ensureWindow()
{
    if (m_window != XCB_WINDOW_NONE) {
        return true;
    }
    m_connection = X11Connection::connection();
    const xcb_window_t root = X11Connection::rootWindow();
    if (!m_connection || root == XCB_WINDOW_NONE || !QCoreApplication::instance()) {
        return false;
    }
    // A window of our own, apart from Qt's clipboard window, so that requests for our content reach
    // this filter and never Qt's clipboard code.
    m_window = xcb_generate_id(m_connection);
    const std::uint32_t values[] = {1};
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, root, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT, values);
    QCoreApplication::instance()->installNativeEventFilter(this);
    m_filterInstalled = true;
    return true;
}

void X11ClipboardOwner::replace(const PasteboardContent& content)
{
    if (!ensureWindow()) {
        return;
    }
    m_served.clear();
    for (ClipboardTarget& target : ClipboardTargets::forContent(content)) {
        const xcb_atom_t targetAtom = atom(target.name.constData());
        if (targetAtom != XCB_ATOM_NONE) {
            m_served.append({targetAtom, std::move(target)});
        }
    }
    m_ownedSince = X11ServerTime::now();
    xcb_set_selection_owner(m_connection, m_window, atom("CLIPBOARD"), m_ownedSince);
    const auto owner = xcbPtr(
        xcb_get_selection_owner_reply(m_connection, xcb_get_selection_owner(m_connection, atom("CLIPBOARD")), nullptr));
    m_owns = owner && owner->owner == m_window;
}

bool X11ClipboardOwner::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (m_window == XCB_WINDOW_NONE || eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_SELECTION_REQUEST: {
        const auto* request = reinterpret_cast<const xcb_selection_request_event_t*>(event);
        if (request->owner != m_window) {
            return false;
        }
        answer(*request);
        return true;
    }
    case XCB_SELECTION_CLEAR: {
        const auto* clear = reinterpret_cast<const xcb_selection_clear_event_t*>(event);
        if (clear->owner != m_window) {
            return false;
        }
        // Transfers already under way keep their own copy of the bytes and run to their end.
        m_owns = false;
        m_served.clear();
        return true;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (notify->state != XCB_PROPERTY_DELETE) {
            return false;
        }
        for (const Transfer& transfer : m_transfers) {
            if (transfer.requestor == notify->window && transfer.property == notify->atom) {
                continueTransfer(notify->window, notify->atom);
                return true;
            }
        }
        return false;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto* destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
        for (qsizetype i = m_transfers.size() - 1; i >= 0; --i) {
            if (m_transfers[i].requestor == destroyed->window) {
                m_transfers.removeAt(i);
            }
        }
        return false;
    }
    default:
        return false;
    }
}

void X11ClipboardOwner::answer(const xcb_selection_request_event_t& request)
{
    // Clients from before ICCCM name no property: the target doubles as one.
    const xcb_atom_t property = request.property != XCB_ATOM_NONE ? request.property : request.target;
    const bool isCurrent =
        m_owns && request.selection == atom("CLIPBOARD") &&
        (request.time == XCB_CURRENT_TIME || m_ownedSince == XCB_CURRENT_TIME || request.time >= m_ownedSince);
    bool served = false;
    if (isCurrent) {
        if (request.target == atom("MULTIPLE")) {
            if (request.property != XCB_ATOM_NONE) {
                serveMultiple(request.requestor, property);
                served = true;
            }
        } else {
            served = serve(request.requestor, request.target, property);
        }
    }

    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = served ? property : xcb_atom_t(XCB_ATOM_NONE);
    const auto cookie = xcb_send_event_checked(m_connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                                               reinterpret_cast<const char*>(&notify));
    // A requestor that went away meanwhile is no error of ours.
    xcb_discard_reply(m_connection, cookie.sequence);
    xcb_flush(m_connection);
}

bool X11ClipboardOwner::serve(xcb_window_t requestor, xcb_atom_t target, xcb_atom_t property)
{
    if (target == atom("TARGETS")) {
        QList<xcb_atom_t> atoms{atom("TARGETS"), atom("TIMESTAMP"), atom("MULTIPLE")};
        for (const Served& served : m_served) {
            atoms.append(served.atom);
        }
        putProperty(requestor, property, XCB_ATOM_ATOM, 32, reinterpret_cast<const char*>(atoms.constData()),
                    atoms.size() * qsizetype(sizeof(xcb_atom_t)));
        return true;
    }
    if (target == atom("TIMESTAMP")) {
        const std::uint32_t time = m_ownedSince;
        putProperty(requestor, property, XCB_ATOM_INTEGER, 32, reinterpret_cast<const char*>(&time), sizeof time);
        return true;
    }
    for (const Served& served : m_served) {
        if (served.atom != target) {
            continue;
        }
        const QByteArray& bytes = served.target.bytes;
        if (bytes.size() <= chunkBytes) {
            putProperty(requestor, property, target, served.target.format, bytes.constData(), bytes.size());
            return true;
        }
        // Too large for one property: announce INCR and hand out pieces as the requestor takes them.
        // The events must be selected before the announcement, or the first deletion could be missed.
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        const auto select = xcb_change_window_attributes_checked(m_connection, requestor, XCB_CW_EVENT_MASK, &mask);
        xcb_discard_reply(m_connection, select.sequence);
        const std::uint32_t size = static_cast<std::uint32_t>(qMin<qsizetype>(bytes.size(), 0xFFFFFFFF));
        putProperty(requestor, property, atom("INCR"), 32, reinterpret_cast<const char*>(&size), sizeof size);
        Transfer transfer{requestor, property, target, served.target.format, bytes, 0, {}};
        transfer.idle.start();
        m_transfers.append(transfer);
        if (!m_stallCheck.isActive()) {
            m_stallCheck.start();
        }
        return true;
    }
    return false;
}

void X11ClipboardOwner::serveMultiple(xcb_window_t requestor, xcb_atom_t property)
{
    // The property holds (target, property) pairs; a pair that cannot be served gets None as its property.
    const auto reply = xcbPtr(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, requestor, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0x10000),
        nullptr));
    if (!reply || reply->format != 32) {
        return;
    }
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    QList<xcb_atom_t> pairs(values, values + count);
    for (int i = 0; i + 1 < count; i += 2) {
        if (pairs[i + 1] == XCB_ATOM_NONE || pairs[i] == atom("MULTIPLE") ||
            !serve(requestor, pairs[i], pairs[i + 1])) {
            pairs[i + 1] = XCB_ATOM_NONE;
        }
    }
    putProperty(requestor, property, reply->type, 32, reinterpret_cast<const char*>(pairs.constData()),
                pairs.size() * qsizetype(sizeof(xcb_atom_t)));
}

void X11ClipboardOwner::putProperty(xcb_window_t requestor, xcb_atom_t property, xcb_atom_t type, int format,
                                    const char* data, qsizetype bytes)
{
    const auto units = static_cast<std::uint32_t>(bytes / (format / 8));
    const auto cookie = xcb_change_property_checked(m_connection, XCB_PROP_MODE_REPLACE, requestor, property, type,
                                                    static_cast<std::uint8_t>(format), units, data);
    xcb_discard_reply(m_connection, cookie.sequence);
}

void X11ClipboardOwner::continueTransfer(xcb_window_t requestor, xcb_atom_t property)
{
    for (qsizetype i = 0; i < m_transfers.size(); ++i) {
        Transfer& transfer = m_transfers[i];
        if (transfer.requestor != requestor || transfer.property != property) {
            continue;
        }
        const qsizetype piece = qMin(chunkBytes, transfer.bytes.size() - transfer.offset);
        // The last piece is empty: that tells the requestor the transfer is complete.
        putProperty(requestor, property, transfer.type, transfer.format, transfer.bytes.constData() + transfer.offset,
                    piece);
        xcb_flush(m_connection);
        if (piece == 0) {
            finishTransfer(i);
        } else {
            transfer.offset += piece;
            transfer.idle.restart();
        }
        return;
    }
}

void X11ClipboardOwner::finishTransfer(qsizetype index)
{
    const xcb_window_t requestor = m_transfers[index].requestor;
    m_transfers.removeAt(index);
    for (const Transfer& other : m_transfers) {
        if (other.requestor == requestor) {
            return;
        }
    }
    const std::uint32_t none = XCB_EVENT_MASK_NO_EVENT;
    const auto cookie = xcb_change_window_attributes_checked(m_connection, requestor, XCB_CW_EVENT_MASK, &none);
    xcb_discard_reply(m_connection, cookie.sequence);
    xcb_flush(m_connection);
    if (m_transfers.isEmpty()) {
        m_stallCheck.stop();
    }
}

void X11ClipboardOwner::dropStalledTransfers()
{
    for (qsizetype i = m_transfers.size() - 1; i >= 0; --i) {
        if (m_transfers[i].idle.elapsed() > stalledTransferMs) {
            finishTransfer(i);
        }
    }
    if (m_transfers.isEmpty()) {
        m_stallCheck.stop();
    }
}
