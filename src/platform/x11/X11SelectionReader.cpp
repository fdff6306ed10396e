#include "platform/x11/X11SelectionReader.h"

#include "platform/MimeTypeTable.h"
#include "platform/PasteboardTypes.h"
#include "platform/SelectionDecoding.h"

#include <algorithm>
#include <cstring>
#include <xcb/xfixes.h>

namespace {
// Properties are read in slices of this many 32-bit units (4 MB).
constexpr std::uint32_t propertySliceLongs = 1u << 20;
// Real owners offer a few dozen targets; each one offered costs a name lookup.
constexpr qsizetype maxTargets = 512;
// Memory taken up front for an incremental transfer, whatever size the owner announces.
constexpr qsizetype maxReservedBytes = 16 * 1024 * 1024;
} // namespace

std::unique_ptr<PasteboardReader> X11SelectionReader::open(const ClipboardChange& change,
                                                           std::chrono::steady_clock::time_point deadline)
{
    return std::make_unique<X11SelectionReader>(X11SelectionConnection::forCurrentThread(), change, deadline);
}

X11SelectionReader::X11SelectionReader(X11SelectionConnection* connection, const ClipboardChange& change,
                                       std::chrono::steady_clock::time_point deadline, qint64 maxTransferBytes)
    : m_connection(connection), m_deadline(deadline), m_maxTransferBytes(maxTransferBytes), m_time(change.time)
{
    if (!m_connection || m_connection->root() == XCB_WINDOW_NONE) {
        m_failed = true;
        return;
    }
    xcb_connection_t* c = m_connection->get();
    m_clipboard = m_connection->atom("CLIPBOARD");
    m_property = m_connection->atom("STASHWELL_SELECTION");

    // A fresh requestor window per change: an owner still answering an abandoned transfer of an
    // earlier change writes to a window that no longer exists instead of into this one.
    m_window = xcb_generate_id(c);
    const std::uint32_t values[] = {1, XCB_EVENT_MASK_PROPERTY_CHANGE};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, m_connection->root(), -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK,
                      values);
    if (m_connection->xfixesEventBase() != 0) {
        // Tells us when the owner goes away mid-read, so we fail at once instead of at the deadline.
        xcb_xfixes_select_selection_input(c, m_window, m_clipboard,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    }
    // Asked after the owner-change notifications were selected: a change after this answer fails the
    // reading through them, one before it shows here.
    const auto owner = xcbPtr(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, m_clipboard), nullptr));
    if (!owner || owner->owner == XCB_WINDOW_NONE || owner->owner != change.owner) {
        // The change's owner has given the selection up: its content is gone, and whatever another
        // program offers now belongs to a later change, with gates of its own.
        m_failed = true;
        return;
    }
    m_owner = owner->owner;
}

X11SelectionReader::~X11SelectionReader()
{
    if (m_connection && m_window != XCB_WINDOW_NONE && !m_connection->isBroken()) {
        xcb_destroy_window(m_connection->get(), m_window);
        xcb_flush(m_connection->get());
    }
}

void X11SelectionReader::fail()
{
    m_failed = true;
}

bool X11SelectionReader::noteOwnerEvent(const xcb_generic_event_t& event)
{
    const std::uint8_t base = m_connection->xfixesEventBase();
    if (base == 0 || (event.response_type & 0x7f) != base + XCB_XFIXES_SELECTION_NOTIFY) {
        return false;
    }
    const auto& notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
    if (notify.window != m_window) {
        return false;
    }
    // The owner went away, or some program (the owner itself included) took the selection again:
    // what we would read now belongs to a later change.
    fail();
    return true;
}

std::optional<QList<QByteArray>> X11SelectionReader::offeredTargets()
{
    if (!m_targetsRead) {
        m_targetsRead = true;
        const auto bytes = transfer(m_connection ? m_connection->atom("TARGETS") : xcb_atom_t(XCB_ATOM_NONE));
        if (bytes) {
            m_offeredAtoms.resize(bytes->size() / qsizetype(sizeof(xcb_atom_t)));
            std::memcpy(m_offeredAtoms.data(), bytes->constData(), size_t(m_offeredAtoms.size()) * sizeof(xcb_atom_t));
            QList<QByteArray> names;
            for (const QByteArray& name :
                 m_connection->atomNames(m_offeredAtoms.first(std::min(m_offeredAtoms.size(), maxTargets)))) {
                if (!name.isEmpty() && !names.contains(name)) {
                    names.append(name);
                }
            }
            m_targets = names;
        }
    }
    if (m_failed) {
        return std::nullopt;
    }
    return m_targets;
}

std::optional<bool> X11SelectionReader::offersAnyOf(const QSet<QString>& types)
{
    if (!offeredTargets()) {
        return std::nullopt;
    }
    // Compared as atoms, over the whole list: a marker must not hide behind hundreds of other
    // targets, past the names looked up for types().
    QSet<xcb_atom_t> wanted;
    for (const QString& type : types) {
        QList<QByteArray> targets = MimeTypeTable::targetsFor(type);
        targets.append(type.toUtf8());
        for (const QByteArray& target : targets) {
            wanted.insert(m_connection->atom(target));
        }
    }
    wanted.remove(XCB_ATOM_NONE);
    return std::any_of(m_offeredAtoms.cbegin(), m_offeredAtoms.cend(),
                       [&wanted](xcb_atom_t atom) { return wanted.contains(atom); });
}

bool X11SelectionReader::offers(const QByteArray& target)
{
    const auto targets = offeredTargets();
    // An owner that does not list its targets may still answer for them: ask.
    return targets ? targets->contains(target) : !m_failed;
}

std::optional<QStringList> X11SelectionReader::types()
{
    const auto targets = offeredTargets();
    if (!targets) {
        return std::nullopt;
    }
    return MimeTypeTable::identifiersFor(*targets);
}

std::optional<QByteArray> X11SelectionReader::data(const QString& type)
{
    if (m_failed || type == PasteboardType::fileUrl || type == PasteboardType::color) {
        return std::nullopt;
    }
    QList<QByteArray> candidates = MimeTypeTable::targetsFor(type);
    if (candidates.isEmpty()) {
        candidates.append(type.toUtf8());
    }
    for (const QByteArray& target : candidates) {
        if (!offers(target)) {
            continue;
        }
        if (auto bytes = convert(target)) {
            return bytes;
        }
        if (m_failed) {
            return std::nullopt;
        }
    }
    if (type == PasteboardType::png) {
        return convertedImage();
    }
    return std::nullopt;
}

std::optional<UrlList> X11SelectionReader::urls()
{
    for (const char* target : {MimeTypeTable::uriList, MimeTypeTable::gnomeCopiedFiles}) {
        if (!offers(target)) {
            continue;
        }
        if (const auto bytes = convert(target)) {
            return UriList::parse(*bytes, std::strcmp(target, MimeTypeTable::gnomeCopiedFiles) == 0);
        }
    }
    return std::nullopt;
}

std::optional<QList<QColor>> X11SelectionReader::colors()
{
    if (!offers(MimeTypeTable::xColor)) {
        return std::nullopt;
    }
    const auto bytes = convert(MimeTypeTable::xColor);
    // The server has already put the 16-bit channels in our byte order (format 16).
    const auto color = bytes ? SelectionDecoding::colorFromXColor(*bytes) : std::nullopt;
    if (!color) {
        return std::nullopt;
    }
    return QList<QColor>{*color};
}

std::optional<QByteArray> X11SelectionReader::convertedImage()
{
    const auto targets = offeredTargets();
    if (!targets) {
        return std::nullopt;
    }
    for (const QByteArray& target : MimeTypeTable::convertibleImageTargets(*targets)) {
        const auto bytes = convert(target);
        if (m_failed) {
            return std::nullopt;
        }
        if (!bytes) {
            continue;
        }
        if (auto png = SelectionDecoding::rasterImageAsPng(*bytes, MimeTypeTable::rasterFormatOf(target))) {
            return png;
        }
    }
    return std::nullopt;
}

std::optional<QByteArray> X11SelectionReader::convert(const QByteArray& target)
{
    if (const auto found = m_converted.constFind(target); found != m_converted.constEnd()) {
        return *found;
    }
    auto bytes = transfer(m_connection->atom(target));
    if (!m_failed) {
        m_converted.insert(target, bytes);
    }
    return bytes;
}

std::optional<QByteArray> X11SelectionReader::transfer(xcb_atom_t target)
{
    if (m_failed || m_owner == XCB_WINDOW_NONE || target == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    if (std::chrono::steady_clock::now() >= m_deadline) {
        fail();
        return std::nullopt;
    }
    xcb_connection_t* c = m_connection->get();
    xcb_convert_selection(c, m_window, m_clipboard, target, m_property, m_time);
    xcb_flush(c);

    const auto event = m_connection->waitForEvent(m_deadline, [this](const xcb_generic_event_t& e) {
        if (noteOwnerEvent(e)) {
            return true;
        }
        if ((e.response_type & 0x7f) != XCB_SELECTION_NOTIFY) {
            return false;
        }
        return reinterpret_cast<const xcb_selection_notify_event_t&>(e).requestor == m_window;
    });
    if (!event || m_failed) {
        // Deadline passed, owner gone or connection lost: this change yields nothing.
        fail();
        return std::nullopt;
    }
    const auto& notify = reinterpret_cast<const xcb_selection_notify_event_t&>(*event);
    if (notify.property == XCB_ATOM_NONE) {
        return std::nullopt; // the owner refused this target
    }
    xcb_atom_t type = XCB_ATOM_NONE;
    auto bytes = readProperty(&type);
    if (!bytes) {
        return std::nullopt;
    }
    if (type == m_connection->atom("INCR")) {
        std::uint32_t announced = 0;
        if (bytes->size() >= qsizetype(sizeof(announced))) {
            std::memcpy(&announced, bytes->constData(), sizeof(announced));
        }
        return readIncrementally(announced);
    }
    return bytes;
}

std::optional<QByteArray> X11SelectionReader::readProperty(xcb_atom_t* type)
{
    xcb_connection_t* c = m_connection->get();
    QByteArray bytes;
    std::uint32_t offset = 0;
    for (;;) {
        // Deleting on every slice is safe: the server only deletes once nothing remains after it,
        // and that deletion is what asks an incremental sender for its next piece.
        const auto reply = xcbPtr(xcb_get_property_reply(
            c, xcb_get_property(c, 1, m_window, m_property, XCB_GET_PROPERTY_TYPE_ANY, offset, propertySliceLongs),
            nullptr));
        if (!reply || reply->type == XCB_ATOM_NONE) {
            return std::nullopt;
        }
        *type = reply->type;
        const int length = xcb_get_property_value_length(reply.get());
        if (bytes.size() + length > m_maxTransferBytes) {
            fail();
            return std::nullopt;
        }
        bytes.append(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
        if (reply->bytes_after == 0) {
            return bytes;
        }
        offset += std::uint32_t(length) / 4;
    }
}

std::optional<QByteArray> X11SelectionReader::readIncrementally(qint64 announcedSize)
{
    if (announcedSize > m_maxTransferBytes) {
        fail();
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.reserve(std::min<qint64>(announcedSize, maxReservedBytes));
    for (;;) {
        const auto event = m_connection->waitForEvent(m_deadline, [this](const xcb_generic_event_t& e) {
            if (noteOwnerEvent(e)) {
                return true;
            }
            if ((e.response_type & 0x7f) != XCB_PROPERTY_NOTIFY) {
                return false;
            }
            const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(e);
            return notify.window == m_window && notify.atom == m_property && notify.state == XCB_PROPERTY_NEW_VALUE;
        });
        if (!event || m_failed) {
            fail();
            return std::nullopt;
        }
        xcb_atom_t type = XCB_ATOM_NONE;
        const auto piece = readProperty(&type);
        if (!piece) {
            fail();
            return std::nullopt;
        }
        if (piece->isEmpty()) {
            return bytes;
        }
        if (bytes.size() + piece->size() > m_maxTransferBytes) {
            fail();
            return std::nullopt;
        }
        bytes.append(*piece);
    }
}
