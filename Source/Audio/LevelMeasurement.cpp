#include "Audio/LevelMeasurement.h"

LevelMeasurement::LevelMeasurement (float decayPerSample) noexcept
    : decay (decayPerSample)
{
}

void LevelMeasurement::update (size_t numSamples, const float* samples) noexcept
{
    if (numSamples == 0)
        return;

    // One atomic read and one atomic write per block: a reader sees whole blocks only.
    auto l = level.get();

    for (size_t i = 0; i < numSamples; ++i)
    {
        const auto x = samples[i];

        if (x > l)
            l = x;
        else if (l > silenceLevel)
            l *= decay;
        else
            l = 0.0f;
    }

    level.set (l);
}
