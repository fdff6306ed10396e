// Recognising terminal emulators by their window class or Wayland app id: they paste with Control+Shift+V, since
// Control+V reaches the program running inside them.
#pragma once

#include <QByteArray>

namespace TerminalEmulators {
// `instance` and `className` are the two strings of the window's WM_CLASS; on Wayland the app id is
// given as the instance.
bool isTerminal(const QByteArray& instance, const QByteArray& className);
} // namespace TerminalEmulators
