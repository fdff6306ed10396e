#include "settings/ui/SettingsWindowController.h"

#include "settings/ui/SettingsView.h"
#include "settings/ui/WindowDelegateBox.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace {
void bringToFront(QWidget* window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void centre(QWidget* window)
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (!screen) {
        return;
    }
    const QRect available = screen->availableGeometry();
    window->move(available.center() - QPoint(window->width() / 2, window->height() / 2));
}
} // namespace

SettingsWindowController::SettingsWindowController(std::function<SettingsView*()> makeView, QObject* parent)
    : QObject(parent), m_makeView(std::move(makeView))
{
    if (!m_makeView) {
        m_makeView = [] { return new SettingsView; };
    }
}

SettingsWindowController::~SettingsWindowController()
{
    delete m_window;
}

SettingsWindowController& SettingsWindowController::shared()
{
    static SettingsWindowController* controller = new SettingsWindowController;
    return *controller;
}

void SettingsWindowController::show()
{
    if (m_window) {
        bringToFront(m_window);
        return;
    }
    m_window = makeWindow();
    bringToFront(m_window);
}

void SettingsWindowController::forget()
{
    // A window still on screen stays until it is closed; closing deletes it.
    m_window = nullptr;
}

QWidget* SettingsWindowController::makeWindow()
{
    auto* window = new QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                            Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Stashwell Settings"));
    window->setWindowIcon(QIcon(QStringLiteral(":/resources/images/Logo.png")));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_makeView());
    // Not resizable: the window is exactly the size of its content.
    window->setFixedSize(SettingsView::width, SettingsView::height);
    WindowDelegateBox::shared().watch(window, this);
    centre(window);
    return window;
}
