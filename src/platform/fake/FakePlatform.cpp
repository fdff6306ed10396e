#include "platform/fake/FakePlatform.h"

#include "platform/PasteboardTypes.h"

#include <QMutexLocker>
#include <algorithm>

std::optional<QJsonValue> MemoryDefaultsStore::object(const QString& key) const
{
    const auto found = values.constFind(key);
    if (found == values.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

void MemoryDefaultsStore::setObject(const QString& key, const QJsonValue& value)
{
    values.insert(key, value);
    ++writeCount;
}

bool FakeLoginItem::registerItem(QString* error)
{
    ++registerCalls;
    if (!failWith.isEmpty()) {
        *error = failWith;
        return false;
    }
    currentStatus = Status::Enabled;
    return true;
}

bool FakeLoginItem::unregisterItem(QString* error)
{
    ++unregisterCalls;
    if (!failWith.isEmpty()) {
        *error = failWith;
        return false;
    }
    currentStatus = Status::NotRegistered;
    return true;
}

namespace {
class SnapshotReader final : public PasteboardReader
{
public:
    SnapshotReader(PasteboardContent content, bool failing) : m_content(std::move(content)), m_failing(failing) {}

    std::optional<QStringList> types() override
    {
        if (m_failing) {
            return std::nullopt;
        }
        QStringList list;
        for (const auto& [type, bytes] : m_content.data) {
            list.append(type);
        }
        if (m_content.hasUrls) {
            list.append(PasteboardType::fileUrl);
        }
        if (m_content.hasColors) {
            list.append(PasteboardType::color);
        }
        return list;
    }

    std::optional<bool> offersAnyOf(const QSet<QString>& wanted) override
    {
        const auto offered = types();
        if (!offered) {
            return std::nullopt;
        }
        return std::any_of(offered->begin(), offered->end(),
                           [&](const QString& type) { return wanted.contains(type); });
    }

    std::optional<QByteArray> data(const QString& type) override
    {
        if (m_failing) {
            return std::nullopt;
        }
        for (const auto& [offered, bytes] : m_content.data) {
            if (offered == type) {
                return bytes;
            }
        }
        return std::nullopt;
    }

    std::optional<UrlList> urls() override
    {
        if (m_failing || !m_content.hasUrls) {
            return std::nullopt;
        }
        return UrlList{m_content.urls, false};
    }

    std::optional<QList<QColor>> colors() override
    {
        if (m_failing || !m_content.hasColors) {
            return std::nullopt;
        }
        return m_content.colors;
    }

    bool hasFailed() const override { return m_failing; }

private:
    PasteboardContent m_content;
    bool m_failing;
};
} // namespace

qint64 FakeClipboard::changeCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_changeCount;
}

ClipboardChange FakeClipboard::lastChange() const
{
    QMutexLocker lock(&m_mutex);
    return m_change;
}

void FakeClipboard::changeTo(const PasteboardContent& content, quint64 owner)
{
    {
        QMutexLocker lock(&m_mutex);
        m_content = content;
        ++m_changeCount;
        m_change = ClipboardChange{owner, quint32(m_changeCount)};
        if (owner == ourOwner) {
            ++m_replaceCount;
        }
    }
    emit changed();
}

void FakeClipboard::replaceContents(const PasteboardContent& content)
{
    changeTo(content, ourOwner);
}

void FakeClipboard::setContent(const PasteboardContent& content, quint64 owner)
{
    changeTo(content, owner);
}

PasteboardContent FakeClipboard::content() const
{
    QMutexLocker lock(&m_mutex);
    return m_content;
}

int FakeClipboard::replaceCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_replaceCount;
}

void FakeClipboard::setUnresponsive(bool unresponsive)
{
    QMutexLocker lock(&m_mutex);
    m_unresponsive = unresponsive;
}

std::unique_ptr<PasteboardReader> FakeClipboard::open(const ClipboardChange& change,
                                                      std::chrono::steady_clock::time_point)
{
    QMutexLocker lock(&m_mutex);
    return std::make_unique<SnapshotReader>(m_content, m_unresponsive || change != m_change);
}

void FakeApplications::activate(const RunningApplication& app)
{
    activated.append(app);
    if (!ignoresActivation) {
        frontmost = app;
    }
}

void FakeApplications::whenActive(const RunningApplication& app, int, std::function<void(bool)> done)
{
    done(frontmost && frontmost->window == app.window);
}

bool FakeKeyTap::install(std::function<void()> onCopyKeystroke)
{
    ++installCalls;
    if (refuse) {
        return false;
    }
    callback = std::move(onCopyKeystroke);
    return true;
}

std::int32_t FakeHotkeyRegistrar::installHandler(std::function<void()> onPressed)
{
    ++installCalls;
    if (installStatus != noErr) {
        return installStatus;
    }
    handler = std::move(onPressed);
    return noErr;
}

void FakeHotkeyRegistrar::removeHandler()
{
    handler = nullptr;
}

std::int32_t FakeHotkeyRegistrar::registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                 std::uint32_t signature, std::uint32_t id)
{
    ++registerCalls;
    if (registerStatus != noErr) {
        return registerStatus;
    }
    registration = Registration{keyCode, modifiers, signature, id};
    return noErr;
}

void FakeHotkeyRegistrar::unregisterHotKey()
{
    ++unregisterCalls;
    registration.reset();
}

void FakeHotkeyRegistrar::press()
{
    if (registration && handler) {
        handler();
    }
}

bool FakeKeySynthesizer::isTrusted(bool promptIfMissing)
{
    if (promptIfMissing && !trusted) {
        ++promptCount;
    }
    return trusted;
}

void FakeKeySynthesizer::postPaste(const RunningApplication& target, std::function<void(PasteOutcome)> done)
{
    if (!trusted) {
        done(PasteOutcome::unavailable);
        return;
    }
    if (applications && (!applications->frontmost || applications->frontmost->window != target.window ||
                         applications->frontmost->handle != target.handle)) {
        done(PasteOutcome::windowNotActive);
        return;
    }
    ++pasteCount;
    done(PasteOutcome::posted);
}

bool FakeDesktopServices::openUrl(const QUrl& url)
{
    openedUrls.append(url);
    return true;
}

bool FakeDesktopServices::revealFile(const QString& path)
{
    revealedFiles.append(path);
    return true;
}

std::optional<QString> FakeDesktopServices::desktopEntryPath(const QString& bundleID)
{
    if (!names.contains(bundleID)) {
        return std::nullopt;
    }
    return QStringLiteral("/fake/applications/") + bundleID + QStringLiteral(".desktop");
}

QIcon FakeDesktopServices::applicationIcon(const QString& bundleID)
{
    return icons.value(bundleID);
}

std::optional<QString> FakeDesktopServices::applicationName(const QString& bundleID)
{
    const auto found = names.constFind(bundleID);
    if (found == names.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

bool FakePointerMonitor::install(std::function<void()> onPress)
{
    ++installCalls;
    if (refuse) {
        return false;
    }
    callback = std::move(onPress);
    return true;
}

FakePlatform::FakePlatform(const QString& folder) : dataFolder(folder)
{
    keys.applications = &applications;
}

FakePlatform::~FakePlatform()
{
    Platform::install(Platform{});
}

void FakePlatform::install()
{
    Platform platform;
    platform.scheduler = &scheduler;
    platform.defaults = &defaults;
    platform.loginItem = &loginItem;
    platform.log = &log;
    platform.clipboard = &clipboard;
    platform.pasteboardReaders = &clipboard;
    platform.applications = &applications;
    platform.keyTap = &keyTap;
    platform.hotkeys = &hotkeys;
    platform.keys = &keys;
    platform.desktop = &desktop;
    platform.pointerMonitor = &pointerMonitor;
    platform.windowEffects = &windowEffects;
    platform.dataFolder = dataFolder;
    Platform::install(platform);
}
