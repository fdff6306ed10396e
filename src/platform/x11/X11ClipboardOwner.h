// Serves our content on the CLIPBOARD selection until another program takes it.
#pragma once

#include "platform/PasteboardContent.h"
#include "platform/ClipboardTargets.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <xcb/xcb.h>

class X11ClipboardOwner : public QObject, private QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit X11ClipboardOwner(QObject* parent = nullptr);
    ~X11ClipboardOwner() override;

    // Takes the selection once with exactly this content (an empty content owns it with no targets).
    void replace(const PasteboardContent& content);

    // Whether we still hold the selection (no other program has taken it since).
    bool ownsSelection() const { return m_owns; }
    // Large data goes out in pieces of this size (INCR) rather than in one property.
    static constexpr qsizetype chunkBytes = 1 << 20;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    bool ensureWindow();
    void answer(const xcb_selection_request_event_t& request);
    bool serve(xcb_window_t requestor, xcb_atom_t target, xcb_atom_t property);
    void serveMultiple(xcb_window_t requestor, xcb_atom_t property);
    void putProperty(xcb_window_t requestor, xcb_atom_t property, xcb_atom_t type, int format, const char* data,
                     qsizetype bytes);
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

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_window = XCB_WINDOW_NONE;
    bool m_filterInstalled = false;
    bool m_owns = false;
    xcb_timestamp_t m_ownedSince = XCB_CURRENT_TIME;
    QList<Served> m_served;
    QList<Transfer> m_transfers;
    QTimer m_stallCheck;
};
