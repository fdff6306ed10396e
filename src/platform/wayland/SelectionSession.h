// The clipboard's side on the Wayland thread: follows the selection, serves our own content, and
// answers readers on other threads from a snapshot of the current selection.
#pragma once

#include "platform/ClipboardTargets.h"
#include "platform/wayland/SelectionDevice.h"
#include "platform/wayland/SelectionTracker.h"
#include "platform/wayland/SelectionWriter.h"

#include <QHash>
#include <functional>
#include <future>
#include <memory>
#include <mutex>

class WaylandConnection;

class SelectionSession final : public SelectionDevice::Events
{
public:
    using Served = std::shared_ptr<const QList<ClipboardTarget>>;
    using Offer = SelectionDevice::Offer;
    using Source = SelectionDevice::Source;

    // The selection as readers see it.
    struct Snapshot
    {
        std::uint64_t serial = 0; // moves at every selection event, counted or not
        QList<QByteArray> mimeTypes;
        Served own;             // our content, when the selection is ours
        bool available = false; // a data-control device exists
    };

    // `changed` runs on the Wayland thread after each counted change, with the snapshot's serial of
    // it (the snapshot is already up to date then).
    using Changed = std::function<void(const SelectionTracker::Change&, std::uint64_t serial)>;
    SelectionSession(WaylandConnection& connection, Changed changed);
    ~SelectionSession() override;

    // The protocol in use ("ext_data_control_manager_v1 v1"), empty when there is none.
    QByteArray protocol() const { return m_protocol; }

    // Any thread.
    Snapshot snapshot() const;
    // Any thread: asks the owner of the selection `serial` to write `mime` into `fd` (which this
    // takes). False in the future when that selection is no longer the current one.
    std::future<bool> receive(std::uint64_t serial, const QByteArray& mime, int fd);
    // Any thread: sets the selection to exactly these representations, served until replaced.
    // False when there is no data-control device (nothing was set).
    bool replace(QList<ClipboardTarget> targets);

private:
    void offerIntroduced(Offer offer) override;
    void mimeOffered(Offer offer, const QByteArray& mime) override;
    void selection(Offer offer) override;
    void primarySelection(Offer offer) override;
    void send(Source source, const QByteArray& mime, int fd) override;
    void cancelled(Source source) override;
    void finished() override;
    void destroyRetired(const QList<SelectionTracker::Handle>& retired);
    void teardown();

    WaylandConnection& m_connection;
    Changed m_changed;
    std::unique_ptr<SelectionDevice> m_device;
    QByteArray m_protocol;
    // Wayland thread only:
    SelectionTracker m_tracker;
    SelectionWriter m_writer;
    QHash<SelectionDevice::Source, Served> m_sources; // ours, alive until cancelled
    // Shared with readers:
    mutable std::mutex m_mutex;
    Snapshot m_snapshot;
};
