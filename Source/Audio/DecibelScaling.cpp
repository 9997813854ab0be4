#include "Audio/DecibelScaling.h"

#include <cmath>

float DecibelScaling::gainToDecibels (float gain) noexcept
{
    auto decibels = gain > 0.0f ? 20.0f * std::log10 (gain) : minimumDecibels;

    if (! (decibels > minimumDecibels))
        decibels = minimumDecibels;

    return decibels;
}

float DecibelScaling::decibelsToProportion (float decibels) noexcept
{
    // Not-a-number reads as the bottom of the scale.
    if (! (decibels > minimumDecibels))
        return 0.0f;

    decibels = std::fmin (decibels, maximumDecibels);
    const auto proportion = (decibels - minimumDecibels) / (maximumDecibels - minimumDecibels);
    return (float) std::pow (proportion, exponent);
}
