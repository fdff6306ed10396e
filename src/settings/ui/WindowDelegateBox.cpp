#include "settings/ui/WindowDelegateBox.h"

#include "settings/ui/SettingsWindowController.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {
// The window names its controller; the box itself keeps nothing.
constexpr char controllerProperty[] = "stashwellSettingsController";
} // namespace

WindowDelegateBox& WindowDelegateBox::shared()
{
    static WindowDelegateBox* box = new WindowDelegateBox;
    return *box;
}

void WindowDelegateBox::watch(QWidget* window, SettingsWindowController* controller)
{
    window->setProperty(controllerProperty, QVariant::fromValue(static_cast<QObject*>(controller)));
    window->installEventFilter(this);
}

void WindowDelegateBox::windowWillClose(QWidget* window)
{
    QPointer<SettingsWindowController> controller(
        qobject_cast<SettingsWindowController*>(window->property(controllerProperty).value<QObject*>()));
    QPointer<QWidget> closing(window);
    QTimer::singleShot(0, [controller, closing] {
        // A window opened since then is not the one that closed.
        if (controller && (!controller->window() || controller->window() == closing)) {
            controller->forget();
        }
    });
}

bool WindowDelegateBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close && watched->isWidgetType()) {
        windowWillClose(static_cast<QWidget*>(watched));
    }
    return QObject::eventFilter(watched, event);
}
