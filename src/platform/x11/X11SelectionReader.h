// Reads the CLIPBOARD selection's content from its owner for one change, within one deadline.
#pragma once

#include "platform/PasteboardReader.h"
#include "platform/x11/X11SelectionConnection.h"

#include <QHash>
#include <optional>

class X11SelectionReader final : public PasteboardReader
{
public:
    static constexpr qint64 defaultMaxTransferBytes = transferCapBytes;

    // A reader of `change` on the calling thread's own connection; when there is no X server it
    // fails at once.
    static std::unique_ptr<PasteboardReader> open(const ClipboardChange& change,
                                                  std::chrono::steady_clock::time_point deadline);

    // Fails at once unless `change.owner` owns the selection now; asks for every target with
    // `change.time`, so that an owner that took the selection again since refuses.
    X11SelectionReader(X11SelectionConnection* connection, const ClipboardChange& change,
                       std::chrono::steady_clock::time_point deadline,
                       qint64 maxTransferBytes = defaultMaxTransferBytes);
    ~X11SelectionReader() override;
    X11SelectionReader(const X11SelectionReader&) = delete;
    X11SelectionReader& operator=(const X11SelectionReader&) = delete;

    std::optional<QStringList> types() override;
    std::optional<bool> offersAnyOf(const QSet<QString>& types) override;
    std::optional<QByteArray> data(const QString& type) override;
    std::optional<UrlList> urls() override;
    std::optional<QList<QColor>> colors() override;
    bool hasFailed() const override { return m_failed; }

    // The raw targets the owner offers, or nothing when it does not say (or the change failed).
    std::optional<QList<QByteArray>> offeredTargets();

private:
    bool offers(const QByteArray& target);
    std::optional<QByteArray> convert(const QByteArray& target);
    std::optional<QByteArray> transfer(xcb_atom_t target);
    std::optional<QByteArray> readIncrementally(qint64 announcedSize);
    // Reads (and deletes) the whole property; nothing when it is gone or too large.
    std::optional<QByteArray> readProperty(xcb_atom_t* type);
    std::optional<QByteArray> convertedImage();
    bool noteOwnerEvent(const xcb_generic_event_t& event);
    void fail();

    X11SelectionConnection* m_connection;
    std::chrono::steady_clock::time_point m_deadline;
    qint64 m_maxTransferBytes;
    xcb_window_t m_window = XCB_WINDOW_NONE;
    xcb_window_t m_owner = XCB_WINDOW_NONE;
    xcb_timestamp_t m_time = XCB_CURRENT_TIME;
    xcb_atom_t m_clipboard = XCB_ATOM_NONE;
    xcb_atom_t m_property = XCB_ATOM_NONE;
    bool m_failed = false;
    bool m_targetsRead = false;
    std::optional<QList<QByteArray>> m_targets; // the names of the first maxTargets only
    QList<xcb_atom_t> m_offeredAtoms;           // every target offered
    QHash<QByteArray, std::optional<QByteArray>> m_converted;
};
