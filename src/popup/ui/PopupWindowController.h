// Owns the popup panel: opens it under the pointer, dismisses it, and pastes a pick back.
#pragma once

#include <QObject>

class PopupWindowController : public QObject
{
    Q_OBJECT
public:
    static PopupWindowController& shared();

    bool isVisible() const;
    void toggle();
    void show();
    void hide(bool commitPaste);
};
