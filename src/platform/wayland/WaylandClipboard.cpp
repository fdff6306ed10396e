#include "platform/wayland/WaylandClipboard.h"

#include "platform/ClipboardTargets.h"
#include "platform/wayland/SelectionSession.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandSelectionReader.h"

#include <QPointer>

WaylandClipboard::WaylandClipboard(WaylandConnection& connection, QObject* parent) : Clipboard(parent)
{
    QPointer<WaylandClipboard> self(this);
    m_session = std::make_shared<SelectionSession>(
        connection, [self](const SelectionTracker::Change& change, std::uint64_t serial) {
            // From the Wayland thread to ours, in order.
            QMetaObject::invokeMethod(
                self.data(),
                [self, mimeTypes = change.mimeTypes, ours = change.ours, serial] {
                    if (!self) {
                        return;
                    }
                    ++self->m_changeCount;
                    // The selection's serial stands for its owner: a reader of this change reads
                    // nothing once another selection has come.
                    self->m_lastChange = ClipboardChange{serial, 0};
                    self->m_offered = mimeTypes;
                    self->m_latestIsOurs = ours;
                    emit self->changed();
                },
                Qt::QueuedConnection);
        });
}

WaylandClipboard::~WaylandClipboard() = default;

bool WaylandClipboard::isAvailable() const
{
    return !m_session->protocol().isEmpty();
}

QByteArray WaylandClipboard::protocol() const
{
    return m_session->protocol();
}

void WaylandClipboard::replaceContents(const PasteboardContent& content)
{
    if (m_session->replace(ClipboardTargets::forContent(content))) {
        return;
    }
    // Nothing could be set, yet the caller has marked a change of its own as coming: it happens
    // here, or the next copy of the user's would be taken for it and lost.
    QMetaObject::invokeMethod(
        this,
        [this] {
            ++m_changeCount;
            m_lastChange = ClipboardChange{};
            m_offered.clear();
            m_latestIsOurs = true;
            emit changed();
        },
        Qt::QueuedConnection);
}

std::unique_ptr<PasteboardReader> WaylandClipboard::open(const ClipboardChange& change,
                                                         std::chrono::steady_clock::time_point deadline)
{
    return std::make_unique<WaylandSelectionReader>(m_session, change.owner, deadline);
}
