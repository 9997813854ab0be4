#pragma once

#include "Engine/Filter.h"

// A second-order lowpass, bandpass (0 dB peak) or highpass section after the Audio EQ
// Cookbook, in transposed direct form II, single precision, one state pair per channel.
// The normalised cutoff maps linearly onto 10 ... 5000 Hz; coefficients are recomputed
// only when the effective cutoff, resonance, type or sample rate has changed.
class AnalogFilter final : public Filter
{
public:
    AnalogFilter() = default;
    ~AnalogFilter() override;

    void reset() override;
    void setResonance (float newResonance) override;
    void setSampleRate (float newSampleRate) override;
    void process (juce::AudioBuffer<float>& buffer, int startSample, int endSample) override;
    void setCutoff (float newCutoff) override;

    float computedCutoff = 0.0f;          // normalised cutoff of the current coefficients
    float q = 0.0f, twiceQ = 0.0f;
    float inverseSampleRate = 0.0f;       // 1 / Hz
    float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f, a1 = 0.0f, a2 = 0.0f;   // divided by a0
    float leftZ1 = 0.0f, leftZ2 = 0.0f, rightZ1 = 0.0f, rightZ2 = 0.0f;

private:
    void computeCoefficients (float newCutoff) noexcept;

    // What the current coefficients were computed with, besides the cutoff.
    float computedQ = 0.0f;
    float computedInverseSampleRate = 0.0f;
    int computedType = lowpass;
};
