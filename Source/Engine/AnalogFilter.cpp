#include "Engine/AnalogFilter.h"

#include <cmath>

namespace
{
    constexpr float twoPi = 6.2831855f;

    // The normalised cutoff maps linearly onto Hz, with a floor.
    constexpr float maximumCutoffHz = 5000.0f;
    constexpr float minimumCutoffHz = 10.0f;

    // Q is the resonance times this, but never below 1.
    constexpr float qPerResonance = 50.0f;

    // The bandpass keeps its Q within these bounds.
    constexpr float lowestBandpassQ = 0.00001f;
    constexpr float highestBandpassQ = 1000.0f;

    // Above the Nyquist frequency the sections become unstable. Only host cutoff values
    // far beyond the editor's range, or sample rates below 10 kHz, get there.
    constexpr float highestW = 0.98f * 3.1415927f;
}

AnalogFilter::~AnalogFilter() = default;

void AnalogFilter::reset()
{
    Filter::reset();

    computedCutoff = q = twiceQ = inverseSampleRate = 0.0f;
    coefficients = {};
    leftZ1 = leftZ2 = rightZ1 = rightZ2 = 0.0f;
    computedQ = computedInverseSampleRate = 0.0f;
    computedType = FilterType::lowpass;
}

void AnalogFilter::setResonance (float newResonance)
{
    Filter::setResonance (newResonance);
    q = qPerResonance * newResonance > 1.0f ? qPerResonance * newResonance : 1.0f;
    twiceQ = 2.0f * q;
}

void AnalogFilter::setSampleRate (float newSampleRate)
{
    Filter::setSampleRate (newSampleRate);
    inverseSampleRate = (float) (1.0 / (double) newSampleRate);
}

void AnalogFilter::setCutoff (float newCutoff)
{
    if (newCutoff == computedCutoff && q == computedQ && getType() == computedType
         && inverseSampleRate == computedInverseSampleRate)
        return;

    computeCoefficients (newCutoff);
}

void AnalogFilter::computeCoefficients (float newCutoff) noexcept
{
    computedCutoff = newCutoff;
    computedQ = q;
    computedType = getType();
    computedInverseSampleRate = inverseSampleRate;

    auto f = maximumCutoffHz * newCutoff;

    if (! (f > minimumCutoffHz))
        f = minimumCutoffHz;

    auto w = twoPi * f * inverseSampleRate;

    if (! (w <= highestW))
        w = highestW;

    const auto cs = std::cos (w);
    const auto sn = std::sin (w);

    auto& [b0, b1, b2, a1, a2] = coefficients;

    switch (getType())
    {
        case FilterType::lowpass:
        {
            const auto alpha = sn / twiceQ;
            const auto n = 1.0f / (1.0f + alpha);
            b0 = b2 = n * ((1.0f - cs) * 0.5f);
            b1 = (1.0f - cs) * n;
            a1 = (-2.0f * cs) * n;
            a2 = (1.0f - alpha) * n;
            break;
        }

        case FilterType::bandpass:
        {
            const auto limitedQ = juce::jlimit (lowestBandpassQ, highestBandpassQ, q);
            const auto alpha = sn / (2.0f * limitedQ);
            const auto n = 1.0f / (1.0f + alpha);
            b0 = n * alpha;
            b1 = 0.0f;
            b2 = -b0;
            a1 = (-2.0f * cs) * n;
            a2 = (1.0f - alpha) * n;
            break;
        }

        case FilterType::highpass:
        {
            const auto alpha = sn / twiceQ;
            const auto n = 1.0f / (1.0f + alpha);
            b0 = b2 = n * ((1.0f + cs) * 0.5f);
            b1 = -((1.0f + cs) * n);
            a1 = (-2.0f * cs) * n;
            a2 = (1.0f - alpha) * n;
            break;
        }

        default:
            break;
    }
}

void AnalogFilter::process (juce::AudioBuffer<float>& buffer, int startSample, int numSamples)
{
    auto noModulation = [] (int) { return 0.0; };
    filterBlock<false> (buffer, startSample, numSamples, noModulation);
}
