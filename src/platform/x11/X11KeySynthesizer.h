// The paste keystroke, posted with XTest into the window it is meant for, once the user has let go
// of the modifier keys.
#pragma once

#include "platform/KeySynthesizer.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

class X11KeySynthesizer final : public QObject, public KeySynthesizer
{
    Q_OBJECT
public:
    explicit X11KeySynthesizer(QObject* parent = nullptr);

    bool isTrusted(bool promptIfMissing) override;
    // Posts now or, while modifier keys are still held down, as soon as they are released (or after
    // at most `maxWaitMs`); in both cases only into a window that is active at that moment.
    void postPaste(const RunningApplication& target, std::function<void(PasteOutcome)> done) override;

    static constexpr int maxWaitMs = 1000;
    static constexpr int pollIntervalMs = 15;

private:
    struct Pending
    {
        std::uint32_t window;
        std::function<void(PasteOutcome)> done;
    };

    bool isModifierHeld();
    void pollModifiers();
    void postPending();

    QList<Pending> m_pending;
    QTimer m_poll;
    QElapsedTimer m_waiting;
};
