#pragma once

// The level meter's scale: linear level to decibels, and decibels to the height on the
// meter, from -100 dB at the bottom to +20 dB at the top on a square-law curve.
struct DecibelScaling
{
    static constexpr float minimumDecibels = -100.0f;
    static constexpr float maximumDecibels = 20.0f;
    static constexpr float exponent = 2.0f;

    // 20 log10 (gain), never below minimumDecibels (silence and negative gains included).
    static float gainToDecibels (float gain) noexcept;

    // 0 at minimumDecibels and below, 1 at maximumDecibels and above.
    static float decibelsToProportion (float decibels) noexcept;
};
