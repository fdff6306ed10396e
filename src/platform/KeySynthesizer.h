// Posting the desktop's paste keystroke into the front window.
#pragma once

class KeySynthesizer
{
public:
    virtual ~KeySynthesizer() = default;

    // Whether synthetic key events can be posted at all (on X11: the XTEST extension exists).
    // There is no prompt to show, so `promptIfMissing` has no visible effect on X11.
    virtual bool isTrusted(bool promptIfMissing) = 0;

    // Posts the paste keystroke of the front window (Control+V, or Control+Shift+V in terminals),
    // after the modifiers the user still holds are released. False when nothing was posted.
    virtual bool postPaste() = 0;
};
