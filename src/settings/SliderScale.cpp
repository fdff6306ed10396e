#include "settings/SliderScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

const SliderScale SliderScale::maxHistoryItems{50, 1000, 25};
const SliderScale SliderScale::popupHeightFraction{0.2, 0.5, 0.01};

int SliderScale::positionCount() const
{
    return static_cast<int>(std::lround((m_maximum - m_minimum) / m_step));
}

int SliderScale::positionFor(double value) const
{
    if (std::isnan(value) || value <= m_minimum) {
        return 0;
    }
    if (value >= m_maximum) {
        return positionCount();
    }
    return std::clamp(static_cast<int>(std::lround((value - m_minimum) / m_step)), 0, positionCount());
}

double SliderScale::valueAt(int position) const
{
    const double value = m_minimum + std::clamp(position, 0, positionCount()) * m_step;
    return std::round(value * 1e9) / 1e9;
}

std::int64_t SliderScale::maxHistoryItemsFor(double sliderValue)
{
    // 2^63: the largest int64 rounds up to it as a double, so it is already out of range (converting
    // it is undefined); -2^63 is the smallest int64 itself.
    constexpr double twoTo63 = 9223372036854775808.0;
    if (std::isnan(sliderValue)) {
        return 0;
    }
    const double whole = std::trunc(sliderValue);
    if (whole >= twoTo63) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (whole < -twoTo63) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(whole);
}
