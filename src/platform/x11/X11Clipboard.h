// The CLIPBOARD selection: owner changes counted through XFixes, our content served while we own it,
// and readers with their own connection for the capture worker.
#pragma once

#include "platform/Clipboard.h"
#include "platform/PasteboardReader.h"
#include "platform/x11/X11ClipboardOwner.h"

#include <QAbstractNativeEventFilter>
#include <cstdint>

class X11Clipboard final : public Clipboard, public PasteboardReaderFactory, private QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit X11Clipboard(QObject* parent = nullptr);
    ~X11Clipboard() override;

    qint64 changeCount() const override;
    ClipboardChange lastChange() const override;
    void replaceContents(const PasteboardContent& content) override;
    // Safe on any thread: each thread reads through a connection of its own.
    std::unique_ptr<PasteboardReader> open(const ClipboardChange& change,
                                           std::chrono::steady_clock::time_point deadline) override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    qint64 m_changeCount = 0;
    ClipboardChange m_lastChange;
    std::uint32_t m_window = 0; // ours, only to receive the owner-change notifications
    std::uint32_t m_selection = 0;
    std::uint8_t m_xfixesEventBase = 0;
    X11ClipboardOwner m_owner;
};
