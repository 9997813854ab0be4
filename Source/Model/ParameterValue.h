#pragma once

#include <algorithm>
#include <cmath>

// How a stored value reads as a switch or a whole number, for the engine's settings and the
// editor's controls alike. Values are stored exactly as written, so one may lie far outside
// the editor's ranges: the conversions saturate, and even a NaN, which no writer stores,
// reads without undefined behaviour.
namespace ParameterValue
{
    // Far beyond any meaningful index or semitone count, yet small enough that the
    // engine's sums of a note and such values (note + offset) cannot overflow an int.
    inline constexpr double wholeNumberLimit = 1 << 20;

    // Saturates at the limit instead of overflowing the conversion; NaN gives 0.
    inline int toWholeNumber (double value) noexcept
    {
        if (std::isnan (value))
            return 0;

        return (int) std::clamp (value, -wholeNumberLimit, wholeNumberLimit);
    }

    // A switch: anything but 0 is on.
    inline bool isOn (float value) noexcept         { return value != 0.0f; }

    // A choice's item index, truncated toward zero.
    inline int truncated (float value) noexcept     { return toWholeNumber (std::trunc ((double) value)); }
}
