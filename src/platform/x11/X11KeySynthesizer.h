// The paste keystroke, posted with XTest once the user has let go of the modifier keys.
#pragma once

#include "platform/KeySynthesizer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class X11KeySynthesizer final : public QObject, public KeySynthesizer
{
    Q_OBJECT
public:
    explicit X11KeySynthesizer(QObject* parent = nullptr);

    bool isTrusted(bool promptIfMissing) override;
    // True when XTEST is there and the keystroke is posted now or, while modifier keys are still held
    // down, queued to be posted as soon as they are released (or after at most `maxWaitMs`).
    bool postPaste() override;

    static constexpr int maxWaitMs = 1000;
    static constexpr int pollIntervalMs = 15;

private:
    bool isModifierHeld();
    void pollModifiers();
    void postNow();

    int m_pending = 0;
    QTimer m_poll;
    QElapsedTimer m_waiting;
};
