#include "popup/ui/PopupWindowController.h"

PopupWindowController& PopupWindowController::shared()
{
    static PopupWindowController* controller = new PopupWindowController;
    return *controller;
}

bool PopupWindowController::isVisible() const
{
    return false;
}

void PopupWindowController::toggle()
{
    if (isVisible()) {
        hide(false);
    } else {
        show();
    }
}

void PopupWindowController::show() {}

void PopupWindowController::hide(bool) {}
