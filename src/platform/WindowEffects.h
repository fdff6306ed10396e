// What the desktop can do for a translucent window: whether it is composited, and blur behind it.
#pragma once

#include <QRect>
#include <QVector>
#include <QWindow>

class WindowEffects
{
public:
    virtual ~WindowEffects() = default;

    // Whether a compositing manager runs, so transparent pixels of a window show what is behind it.
    virtual bool hasCompositor() = 0;
    // Asks a compositor that offers it to blur what is behind these rectangles of the window
    // (window coordinates; an empty list means the whole window). Does nothing elsewhere.
    virtual void requestBlurBehind(QWindow* window, const QVector<QRect>& rects) = 0;
};
