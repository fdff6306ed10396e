// A stepped slider range: stored values to slider positions and back.
#pragma once

#include <cstdint>

// Sliders work in whole positions 0…positionCount; a position stands for minimum + position × step.
// Stored values outside the range put the slider at its nearest end without changing the value.
class SliderScale
{
public:
    constexpr SliderScale(double minimum, double maximum, double step)
        : m_minimum(minimum), m_maximum(maximum), m_step(step)
    {}

    int positionCount() const;
    int positionFor(double value) const;
    // The value of a position, rounded to nine decimals so that 0.2 + 9 × 0.01 is 0.29, not
    // 0.29000000000000004.
    double valueAt(int position) const;

    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    double step() const { return m_step; }

    // The history cap (50…1000 in steps of 25) and the popup height fraction (0.2…0.5 in steps of 0.01).
    static const SliderScale maxHistoryItems;
    static const SliderScale popupHeightFraction;

    // The cap a slider value stands for: truncated towards zero.
    static std::int64_t maxHistoryItemsFor(double sliderValue);

private:
    double m_minimum;
    double m_maximum;
    double m_step;
};
