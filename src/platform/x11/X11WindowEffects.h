// Compositing on X11: the _NET_WM_CM_S0 owner, and KWin's blur-behind region property.
#pragma once

#include "platform/WindowEffects.h"

class X11WindowEffects final : public WindowEffects
{
public:
    bool hasCompositor() override;
    void requestBlurBehind(QWindow* window, const QVector<QRect>& rects) override;
};
