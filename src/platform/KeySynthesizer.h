// Posting the desktop's paste keystroke into the window it is meant for.
#pragma once

#include <functional>

struct RunningApplication;

// What became of one paste keystroke.
enum class PasteOutcome {
    posted,
    windowNotActive, // the window was not the active one when the keys were due: nothing was posted
    unavailable,     // synthetic keys cannot be posted at all: nothing was posted
};

class KeySynthesizer
{
public:
    virtual ~KeySynthesizer() = default;

    // Whether synthetic key events can be posted at all (on X11: the XTEST extension exists).
    // There is no prompt to show, so `promptIfMissing` has no visible effect on X11.
    virtual bool isTrusted(bool promptIfMissing) = 0;

    // Posts the paste keystroke (Control+V, or Control+Shift+V in terminals) into the target's
    // window, after the modifiers the user still holds are released. The keys go out only if that
    // window is the active one at the moment they are sent; `done` says what happened, on the main
    // thread, possibly before this returns.
    virtual void postPaste(const RunningApplication& target, std::function<void(PasteOutcome)> done) = 0;
};
