// The popup's translucent material: a dark HUD tint, blurred behind the window where the
// compositor offers blur, and opaque in the same colours where nothing composites.
#pragma once

#include <QColor>
#include <QPainterPath>

class QPainter;

class VisualEffectView
{
public:
    enum Material { hudWindow = 13 };
    enum BlendingMode { behindWindow = 0, withinWindow = 1 };

    VisualEffectView(int material, int blendingMode) : m_material(material), m_blendingMode(blendingMode) {}

    int material() const { return m_material; }
    int blendingMode() const { return m_blendingMode; }
    // Changes the material in place; the effect is always drawn in its active appearance.
    void update(int material, int blendingMode)
    {
        m_material = material;
        m_blendingMode = blendingMode;
    }
    bool isActive() const { return true; }

    // The fill of the material; opaque when `composited` is false.
    QColor tint(bool composited) const;
    void paint(QPainter& painter, const QPainterPath& shape, bool composited) const;

private:
    int m_material;
    int m_blendingMode;
};
