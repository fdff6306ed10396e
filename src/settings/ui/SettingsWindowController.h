// Owns the one settings window and brings it to the front.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class SettingsView;

class SettingsWindowController : public QObject
{
    Q_OBJECT
public:
    // `makeView` builds the content of each new window; by default a view over the shared objects.
    explicit SettingsWindowController(std::function<SettingsView*()> makeView = {}, QObject* parent = nullptr);
    ~SettingsWindowController() override;

    static SettingsWindowController& shared();

    // Opens the window, or brings the open one to the front.
    void show();
    // Drops the window; the next show() builds a new one with a fresh view.
    void forget();

    QWidget* window() const { return m_window; }

private:
    QWidget* makeWindow();

    std::function<SettingsView*()> m_makeView;
    QPointer<QWidget> m_window;
};
