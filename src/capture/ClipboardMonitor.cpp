#include "capture/ClipboardMonitor.h"

#include "history/ClipboardStore.h"
#include "platform/Applications.h"
#include "platform/Clipboard.h"
#include "platform/KeyTap.h"
#include "platform/Platform.h"
#include "settings/AppSettings.h"

namespace {
// The store's folders, for the capture worker (the store's file writes are safe on any thread).
class StoreFiles final : public CaptureFiles
{
public:
    explicit StoreFiles(ClipboardStore& store) : m_store(store) {}
    QString saveImage(const QByteArray& data, const QString& ext) override { return m_store.saveImage(data, ext); }
    QString saveAsset(const QByteArray& data, const QString& ext) override { return m_store.saveAsset(data, ext); }

private:
    ClipboardStore& m_store;
};
} // namespace

ClipboardMonitor::ClipboardMonitor(Clipboard& clipboard, PasteboardReaderFactory& readers, Applications& applications,
                                   KeyTap& keyTap, Scheduler& scheduler, Hooks hooks, CaptureWorker::Mode worker,
                                   QObject* parent)
    : QObject(parent), m_clipboard(clipboard), m_applications(applications), m_keyTap(keyTap), m_scheduler(scheduler),
      m_hooks(std::move(hooks)), m_lastChangeCount(clipboard.changeCount()),
      m_worker(readers, worker, std::chrono::milliseconds(readDeadlineMs), [this](const ClipboardItem& item) {
          if (m_hooks.add) {
              m_hooks.add(item);
          }
      })
{
    // The owner-change notification only makes capture sooner; the timer alone would find it too.
    connect(&m_clipboard, &Clipboard::changed, this, [this] {
        if (isStarted()) {
            kick();
        }
    });
}

ClipboardMonitor::~ClipboardMonitor()
{
    stop();
}

ClipboardMonitor& ClipboardMonitor::shared()
{
    static ClipboardMonitor* monitor = [] {
        const Platform& platform = Platform::current();
        Hooks hooks;
        hooks.pauseCapture = [] { return AppSettings::shared().pauseCapture(); };
        hooks.ignoredBundleIDs = [] { return AppSettings::shared().ignoredBundleIDs(); };
        // The store comes into being with the first change worth reading, on the main thread.
        hooks.files = []() -> CaptureFiles& {
            static StoreFiles files(ClipboardStore::shared());
            return files;
        };
        hooks.add = [](const ClipboardItem& item) { ClipboardStore::shared().add(item); };
        return new ClipboardMonitor(*platform.clipboard, *platform.pasteboardReaders, *platform.applications,
                                    *platform.keyTap, *platform.scheduler, std::move(hooks));
    }();
    return *monitor;
}

Scheduler::TaskId ClipboardMonitor::later(int delayMs, std::function<void()> task)
{
    std::weak_ptr<bool> alive = m_alive;
    return m_scheduler.schedule(delayMs, [alive, task = std::move(task)] {
        if (alive.lock()) {
            task();
        }
    });
}

void ClipboardMonitor::start()
{
    m_scheduler.cancel(m_timer);
    m_timer = later(pollIntervalMs, [this] { tick(); });
    if (!m_keyTap.isInstalled()) {
        // Refused: the timer alone finds the changes, up to one interval later.
        m_keyTap.install([this] { later(copyKeystrokeDelayMs, [this] { kick(); }); });
    }
}

void ClipboardMonitor::tick()
{
    m_timer = later(pollIntervalMs, [this] { tick(); });
    kick();
}

void ClipboardMonitor::stop()
{
    m_scheduler.cancel(m_timer);
    m_timer = 0;
    m_keyTap.remove();
}

void ClipboardMonitor::shutDown()
{
    stop();
    m_worker.shutDown();
}

void ClipboardMonitor::suppressNext()
{
    m_ignoreNextChange = true;
}

void ClipboardMonitor::kick()
{
    later(0, [this] { poll(); });
}

void ClipboardMonitor::poll()
{
    const qint64 changeCount = m_clipboard.changeCount();
    if (changeCount == m_lastChangeCount) {
        return;
    }
    // Recorded first: each change is handled once, whatever the gates decide.
    m_lastChangeCount = changeCount;
    const ClipboardChange change = m_clipboard.lastChange();
    // Whatever the gates decide, a change waiting to be read is gone: its owner has given up the
    // clipboard. Left waiting, it would read the content of this change, which the gates may forbid.
    m_worker.dropWaiting();
    if (m_ignoreNextChange) {
        m_ignoreNextChange = false;
        return;
    }
    if (change.owner == 0) {
        return; // the owner went away and left nothing to read
    }
    const auto source = sourceIfCaptured();
    if (!source || !m_hooks.files) {
        return;
    }
    m_worker.submit(CaptureJob{change, *source, &m_hooks.files()});
}

std::optional<CaptureSource> ClipboardMonitor::sourceIfCaptured()
{
    if (m_hooks.pauseCapture && m_hooks.pauseCapture()) {
        return std::nullopt;
    }
    // The application in front now, which is not necessarily the one that wrote the clipboard.
    CaptureSource source;
    if (const auto front = m_applications.frontmostApplication()) {
        source.bundleID = front->bundleID;
        source.appName = front->name;
    }
    const QSet<QString> ignored = m_hooks.ignoredBundleIDs ? m_hooks.ignoredBundleIDs() : QSet<QString>();
    if (source.bundleID && ignored.contains(*source.bundleID)) {
        return std::nullopt;
    }
    // The desktop may also know the process that owns the clipboard: a copy an ignored application
    // makes from the background is skipped too.
    if (!ignored.isEmpty()) {
        const auto owner = m_applications.clipboardOwner();
        if (owner && owner->bundleID && ignored.contains(*owner->bundleID)) {
            return std::nullopt;
        }
    }
    return source;
}
