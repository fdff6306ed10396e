// The monitor is an event filter on the view's own top-level window: key events reach it before
// any widget of that window, and never events of other windows (a menu, a dialog).
#include "popup/ui/KeyHandlingView.h"

#include "platform/KeyboardLayout.h"
#include "platform/Platform.h"
#include "popup/PopupKeyMap.h"

#include <QKeyEvent>
#include <QWindow>

KeyHandlingView::KeyHandlingView(QWidget* parent) : QWidget(parent), m_layout(Platform::current().keyboardLayout)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

KeyHandlingView::~KeyHandlingView()
{
    removeMonitor();
}

bool KeyHandlingView::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
        installMonitor();
        break;
    case QEvent::Hide:
    case QEvent::ParentAboutToChange:
        removeMonitor();
        break;
    case QEvent::ParentChange:
        if (isVisible()) {
            installMonitor();
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void KeyHandlingView::installMonitor()
{
    if (m_monitoredWindow) {
        return; // installing twice keeps the first monitor
    }
    QWindow* window = this->window()->windowHandle();
    if (!window) {
        return;
    }
    m_monitoredWindow = window;
    window->installEventFilter(this);
}

void KeyHandlingView::removeMonitor()
{
    if (m_monitoredWindow) {
        m_monitoredWindow->removeEventFilter(this);
    }
    m_monitoredWindow.clear();
}

bool KeyHandlingView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_monitoredWindow || event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool digitsEnabled = digitPasteEnabled && digitPasteEnabled();
    const bool capsLock = m_layout && m_layout->isCapsLockOn(key->nativeModifiers());
    const PopupKeyDecision decision = PopupKeyMap::decide({key->key(), key->modifiers(), capsLock}, digitsEnabled);
    if (!decision.consume) {
        return false;
    }
    // A matched key is taken even when nothing is connected to it.
    std::function<void()> run;
    switch (decision.command) {
    case PopupKeyCommand::left:
        run = onLeft;
        break;
    case PopupKeyCommand::right:
        run = onRight;
        break;
    case PopupKeyCommand::activate:
        run = onReturn;
        break;
    case PopupKeyCommand::escape:
        run = onEscape;
        break;
    case PopupKeyCommand::deleteItem:
        run = onDelete;
        break;
    case PopupKeyCommand::digit:
        if (onDigit) {
            run = [digit = decision.digit, handler = onDigit] { handler(digit); };
        }
        break;
    case PopupKeyCommand::none:
        break;
    }
    if (run) {
        run();
    }
    return true;
}
