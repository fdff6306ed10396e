#include "platform/wayland/SelectionTracker.h"

namespace {
// Real owners offer a few dozen types; a client listing thousands is not worth the memory.
constexpr qsizetype maxMimeTypes = 512;
} // namespace

void SelectionTracker::offerIntroduced(Handle offer)
{
    m_offers.insert(offer, {});
}

void SelectionTracker::mimeOffered(Handle offer, const QByteArray& mime)
{
    const auto found = m_offers.find(offer);
    if (found != m_offers.end() && found->size() < maxMimeTypes && !mime.isEmpty() && !found->contains(mime)) {
        found->append(mime);
    }
}

SelectionTracker::Change SelectionTracker::selection(Handle offer, QList<Handle>* retired)
{
    for (auto it = m_offers.begin(); it != m_offers.end();) {
        // Everything but the new selection and the primary one is finished with.
        if (it.key() != offer && it.key() != m_primary) {
            retired->append(it.key());
            it = m_offers.erase(it);
        } else {
            ++it;
        }
    }
    m_current = offer;

    Change change;
    change.offer = offer;
    change.mimeTypes = offer ? m_offers.value(offer) : QList<QByteArray>();
    change.counts = m_initialSeen;
    m_initialSeen = true;
    if (m_ownSource && !m_ownSelectionSeen) {
        m_ownSelectionSeen = true;
        change.ours = true;
        change.counts = true;
    } else if (m_ownSource) {
        // Our source is still the selection: the compositor said so again, nothing changed.
        change.ours = true;
        change.counts = false;
    }
    return change;
}

void SelectionTracker::primarySelection(Handle offer, QList<Handle>* retired)
{
    if (m_primary && m_primary != offer && m_primary != m_current) {
        retired->append(m_primary);
        m_offers.remove(m_primary);
    }
    m_primary = offer;
}

void SelectionTracker::ownSourceSet(Handle source)
{
    m_ownSource = source;
    m_ownSelectionSeen = false;
}

bool SelectionTracker::ownSourceCancelled(Handle source)
{
    if (source != m_ownSource) {
        return false;
    }
    m_ownSource = nullptr;
    m_ownSelectionSeen = false;
    return true;
}

QList<SelectionTracker::Handle> SelectionTracker::liveOffers() const
{
    return m_offers.keys();
}
