// Reads and classifies clipboard changes one at a time, in change order, away from the main thread:
// an owner that answers slowly, or not at all, must not freeze the tray or the popup.
#pragma once

#include "capture/PasteboardClassifier.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <optional>

class PasteboardReaderFactory;
class QThread;

// One change that passed the main thread's gates, on its way to being read.
struct CaptureJob
{
    CaptureSource source;
    CaptureFiles* files = nullptr;
};

class CaptureWorker : public QObject
{
    Q_OBJECT
public:
    // Inline runs each change at once on the calling thread (unit tests).
    enum class Mode { Thread, Inline };
    using Deliver = std::function<void(const ClipboardItem&)>;

    // `deliver` runs on the main thread for each change that yields an item, in change order.
    CaptureWorker(PasteboardReaderFactory& readers, Mode mode, std::chrono::milliseconds deadline, Deliver deliver,
                  QObject* parent = nullptr);
    // Waits for a change being read (its deadline bounds the wait); drops the one waiting.
    ~CaptureWorker() override;

    // Reads the change now when idle. Otherwise it waits for the change being read, replacing the
    // change that was waiting, if any: behind an owner that takes its full deadline, only the
    // newest content is worth reading.
    void submit(const CaptureJob& job);
    bool isBusy() const { return m_busy; }

    // The reading of one change: the concealed types, then classification. Nothing when the content
    // is concealed or unreadable, or when any read or file write failed (then no stored file remains).
    // A text too long to keep sets `refusal` to a line for the system log: the user should hear why.
    static std::optional<ClipboardItem> capture(PasteboardReaderFactory& readers, const CaptureJob& job,
                                                std::chrono::steady_clock::time_point deadline,
                                                QString* refusal = nullptr);

private:
    void start(const CaptureJob& job);
    void finished(const std::optional<ClipboardItem>& item, const QString& refusal);

    PasteboardReaderFactory& m_readers;
    Mode m_mode;
    std::chrono::milliseconds m_deadline;
    Deliver m_deliver;
    QThread* m_thread = nullptr;
    QObject* m_threadContext = nullptr;
    bool m_busy = false;
    std::optional<CaptureJob> m_waiting;
};
