// Owns the popup panel: opens it under the pointer, dismisses it, and pastes a pick back into the
// window that was active before.
#pragma once

#include "history/ClipboardItem.h"
#include "platform/Applications.h"
#include "platform/KeySynthesizer.h"
#include "platform/Scheduler.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class AppSettings;
class Clipboard;
class ClipboardStore;
class DesktopServices;
class PointerMonitor;
class PopupPanel;
class PopupView;
class QPropertyAnimation;
class QWindow;
class SystemLog;
class WindowEffects;

class PopupWindowController : public QObject
{
    Q_OBJECT
public:
    struct Dependencies
    {
        ClipboardStore* store = nullptr;
        AppSettings* settings = nullptr;
        Scheduler* scheduler = nullptr;
        Applications* applications = nullptr;
        PointerMonitor* pointerMonitor = nullptr; // none: outside clicks do not dismiss
        WindowEffects* windowEffects = nullptr;   // none: drawn as if composited
        DesktopServices* desktop = nullptr;
        Clipboard* clipboard = nullptr;
        std::function<void(const ClipboardItem&, bool)> place;
        SystemLog* log = nullptr; // none: a paste that is not sent goes unmentioned
        // Posts the paste keystroke into the window, only while it is the active one.
        std::function<void(const RunningApplication&, std::function<void(PasteOutcome)>)> simulatePaste;
        std::function<bool(bool)> hasAccessibilityPermission;
        std::function<bool()> isOptionHeld;
        // Asks where to save a copy of a card's file (an image or a PDF) and copies it there.
        std::function<void(const QString&)> saveFile;
    };

    explicit PopupWindowController(Dependencies dependencies, QObject* parent = nullptr);
    ~PopupWindowController() override;

    // The one controller of the program, over the shared store and settings and the installed platform.
    static PopupWindowController& shared();

    bool isVisible() const;
    void toggle();
    void show();
    void hide(bool commitPaste);

    // For tests and the desktop test hook.
    PopupPanel* panel() const { return m_panel; }
    PopupView* view() const;
    bool isAnimatingOut() const { return m_isAnimatingOut; }
    const std::optional<RunningApplication>& previousApp() const { return m_previousApp; }
    bool hasDismissHooks() const;

    static constexpr int showDurationMs = 220;
    static constexpr int hideDurationMs = 180;
    static constexpr int pasteDelayMs = 120;
    // How long a paste waits at most for the previous window to become active again; when it does
    // not, nothing is pasted.
    static constexpr int activationWaitMs = 500;
    // How long a loss of the keyboard must last before it dismisses the popup.
    static constexpr int resignGraceMs = 150;

signals:
    // After every change of visibility (shown, ordered out), for observers such as tests.
    void visibilityChanged(bool visible);

private:
    void rebuildRootView(PopupPanel& panel);
    void installDismissHooks(PopupPanel& panel);
    void teardownDismissHooks();
    void commitPasteIfNeeded(bool commit);
    void panelFocusChanged(QWindow* focus);
    void outsidePress();
    void orderOut();
    void saveFileCopy(const QString& path);
    void copyText(const QString& text);
    void applyWindowEffects(PopupPanel& panel);

    Dependencies m_deps;
    PopupPanel* m_panel = nullptr;
    std::optional<RunningApplication> m_previousApp;
    bool m_hasGlobalMonitor = false;
    QMetaObject::Connection m_resignObserver;
    bool m_isAnimatingOut = false;
    bool m_panelWasActive = false;
    QPointer<QPropertyAnimation> m_animation; // deletes itself when it stops
    // Counts frame animations, so the completion of one that another replaced does nothing.
    quint64 m_animationGeneration = 0;
    quint64 m_opening = 0; // counts openings, so a check started for one does not act on the next
};
