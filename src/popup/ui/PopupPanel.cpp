// A tool window: openbox and the other EWMH window managers keep it out of the taskbar and the
// window switcher, and the stays-on-top hint puts it above normal windows.
#include "popup/ui/PopupPanel.h"

#include <QKeyEvent>
#include <QVBoxLayout>

PopupPanel::PopupPanel() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("StashwellPopup"));
    setWindowTitle(QStringLiteral("Stashwell"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    resize(initialWidth, initialHeight);
}

void PopupPanel::setContent(QWidget* content)
{
    if (m_content) {
        m_content->hide();
        m_content->deleteLater();
    }
    m_content = content;
    if (content) {
        layout()->addWidget(content);
    }
}

void PopupPanel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (onCancel) {
            onCancel();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}
