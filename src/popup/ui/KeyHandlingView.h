// An invisible view that takes the popup's command keys before the search field sees them.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class KeyboardLayout;
class QWindow;

class KeyHandlingView : public QWidget
{
    Q_OBJECT
public:
    explicit KeyHandlingView(QWidget* parent = nullptr);
    ~KeyHandlingView() override;

    std::function<void()> onLeft;
    std::function<void()> onRight;
    std::function<void()> onReturn;
    std::function<void()> onEscape;
    std::function<void()> onDelete;
    std::function<void(int)> onDigit;
    std::function<bool()> digitPasteEnabled;

    // Where Caps Lock is read from (the installed platform's unless set; none: always off).
    void setKeyboardLayout(const KeyboardLayout* layout) { m_layout = layout; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void installMonitor();
    void removeMonitor();

    QPointer<QWindow> m_monitoredWindow;
    const KeyboardLayout* m_layout = nullptr;
};
