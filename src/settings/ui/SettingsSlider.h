// A stepped slider for a scrolling page: the mouse wheel scrolls the page unless the slider has
// the keyboard focus, so scrolling past a slider never changes a setting.
#pragma once

#include <QSlider>

class SettingsSlider : public QSlider
{
    Q_OBJECT
public:
    explicit SettingsSlider(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
};
