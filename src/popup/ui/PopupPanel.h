// The popup's window: frameless, above other windows, translucent, out of the taskbar; it takes
// the keyboard while shown and reports Escape as its cancel command.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class PopupPanel : public QWidget
{
    Q_OBJECT
public:
    PopupPanel();

    // Called on Escape when no view inside took the key first.
    std::function<void()> onCancel;

    // Puts `content` in the panel, replacing (and deleting) the previous content.
    void setContent(QWidget* content);
    QWidget* content() const { return m_content; }

    static constexpr int initialWidth = 1280;
    static constexpr int initialHeight = 460;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointer<QWidget> m_content;
};
