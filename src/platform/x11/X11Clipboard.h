// The CLIPBOARD selection: owner changes counted through XFixes, our content served while we own it,
// and readers with their own connection for the capture worker.
#pragma once

#include "platform/Clipboard.h"
#include "platform/PasteboardReader.h"
#include "platform/x11/X11ClipboardOwner.h"

class X11Clipboard final : public Clipboard, public PasteboardReaderFactory
{
    Q_OBJECT
public:
    explicit X11Clipboard(QObject* parent = nullptr);
    ~X11Clipboard() override;

    qint64 changeCount() const override;
    void replaceContents(const PasteboardContent& content) override;
    std::unique_ptr<PasteboardReader> open(std::chrono::steady_clock::time_point deadline) override;

private:
    qint64 m_changeCount = 0;
    X11ClipboardOwner m_owner;
};
