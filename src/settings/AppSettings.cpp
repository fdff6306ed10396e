#include "settings/AppSettings.h"

#include "history/ClipboardStore.h"
#include "platform/DefaultsStore.h"
#include "platform/LoginItem.h"
#include "platform/Platform.h"
#include "platform/SystemLog.h"

#include <QJsonArray>
#include <algorithm>
#include <limits>

namespace Key {
const QString pauseCapture = QStringLiteral("stashwell.pauseCapture");
const QString launchAtLogin = QStringLiteral("stashwell.launchAtLogin");
const QString maxHistoryItems = QStringLiteral("stashwell.maxHistoryItems");
const QString clearOnQuit = QStringLiteral("stashwell.clearOnQuit");
const QString autoPasteOnSelect = QStringLiteral("stashwell.autoPasteOnSelect");
const QString popupHeightFraction = QStringLiteral("stashwell.popupHeightFraction");
const QString hotkeyKeyCode = QStringLiteral("stashwell.hotkey.keyCode");
const QString hotkeyModifiers = QStringLiteral("stashwell.hotkey.modifiers");
const QString hotkeyKeyLabel = QStringLiteral("stashwell.hotkey.keyLabel");
const QString ignoredBundleIDs = QStringLiteral("stashwell.ignoredBundleIDs");
} // namespace Key

namespace {
// Readers in the manner of the user defaults: an absent key, or a value of another type, reads as
// nothing and the caller takes its default. A hand-edited file can never stop the program.
std::optional<bool> readBool(const DefaultsStore& defaults, const QString& key)
{
    const auto value = defaults.object(key);
    if (value && value->isBool()) {
        return value->toBool();
    }
    return std::nullopt;
}

std::optional<std::int64_t> readInteger(const DefaultsStore& defaults, const QString& key)
{
    const auto value = defaults.object(key);
    if (!value || !value->isDouble()) {
        return std::nullopt;
    }
    // toInteger() answers only for whole numbers that fit 64 bits; two probes tell it from a default.
    const qint64 a = value->toInteger(0);
    const qint64 b = value->toInteger(1);
    if (a != b) {
        return std::nullopt;
    }
    return a;
}

std::optional<double> readDouble(const DefaultsStore& defaults, const QString& key)
{
    const auto value = defaults.object(key);
    if (value && value->isDouble()) {
        return value->toDouble();
    }
    return std::nullopt;
}

std::optional<QString> readString(const DefaultsStore& defaults, const QString& key)
{
    const auto value = defaults.object(key);
    if (value && value->isString()) {
        return value->toString();
    }
    return std::nullopt;
}

std::optional<QStringList> readStringArray(const DefaultsStore& defaults, const QString& key)
{
    const auto value = defaults.object(key);
    if (!value || !value->isArray()) {
        return std::nullopt;
    }
    QStringList list;
    for (const QJsonValue element : value->toArray()) {
        if (!element.isString()) {
            return std::nullopt;
        }
        list.append(element.toString());
    }
    return list;
}

std::optional<std::uint32_t> asUInt32(std::optional<std::int64_t> value)
{
    if (!value || *value < 0 || *value > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value);
}

HotkeyShortcut readShortcut(const DefaultsStore& defaults)
{
    const auto keyCode = asUInt32(readInteger(defaults, Key::hotkeyKeyCode));
    const auto modifiers = asUInt32(readInteger(defaults, Key::hotkeyModifiers));
    if (!keyCode || !modifiers) {
        return HotkeyShortcut::defaultShortcut();
    }
    const auto label = readString(defaults, Key::hotkeyKeyLabel);
    return HotkeyShortcut{*keyCode, *modifiers,
                          label ? *label : HotkeyShortcut::keyLabelForKeyCode(*keyCode, std::nullopt)};
}

// A cap below 1 would empty the history at the next copy; only a hand-edited file holds one.
std::int64_t usableCap(std::optional<std::int64_t> value)
{
    return value && *value >= 1 ? *value : AppSettings::defaultMaxHistoryItems;
}

// Code-point order, so that the stored array is the same on every platform.
QStringList sortedByCodePoint(const QSet<QString>& set)
{
    QStringList list(set.cbegin(), set.cend());
    std::sort(list.begin(), list.end(),
              [](const QString& a, const QString& b) { return a.toUcs4() < b.toUcs4(); });
    return list;
}
} // namespace

AppSettings::AppSettings(DefaultsStore& defaults, LoginItem& loginItem, SystemLog& log,
                         std::function<void()> applyMaxHistoryItems, QObject* parent)
    : QObject(parent), m_defaults(defaults), m_loginItem(loginItem), m_log(log),
      m_applyMaxHistoryItems(std::move(applyMaxHistoryItems))
{
    m_pauseCapture = readBool(m_defaults, Key::pauseCapture).value_or(false);
    m_launchAtLogin = readBool(m_defaults, Key::launchAtLogin).value_or(false);
    m_clearOnQuit = readBool(m_defaults, Key::clearOnQuit).value_or(false);
    m_autoPasteOnSelect = readBool(m_defaults, Key::autoPasteOnSelect).value_or(true);
    m_maxHistoryItems = usableCap(readInteger(m_defaults, Key::maxHistoryItems));
    m_popupHeightFraction = readDouble(m_defaults, Key::popupHeightFraction).value_or(defaultPopupHeightFraction);
    m_hotkeyShortcut = readShortcut(m_defaults);
    const QStringList ignored = readStringArray(m_defaults, Key::ignoredBundleIDs).value_or(QStringList());
    m_ignoredBundleIDs = QSet<QString>(ignored.cbegin(), ignored.cend());
}

AppSettings& AppSettings::shared()
{
    static AppSettings* settings = [] {
        const Platform& platform = Platform::current();
        return new AppSettings(*platform.defaults, *platform.loginItem, *platform.log,
                               [] { ClipboardStore::shared().applyMaxHistoryItems(); });
    }();
    return *settings;
}

void AppSettings::setPauseCapture(bool value)
{
    m_pauseCapture = value;
    m_defaults.setObject(Key::pauseCapture, value);
    emit pauseCaptureChanged();
}

void AppSettings::setLaunchAtLogin(bool value)
{
    m_launchAtLogin = value;
    m_defaults.setObject(Key::launchAtLogin, value);
    updateLoginItem(value);
    emit launchAtLoginChanged();
}

void AppSettings::setMaxHistoryItems(std::int64_t value)
{
    m_maxHistoryItems = usableCap(value);
    m_defaults.setObject(Key::maxHistoryItems, static_cast<qint64>(m_maxHistoryItems));
    if (m_applyMaxHistoryItems) {
        m_applyMaxHistoryItems();
    }
    emit maxHistoryItemsChanged();
}

void AppSettings::setClearOnQuit(bool value)
{
    m_clearOnQuit = value;
    m_defaults.setObject(Key::clearOnQuit, value);
    emit clearOnQuitChanged();
}

void AppSettings::setAutoPasteOnSelect(bool value)
{
    m_autoPasteOnSelect = value;
    m_defaults.setObject(Key::autoPasteOnSelect, value);
    emit autoPasteOnSelectChanged();
}

void AppSettings::setPopupHeightFraction(double value)
{
    m_popupHeightFraction = value;
    m_defaults.setObject(Key::popupHeightFraction, value);
    emit popupHeightFractionChanged();
}

void AppSettings::setHotkeyShortcut(const HotkeyShortcut& value)
{
    m_hotkeyShortcut = value;
    m_defaults.setObject(Key::hotkeyKeyCode, static_cast<qint64>(value.keyCode));
    m_defaults.setObject(Key::hotkeyModifiers, static_cast<qint64>(value.carbonModifiers));
    m_defaults.setObject(Key::hotkeyKeyLabel, value.keyLabel);
    emit hotkeyShortcutChanged();
}

void AppSettings::setIgnoredBundleIDs(const QSet<QString>& value)
{
    m_ignoredBundleIDs = value;
    m_defaults.setObject(Key::ignoredBundleIDs, QJsonArray::fromStringList(sortedByCodePoint(value)));
    emit ignoredBundleIDsChanged();
}

void AppSettings::updateLoginItem(bool enable)
{
    const bool enabled = m_loginItem.status() == LoginItem::Status::Enabled;
    if (enable == enabled) {
        return;
    }
    QString error;
    const bool changed = enable ? m_loginItem.registerItem(&error) : m_loginItem.unregisterItem(&error);
    if (!changed) {
        m_log.write(QStringLiteral("Stashwell: launchAtLogin toggle failed: ") + error);
    }
}
