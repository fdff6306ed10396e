// The settings window's content: its texts, its two-way bindings, and the shortcut and ignored apps
// as the window shows them.
#include "SettingsViewFixture.h"
#include "Version.h"
#include "hotkey/ui/HotkeyRecorderView.h"
#include "settings/ui/SettingsToggle.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QJsonArray>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {
const QString capKey = QStringLiteral("stashwell.maxHistoryItems");
const QString heightKey = QStringLiteral("stashwell.popupHeightFraction");

template <typename T> T* child(SettingsView& view, const char* name)
{
    T* found = view.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QString text(SettingsView& view, const char* name)
{
    QLabel* label = child<QLabel>(view, name);
    return label ? label->text() : QString();
}

QStringList ignoredNames(SettingsView& view)
{
    QStringList names;
    for (QLabel* label : view.findChildren<QLabel*>(QStringLiteral("appName"))) {
        if (label->isVisibleTo(&view)) {
            names << label->text();
        }
    }
    return names;
}

// X keycodes (evdev + 8) of the keys the tests press.
constexpr quint32 xEscape = 9, xK = 45, xV = 55, xControl = 37;
constexpr quint32 keysymK = 0x6b;

void press(QWidget* target, int key, Qt::KeyboardModifiers modifiers, quint32 scanCode, quint32 keysym = 0)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, keysym, 0);
    QCoreApplication::sendEvent(target, &event);
}
} // namespace

TEST(SettingsView, ItemCountLineAndClearNow)
{
    SettingsViewFixture fixture;
    SettingsView& view = fixture.view();
    EXPECT_EQ(text(view, "itemCount"), QStringLiteral("0 items in history"));

    fixture.addItems(1);
    EXPECT_EQ(text(view, "itemCount"), QStringLiteral("1 item in history"));
    fixture.addItems(1);
    EXPECT_EQ(text(view, "itemCount"), QStringLiteral("2 items in history"));

    // Clearing keeps pinned entries, at once and without asking.
    fixture.store().togglePin(fixture.store().items().first());
    child<QPushButton>(view, "clearHistoryNow")->click();
    EXPECT_EQ(fixture.store().items().size(), 1);
    EXPECT_EQ(text(view, "itemCount"), QStringLiteral("1 item in history"));
}

TEST(SettingsView, CapSliderStoresEveryStepAndTrimsAtOnce)
{
    SettingsViewFixture fixture;
    fixture.addItems(80);
    SettingsView& view = fixture.view();
    QSlider* slider = child<QSlider>(view, "maxHistoryItemsSlider");
    EXPECT_EQ(slider->value(), 6); // 200 = 50 + 6 × 25
    EXPECT_EQ(text(view, "maxHistoryItemsValue"), QStringLiteral("200"));

    // A drag passes through every step on its way down; each one stores and trims.
    for (int position = 5; position >= 0; --position) {
        slider->setValue(position);
    }
    EXPECT_EQ(fixture.settings().maxHistoryItems(), 50);
    EXPECT_EQ(fixture.defaults().values.value(capKey).toInteger(), 50);
    EXPECT_EQ(fixture.store().items().size(), 50);
    EXPECT_EQ(text(view, "maxHistoryItemsValue"), QStringLiteral("50"));
    EXPECT_EQ(text(view, "itemCount"), QStringLiteral("50 items in history"));

    slider->setValue(slider->maximum());
    EXPECT_EQ(fixture.settings().maxHistoryItems(), 1000);
}

TEST(SettingsView, HeightSliderStoresWholePercentsAndShowsThemTruncated)
{
    SettingsViewFixture fixture;
    SettingsView& view = fixture.view();
    QSlider* slider = child<QSlider>(view, "popupHeightSlider");
    EXPECT_EQ(slider->value(), 12);
    EXPECT_EQ(text(view, "popupHeightValue"), QStringLiteral("32%"));

    slider->setValue(9);
    EXPECT_EQ(fixture.settings().popupHeightFraction(), 0.29);
    EXPECT_EQ(fixture.defaults().values.value(heightKey).toDouble(), 0.29);
    EXPECT_EQ(text(view, "popupHeightValue"), QStringLiteral("29%"));

    fixture.settings().setPopupHeightFraction(0.5);
    EXPECT_EQ(text(view, "popupHeightValue"), QStringLiteral("50%"));
    EXPECT_EQ(slider->value(), slider->maximum());
    fixture.settings().setPopupHeightFraction(0.329);
    EXPECT_EQ(text(view, "popupHeightValue"), QStringLiteral("32%"));
}

TEST(SettingsView, HandEditedValuesShowAsStoredAndAreNotRewritten)
{
    for (const auto& [cap, height, capPosition, heightPosition] :
         {std::tuple{5, 3.0, 0, 30}, std::tuple{100000, 0.01, 38, 0}}) {
        SettingsViewFixture fixture;
        fixture.defaults().values.insert(capKey, cap);
        fixture.defaults().values.insert(heightKey, height);
        fixture.defaults().values.insert(QStringLiteral("stashwell.pauseCapture"), QStringLiteral("yes"));
        fixture.defaults().values.insert(QStringLiteral("stashwell.autoPasteOnSelect"), 1);
        fixture.defaults().values.insert(QStringLiteral("stashwell.ignoredBundleIDs"), QJsonArray{1, 2});
        fixture.defaults().values.insert(QStringLiteral("stashwell.hotkey.keyCode"), QStringLiteral("nine"));
        const QJsonObject before = fixture.defaults().values;

        SettingsView& view = fixture.view();
        view.show();
        QCoreApplication::processEvents();

        QSlider* capSlider = child<QSlider>(view, "maxHistoryItemsSlider");
        QSlider* heightSlider = child<QSlider>(view, "popupHeightSlider");
        EXPECT_EQ(capSlider->value(), capPosition);
        EXPECT_EQ(heightSlider->value(), heightPosition);
        EXPECT_EQ(text(view, "maxHistoryItemsValue"), QString::number(cap));
        EXPECT_EQ(text(view, "popupHeightValue"), QString::number(static_cast<int>(height * 100)) + QLatin1Char('%'));
        EXPECT_EQ(fixture.defaults().writeCount, 0);
        EXPECT_EQ(fixture.defaults().values, before);

        // A change made elsewhere is shown, not echoed back.
        fixture.settings().setMaxHistoryItems(cap);
        EXPECT_EQ(fixture.defaults().writeCount, 1);

        // The user's first move writes.
        capSlider->setValue(capPosition == 0 ? 1 : capPosition - 1);
        EXPECT_EQ(fixture.defaults().writeCount, 2);
        EXPECT_EQ(fixture.settings().maxHistoryItems(), capPosition == 0 ? 75 : 975);
    }
}

TEST(SettingsView, WheelOverAnUnfocusedSliderLeavesTheSetting)
{
    SettingsViewFixture fixture;
    SettingsView& view = fixture.view();
    QSlider* slider = child<QSlider>(view, "popupHeightSlider");
    QWheelEvent wheel(QPointF(5, 5), slider->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(slider, &wheel);
    EXPECT_EQ(slider->value(), 12);
    EXPECT_EQ(fixture.defaults().writeCount, 0);
}

TEST(SettingsView, TogglesWriteOnlyWhenClicked)
{
    SettingsViewFixture fixture;
    SettingsView& view = fixture.view();
    auto* launch = child<SettingsToggle>(view, "launchAtLogin");
    auto* autoPaste = child<SettingsToggle>(view, "autoPasteOnSelect");
    EXPECT_FALSE(launch->isChecked());
    EXPECT_TRUE(autoPaste->isChecked());

    launch->checkBox()->click();
    EXPECT_TRUE(fixture.settings().launchAtLogin());
    EXPECT_EQ(fixture.environment.platform.loginItem.registerCalls, 1);

    fixture.settings().setClearOnQuit(true);
    EXPECT_TRUE(child<SettingsToggle>(view, "clearOnQuit")->isChecked());
    child<SettingsToggle>(view, "pauseCapture")->checkBox()->click();
    EXPECT_TRUE(fixture.settings().pauseCapture());
}

TEST(SettingsView, ShortcutCommitsShowTheirOutcomeAndResetRestoresTheDefault)
{
    SettingsViewFixture fixture;
    SettingsView& view = fixture.view();
    const HotkeyShortcut controlOptionK{40, HotkeyShortcut::controlKey | HotkeyShortcut::optionKey, "K"};

    view.commitHotkey(controlOptionK);
    EXPECT_EQ(fixture.settings().hotkeyShortcut(), controlOptionK);
    EXPECT_EQ(fixture.hotkeyCalls, QStringList{"reload"});
    EXPECT_EQ(text(view, "popupHint"), QStringLiteral("Press Ctrl+Alt+K to open the clipboard popup."));
    EXPECT_EQ(view.recorder()->button()->text(), QStringLiteral("Ctrl+Alt+K"));

    // Taken by another program: the message shows under the row and the old shortcut stays.
    fixture.reloadStatuses = {-9878};
    view.commitHotkey(HotkeyShortcut{17, HotkeyShortcut::commandKey, "T"});
    EXPECT_EQ(view.hotkeyError(), QStringLiteral("That shortcut is already in use."));
    EXPECT_EQ(text(view, "hotkeyError"), QStringLiteral("That shortcut is already in use."));
    EXPECT_TRUE(child<QLabel>(view, "hotkeyError")->isVisibleTo(&view));
    EXPECT_EQ(fixture.beeps, 1);
    EXPECT_EQ(view.recorder()->button()->text(), QStringLiteral("Ctrl+Alt+K"));

    // The reset button puts the default back and clears the message.
    child<QToolButton>(view, "resetShortcut")->click();
    EXPECT_EQ(fixture.settings().hotkeyShortcut(), HotkeyShortcut::defaultShortcut());
    EXPECT_FALSE(view.hotkeyError());
    EXPECT_FALSE(child<QLabel>(view, "hotkeyError")->isVisibleTo(&view));
}

TEST(SettingsView, RecorderSuspendsResumesAndCommitsThroughTheView)
{
    SettingsViewFixture fixture;
    SettingsView& view = fixture.view();
    view.show();
    RecorderButton* button = view.recorder()->button();

    fixture.reloadStatuses = {-9878};
    view.commitHotkey(HotkeyShortcut{17, HotkeyShortcut::commandKey, "T"});
    ASSERT_TRUE(view.hotkeyError());
    fixture.hotkeyCalls.clear();

    button->click();
    EXPECT_FALSE(view.hotkeyError()); // a new attempt starts without the old message
    EXPECT_EQ(fixture.hotkeyCalls, QStringList{"suspend"});
    press(button, Qt::Key_V, Qt::ShiftModifier, xV, 0x56);
    EXPECT_EQ(view.hotkeyError(), QStringLiteral("Use at least Super, Ctrl or Alt with a key."));
    EXPECT_EQ(fixture.hotkeyCalls, QStringList{"suspend"}); // still suspended while recording
    press(button, Qt::Key_Escape, Qt::NoModifier, xEscape);
    EXPECT_EQ(fixture.hotkeyCalls, (QStringList{"suspend", "resume"}));

    fixture.hotkeyCalls.clear();
    button->click();
    press(button, Qt::Key_Control, Qt::ControlModifier, xControl);
    press(button, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, xK, keysymK);
    EXPECT_EQ(fixture.hotkeyCalls, (QStringList{"suspend", "reload"}));
    EXPECT_EQ(fixture.settings().hotkeyShortcut(),
              (HotkeyShortcut{40, HotkeyShortcut::controlKey | HotkeyShortcut::optionKey, "K"}));
    EXPECT_EQ(button->text(), QStringLiteral("Ctrl+Alt+K"));
}

TEST(SettingsView, AccessibilityWarningFollowsThePoll)
{
    SettingsViewFixture fixture;
    fixture.accessibilityGranted = false;
    SettingsView& view = fixture.view();
    QWidget* warning = child<QWidget>(view, "accessibilityWarning");
    EXPECT_TRUE(warning->isVisibleTo(&view));

    fixture.settings().setAutoPasteOnSelect(false);
    EXPECT_FALSE(warning->isVisibleTo(&view));
    fixture.settings().setAutoPasteOnSelect(true);
    EXPECT_TRUE(warning->isVisibleTo(&view));

    fixture.accessibilityGranted = true;
    view.pollAccessibility();
    EXPECT_FALSE(warning->isVisibleTo(&view));

    // The poll runs by itself once a second while the view is shown.
    fixture.accessibilityGranted = false;
    view.show();
    EXPECT_TRUE(waitUntil([&] { return warning->isVisibleTo(&view); }, 2500));
}

TEST(SettingsView, IgnoredAppsListNamesSortsAndRemoves)
{
    SettingsViewFixture fixture;
    fixture.environment.platform.desktop.names.insert(QStringLiteral("org.gnome.TextEditor"),
                                                      QStringLiteral("Text Editor"));
    SettingsView& view = fixture.view();
    QLabel* empty = child<QLabel>(view, "noAppsIgnored");
    EXPECT_EQ(empty->text(), QStringLiteral("No apps ignored."));

    fixture.settings().setIgnoredBundleIDs({"org.gnome.TextEditor", "com.example.Unknown", "Zed"});
    EXPECT_EQ(ignoredNames(view), (QStringList{"Zed", "com.example.Unknown", "Text Editor"}));

    // Removing the first line; its button is still running when the list is rebuilt.
    QList<QToolButton*> removeButtons = view.findChildren<QToolButton*>(QStringLiteral("removeApp"));
    ASSERT_EQ(removeButtons.size(), 3);
    removeButtons.first()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(fixture.settings().ignoredBundleIDs(), (QSet<QString>{"org.gnome.TextEditor", "com.example.Unknown"}));
    EXPECT_EQ(fixture.defaults().values.value("stashwell.ignoredBundleIDs").toArray(),
              (QJsonArray{"com.example.Unknown", "org.gnome.TextEditor"}));
    EXPECT_EQ(ignoredNames(view), (QStringList{"com.example.Unknown", "Text Editor"}));

    fixture.settings().setIgnoredBundleIDs({});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(ignoredNames(view).isEmpty());
    EXPECT_NE(view.findChild<QLabel*>(QStringLiteral("noAppsIgnored")), nullptr);
}

TEST(SettingsView, AboutShowsVersionAndShortcut)
{
    SettingsViewFixture fixture;
    SettingsView& view = fixture.view();
    EXPECT_EQ(text(view, "version"), QStringLiteral("Stashwell v") + QStringLiteral(STASHWELL_VERSION));
    EXPECT_EQ(text(view, "popupHint"), QStringLiteral("Press Super+Shift+V to open the clipboard popup."));
    EXPECT_EQ(child<QPushButton>(view, "quit")->text(), QStringLiteral("Quit Stashwell"));
    EXPECT_EQ(view.size(), QSize(520, 640));
}
