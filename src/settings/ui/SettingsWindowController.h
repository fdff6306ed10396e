// Owns the one settings window and brings it to the front.
#pragma once

#include <QObject>

class SettingsWindowController : public QObject
{
    Q_OBJECT
public:
    static SettingsWindowController& shared();

    void show();
    void forget();
};
