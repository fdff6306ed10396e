// Reads and classifies clipboard changes one at a time, in change order, away from the main thread:
// an owner that answers slowly, or not at all, must not freeze the tray or the popup.
#pragma once

#include "capture/PasteboardClassifier.h"
#include "platform/Clipboard.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <optional>

class PasteboardReaderFactory;
class QThread;

// One change that passed the main thread's gates, on its way to being read.
struct CaptureJob
{
    ClipboardChange change; // whose content this is: nobody else's is read for it
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
    ~CaptureWorker() override;

    // Reads the change now when idle. Otherwise it waits for the change being read, replacing the
    // change that was waiting, if any: behind an owner that takes its full deadline, only the
    // newest content is worth reading.
    void submit(const CaptureJob& job);
    // The clipboard changed again and that change is not to be read (skipped, or nobody owns the
    // clipboard): the content of the change waiting, if any, is gone with the owner it had.
    void dropWaiting();
    // Drops the change waiting, waits for the one being read (its deadline bounds the reading) and
    // ends the worker's thread. Nothing is read or delivered afterwards. Safe to call twice.
    void shutDown();
    bool isBusy() const { return m_busy; }

    // What the reading of one change came to.
    struct Result
    {
        std::optional<ClipboardItem> item;
        QString logLine; // for the system log, when the user should hear why a copy went missing or was cut
    };
    // The reading of one change: the concealed types, then classification. No item when the content
    // is concealed or unreadable, or when any read or file write failed (then no stored file remains).
    static Result capture(PasteboardReaderFactory& readers, const CaptureJob& job,
                          std::chrono::steady_clock::time_point deadline);

private:
    void start(const CaptureJob& job);
    void finished(const Result& result);
    static void log(const QString& line);

    PasteboardReaderFactory& m_readers;
    Mode m_mode;
    std::chrono::milliseconds m_deadline;
    Deliver m_deliver;
    QThread* m_thread = nullptr;
    QObject* m_threadContext = nullptr;
    bool m_busy = false;
    bool m_shutDown = false;
    std::optional<CaptureJob> m_waiting;
};
