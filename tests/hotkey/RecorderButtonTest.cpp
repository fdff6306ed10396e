// The shortcut recorder: its title, what it records, what it refuses, and the order of its reports.
#include "hotkey/ui/HotkeyRecorderView.h"
#include "platform/KeyboardLayout.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {
// X keycodes (evdev + 8) and keysyms of the keys pressed below.
constexpr quint32 xEscape = 9, xTab = 23, xK = 45, xSpace = 65, xShift = 50, xControl = 37, xF1 = 67, xPrint = 107,
                  xIso = 94, xBackSpace = 22;
constexpr quint32 keysymK = 0x6b, keysymUpperK = 0x4b, keysymSpace = 0x20, keysymSection = 0xa7;
constexpr quint32 x1 = 10, xKeypad1 = 87, keysymExclam = 0x21, keysymDegree = 0xb0, keysymKeypadEnd = 0xff9c;

// A German layout's ISO key: "§" on its first level, "°" with Shift.
struct IsoLayout final : KeyboardLayout
{
    std::optional<std::uint32_t> baseKeysym(std::uint32_t scanCode) override
    {
        return scanCode == xIso ? std::optional<std::uint32_t>(keysymSection) : std::nullopt;
    }
};

// A recorder in a window, with its callbacks written down in order.
struct Recorder
{
    Recorder()
    {
        auto* layout = new QVBoxLayout(&window);
        view = new HotkeyRecorderView(&window);
        other = new QLineEdit(&window);
        layout->addWidget(view);
        layout->addWidget(other);
        RecorderCallbacks callbacks;
        callbacks.onBeginRecording = [this] { calls << QStringLiteral("begin"); };
        callbacks.onCancelRecording = [this] { calls << QStringLiteral("cancel"); };
        callbacks.onInvalidShortcut = [this] { calls << QStringLiteral("invalid"); };
        callbacks.onCommit = [this](const HotkeyShortcut& shortcut) {
            calls << QStringLiteral("commit");
            committed.append(shortcut);
        };
        view->configure(HotkeyShortcut::defaultShortcut(), callbacks);
        button()->setBeep([this] { calls << QStringLiteral("beep"); });
        window.show();
        QApplication::setActiveWindow(&window);
    }

    RecorderButton* button() const { return view->button(); }

    void press(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode, quint32 keysym = 0)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, keysym, 0);
        QCoreApplication::sendEvent(button(), &event);
    }

    // Declared before the window, so they outlive it: closing a recording window reports a cancel.
    QStringList calls;
    QList<HotkeyShortcut> committed;
    QWidget window;
    HotkeyRecorderView* view = nullptr;
    QLineEdit* other = nullptr;
};
} // namespace

TEST(RecorderButton, TitleAndSize)
{
    Recorder recorder;
    EXPECT_EQ(recorder.button()->text(), QStringLiteral("Super+Shift+V"));
    EXPECT_EQ(recorder.view->size(), QSize(132, 30));
    recorder.button()->click();
    EXPECT_TRUE(recorder.button()->isRecording());
    EXPECT_EQ(recorder.button()->text(), QStringLiteral("Press shortcut"));
    EXPECT_EQ(recorder.calls, QStringList{"begin"});
}

TEST(RecorderButton, EscapeCancelsWhateverTheModifiers)
{
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::MetaModifier), Qt::ControlModifier | Qt::AltModifier}) {
        Recorder recorder;
        recorder.button()->click();
        recorder.press(Qt::Key_Escape, modifiers, xEscape);
        EXPECT_FALSE(recorder.button()->isRecording());
        EXPECT_EQ(recorder.calls, (QStringList{"begin", "cancel"}));
        EXPECT_EQ(recorder.button()->text(), QStringLiteral("Super+Shift+V"));
        EXPECT_TRUE(recorder.committed.isEmpty());
    }
}

TEST(RecorderButton, InvalidKeysBeepAndKeepRecordingUntilAValidOne)
{
    Recorder recorder;
    recorder.button()->click();
    recorder.press(Qt::Key_Shift, Qt::ShiftModifier, xShift);       // a modifier alone: wait
    recorder.press(Qt::Key_K, Qt::ShiftModifier, xK, keysymUpperK); // Shift is not enough
    recorder.press(Qt::Key_Backspace, Qt::NoModifier, xBackSpace);  // no key clears the shortcut
    recorder.press(Qt::Key_Print, Qt::ControlModifier, xPrint);     // no place in the stored numbering
    EXPECT_TRUE(recorder.button()->isRecording());
    EXPECT_EQ(recorder.button()->text(), QStringLiteral("Press shortcut"));
    EXPECT_EQ(recorder.calls, (QStringList{"begin", "beep", "invalid", "beep", "invalid", "beep", "invalid"}));

    recorder.calls.clear();
    recorder.press(Qt::Key_Control, Qt::ControlModifier | Qt::ShiftModifier, xControl);
    recorder.press(Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier, xK, keysymUpperK);
    EXPECT_EQ(recorder.calls, QStringList{"commit"});
    ASSERT_EQ(recorder.committed.size(), 1);
    EXPECT_EQ(recorder.committed.first(), (HotkeyShortcut{40, 0x1200, "K"}));
    EXPECT_FALSE(recorder.button()->isRecording());
    // The button shows what its owner passes back, not the candidate.
    EXPECT_EQ(recorder.button()->text(), QStringLiteral("Super+Shift+V"));
    EXPECT_FALSE(recorder.button()->hasFocus());
}

TEST(RecorderButton, KeysOutsideTheFixedTableAndNamedKeys)
{
    Recorder recorder;
    recorder.button()->click();
    recorder.press(Qt::Key_Space, Qt::AltModifier, xSpace, keysymSpace);
    recorder.button()->click();
    recorder.press(Qt::Key_section, Qt::ControlModifier, xIso, keysymSection);
    recorder.button()->click();
    recorder.press(Qt::Key_unknown, Qt::ControlModifier, xIso, 0); // no text for the key
    recorder.button()->click();
    recorder.press(Qt::Key_F1, Qt::MetaModifier, xF1, 0xffbe);
    recorder.button()->click();
    recorder.press(Qt::Key_K, Qt::MetaModifier | Qt::ControlModifier, xK, keysymK);
    // Tab reaches the recorder instead of moving the focus.
    recorder.button()->click();
    recorder.press(Qt::Key_Tab, Qt::ControlModifier, xTab, 0xff09);
    // Whatever Shift and Num Lock make of the key, it reads as itself.
    recorder.button()->click();
    recorder.press(Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, x1, keysymExclam);
    recorder.button()->click();
    recorder.press(Qt::Key_End, Qt::ControlModifier, xKeypad1, keysymKeypadEnd);
    IsoLayout layout;
    recorder.button()->setKeyboardLayout(&layout);
    recorder.button()->click();
    recorder.press(Qt::Key_degree, Qt::ControlModifier | Qt::ShiftModifier, xIso, keysymDegree);

    ASSERT_EQ(recorder.committed.size(), 9);
    EXPECT_EQ(recorder.committed[0], (HotkeyShortcut{49, 0x800, "Space"}));
    EXPECT_EQ(recorder.committed[1], (HotkeyShortcut{10, 0x1000, "\u00a7"}));
    EXPECT_EQ(recorder.committed[2], (HotkeyShortcut{10, 0x1000, "Key 10"}));
    EXPECT_EQ(recorder.committed[3], (HotkeyShortcut{122, 0x100, "F1"}));
    EXPECT_EQ(recorder.committed[4], (HotkeyShortcut{40, 0x1100, "K"}));
    EXPECT_EQ(recorder.committed[5], (HotkeyShortcut{48, 0x1000, "Tab"}));
    EXPECT_EQ(recorder.committed[6], (HotkeyShortcut{18, 0x1200, "1"}));
    EXPECT_EQ(recorder.committed[7], (HotkeyShortcut{83, 0x1000, "Keypad 1"}));
    EXPECT_EQ(recorder.committed[8], (HotkeyShortcut{10, 0x1200, "\u00a7"}));
    EXPECT_FALSE(recorder.calls.contains(QStringLiteral("cancel")));
}

TEST(RecorderButton, LosingFocusCancelsExactlyOnce)
{
    Recorder recorder;
    recorder.button()->click();
    ASSERT_TRUE(recorder.button()->hasFocus());
    recorder.other->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(recorder.button()->isRecording());
    EXPECT_EQ(recorder.calls, (QStringList{"begin", "cancel"}));

    // Focus leaving again, or the window closing, reports nothing more.
    recorder.button()->setFocus();
    recorder.other->setFocus();
    recorder.window.hide();
    EXPECT_EQ(recorder.calls, (QStringList{"begin", "cancel"}));
}

TEST(RecorderButton, ClosingTheWindowWhileRecordingCancels)
{
    Recorder recorder;
    recorder.button()->click();
    recorder.window.close();
    EXPECT_EQ(recorder.calls, (QStringList{"begin", "cancel"}));
}
