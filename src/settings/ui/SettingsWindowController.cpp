#include "settings/ui/SettingsWindowController.h"

SettingsWindowController& SettingsWindowController::shared()
{
    static SettingsWindowController* controller = new SettingsWindowController;
    return *controller;
}

void SettingsWindowController::show() {}

void SettingsWindowController::forget() {}
