#include "Engine/AnalogFilter.h"
#include "Model/ParameterTable.h"

#include <limits>

static_assert ((int) FilterStep::lowpass == (int) FilterType::lowpass && (int) FilterStep::bandpass == (int) FilterType::bandpass
               && (int) FilterStep::highpass == (int) FilterType::highpass,
               "the filter types' numbers");

AnalogFilter::~AnalogFilter() = default;

void AnalogFilter::reset()
{
    Filter::reset();

    q = twiceQ = 0.0f;
    state = {};
    computedQ = computedInverseSampleRate = 0.0f;
    computedType = FilterStep::lowpass;
}

void AnalogFilter::setResonance (float newResonance)
{
    Filter::setResonance (newResonance);
    q = FilterStep::qPerResonance * newResonance > 1.0f ? FilterStep::qPerResonance * newResonance : 1.0f;
    twiceQ = 2.0f * q;
}

void AnalogFilter::setSampleRate (float newSampleRate)
{
    Filter::setSampleRate (newSampleRate);
    state.inverseSampleRate = (float) (1.0 / (double) newSampleRate);
}

// Records the Q, type and rate the coefficients are computed with; true where one changed.
bool AnalogFilter::takeDesign() noexcept
{
    const bool changed = q != computedQ || getType() != computedType || state.inverseSampleRate != computedInverseSampleRate;
    computedQ = q;
    computedType = getType();
    computedInverseSampleRate = state.inverseSampleRate;
    return changed;
}

void AnalogFilter::setCutoff (float newCutoff)
{
    if (takeDesign() || newCutoff != state.computedCutoff)
        FilterStep::design (state, getType(), newCutoff, alphaDivisor());
}

FilterState<double>& AnalogFilter::startBlock (float newCutoff, float newResonance)
{
    set (newCutoff, newResonance);
    prepareSamples();
    return state;
}

// Within a block only the cutoff moves: a resonance, type or rate changed since the
// coefficients were computed makes the next cutoff recompute them, whatever it is.
void AnalogFilter::prepareSamples() noexcept
{
    state.baseCutoff = getCutoff();
    state.alphaDivisor = alphaDivisor();

    if (takeDesign())
        state.computedCutoff = std::numeric_limits<float>::quiet_NaN();
}

void AnalogFilter::process (juce::AudioBuffer<float>& buffer, int startSample, int numSamples)
{
    auto& envelope = getEnvelope();
    const bool followEnvelope = envelope.isActive();
    auto* left = buffer.getWritePointer (0, startSample);
    auto* right = buffer.getWritePointer (1, startSample);

    if (! followEnvelope)
    {
        for (int i = 0; i < numSamples; ++i)
            FilterStep::process (state, left[i], right[i]);

        return;
    }

    prepareSamples();
    FilterStep::Ahead<double> ahead;
    const double baseCutoff = state.baseCutoff;

    for (int first = 0; first < numSamples; first += FilterStep::aheadSamples)
    {
        const int count = juce::jmin (FilterStep::aheadSamples, numSamples - first);
        FilterStep::prepareAhead (state, getType(), ahead, count, [&] (int) { return envelope.process() * baseCutoff; });

        for (int k = 0; k < count; ++k)
            FilterStep::processAhead (state, ahead, k, left[first + k], right[first + k]);
    }
}
