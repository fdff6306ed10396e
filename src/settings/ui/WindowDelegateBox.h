// Notices that the settings window is closing, so that the next show() builds a fresh one.
#pragma once

#include <QObject>

class QWidget;
class SettingsWindowController;

class WindowDelegateBox : public QObject
{
    Q_OBJECT
public:
    static WindowDelegateBox& shared();

    // Reports the closing of `window` to `controller`.
    void watch(QWidget* window, SettingsWindowController* controller);
    // The window is about to close: once the close has been handled, its controller forgets it.
    void windowWillClose(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
