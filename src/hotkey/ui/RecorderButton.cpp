#include "hotkey/ui/RecorderButton.h"

#include "hotkey/KeyEventTranslation.h"
#include "platform/KeyPositions.h"
#include "platform/KeyboardLayout.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr std::uint32_t escapeKeyCode = 53;

// Keys Qt reports on their own while a combination is being built; they start no shortcut.
bool isModifierOnly(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Mode_switch:
        return true;
    default:
        return false;
    }
}
} // namespace

RecorderButton::RecorderButton(QWidget* parent)
    : QPushButton(parent), m_beep([] { QApplication::beep(); }), m_layout(Platform::current().keyboardLayout)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(13);
    font.setWeight(QFont::Medium);
    setFont(font);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    connect(this, &QPushButton::clicked, this, &RecorderButton::beginRecording);
    refreshTitle();
}

RecorderButton::~RecorderButton()
{
    setKeyboardGrabbed(false);
}

void RecorderButton::beginRecording()
{
    m_isRecording = true;
    if (m_callbacks.onBeginRecording) {
        m_callbacks.onBeginRecording();
    }
    refreshTitle();
    setFocus(Qt::OtherFocusReason);
    // Without the grab, combinations that the desktop or another program has taken never arrive.
    setKeyboardGrabbed(true);
}

void RecorderButton::refreshTitle()
{
    setText(m_isRecording ? QStringLiteral("Press shortcut") : m_shortcut.displayString());
    setToolTip(m_isRecording ? QStringLiteral("Press the new shortcut, or Escape to keep the old one")
                             : QStringLiteral("Click to record a new shortcut"));
    update();
}

QSize RecorderButton::sizeHint() const
{
    return {132, 30};
}

QSize RecorderButton::minimumSizeHint() const
{
    return sizeHint();
}

bool RecorderButton::event(QEvent* event)
{
    if (m_isRecording) {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Claim every combination, so menu and window shortcuts do not take it first.
            event->accept();
            return true;
        case QEvent::KeyPress:
            // Before QWidget's own handling, which would spend Tab on moving the focus.
            capture(static_cast<QKeyEvent*>(event));
            return true;
        case QEvent::KeyRelease:
            return true;
        default:
            break;
        }
    }
    return QPushButton::event(event);
}

void RecorderButton::focusOutEvent(QFocusEvent* event)
{
    QPushButton::focusOutEvent(event);
    cancelRecording();
}

void RecorderButton::hideEvent(QHideEvent* event)
{
    QPushButton::hideEvent(event);
    cancelRecording();
}

void RecorderButton::capture(QKeyEvent* event)
{
    const auto keyCode = KeyPositions::macKeyCodeForXKeycode(event->nativeScanCode());
    if (keyCode == escapeKeyCode || (!keyCode && event->key() == Qt::Key_Escape)) {
        m_isRecording = false;
        setKeyboardGrabbed(false);
        refreshTitle();
        if (m_callbacks.onCancelRecording) {
            m_callbacks.onCancelRecording();
        }
        return;
    }
    // A modifier pressed on its own is the start of a combination, not a key of it.
    if ((keyCode && KeyEventTranslation::isModifierKey(*keyCode)) || isModifierOnly(event->key())) {
        return;
    }

    std::optional<HotkeyShortcut> candidate;
    if (keyCode) {
        const std::uint32_t modifiers =
            HotkeyShortcut::carbonModifiersFrom(KeyEventTranslation::platformFlagsFrom(event->modifiers()));
        // The event carries the symbol of the level the modifiers select ("!" for Shift+1, "°" for
        // Shift+§): the label is the key's own, from the layout's first level.
        const std::optional<std::uint32_t> base =
            m_layout ? m_layout->baseKeysym(event->nativeScanCode()) : std::nullopt;
        const auto characters = KeyEventTranslation::charactersForKeysym(base.value_or(event->nativeVirtualKey()));
        candidate = HotkeyShortcut{*keyCode, modifiers, HotkeyShortcut::keyLabelForKeyCode(*keyCode, characters)};
    }
    // Keys with no place in the stored numbering (Print, Pause, F21…) cannot be registered later.
    if (!candidate || !candidate->isValid()) {
        if (m_beep) {
            m_beep();
        }
        if (m_callbacks.onInvalidShortcut) {
            m_callbacks.onInvalidShortcut();
        }
        return;
    }

    m_isRecording = false;
    setKeyboardGrabbed(false);
    refreshTitle();
    // Recording is already over, so losing the focus reports no cancel.
    clearFocus();
    if (m_callbacks.onCommit) {
        m_callbacks.onCommit(*candidate);
    }
}

void RecorderButton::cancelRecording()
{
    if (!m_isRecording) {
        return;
    }
    m_isRecording = false;
    setKeyboardGrabbed(false);
    refreshTitle();
    if (m_callbacks.onCancelRecording) {
        m_callbacks.onCancelRecording();
    }
}

void RecorderButton::setKeyboardGrabbed(bool grabbed)
{
    if (grabbed == m_keyboardGrabbed) {
        return;
    }
    m_keyboardGrabbed = grabbed;
    if (grabbed) {
        grabKeyboard();
    } else {
        releaseKeyboard();
    }
}

void RecorderButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colors = palette();
    const QRectF frame = QRectF(rect()).adjusted(1, 1, -1, -1);
    QPainterPath shape;
    shape.addRoundedRect(frame, 7, 7);

    QColor fill = colors.color(QPalette::Base);
    if (isDown()) {
        fill = fill.darker(108);
    } else if (underMouse() && !m_isRecording) {
        fill = fill.darker(103);
    }
    const QColor accent = colors.color(QPalette::Highlight);
    QColor border = colors.color(QPalette::WindowText);
    border.setAlphaF(0.22);
    painter.fillPath(shape, fill);
    if (m_isRecording) {
        QColor glow = accent;
        glow.setAlphaF(0.25);
        painter.setPen(QPen(glow, 4));
        painter.drawPath(shape);
        painter.setPen(QPen(accent, 1.5));
    } else if (hasFocus()) {
        painter.setPen(QPen(accent, 1.5));
    } else {
        painter.setPen(QPen(border, 1));
    }
    painter.drawPath(shape);

    QColor textColor = colors.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    if (m_isRecording) {
        textColor = accent;
    }
    painter.setPen(textColor);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, painter.fontMetrics().elidedText(text(), Qt::ElideMiddle, width() - 12));
}
