#pragma once

#include <juce_core/juce_core.h>

#include <iomanip>
#include <locale>
#include <sstream>

// A number as the display and the tempo label write it: general notation with at most six
// significant digits, no trailing zeros and no trailing decimal point (0.5, 2, 0.333333,
// 128.5). Independent of the host's locale, so the decimal point is always a point.
inline juce::String toGeneralNumberText (double value)
{
    std::ostringstream text;
    text.imbue (std::locale::classic());
    text << std::setprecision (6) << value;
    return text.str();
}
