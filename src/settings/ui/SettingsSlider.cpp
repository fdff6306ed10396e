#include "settings/ui/SettingsSlider.h"

#include <QWheelEvent>

SettingsSlider::SettingsSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    // Clicks and Tab give the focus, the wheel does not.
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void SettingsSlider::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore(); // on to the scroll area
        return;
    }
    QSlider::wheelEvent(event);
}
