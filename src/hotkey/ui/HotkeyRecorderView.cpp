#include "hotkey/ui/HotkeyRecorderView.h"

#include <QVBoxLayout>

HotkeyRecorderView::HotkeyRecorderView(QWidget* parent) : QWidget(parent), m_button(new RecorderButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_button);
    setFixedSize(width, height);
    setFocusProxy(m_button);
}

void HotkeyRecorderView::configure(const HotkeyShortcut& shortcut, RecorderCallbacks callbacks)
{
    m_button->setCallbacks(std::move(callbacks));
    setShortcut(shortcut);
}

void HotkeyRecorderView::setShortcut(const HotkeyShortcut& shortcut)
{
    m_button->setShortcut(shortcut);
    m_button->refreshTitle();
}
