// The shortcut control of the settings window: shows the bound shortcut, records a new one.
#pragma once

#include "hotkey/ui/RecorderButton.h"

#include <QWidget>

class HotkeyRecorderView : public QWidget
{
    Q_OBJECT
public:
    using RecorderButton = ::RecorderButton;

    explicit HotkeyRecorderView(QWidget* parent = nullptr);

    // The bound value and the callbacks, handed on to the button, which then shows the value. An
    // accepted shortcut reaches the button only this way: the owner stores it and passes it back.
    void configure(const HotkeyShortcut& shortcut, RecorderCallbacks callbacks);
    void setShortcut(const HotkeyShortcut& shortcut);

    RecorderButton* button() const { return m_button; }

    static constexpr int width = 132;
    static constexpr int height = 30;

private:
    RecorderButton* m_button;
};
