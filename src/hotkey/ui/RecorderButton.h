// The push button that records a new global shortcut from the next key combination pressed on it.
#pragma once

#include "hotkey/HotkeyShortcut.h"

#include <QPushButton>
#include <functional>

class KeyboardLayout;
class QKeyEvent;

// What the recorder reports to its owner; it stores and registers nothing itself.
struct RecorderCallbacks
{
    std::function<void()> onBeginRecording;
    std::function<void()> onCancelRecording;
    // A key that makes no valid shortcut was pressed; recording goes on.
    std::function<void()> onInvalidShortcut;
    std::function<void(const HotkeyShortcut&)> onCommit;
};

class RecorderButton : public QPushButton
{
    Q_OBJECT
public:
    explicit RecorderButton(QWidget* parent = nullptr);
    ~RecorderButton() override;

    HotkeyShortcut shortcut() const { return m_shortcut; }
    // Shown when not recording; takes effect at the next refreshTitle().
    void setShortcut(const HotkeyShortcut& shortcut) { m_shortcut = shortcut; }
    void setCallbacks(RecorderCallbacks callbacks) { m_callbacks = std::move(callbacks); }
    // The sound of a rejected key; the desktop's beep unless replaced.
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }
    // Where the labels of keys outside the fixed table come from; the installed platform's unless
    // replaced (none: the symbol the key event carries, Shift included).
    void setKeyboardLayout(KeyboardLayout* layout) { m_layout = layout; }

    bool isRecording() const { return m_isRecording; }
    // The button's action: a click, or Space while it has the focus.
    void beginRecording();
    // "Press shortcut" while recording, else the shortcut's display string.
    void refreshTitle();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void capture(QKeyEvent* event);
    void cancelRecording();
    void setKeyboardGrabbed(bool grabbed);

    HotkeyShortcut m_shortcut = HotkeyShortcut::defaultShortcut();
    RecorderCallbacks m_callbacks;
    std::function<void()> m_beep;
    KeyboardLayout* m_layout = nullptr;
    bool m_isRecording = false;
    bool m_keyboardGrabbed = false;
};
