#pragma once

#include "Engine/Filter.h"

// A second-order lowpass, bandpass (0 dB peak) or highpass section after the Audio EQ
// Cookbook, in transposed direct form II, single precision, one state pair per channel.
// The normalised cutoff maps linearly onto 10 ... 5000 Hz; coefficients are recomputed
// only when the effective cutoff, resonance, type or sample rate has changed.
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

    // process() with the cutoff (after the envelope) multiplied by 1 + lfoValueAt (i) at
    // each sample i and limited to 0 ... 1: the LFO on the filter. lfoValueAt is called
    // once per sample, in order.
    template <typename LfoValueAt>
    void processWithCutoffModulation (juce::AudioBuffer<float>& buffer, int startSample, int numSamples,
                                      LfoValueAt&& lfoValueAt)
    {
        filterBlock<true> (buffer, startSample, numSamples, lfoValueAt);
    }

    // Recomputes the coefficients for a normalised cutoff, unless nothing has changed.
    void setCutoff (float newCutoff) override;

    // The normalised cutoff of the current coefficients, and the coefficients themselves.
    float getComputedCutoff() const noexcept              { return computedCutoff; }
    Coefficients getCoefficients() const noexcept         { return coefficients; }

    // The quality factor from the resonance.
    float getQ() const noexcept                           { return q; }

private:
    friend struct VoiceLaneAccess;     // the voice lanes copy the state in and out

    void computeCoefficients (float newCutoff) noexcept;

    template <bool modulated, typename LfoValueAt>
    void filterBlock (juce::AudioBuffer<float>& buffer, int startSample, int numSamples, LfoValueAt& lfoValueAt);

    float computedCutoff = 0.0f;          // normalised cutoff of the current coefficients
    float q = 0.0f, twiceQ = 0.0f;
    float inverseSampleRate = 0.0f;       // 1 / Hz
    Coefficients coefficients;
    float leftZ1 = 0.0f, leftZ2 = 0.0f, rightZ1 = 0.0f, rightZ2 = 0.0f;

    // What the current coefficients were computed with, besides the cutoff.
    float computedQ = 0.0f;
    float computedInverseSampleRate = 0.0f;
    int computedType = FilterType::lowpass;
};

// The one sample loop of both kinds of processing; unmodulated, the cutoff changes only
// with the envelope.
template <bool modulated, typename LfoValueAt>
void AnalogFilter::filterBlock (juce::AudioBuffer<float>& buffer, int startSample, int numSamples, LfoValueAt& lfoValueAt)
{
    const auto baseCutoff = getCutoff();
    auto& envelope = getEnvelope();
    const bool followEnvelope = envelope.isActive();
    const int endSample = startSample + numSamples;

    auto* left = buffer.getWritePointer (0);
    auto* right = buffer.getWritePointer (1);

    // Local copies keep the states in registers; the samples could otherwise alias them.
    auto zl1 = leftZ1, zl2 = leftZ2, zr1 = rightZ1, zr2 = rightZ2;

    for (int i = startSample; i < endSample; ++i)
    {
        if constexpr (modulated)
        {
            const double cutoff = followEnvelope ? envelope.process() * baseCutoff : (double) baseCutoff;
            setCutoff ((float) juce::jlimit (0.0, 1.0, cutoff * (1.0 + lfoValueAt (i - startSample))));
        }
        else if (followEnvelope)
        {
            setCutoff ((float) (envelope.process() * baseCutoff));
        }

        const auto c0 = coefficients.b0, c1 = coefficients.b1, c2 = coefficients.b2,
                   d1 = coefficients.a1, d2 = coefficients.a2;

        const auto x = left[i];
        const auto y = x * c0 + zl1;
        zl1 = x * c1 - y * d1 + zl2;
        zl2 = x * c2 - y * d2;
        left[i] = y;

        const auto xr = right[i];
        const auto yr = xr * c0 + zr1;
        zr1 = xr * c1 - yr * d1 + zr2;
        zr2 = xr * c2 - yr * d2;
        right[i] = yr;
    }

    leftZ1 = zl1;
    leftZ2 = zl2;
    rightZ1 = zr1;
    rightZ2 = zr2;
}
