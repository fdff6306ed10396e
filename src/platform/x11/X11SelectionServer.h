// Answers other programs' requests for our CLIPBOARD content, on a thread and an X connection of
// its own: a requestor can neither hold up the main thread nor touch the event masks that Qt keeps
// on its connection for our windows.
#pragma once

#include "platform/PasteboardContent.h"
#include "platform/ClipboardTargets.h"
#include "platform/x11/X11SelectionConnection.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <memory>

class QSocketNotifier;
class QTimer;

class X11SelectionServer final : public QObject
{
    Q_OBJECT
public:
    X11SelectionServer();
    ~X11SelectionServer() override;

    // Takes the selection with exactly this content, as of the server time `time` (an empty content
    // owns it with no targets). Runs on the server's thread.
    void take(const PasteboardContent& content, xcb_timestamp_t time);

    // Large data goes out in pieces of this size (INCR) rather than in one property.
    static constexpr qsizetype chunkBytes = 1 << 20;
    // What one request may cost: pairs of a MULTIPLE request beyond these are refused.
    static constexpr int maxMultiplePairs = 64;
    static constexpr qsizetype requestBudgetBytes = 8 << 20;
    // INCR transfers under way at once, for all requestors together.
    static constexpr int maxTransfers = 32;

private:
    bool ensureConnection();
    void closeConnection();
    void drain();
    void handle(const xcb_generic_event_t& event);
    void answer(const xcb_selection_request_event_t& request);
    bool serve(xcb_window_t requestor, xcb_atom_t target, xcb_atom_t property, qsizetype& budget);
    bool serveMultiple(xcb_window_t requestor, xcb_atom_t property);
    void putProperty(xcb_window_t requestor, xcb_atom_t property, xcb_atom_t type, int format, const char* data,
                     qsizetype bytes);
    bool startTransfer(xcb_window_t requestor, xcb_atom_t property, const ClipboardTarget& target, xcb_atom_t type);
    bool watchDeletions(xcb_window_t requestor);
    void unwatchDeletions(xcb_window_t requestor);
    void continueTransfer(xcb_window_t requestor, xcb_atom_t property);
    void finishTransfer(qsizetype index);
    void dropStalledTransfers();

    struct Served
    {
        xcb_atom_t atom;
        ClipboardTarget target;
    };

    // An INCR transfer: the next piece goes out each time the requestor deletes the property.
    struct Transfer
    {
        xcb_window_t requestor;
        xcb_atom_t property;
        xcb_atom_t type;
        int format;
        QByteArray bytes;
        qsizetype offset = 0;
        QElapsedTimer idle;
    };

    std::unique_ptr<X11SelectionConnection> m_connection;
    xcb_window_t m_window = XCB_WINDOW_NONE;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_stallCheck = nullptr;
    bool m_owns = false;
    xcb_timestamp_t m_ownedSince = XCB_CURRENT_TIME;
    QList<Served> m_served;
    QList<Transfer> m_transfers;
    // Per requestor window, the event mask bits this connection added to follow its transfers.
    QHash<xcb_window_t, std::uint32_t> m_addedMasks;
};
