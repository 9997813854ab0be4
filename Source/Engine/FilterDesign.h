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

    // The section's angle in radians per sample for a normalised cutoff, for a float or a
    // vector of floats; keep (condition, value, otherwise) gives value where the
    // condition holds.
    template <typename Float, typename Keep>
    static inline Float angleFor (Float cutoff, Float inverseSampleRate, Keep&& keep) noexcept
    {
        auto f = maximumCutoffHz * cutoff;
        f = keep (f > minimumCutoffHz, f, Float {} + minimumCutoffHz);

        auto w = twoPi * f * inverseSampleRate;
        return keep (w <= highestW, w, Float {} + highestW);
    }

    static inline float angleFor (float cutoff, float inverseSampleRate) noexcept
    {
        return angleFor (cutoff, inverseSampleRate, [] (bool condition, float value, float otherwise) { return condition ? value : otherwise; });
    }

    // What the sine of the angle is divided by to give alpha: twice Q, with the
    // bandpass's Q kept within its bounds.
    static inline float alphaDivisorFor (int type, float q, float twiceQ) noexcept
    {
        if (type != bandpass)
            return twiceQ;

        const auto limitedQ = q < lowestBandpassQ ? lowestBandpassQ : (highestBandpassQ < q ? highestBandpassQ : q);
        return 2.0f * limitedQ;
    }

    // The coefficients from the angle's cosine and sine, for a float or for a vector of
    // floats (one section per lane); an unknown type leaves them as they are.
    template <typename Float>
    static inline void section (int type, Float cs, Float sn, Float alphaDivisor,
                                Float& b0, Float& b1, Float& b2, Float& a1, Float& a2) noexcept
    {
        const auto alpha = sn / alphaDivisor;
        const auto n = 1.0f / (1.0f + alpha);

        switch (type)
        {
            case lowpass:
                b0 = b2 = n * ((1.0f - cs) * 0.5f);
                b1 = (1.0f - cs) * n;
                a1 = (-2.0f * cs) * n;
                a2 = (1.0f - alpha) * n;
                break;

            case bandpass:
                b0 = n * alpha;
                b1 = Float {};
                b2 = -b0;
                a1 = (-2.0f * cs) * n;
                a2 = (1.0f - alpha) * n;
                break;

            case highpass:
                b0 = b2 = n * ((1.0f + cs) * 0.5f);
                b1 = -((1.0f + cs) * n);
                a1 = (-2.0f * cs) * n;
                a2 = (1.0f - alpha) * n;
                break;

            default:
                break;
        }
    }

    // The coefficients for a cutoff; an unknown type leaves them as they are.
    static inline void compute (int type, float cutoff, float q, float twiceQ, float inverseSampleRate,
                                float& b0, float& b1, float& b2, float& a1, float& a2) noexcept
    {
        const auto w = angleFor (cutoff, inverseSampleRate);
        section (type, std::cos (w), std::sin (w), alphaDivisorFor (type, q, twiceQ), b0, b1, b2, a1, a2);
    }
}
