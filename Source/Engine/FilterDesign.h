#pragma once

#include <cmath>

// The voice filter's section design: a normalised cutoff, Q, type and sample rate into the
// coefficients of an Audio EQ Cookbook lowpass, bandpass (0 dB peak) or highpass, divided
// by a0, in single precision. Shared by AnalogFilter and the voice lanes' kernels; its
// functions have internal linkage, so each instruction set's kernel keeps its own copy.
namespace FilterDesign
{
    // The filter types, numbered as FilterType numbers them.
    enum Type : int { lowpass = 0, bandpass, highpass };

    // The normalised cutoff maps linearly onto Hz, with a floor.
    inline constexpr float maximumCutoffHz = 5000.0f;
    inline constexpr float minimumCutoffHz = 10.0f;

    // Q is the resonance times this, but never below 1.
    inline constexpr float qPerResonance = 50.0f;

    // The bandpass keeps its Q within these bounds.
    inline constexpr float lowestBandpassQ = 0.00001f;
    inline constexpr float highestBandpassQ = 1000.0f;

    // Above the Nyquist frequency the sections become unstable. Only host cutoff values
    // far beyond the editor's range, or sample rates below 10 kHz, get there.
    inline constexpr float highestW = 0.98f * 3.1415927f;

    inline constexpr float twoPi = 6.2831855f;

    // The coefficients for a cutoff; an unknown type leaves them as they are.
    static inline void compute (int type, float cutoff, float q, float twiceQ, float inverseSampleRate,
                                float& b0, float& b1, float& b2, float& a1, float& a2) noexcept
    {
        auto f = maximumCutoffHz * cutoff;

        if (! (f > minimumCutoffHz))
            f = minimumCutoffHz;

        auto w = twoPi * f * inverseSampleRate;

        if (! (w <= highestW))
            w = highestW;

        const auto cs = std::cos (w);
        const auto sn = std::sin (w);

        switch (type)
        {
            case lowpass:
            {
                const auto alpha = sn / twiceQ;
                const auto n = 1.0f / (1.0f + alpha);
                b0 = b2 = n * ((1.0f - cs) * 0.5f);
                b1 = (1.0f - cs) * n;
                a1 = (-2.0f * cs) * n;
                a2 = (1.0f - alpha) * n;
                break;
            }

            case bandpass:
            {
                const auto limitedQ = q < lowestBandpassQ ? lowestBandpassQ : (highestBandpassQ < q ? highestBandpassQ : q);
                const auto alpha = sn / (2.0f * limitedQ);
                const auto n = 1.0f / (1.0f + alpha);
                b0 = n * alpha;
                b1 = 0.0f;
                b2 = -b0;
                a1 = (-2.0f * cs) * n;
                a2 = (1.0f - alpha) * n;
                break;
            }

            case highpass:
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
}
