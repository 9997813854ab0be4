#pragma once

#include "Engine/Filter.h"
#include "Engine/FilterStep.h"

// A second-order lowpass, bandpass (0 dB peak) or highpass section after the Audio EQ
// Cookbook, in transposed direct form II, single precision, one state pair per channel.
// The normalised cutoff maps linearly onto 10 ... 5000 Hz; coefficients are recomputed
// only when the effective cutoff, resonance, type or sample rate has changed. Its design
// and sample step are FilterStep's, which the voice lanes take as well.
class AnalogFilter final : public Filter
{
public:
    // The section's coefficients, already divided by a0.
    struct Coefficients
    {
        float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f, a1 = 0.0f, a2 = 0.0f;
    };

    AnalogFilter() = default;
    ~AnalogFilter() override;

    // Clears the envelope, the coefficients and both channels' states.
    void reset() override;

    // Q = 50 x resonance, but never below 1.
    void setResonance (float newResonance) override;

    // The sample rate in Hz; the coefficients follow at the next setCutoff.
    void setSampleRate (float newSampleRate) override;

    // Filters channels 0 and 1 in place; with the envelope active the cutoff follows it
    // sample by sample. The states carry over to the next call and the next note.
    void process (juce::AudioBuffer<float>& buffer, int startSample, int numSamples) override;

    // Recomputes the coefficients for a normalised cutoff, unless nothing has changed.
    void setCutoff (float newCutoff) override;

    // A block's cutoff and resonance, as set() takes them, and the state the samples
    // of the block then start from.
    FilterState<double>& startBlock (float newCutoff, float newResonance);

    // The normalised cutoff of the current coefficients, and the coefficients themselves.
    float getComputedCutoff() const noexcept              { return state.computedCutoff; }
    Coefficients getCoefficients() const noexcept         { return { state.b0, state.b1, state.b2, state.a1, state.a2 }; }

    // The quality factor from the resonance.
    float getQ() const noexcept                           { return q; }

private:
    void prepareSamples() noexcept;
    bool takeDesign() noexcept;
    float alphaDivisor() const noexcept                   { return FilterStep::alphaDivisorFor (getType(), q, twiceQ); }

    float q = 0.0f, twiceQ = 0.0f;
    FilterState<double> state;            // coefficients, channel states, computed cutoff, 1 / Hz

    // What the current coefficients were computed with, besides the cutoff.
    float computedQ = 0.0f;
    float computedInverseSampleRate = 0.0f;
    int computedType = FilterStep::lowpass;
};
