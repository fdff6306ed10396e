// A listen-only view of the keyboard that reports copy keystrokes (the desktop's copy command).
#pragma once

#include <functional>

class KeyTap
{
public:
    virtual ~KeyTap() = default;

    // Starts listening; `onCopyKeystroke` runs on the main thread for each copy keystroke.
    // Returns false when the desktop refuses (the caller then relies on polling alone).
    virtual bool install(std::function<void()> onCopyKeystroke) = 0;
    virtual void remove() = 0;
    virtual bool isInstalled() const = 0;
};
