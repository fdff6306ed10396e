// The popup's life: record the active window, slide up on the screen under the pointer, dismiss
// on Escape, focus loss or a press elsewhere, and on a pick slide down, reactivate and paste.
#include "popup/ui/PopupWindowController.h"

#include "history/ClipboardStore.h"
#include "paste/Pasteboard.h"
#include "platform/Clipboard.h"
#include "platform/DesktopServices.h"
#include "platform/FileCopy.h"
#include "platform/PasteboardTypes.h"
#include "platform/Platform.h"
#include "platform/PointerMonitor.h"
#include "platform/SystemLog.h"
#include "platform/WindowEffects.h"
#include "popup/PopupGeometry.h"
#include "popup/PreviewImage.h"
#include "popup/TopRoundedRectangle.h"
#include "popup/ui/PopupPanel.h"
#include "popup/ui/PopupView.h"
#include "settings/AppSettings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPropertyAnimation>
#include <QScreen>
#include <QWindow>

namespace {
// Enough of Qt's pixmap cache for a strip of previews at any screen width.
constexpr int previewCacheKilobytes = 48 * 1024;

// Windows of ours that belong to the open panel (its "more" menu, tooltips): focus moving there
// is not the panel losing the keyboard.
bool belongsToPanel(QWindow* window, QWindow* panelWindow)
{
    for (QWindow* w = window; w; w = w->transientParent()) {
        if (w == panelWindow) {
            return true;
        }
    }
    return window && (window->type() == Qt::Popup || window->type() == Qt::ToolTip);
}

// The pick stays on the clipboard; the log says why it did not arrive by itself.
void logPasteNotSent(SystemLog* log, const RunningApplication& app)
{
    if (log) {
        const QString who = app.name.value_or(app.bundleID.value_or(QStringLiteral("an application")));
        log->write(QStringLiteral("Stashwell: the pick was not pasted: the window of %1 it was meant for is no "
                                  "longer active; the entry stays on the clipboard")
                       .arg(who));
    }
}
} // namespace

PopupWindowController::PopupWindowController(Dependencies dependencies, QObject* parent)
    : QObject(parent), m_deps(std::move(dependencies))
{}

PopupWindowController::~PopupWindowController()
{
    teardownDismissHooks();
    delete m_panel;
}

PopupWindowController& PopupWindowController::shared()
{
    static PopupWindowController* controller = [] {
        const Platform& platform = Platform::current();
        Dependencies deps;
        deps.store = &ClipboardStore::shared();
        deps.settings = &AppSettings::shared();
        deps.scheduler = platform.scheduler;
        deps.applications = platform.applications;
        deps.pointerMonitor = platform.pointerMonitor;
        deps.windowEffects = platform.windowEffects;
        deps.desktop = platform.desktop;
        deps.clipboard = platform.clipboard;
        deps.place = [](const ClipboardItem& item, bool plainOnly) { Pasteboard::place(item, plainOnly); };
        deps.log = platform.log;
        deps.simulatePaste = [](const RunningApplication& target, std::function<void(PasteOutcome)> done) {
            Pasteboard::simulatePaste(target, std::move(done));
        };
        deps.hasAccessibilityPermission = [](bool prompt) { return Pasteboard::hasAccessibilityPermission(prompt); };
        deps.isOptionHeld = [] { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier); };
        return new PopupWindowController(std::move(deps));
    }();
    return *controller;
}

PopupView* PopupWindowController::view() const
{
    return m_panel ? qobject_cast<PopupView*>(m_panel->content()) : nullptr;
}

bool PopupWindowController::isVisible() const
{
    return m_panel && m_panel->isVisible();
}

bool PopupWindowController::hasDismissHooks() const
{
    return m_hasGlobalMonitor || static_cast<bool>(m_resignObserver) || (m_panel && m_panel->onCancel);
}

void PopupWindowController::toggle()
{
    if (!isVisible()) {
        show();
    } else {
        hide(false);
    }
}

void PopupWindowController::show()
{
    m_previousApp = m_deps.applications ? m_deps.applications->frontmostApplication() : std::nullopt;
    // Our own window in front (the settings window, or a panel the window manager still reports
    // as active) is no application to go back to: a paste would land in Stashwell itself.
    if (m_previousApp && m_previousApp->pid && *m_previousApp->pid == QCoreApplication::applicationPid()) {
        m_previousApp.reset();
    }
    if (!m_panel) {
        PreviewImage::reserveCache(previewCacheKilobytes);
        m_panel = new PopupPanel;
        rebuildRootView(*m_panel);
    }
    m_isAnimatingOut = false;
    m_panelWasActive = false;
    ++m_opening;
    // A slide-down still running (the popup reopened right after closing) must not order out
    // the panel we are about to show.
    ++m_animationGeneration;
    if (m_animation) {
        m_animation->stop();
    }
    rebuildRootView(*m_panel);

    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (!screen) {
        return;
    }
    const double fraction =
        m_deps.settings ? m_deps.settings->popupHeightFraction() : AppSettings::defaultPopupHeightFraction;
    const PopupGeometry::Frames frames = PopupGeometry::frames(screen->availableGeometry(), fraction);

    if (!m_panel->isVisible()) {
        m_panel->setGeometry(frames.start);
    }
    applyWindowEffects(*m_panel);
    if (QWindow* window = m_panel->windowHandle(); window && window->screen() != screen) {
        window->setScreen(screen);
    }
    m_panel->show();
    m_panel->raise();
    m_panel->activateWindow();
    emit visibilityChanged(true);

    m_animation = new QPropertyAnimation(m_panel, "geometry", m_panel);
    m_animation->setDuration(showDurationMs);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);
    m_animation->setStartValue(m_panel->geometry());
    m_animation->setEndValue(frames.target);
    // Qt reports the focus of a window that was just hidden with a delay, so a reopened panel may
    // never see its focus change: once it stands, the panel that has the keyboard counts as active.
    connect(m_animation, &QAbstractAnimation::finished, this, [this] {
        if (m_panel && QGuiApplication::focusWindow() == m_panel->windowHandle()) {
            m_panelWasActive = true;
        }
    });
    m_animation->start(QAbstractAnimation::DeleteWhenStopped);

    installDismissHooks(*m_panel);
}

void PopupWindowController::applyWindowEffects(PopupPanel& panel)
{
    const bool composited = !m_deps.windowEffects || m_deps.windowEffects->hasCompositor();
    if (PopupView* content = view()) {
        content->setComposited(composited);
    }
    const QSize size = panel.size();
    if (composited) {
        panel.clearMask();
    } else {
        // Without a compositor transparent pixels are black: cut the rounded corners out instead.
        const QPainterPath shape = TopRoundedRectangle{PopupView::cornerRadius}.path(QRectF(QPointF(0, 0), size));
        panel.setMask(QRegion(shape.toFillPolygon().toPolygon()));
    }
    panel.winId(); // the native window must exist for the blur request
    if (m_deps.windowEffects && composited) {
        const int r = static_cast<int>(PopupView::cornerRadius);
        m_deps.windowEffects->requestBlurBehind(panel.windowHandle(),
                                                {QRect(r, 0, std::max(0, size.width() - 2 * r), r),
                                                 QRect(0, r, size.width(), std::max(0, size.height() - r))});
    }
}

void PopupWindowController::rebuildRootView(PopupPanel& panel)
{
    QPointer<PopupWindowController> self(this);
    auto onPick = [self](const ClipboardItem& item, bool plainOnly) {
        if (!self) {
            return;
        }
        if (self->m_deps.place) {
            self->m_deps.place(item, plainOnly);
        }
        self->hide(true);
    };
    auto onDismiss = [self] {
        if (self) {
            self->hide(false);
        }
    };
    PopupView::Services services;
    services.handlers.openUrl = [self](const QUrl& url) {
        if (self && self->m_deps.desktop) {
            self->m_deps.desktop->openUrl(url);
        }
    };
    services.handlers.revealFile = [self](const QString& path) {
        if (self && self->m_deps.desktop) {
            self->m_deps.desktop->revealFile(path);
        }
    };
    services.handlers.saveFile = [self](const QString& path) {
        if (self) {
            self->saveFileCopy(path);
        }
    };
    services.handlers.copyText = [self](const QString& text) {
        if (self) {
            self->copyText(text);
        }
    };
    services.isOptionHeld = m_deps.isOptionHeld;
    services.composited = !m_deps.windowEffects || m_deps.windowEffects->hasCompositor();
    panel.setContent(new PopupView(*m_deps.store, std::move(onPick), std::move(onDismiss), std::move(services)));
}

void PopupWindowController::installDismissHooks(PopupPanel& panel)
{
    QPointer<PopupWindowController> self(this);
    panel.onCancel = [self] {
        if (self) {
            self->hide(false);
        }
    };
    if (!m_resignObserver) {
        m_resignObserver =
            connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &PopupWindowController::panelFocusChanged);
    }
    if (!m_hasGlobalMonitor && m_deps.pointerMonitor) {
        m_hasGlobalMonitor = m_deps.pointerMonitor->install([self] {
            if (self) {
                self->outsidePress();
            }
        });
    }
}

void PopupWindowController::teardownDismissHooks()
{
    if (m_hasGlobalMonitor) {
        if (m_deps.pointerMonitor) {
            m_deps.pointerMonitor->remove();
        }
        m_hasGlobalMonitor = false;
    }
    if (m_resignObserver) {
        disconnect(m_resignObserver);
        m_resignObserver = {};
    }
    if (m_panel) {
        m_panel->onCancel = nullptr;
    }
}

void PopupWindowController::panelFocusChanged(QWindow* focus)
{
    QWindow* panelWindow = m_panel ? m_panel->windowHandle() : nullptr;
    if (!panelWindow) {
        return;
    }
    if (focus == panelWindow) {
        m_panelWasActive = true;
        return;
    }
    // Only a panel that had the keyboard can lose it; our own menu taking it does not count.
    if (!m_panelWasActive || belongsToPanel(focus, panelWindow) || QApplication::activePopupWidget()) {
        return;
    }
    // On X11 the focus of a window hidden a moment ago is taken away late, after a new opening
    // may already have asked for it: act only when the loss outlasts such stale reports.
    QPointer<PopupWindowController> self(this);
    const quint64 opening = m_opening;
    m_deps.scheduler->schedule(resignGraceMs, [self, opening] {
        if (!self || self->m_isAnimatingOut || opening != self->m_opening || !self->m_resignObserver) {
            return;
        }
        QWindow* own = self->m_panel ? self->m_panel->windowHandle() : nullptr;
        QWindow* now = QGuiApplication::focusWindow();
        if (!own || now == own || belongsToPanel(now, own)) {
            return;
        }
        self->hide(false);
    });
}

void PopupWindowController::outsidePress()
{
    // The monitor sees every press; those on our own windows (the panel, its menu, the tray
    // icon) are not presses in another window.
    QWindow* under = QGuiApplication::topLevelAt(QCursor::pos());
    if (under && under->isVisible()) {
        return;
    }
    QPointer<PopupWindowController> self(this);
    m_deps.scheduler->schedule(0, [self] {
        if (self) {
            self->hide(false);
        }
    });
}

void PopupWindowController::hide(bool commitPaste)
{
    if (m_panel && m_panel->isVisible() && !m_isAnimatingOut) {
        m_isAnimatingOut = true;
        teardownDismissHooks();
        if (m_animation) {
            m_animation->stop();
        }
        const quint64 generation = ++m_animationGeneration;
        m_animation = new QPropertyAnimation(m_panel, "geometry", m_panel);
        m_animation->setDuration(hideDurationMs);
        m_animation->setEasingCurve(QEasingCurve::InCubic);
        m_animation->setStartValue(m_panel->geometry());
        m_animation->setEndValue(PopupGeometry::slideDownTarget(m_panel->geometry()));
        QPointer<PopupWindowController> self(this);
        connect(m_animation, &QAbstractAnimation::finished, this, [self, generation, commitPaste] {
            self->m_deps.scheduler->schedule(0, [self, generation, commitPaste] {
                if (!self || generation != self->m_animationGeneration) {
                    return; // replaced by a later show or hide
                }
                self->orderOut();
                self->m_isAnimatingOut = false;
                self->commitPasteIfNeeded(commitPaste);
            });
        });
        m_animation->start(QAbstractAnimation::DeleteWhenStopped);
        return;
    }
    // No panel, a hidden one, or a slide-down already running: out at once.
    ++m_animationGeneration;
    if (m_animation) {
        m_animation->stop();
    }
    m_isAnimatingOut = false;
    orderOut();
    teardownDismissHooks();
    commitPasteIfNeeded(commitPaste);
}

void PopupWindowController::orderOut()
{
    if (m_panel && m_panel->isVisible()) {
        m_panel->hide();
        emit visibilityChanged(false);
    }
}

void PopupWindowController::commitPasteIfNeeded(bool commit)
{
    const std::optional<RunningApplication> previous = m_previousApp;
    m_previousApp.reset();
    if (!commit || !previous || !m_deps.applications) {
        return;
    }
    m_deps.applications->activate(*previous);
    if (m_deps.settings && !m_deps.settings->autoPasteOnSelect()) {
        return; // the item is on the clipboard; the user pastes by hand
    }
    QPointer<PopupWindowController> self(this);
    m_deps.scheduler->schedule(pasteDelayMs, [self, previous] {
        if (!self) {
            return;
        }
        // Past the fixed delay, also wait (bounded) until the window manager has really given the
        // keyboard back to that window. When it never does (the window was closed, or another one
        // kept the front), the keystroke would land in whatever window is active instead.
        self->m_deps.applications->whenActive(*previous, activationWaitMs, [self, previous](bool active) {
            // Reopened meanwhile: the keystroke would type into our own search field.
            if (!self || self->isVisible()) {
                return;
            }
            if (!active) {
                logPasteNotSent(self->m_deps.log, *previous);
                return;
            }
            if (!self->m_deps.simulatePaste) {
                return;
            }
            // The keys may still wait for the user to let go of a modifier; they go out only if the
            // window is active then too.
            self->m_deps.simulatePaste(*previous, [self, previous](PasteOutcome outcome) {
                if (!self) {
                    return;
                }
                if (outcome == PasteOutcome::windowNotActive) {
                    logPasteNotSent(self->m_deps.log, *previous);
                } else if (outcome == PasteOutcome::unavailable && self->m_deps.hasAccessibilityPermission) {
                    self->m_deps.hasAccessibilityPermission(true);
                }
            });
        });
    });
}

void PopupWindowController::saveFileCopy(const QString& path)
{
    if (m_deps.saveFile) {
        m_deps.saveFile(path);
        return;
    }
    // The popup stays above every window: let it go first so the dialog is not hidden under it.
    hide(false);
    m_deps.scheduler->schedule(0, [path] {
        const QString proposed = QDir::home().filePath(QFileInfo(path).fileName());
        const QString target = QFileDialog::getSaveFileName(nullptr, QStringLiteral("Save"), proposed);
        if (target.isEmpty() || QFileInfo(target).absoluteFilePath() == QFileInfo(path).absoluteFilePath()) {
            return;
        }
        // The dialog has already asked before replacing an existing file; a copy that fails leaves
        // that file as it was.
        QString error;
        if (!FileCopy::replace(path, target, &error)) {
            if (SystemLog* log = Platform::current().log) {
                log->write(QStringLiteral("Stashwell: could not save a copy: ") + error);
            }
        }
    });
}

void PopupWindowController::copyText(const QString& text)
{
    if (!m_deps.clipboard) {
        return;
    }
    PasteboardContent content;
    content.data.append({PasteboardType::string, text.toUtf8()});
    m_deps.clipboard->replaceContents(content);
}
