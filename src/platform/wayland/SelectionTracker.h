// Follows one seat's clipboard through the data-control events: the MIME types of each offer, which
// offer is the selection now, which selection is our own, and which offers are done with. No
// protocol calls here: offers and sources are opaque handles.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <cstdint>

class SelectionTracker
{
public:
    using Handle = void*;

    struct Change
    {
        // Whether this is a change for the clipboard's counter: the selection the compositor
        // reports when the device is made is what the clipboard held before us, not a change.
        bool counts = false;
        bool ours = false;
        Handle offer = nullptr; // nullptr: the selection is empty
        QList<QByteArray> mimeTypes;
    };

    void offerIntroduced(Handle offer);
    void mimeOffered(Handle offer, const QByteArray& mime);

    // The selection is now `offer`. Offers that are no longer needed (the previous selection, offers
    // never used) are appended to `retired`, for the caller to destroy.
    Change selection(Handle offer, QList<Handle>* retired);
    // The primary selection is followed only to release its offers.
    void primarySelection(Handle offer, QList<Handle>* retired);

    // We set the selection with `source`: the selection event that follows is ours, while the source
    // has not been cancelled (another owner's selection cancels it first).
    void ownSourceSet(Handle source);
    // Whether `source` was our current source (its cancellation is the end of our ownership).
    bool ownSourceCancelled(Handle source);

    Handle current() const { return m_current; }
    Handle primary() const { return m_primary; }
    Handle ownSource() const { return m_ownSource; }

    // Every offer still alive (for the teardown).
    QList<Handle> liveOffers() const;

private:
    QHash<Handle, QList<QByteArray>> m_offers; // introduced, not yet destroyed
    Handle m_current = nullptr;
    Handle m_primary = nullptr;
    Handle m_ownSource = nullptr;
    bool m_ownSelectionSeen = false;
    bool m_initialSeen = false;
};
