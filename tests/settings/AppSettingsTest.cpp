// The settings: defaults, reading odd stored values, writing back, and the side effects of a change.
#include "settings/AppSettings.h"

#include "platform/xdg/JsonFileDefaultsStore.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace {
// A defaults store that remembers the order of its writes.
class RecordingDefaults final : public DefaultsStore
{
public:
    std::optional<QJsonValue> object(const QString& key) const override
    {
        if (!values.contains(key)) {
            return std::nullopt;
        }
        return values.value(key);
    }
    void setObject(const QString& key, const QJsonValue& value) override
    {
        values.insert(key, value);
        writes.append(key);
    }

    QJsonObject values;
    QStringList writes;
};

class AppSettingsTest : public ::testing::Test
{
protected:
    std::unique_ptr<AppSettings> makeSettings()
    {
        return std::make_unique<AppSettings>(defaults, loginItem, log, [this] { ++trims; });
    }

    RecordingDefaults defaults;
    FakeLoginItem loginItem;
    RecordingLog log;
    int trims = 0;
};

const QString keyCodeKey = QStringLiteral("stashwell.hotkey.keyCode");
const QString modifiersKey = QStringLiteral("stashwell.hotkey.modifiers");
const QString labelKey = QStringLiteral("stashwell.hotkey.keyLabel");
} // namespace

TEST_F(AppSettingsTest, EmptyDefaultsGiveTheDefaultSettingsAndReadingWritesNothing)
{
    const auto settings = makeSettings();
    EXPECT_FALSE(settings->pauseCapture());
    EXPECT_FALSE(settings->launchAtLogin());
    EXPECT_EQ(settings->maxHistoryItems(), 200);
    EXPECT_FALSE(settings->clearOnQuit());
    EXPECT_TRUE(settings->autoPasteOnSelect());
    EXPECT_DOUBLE_EQ(settings->popupHeightFraction(), 0.32);
    EXPECT_EQ(settings->hotkeyShortcut(), HotkeyShortcut::defaultShortcut());
    EXPECT_TRUE(settings->ignoredBundleIDs().isEmpty());
    EXPECT_TRUE(defaults.writes.isEmpty());
    EXPECT_EQ(loginItem.registerCalls + loginItem.unregisterCalls, 0);
    EXPECT_EQ(trims, 0);
}

TEST_F(AppSettingsTest, ReadsStoredValues)
{
    defaults.values = QJsonObject{
        {"stashwell.pauseCapture", true},
        {"stashwell.launchAtLogin", true},
        {"stashwell.maxHistoryItems", 500},
        {"stashwell.clearOnQuit", true},
        {"stashwell.autoPasteOnSelect", false},
        {"stashwell.popupHeightFraction", 1}, // a whole number is still a number
        {keyCodeKey, 49},
        {modifiersKey, 0x1800},
        {labelKey, "Space"},
        {"stashwell.ignoredBundleIDs", QJsonArray{"b", "a", "b"}},
    };
    const auto settings = makeSettings();
    EXPECT_TRUE(settings->pauseCapture());
    EXPECT_TRUE(settings->launchAtLogin());
    EXPECT_EQ(settings->maxHistoryItems(), 500);
    EXPECT_TRUE(settings->clearOnQuit());
    EXPECT_FALSE(settings->autoPasteOnSelect());
    EXPECT_DOUBLE_EQ(settings->popupHeightFraction(), 1.0);
    EXPECT_EQ(settings->hotkeyShortcut().displayString(), QStringLiteral("Ctrl+Alt+Space"));
    EXPECT_EQ(settings->ignoredBundleIDs(), (QSet<QString>{"a", "b"}));
    // The stored flag alone says whether launch at login is on: nothing is asked or changed.
    EXPECT_EQ(loginItem.registerCalls + loginItem.unregisterCalls, 0);
    EXPECT_TRUE(defaults.writes.isEmpty());
    // The height is not clamped, nor is a cap of 1 or more; a cap below 1, which would empty the
    // history at the next copy, reads as the default.
    defaults.values = QJsonObject{{"stashwell.maxHistoryItems", -3}, {"stashwell.popupHeightFraction", 7.5}};
    EXPECT_EQ(makeSettings()->maxHistoryItems(), 200);
    EXPECT_DOUBLE_EQ(makeSettings()->popupHeightFraction(), 7.5);
    for (const qint64 cap : {0LL, 1LL, 1000000000000LL}) {
        defaults.values = QJsonObject{{"stashwell.maxHistoryItems", cap}};
        EXPECT_EQ(makeSettings()->maxHistoryItems(), cap == 0 ? 200 : cap);
    }
}

TEST_F(AppSettingsTest, WronglyTypedValuesFallBackOneSettingAtATime)
{
    defaults.values = QJsonObject{
        {"stashwell.pauseCapture", "yes"},
        {"stashwell.launchAtLogin", 1},
        {"stashwell.maxHistoryItems", 12.5},
        {"stashwell.clearOnQuit", true}, // the one good value
        {"stashwell.autoPasteOnSelect", QJsonValue::Null},
        {"stashwell.popupHeightFraction", "0.5"},
        {"stashwell.ignoredBundleIDs", QJsonArray{"a", 5}},
    };
    auto settings = makeSettings();
    EXPECT_FALSE(settings->pauseCapture());
    EXPECT_FALSE(settings->launchAtLogin());
    EXPECT_EQ(settings->maxHistoryItems(), 200);
    EXPECT_TRUE(settings->clearOnQuit());
    EXPECT_TRUE(settings->autoPasteOnSelect());
    EXPECT_DOUBLE_EQ(settings->popupHeightFraction(), 0.32);
    EXPECT_TRUE(settings->ignoredBundleIDs().isEmpty());

    defaults.values = QJsonObject{{"stashwell.maxHistoryItems", "300"},
                                  {"stashwell.ignoredBundleIDs", "com.example"},
                                  {"stashwell.autoPasteOnSelect", "false"}};
    settings = makeSettings();
    EXPECT_EQ(settings->maxHistoryItems(), 200);
    EXPECT_TRUE(settings->ignoredBundleIDs().isEmpty());
    EXPECT_TRUE(settings->autoPasteOnSelect());

    defaults.values = QJsonObject{{"stashwell.maxHistoryItems", 1e300}};
    EXPECT_EQ(makeSettings()->maxHistoryItems(), 200);
}

TEST_F(AppSettingsTest, ShortcutNeedsKeyCodeAndModifiersAndTakesTheLabelFromTheTableWhenMissing)
{
    const auto shortcutOf = [this](const QJsonObject& stored) {
        defaults.values = stored;
        return makeSettings()->hotkeyShortcut();
    };
    EXPECT_EQ(shortcutOf({{keyCodeKey, 0}, {modifiersKey, 0x100}}), (HotkeyShortcut{0, 0x100, "A"}));
    EXPECT_EQ(shortcutOf({{keyCodeKey, 10}, {modifiersKey, 0x800}}), (HotkeyShortcut{10, 0x800, "Key 10"}));
    EXPECT_EQ(shortcutOf({{keyCodeKey, 10}, {modifiersKey, 0x800}, {labelKey, "§"}}), (HotkeyShortcut{10, 0x800, "§"}));
    // A label of another type counts as missing.
    EXPECT_EQ(shortcutOf({{keyCodeKey, 0}, {modifiersKey, 0x100}, {labelKey, 7}}), (HotkeyShortcut{0, 0x100, "A"}));
    // Modifiers that make no valid shortcut are still taken as stored.
    EXPECT_EQ(shortcutOf({{keyCodeKey, 1}, {modifiersKey, 0}}), (HotkeyShortcut{1, 0, "S"}));
    EXPECT_EQ(shortcutOf({{keyCodeKey, 4294967295.0}, {modifiersKey, 0x100}}),
              (HotkeyShortcut{4294967295u, 0x100, "Key 4294967295"}));

    const HotkeyShortcut fallback = HotkeyShortcut::defaultShortcut();
    EXPECT_EQ(shortcutOf({{keyCodeKey, 0}, {labelKey, "A"}}), fallback);
    EXPECT_EQ(shortcutOf({{modifiersKey, 0x100}}), fallback);
    EXPECT_EQ(shortcutOf({{keyCodeKey, "0"}, {modifiersKey, 0x100}}), fallback);
    EXPECT_EQ(shortcutOf({{keyCodeKey, 0.5}, {modifiersKey, 0x100}}), fallback);
    EXPECT_EQ(shortcutOf({{keyCodeKey, 4294967296.0}, {modifiersKey, 0x100}}), fallback);
    EXPECT_EQ(shortcutOf({{keyCodeKey, -1}, {modifiersKey, 0x100}}), fallback);
    EXPECT_EQ(shortcutOf({{keyCodeKey, 0}, {modifiersKey, qint64(1) << 40}}), fallback);
    EXPECT_EQ(shortcutOf({{keyCodeKey, 0}, {modifiersKey, QJsonValue::Null}}), fallback);
}

TEST_F(AppSettingsTest, EveryChangeIsStoredAtOnceWithItsType)
{
    auto settings = makeSettings();
    int pauseChanged = 0;
    QObject::connect(settings.get(), &AppSettings::pauseCaptureChanged, [&pauseChanged] { ++pauseChanged; });
    settings->setPauseCapture(false); // the same value is stored too
    EXPECT_EQ(defaults.values["stashwell.pauseCapture"], QJsonValue(false));
    EXPECT_EQ(pauseChanged, 1);
    settings->setClearOnQuit(true);
    EXPECT_EQ(defaults.values["stashwell.clearOnQuit"], QJsonValue(true));
    settings->setAutoPasteOnSelect(false);
    EXPECT_EQ(defaults.values["stashwell.autoPasteOnSelect"], QJsonValue(false));
    settings->setPopupHeightFraction(0.5);
    EXPECT_EQ(defaults.values["stashwell.popupHeightFraction"], QJsonValue(0.5));
    settings->setMaxHistoryItems(50);
    EXPECT_EQ(defaults.values["stashwell.maxHistoryItems"].toInteger(-1), 50);
    EXPECT_EQ(settings->maxHistoryItems(), 50);

    defaults.writes.clear();
    settings->setHotkeyShortcut(HotkeyShortcut{40, 0x1100, "K"});
    EXPECT_EQ(defaults.writes, (QStringList{keyCodeKey, modifiersKey, labelKey}));
    EXPECT_EQ(defaults.values[keyCodeKey].toInteger(-1), 40);
    EXPECT_EQ(defaults.values[modifiersKey].toInteger(-1), 0x1100);
    EXPECT_EQ(defaults.values[labelKey], QJsonValue("K"));
    EXPECT_EQ(makeSettings()->hotkeyShortcut(), (HotkeyShortcut{40, 0x1100, "K"}));
}

TEST_F(AppSettingsTest, IgnoredIdentifiersAreStoredSortedByCodePoint)
{
    auto settings = makeSettings();
    settings->setIgnoredBundleIDs({"com.b"});
    QSet<QString> ids = settings->ignoredBundleIDs();
    ids.insert("com.a");
    settings->setIgnoredBundleIDs(ids);
    EXPECT_EQ(defaults.values["stashwell.ignoredBundleIDs"], QJsonValue(QJsonArray{"com.a", "com.b"}));

    // U+FF01 comes before U+1F600 by code point, though not by UTF-16 code unit.
    settings->setIgnoredBundleIDs({QStringLiteral("\U0001F600"), QStringLiteral("\uFF01"), "Z", "a"});
    EXPECT_EQ(defaults.values["stashwell.ignoredBundleIDs"],
              QJsonValue(QJsonArray{"Z", "a", QStringLiteral("\uFF01"), QStringLiteral("\U0001F600")}));
    settings->setIgnoredBundleIDs({});
    EXPECT_EQ(defaults.values["stashwell.ignoredBundleIDs"], QJsonValue(QJsonArray{}));
}

TEST_F(AppSettingsTest, SettingTheCapAlwaysTrimsTheHistory)
{
    auto settings = makeSettings();
    settings->setMaxHistoryItems(200);
    settings->setMaxHistoryItems(200);
    EXPECT_EQ(trims, 2);
    settings->setMaxHistoryItems(0);
    EXPECT_EQ(settings->maxHistoryItems(), 200);
    EXPECT_EQ(defaults.values["stashwell.maxHistoryItems"].toInteger(), 200);
}

TEST_F(AppSettingsTest, LoginItemChangesOnlyWhenItsStatusDiffers)
{
    auto settings = makeSettings();
    loginItem.currentStatus = LoginItem::Status::Enabled;
    settings->setLaunchAtLogin(true);
    EXPECT_EQ(loginItem.registerCalls + loginItem.unregisterCalls, 0);
    EXPECT_EQ(defaults.values["stashwell.launchAtLogin"], QJsonValue(true));

    settings->setLaunchAtLogin(false);
    EXPECT_EQ(loginItem.unregisterCalls, 1);
    settings->setLaunchAtLogin(false);
    EXPECT_EQ(loginItem.unregisterCalls, 1);

    for (auto status :
         {LoginItem::Status::NotRegistered, LoginItem::Status::RequiresApproval, LoginItem::Status::NotFound}) {
        loginItem.currentStatus = status;
        settings->setLaunchAtLogin(false);
        settings->setLaunchAtLogin(true);
    }
    EXPECT_EQ(loginItem.registerCalls, 3);
    EXPECT_EQ(loginItem.unregisterCalls, 1);
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(AppSettingsTest, FailedLoginItemChangeIsLoggedAndTheSettingKept)
{
    auto settings = makeSettings();
    loginItem.failWith = QStringLiteral("read-only file system");
    settings->setLaunchAtLogin(true);
    EXPECT_TRUE(settings->launchAtLogin());
    EXPECT_EQ(defaults.values["stashwell.launchAtLogin"], QJsonValue(true));
    EXPECT_EQ(log.lines, QStringList{"Stashwell: launchAtLogin toggle failed: read-only file system"});

    loginItem.currentStatus = LoginItem::Status::Enabled;
    settings->setLaunchAtLogin(false);
    EXPECT_FALSE(settings->launchAtLogin());
    EXPECT_EQ(log.lines.size(), 2);
}

TEST_F(AppSettingsTest, ValuesSurviveTheDefaultsFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Stashwell/defaults.json"));
    {
        JsonFileDefaultsStore file(path);
        AppSettings settings(file, loginItem, log, nullptr);
        settings.setMaxHistoryItems(1000);
        settings.setPopupHeightFraction(1.0);
        settings.setHotkeyShortcut(HotkeyShortcut{0xFFFFFFFF, 0x1B00, "Key 4294967295"});
        settings.setIgnoredBundleIDs({"org.keepassxc.KeePassXC"});
        settings.setAutoPasteOnSelect(false);
    }
    JsonFileDefaultsStore file(path);
    AppSettings settings(file, loginItem, log, nullptr);
    EXPECT_EQ(settings.maxHistoryItems(), 1000);
    EXPECT_DOUBLE_EQ(settings.popupHeightFraction(), 1.0);
    EXPECT_EQ(settings.hotkeyShortcut(), (HotkeyShortcut{0xFFFFFFFF, 0x1B00, "Key 4294967295"}));
    EXPECT_EQ(settings.ignoredBundleIDs(), QSet<QString>{"org.keepassxc.KeePassXC"});
    EXPECT_FALSE(settings.autoPasteOnSelect());
}
