// The clipboard in a Wayland session, through data control on our own connection: every selection
// change moves the counter once (our own included), readers work on the capture thread, and a pick
// is served from the Wayland thread until another program takes the clipboard.
#pragma once

#include "platform/Clipboard.h"
#include "platform/PasteboardReader.h"

#include <QList>
#include <memory>

class SelectionSession;
class WaylandConnection;

class WaylandClipboard final : public Clipboard, public PasteboardReaderFactory
{
    Q_OBJECT
public:
    // Before the connection starts.
    explicit WaylandClipboard(WaylandConnection& connection, QObject* parent = nullptr);
    ~WaylandClipboard() override;

    // Whether the compositor offers data control; without it nothing is seen or set.
    bool isAvailable() const;
    // "ext_data_control_manager_v1 v1" or "zwlr_data_control_manager_v1 v2"; empty without one.
    QByteArray protocol() const;

    qint64 changeCount() const override { return m_changeCount; }
    ClipboardChange lastChange() const override { return m_lastChange; }
    void replaceContents(const PasteboardContent& content) override;
    // Safe on any thread.
    std::unique_ptr<PasteboardReader> open(const ClipboardChange& change,
                                           std::chrono::steady_clock::time_point deadline) override;

    // The MIME types of the latest change, as offered (empty for an empty clipboard).
    const QList<QByteArray>& offeredMimeTypes() const { return m_offered; }
    // Whether the latest change was our own content.
    bool latestChangeIsOurs() const { return m_latestIsOurs; }

private:
    std::shared_ptr<SelectionSession> m_session;
    qint64 m_changeCount = 0;
    ClipboardChange m_lastChange;
    QList<QByteArray> m_offered;
    bool m_latestIsOurs = false;
};
