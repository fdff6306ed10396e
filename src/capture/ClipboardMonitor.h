// Notices every new clipboard content and turns it into at most one history entry.
#pragma once

#include "capture/CaptureWorker.h"
#include "history/ClipboardItem.h"
#include "platform/Scheduler.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>

class Applications;
class Clipboard;
class KeyTap;
class PasteboardReaderFactory;

class ClipboardMonitor : public QObject
{
    Q_OBJECT
public:
    // What the monitor reads and feeds at each change, besides the desktop services.
    struct Hooks
    {
        std::function<bool()> pauseCapture;
        std::function<QSet<QString>()> ignoredBundleIDs;
        // Where classification stores image and document bytes; asked on the main thread, used on
        // the capture worker's thread.
        std::function<CaptureFiles&()> files;
        // Receives each captured item, on the main thread, in change order.
        std::function<void(const ClipboardItem&)> add;
    };

    static constexpr int pollIntervalMs = 300;
    static constexpr int copyKeystrokeDelayMs = 30;
    // The most one change may take to read, slow or silent clipboard owners included.
    static constexpr int readDeadlineMs = 1000;

    // Whatever the clipboard holds now is never captured: only later changes are.
    ClipboardMonitor(Clipboard& clipboard, PasteboardReaderFactory& readers, Applications& applications, KeyTap& keyTap,
                     Scheduler& scheduler, Hooks hooks, CaptureWorker::Mode worker = CaptureWorker::Mode::Thread,
                     QObject* parent = nullptr);
    ~ClipboardMonitor() override;

    static ClipboardMonitor& shared();

    // Starts (or restarts) the poll timer and installs the copy-keystroke tap if none is installed.
    void start();
    // Stops the timer and removes the tap.
    void stop();
    // For the end of the program: stops, and waits for the change being read to finish, so that no
    // reading runs on while the process takes itself apart. Nothing is captured afterwards.
    void shutDown();
    // The next change is the program's own paste-back: skip it.
    void suppressNext();
    // Poll at the next turn of the event loop.
    void kick();

    bool isStarted() const { return m_timer != 0; }

private:
    void tick();
    void poll();
    // The cheap, order-sensitive gates; nothing when the change is to be skipped.
    std::optional<CaptureSource> sourceIfCaptured();
    // Runs `task` later on the main thread, unless the monitor is gone by then.
    Scheduler::TaskId later(int delayMs, std::function<void()> task);

    Clipboard& m_clipboard;
    Applications& m_applications;
    KeyTap& m_keyTap;
    Scheduler& m_scheduler;
    Hooks m_hooks;
    qint64 m_lastChangeCount = 0;
    Scheduler::TaskId m_timer = 0;
    bool m_ignoreNextChange = false;
    CaptureWorker m_worker;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
