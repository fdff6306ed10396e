#include "platform/x11/X11KeySynthesizer.h"

bool X11KeySynthesizer::isTrusted(bool)
{
    return false;
}

bool X11KeySynthesizer::postPaste()
{
    return false;
}
