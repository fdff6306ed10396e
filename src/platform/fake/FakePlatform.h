// In-memory stand-ins for every desktop service, for the unit tests.
#pragma once

#include "platform/Applications.h"
#include "platform/Clipboard.h"
#include "platform/DefaultsStore.h"
#include "platform/DesktopServices.h"
#include "platform/HotkeyRegistrar.h"
#include "platform/KeySynthesizer.h"
#include "platform/KeyTap.h"
#include "platform/LoginItem.h"
#include "platform/PasteboardReader.h"
#include "platform/Platform.h"
#include "platform/PointerMonitor.h"
#include "platform/SystemLog.h"
#include "platform/WindowEffects.h"
#include "platform/fake/ManualScheduler.h"

#include <QHash>
#include <QJsonObject>
#include <QMutex>
#include <QStringList>

class MemoryDefaultsStore final : public DefaultsStore
{
public:
    std::optional<QJsonValue> object(const QString& key) const override;
    void setObject(const QString& key, const QJsonValue& value) override;

    QJsonObject values;
    int writeCount = 0;
};

class FakeLoginItem final : public LoginItem
{
public:
    Status status() const override { return currentStatus; }
    bool registerItem(QString* error) override;
    bool unregisterItem(QString* error) override;

    Status currentStatus = Status::NotRegistered;
    QString failWith; // when set, both calls fail with this description
    int registerCalls = 0;
    int unregisterCalls = 0;
};

class RecordingLog final : public SystemLog
{
public:
    void write(const QString& line) override { lines.append(line); }
    QStringList lines;
};

// The clipboard: a content and a change counter. Tests "copy" with setContent(), as another program.
// Each change is stamped with its owner and a time of its own; a reader opened for a change that is
// no longer the newest fails, as the desktop's does once the clipboard has changed hands.
class FakeClipboard final : public Clipboard, public PasteboardReaderFactory
{
    Q_OBJECT
public:
    // The owner handle of our own writes; other programs' handles are anything else.
    static constexpr quint64 ourOwner = 1;
    static constexpr quint64 anotherOwner = 2;

    qint64 changeCount() const override;
    ClipboardChange lastChange() const override;
    void replaceContents(const PasteboardContent& content) override;
    std::unique_ptr<PasteboardReader> open(const ClipboardChange& change,
                                           std::chrono::steady_clock::time_point deadline) override;

    // Another program (the owner handle `owner`) takes the clipboard with this content.
    void setContent(const PasteboardContent& content, quint64 owner = anotherOwner);
    PasteboardContent content() const;
    int replaceCount() const;
    // Makes every read of the following changes fail, as an owner that never answers would.
    void setUnresponsive(bool unresponsive);

private:
    mutable QMutex m_mutex; // readers run on the capture worker's thread
    void changeTo(const PasteboardContent& content, quint64 owner);

    PasteboardContent m_content;
    qint64 m_changeCount = 0;
    ClipboardChange m_change;
    int m_replaceCount = 0;
    bool m_unresponsive = false;
};

class FakeApplications final : public Applications
{
public:
    std::optional<RunningApplication> frontmostApplication() override { return frontmost; }
    std::optional<RunningApplication> clipboardOwner() override { return owner; }
    void activate(const RunningApplication& app) override;
    void whenActive(const RunningApplication& app, int timeoutMs, std::function<void(bool)> done) override;

    std::optional<RunningApplication> frontmost;
    std::optional<RunningApplication> owner; // the process behind the clipboard, when known
    QList<RunningApplication> activated;
    bool ignoresActivation = false; // as for a window that was closed: activating it changes nothing
};

class FakeKeyTap final : public KeyTap
{
public:
    bool install(std::function<void()> onCopyKeystroke) override;
    void remove() override { callback = nullptr; }
    bool isInstalled() const override { return static_cast<bool>(callback); }

    // A copy keystroke as the desktop would report it.
    void pressCopy()
    {
        if (callback) {
            callback();
        }
    }

    bool refuse = false;
    int installCalls = 0;
    std::function<void()> callback;
};

class FakeHotkeyRegistrar final : public HotkeyRegistrar
{
public:
    std::int32_t installHandler(std::function<void()> onPressed) override;
    void removeHandler() override;
    std::int32_t registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t signature,
                                std::uint32_t id) override;
    void unregisterHotKey() override;

    // The user presses the registered shortcut (only does something while one is registered).
    void press();

    struct Registration
    {
        std::uint32_t keyCode;
        std::uint32_t modifiers;
        std::uint32_t signature;
        std::uint32_t id;
    };
    std::optional<Registration> registration;
    std::function<void()> handler;
    std::int32_t installStatus = noErr;
    std::int32_t registerStatus = noErr; // e.g. eventHotKeyExistsErr for a taken shortcut
    int installCalls = 0;
    int registerCalls = 0;
    int unregisterCalls = 0;
};

class FakeKeySynthesizer final : public KeySynthesizer
{
public:
    bool isTrusted(bool promptIfMissing) override;
    void postPaste(const RunningApplication& target, std::function<void(PasteOutcome)> done) override;

    bool trusted = true;
    // When set, a paste goes out only into its frontmost window, as on the desktop.
    FakeApplications* applications = nullptr;
    int promptCount = 0;
    int pasteCount = 0;
};

class FakeDesktopServices final : public DesktopServices
{
public:
    bool openUrl(const QUrl& url) override;
    bool revealFile(const QString& path) override;
    std::optional<QString> desktopEntryPath(const QString& bundleID) override;
    QIcon applicationIcon(const QString& bundleID) override;
    std::optional<QString> applicationName(const QString& bundleID) override;
    QStringList applicationFolders() override { return folders; }
    QIcon fileTypeIcon(const QString& mimeTypeName) override { return fileIcons.value(mimeTypeName); }

    QHash<QString, QString> names; // bundle id -> Name
    QHash<QString, QIcon> icons;
    QHash<QString, QIcon> fileIcons; // MIME type name -> icon
    QStringList folders;
    QList<QUrl> openedUrls;
    QStringList revealedFiles;
};

class FakePointerMonitor final : public PointerMonitor
{
public:
    bool install(std::function<void()> onPress) override;
    void remove() override { callback = nullptr; }
    bool isInstalled() const override { return static_cast<bool>(callback); }

    // A button press somewhere on the desktop.
    void press()
    {
        if (callback) {
            callback();
        }
    }

    bool refuse = false;
    int installCalls = 0;
    std::function<void()> callback;
};

class FakeWindowEffects final : public WindowEffects
{
public:
    bool hasCompositor() override { return composited; }
    void requestBlurBehind(QWindow*, const QVector<QRect>& rects) override { blurRequests.append(rects); }

    bool composited = true;
    QList<QVector<QRect>> blurRequests;
};

// Owns one of each fake and installs them as the current platform.
class FakePlatform
{
public:
    explicit FakePlatform(const QString& dataFolder);
    ~FakePlatform();
    void install();

    ManualScheduler scheduler;
    MemoryDefaultsStore defaults;
    FakeLoginItem loginItem;
    RecordingLog log;
    FakeClipboard clipboard;
    FakeApplications applications;
    FakeKeyTap keyTap;
    FakeHotkeyRegistrar hotkeys;
    FakeKeySynthesizer keys;
    FakeDesktopServices desktop;
    FakePointerMonitor pointerMonitor;
    FakeWindowEffects windowEffects;
    QString dataFolder;
};
