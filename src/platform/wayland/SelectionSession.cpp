#include "platform/wayland/SelectionSession.h"

#include "platform/wayland/WaylandConnection.h"

#include <unistd.h>

SelectionSession::SelectionSession(WaylandConnection& connection, Changed changed)
    : m_connection(connection), m_changed(std::move(changed)), m_writer(connection)
{
    m_device = SelectionDevice::create(connection, *this, &m_protocol);
    m_snapshot.available = m_device != nullptr;
    if (m_device) {
        m_connection.atTeardown([this] { teardown(); });
    }
}

SelectionSession::~SelectionSession() = default;

void SelectionSession::teardown()
{
    if (!m_device) {
        return;
    }
    for (SelectionTracker::Handle offer : m_tracker.liveOffers()) {
        m_device->destroyOffer(offer);
    }
    for (auto it = m_sources.cbegin(); it != m_sources.cend(); ++it) {
        m_device->destroySource(it.key());
    }
    m_sources.clear();
    m_device.reset();
}

SelectionSession::Snapshot SelectionSession::snapshot() const
{
    std::lock_guard lock(m_mutex);
    return m_snapshot;
}

std::future<bool> SelectionSession::receive(std::uint64_t serial, const QByteArray& mime, int fd)
{
    auto answer = std::make_shared<std::promise<bool>>();
    std::future<bool> result = answer->get_future();
    m_connection.post([this, serial, mime, fd, answer] {
        const bool current = m_device && m_tracker.current() && snapshot().serial == serial;
        if (current) {
            // The request carries a copy of the descriptor: ours is closed right away, so the reader
            // sees the end of the data when the owner closes its copy.
            m_device->receive(m_tracker.current(), mime, fd);
        }
        ::close(fd);
        answer->set_value(current);
    });
    return result;
}

bool SelectionSession::replace(QList<ClipboardTarget> targets)
{
    if (!m_device) {
        return false;
    }
    auto served = std::make_shared<const QList<ClipboardTarget>>(std::move(targets));
    m_connection.post([this, served] {
        if (!m_device) {
            return;
        }
        QList<QByteArray> names;
        for (const ClipboardTarget& target : *served) {
            names.append(target.name);
        }
        const SelectionDevice::Source source = m_device->setSelection(names);
        m_sources.insert(source, served);
        m_tracker.ownSourceSet(source);
    });
    return true;
}

void SelectionSession::offerIntroduced(Offer offer)
{
    m_tracker.offerIntroduced(offer);
}

void SelectionSession::mimeOffered(Offer offer, const QByteArray& mime)
{
    m_tracker.mimeOffered(offer, mime);
}

void SelectionSession::selection(Offer offer)
{
    QList<SelectionTracker::Handle> retired;
    const SelectionTracker::Change change = m_tracker.selection(offer, &retired);
    destroyRetired(retired);
    std::uint64_t serial = 0;
    {
        std::lock_guard lock(m_mutex);
        serial = ++m_snapshot.serial;
        m_snapshot.mimeTypes = change.mimeTypes;
        m_snapshot.own = change.ours ? m_sources.value(m_tracker.ownSource()) : Served();
    }
    if (change.counts && m_changed) {
        m_changed(change, serial);
    }
}

void SelectionSession::primarySelection(Offer offer)
{
    QList<SelectionTracker::Handle> retired;
    m_tracker.primarySelection(offer, &retired);
    destroyRetired(retired);
}

void SelectionSession::destroyRetired(const QList<SelectionTracker::Handle>& retired)
{
    for (SelectionTracker::Handle offer : retired) {
        if (m_device) {
            m_device->destroyOffer(offer);
        }
    }
}

void SelectionSession::send(Source source, const QByteArray& mime, int fd)
{
    const Served served = m_sources.value(source);
    if (served) {
        for (const ClipboardTarget& target : *served) {
            if (target.name == mime) {
                m_writer.send(fd, target.bytes);
                return;
            }
        }
    }
    ::close(fd); // a type we never offered: the reader gets nothing
}

void SelectionSession::cancelled(Source source)
{
    m_tracker.ownSourceCancelled(source);
    m_sources.remove(source);
    if (m_device) {
        m_device->destroySource(source);
    }
}

void SelectionSession::finished()
{
    // The seat went away: nothing more comes through this device. It is destroyed once its own
    // event has been handled.
    m_connection.post([this] { teardown(); });
    std::lock_guard lock(m_mutex);
    m_snapshot = Snapshot();
}
