#include "platform/x11/X11SelectionServer.h"

#include <QSocketNotifier>
#include <QTimer>

namespace {
// A requestor that has not taken the next piece of a large transfer for this long has gone away.
constexpr qint64 stalledTransferMs = 10000;
constexpr int stallCheckIntervalMs = 1000;
// The longest (target, property) list read from a MULTIPLE request, in atoms; a longer one is refused.
constexpr std::uint32_t maxMultipleAtoms = 0x10000;
} // namespace

X11SelectionServer::X11SelectionServer() = default;

X11SelectionServer::~X11SelectionServer()
{
    closeConnection();
}

bool X11SelectionServer::ensureConnection()
{
    if (m_connection && m_connection->isBroken()) {
        closeConnection();
    }
    if (m_connection) {
        return true;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    m_connection = std::make_unique<X11SelectionConnection>(c);
    if (m_connection->root() == XCB_WINDOW_NONE) {
        closeConnection();
        return false;
    }
    // The window that owns the selection. Nothing is selected on it: selection requests and
    // clears reach their owner whatever its event mask.
    m_window = xcb_generate_id(c);
    const std::uint32_t values[] = {1};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, m_connection->root(), -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT, values);
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(c), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11SelectionServer::drain);
    m_stallCheck = new QTimer(this);
    m_stallCheck->setInterval(stallCheckIntervalMs);
    connect(m_stallCheck, &QTimer::timeout, this, &X11SelectionServer::dropStalledTransfers);
    return true;
}

void X11SelectionServer::closeConnection()
{
    // Whatever this connection selected or owned goes with it.
    delete m_notifier;
    m_notifier = nullptr;
    delete m_stallCheck;
    m_stallCheck = nullptr;
    m_connection.reset();
    m_window = XCB_WINDOW_NONE;
    m_owns = false;
    m_served.clear();
    m_transfers.clear();
    m_addedMasks.clear();
}

void X11SelectionServer::take(const PasteboardContent& content, xcb_timestamp_t time)
{
    if (!ensureConnection()) {
        return;
    }
    xcb_connection_t* c = m_connection->get();
    m_served.clear();
    for (ClipboardTarget& target : ClipboardTargets::forContent(content)) {
        const xcb_atom_t targetAtom = m_connection->atom(target.name);
        if (targetAtom != XCB_ATOM_NONE) {
            m_served.append({targetAtom, std::move(target)});
        }
    }
    m_ownedSince = time;
    const xcb_atom_t clipboard = m_connection->atom("CLIPBOARD");
    xcb_set_selection_owner(c, m_window, clipboard, time);
    const auto owner = xcbPtr(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr));
    m_owns = owner && owner->owner == m_window;
    // Waiting for that reply may have queued events that the socket will not announce again.
    drain();
}

void X11SelectionServer::drain()
{
    while (m_connection) {
        const auto event = xcbPtr(xcb_poll_for_event(m_connection->get()));
        if (!event) {
            break;
        }
        handle(*event);
    }
    if (m_connection && m_connection->isBroken()) {
        closeConnection(); // the next content opens a new one
    }
}

void X11SelectionServer::handle(const xcb_generic_event_t& event)
{
    switch (event.response_type & 0x7f) {
    case XCB_SELECTION_REQUEST: {
        const auto& request = reinterpret_cast<const xcb_selection_request_event_t&>(event);
        if (request.owner == m_window) {
            answer(request);
        }
        break;
    }
    case XCB_SELECTION_CLEAR:
        if (reinterpret_cast<const xcb_selection_clear_event_t&>(event).owner == m_window) {
            // Transfers already under way keep their own copy of the bytes and run to their end.
            m_owns = false;
            m_served.clear();
        }
        break;
    case XCB_PROPERTY_NOTIFY: {
        const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (notify.state == XCB_PROPERTY_DELETE) {
            continueTransfer(notify.window, notify.atom);
        }
        break;
    }
    default:
        break; // errors of requests to windows that went away meanwhile are no concern of ours
    }
}

void X11SelectionServer::answer(const xcb_selection_request_event_t& request)
{
    // Clients from before ICCCM name no property: the target doubles as one.
    const xcb_atom_t property = request.property != XCB_ATOM_NONE ? request.property : request.target;
    const bool isCurrent =
        m_owns && request.selection == m_connection->atom("CLIPBOARD") &&
        (request.time == XCB_CURRENT_TIME || m_ownedSince == XCB_CURRENT_TIME || request.time >= m_ownedSince);
    bool served = false;
    if (isCurrent) {
        if (request.target == m_connection->atom("MULTIPLE")) {
            served = request.property != XCB_ATOM_NONE && serveMultiple(request.requestor, property);
        } else {
            qsizetype budget = requestBudgetBytes;
            served = serve(request.requestor, request.target, property, budget);
        }
    }

    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = served ? property : xcb_atom_t(XCB_ATOM_NONE);
    xcb_send_event(m_connection->get(), 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notify));
    xcb_flush(m_connection->get());
}

bool X11SelectionServer::serve(xcb_window_t requestor, xcb_atom_t target, xcb_atom_t property, qsizetype& budget)
{
    if (target == m_connection->atom("TARGETS")) {
        QList<xcb_atom_t> atoms{m_connection->atom("TARGETS"), m_connection->atom("TIMESTAMP"),
                                m_connection->atom("MULTIPLE")};
        for (const Served& served : m_served) {
            atoms.append(served.atom);
        }
        putProperty(requestor, property, XCB_ATOM_ATOM, 32, reinterpret_cast<const char*>(atoms.constData()),
                    atoms.size() * qsizetype(sizeof(xcb_atom_t)));
        return true;
    }
    if (target == m_connection->atom("TIMESTAMP")) {
        const std::uint32_t time = m_ownedSince;
        putProperty(requestor, property, XCB_ATOM_INTEGER, 32, reinterpret_cast<const char*>(&time), sizeof time);
        return true;
    }
    for (const Served& served : m_served) {
        if (served.atom != target) {
            continue;
        }
        const QByteArray& bytes = served.target.bytes;
        if (bytes.size() > chunkBytes) {
            return startTransfer(requestor, property, served.target, target);
        }
        if (bytes.size() > budget) {
            return false;
        }
        budget -= bytes.size();
        putProperty(requestor, property, target, served.target.format, bytes.constData(), bytes.size());
        return true;
    }
    return false;
}

bool X11SelectionServer::serveMultiple(xcb_window_t requestor, xcb_atom_t property)
{
    // The property holds (target, property) pairs; a pair that is not served gets None as its property.
    xcb_connection_t* c = m_connection->get();
    const auto reply = xcbPtr(xcb_get_property_reply(
        c, xcb_get_property(c, 0, requestor, property, XCB_GET_PROPERTY_TYPE_ANY, 0, maxMultipleAtoms), nullptr));
    if (!reply || reply->format != 32 || reply->bytes_after > 0) {
        return false;
    }
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    QList<xcb_atom_t> pairs(values, values + count);
    qsizetype budget = requestBudgetBytes;
    for (int i = 0; i + 1 < count; i += 2) {
        const bool withinCap = i / 2 < maxMultiplePairs;
        if (!withinCap || pairs[i + 1] == XCB_ATOM_NONE || pairs[i] == m_connection->atom("MULTIPLE") ||
            !serve(requestor, pairs[i], pairs[i + 1], budget)) {
            pairs[i + 1] = XCB_ATOM_NONE;
        }
    }
    putProperty(requestor, property, reply->type, 32, reinterpret_cast<const char*>(pairs.constData()),
                pairs.size() * qsizetype(sizeof(xcb_atom_t)));
    return true;
}

void X11SelectionServer::putProperty(xcb_window_t requestor, xcb_atom_t property, xcb_atom_t type, int format,
                                     const char* data, qsizetype bytes)
{
    const auto units = static_cast<std::uint32_t>(bytes / (format / 8));
    xcb_change_property(m_connection->get(), XCB_PROP_MODE_REPLACE, requestor, property, type,
                        static_cast<std::uint8_t>(format), units, data);
}

bool X11SelectionServer::startTransfer(xcb_window_t requestor, xcb_atom_t property, const ClipboardTarget& target,
                                       xcb_atom_t type)
{
    // The deletions must be watched before the announcement, or the first one could be missed.
    if (m_transfers.size() >= maxTransfers || !watchDeletions(requestor)) {
        return false;
    }
    const std::uint32_t size = static_cast<std::uint32_t>(qMin<qsizetype>(target.bytes.size(), 0xFFFFFFFF));
    putProperty(requestor, property, m_connection->atom("INCR"), 32, reinterpret_cast<const char*>(&size), sizeof size);
    Transfer transfer{requestor, property, type, target.format, target.bytes, 0, {}};
    transfer.idle.start();
    m_transfers.append(transfer);
    m_stallCheck->start();
    return true;
}

bool X11SelectionServer::watchDeletions(xcb_window_t requestor)
{
    if (m_addedMasks.contains(requestor)) {
        return true; // another transfer to the same window watches already
    }
    // The mask is this connection's own interest in the window, apart from its owner's. Only the
    // bit that is missing is added, and only that bit is taken away again.
    xcb_connection_t* c = m_connection->get();
    const auto attributes =
        xcbPtr(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, requestor), nullptr));
    if (!attributes) {
        return false; // the window has gone
    }
    const std::uint32_t added = XCB_EVENT_MASK_PROPERTY_CHANGE & ~attributes->your_event_mask;
    if (added != 0) {
        const std::uint32_t mask = attributes->your_event_mask | added;
        xcb_change_window_attributes(c, requestor, XCB_CW_EVENT_MASK, &mask);
    }
    m_addedMasks.insert(requestor, added);
    return true;
}

void X11SelectionServer::unwatchDeletions(xcb_window_t requestor)
{
    const std::uint32_t added = m_addedMasks.take(requestor);
    if (added == 0) {
        return;
    }
    xcb_connection_t* c = m_connection->get();
    const auto attributes =
        xcbPtr(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, requestor), nullptr));
    if (attributes) {
        const std::uint32_t mask = attributes->your_event_mask & ~added;
        xcb_change_window_attributes(c, requestor, XCB_CW_EVENT_MASK, &mask);
    }
}

void X11SelectionServer::continueTransfer(xcb_window_t requestor, xcb_atom_t property)
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
        if (piece == 0) {
            finishTransfer(i);
        } else {
            transfer.offset += piece;
            transfer.idle.restart();
        }
        xcb_flush(m_connection->get());
        return;
    }
}

void X11SelectionServer::finishTransfer(qsizetype index)
{
    const xcb_window_t requestor = m_transfers[index].requestor;
    m_transfers.removeAt(index);
    if (m_transfers.isEmpty()) {
        m_stallCheck->stop();
    }
    for (const Transfer& other : m_transfers) {
        if (other.requestor == requestor) {
            return;
        }
    }
    unwatchDeletions(requestor);
    xcb_flush(m_connection->get());
}

void X11SelectionServer::dropStalledTransfers()
{
    for (qsizetype i = m_transfers.size() - 1; i >= 0; --i) {
        if (m_transfers[i].idle.elapsed() > stalledTransferMs) {
            finishTransfer(i);
        }
    }
    drain();
}
