#include "Engine/AnalogFilter.h"

#include "Engine/FilterDesign.h"

#include <cmath>

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
    q = FilterDesign::qPerResonance * newResonance > 1.0f ? FilterDesign::qPerResonance * newResonance : 1.0f;
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

    FilterDesign::compute (getType(), newCutoff, q, twiceQ, inverseSampleRate,
                           coefficients.b0, coefficients.b1, coefficients.b2, coefficients.a1, coefficients.a2);
}

void AnalogFilter::process (juce::AudioBuffer<float>& buffer, int startSample, int numSamples)
{
    auto noModulation = [] (int) { return 0.0; };
    filterBlock<false> (buffer, startSample, numSamples, noModulation);
}
