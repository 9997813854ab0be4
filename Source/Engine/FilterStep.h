#pragma once

#include "Engine/EnvelopeStep.h"

// The voice filter's state, for one filter or one per lane, in single precision as the
// filter runs: a second-order section's coefficients (divided by a0), the two channels'
// states, the normalised cutoff the coefficients were computed for, and what a block
// brings: the cutoff it starts from, the divisor of alpha (from Q and the type) and 1 / Hz.
template <typename S>
struct FilterState
{
    using F = Lanes::Float<S>;

    F b0 {}, b1 {}, b2 {}, a1 {}, a2 {};
    F leftZ1 {}, leftZ2 {}, rightZ1 {}, rightZ2 {};
    F computedCutoff {}, baseCutoff {}, alphaDivisor = F {} + 1.0f, inverseSampleRate {};
};

template <typename S, typename Function>
QUENBY_LANE_INLINE void fields (FilterState<S>& s, Function&& f)
{
    f (s.b0, s.b1, s.b2, s.a1, s.a2, s.leftZ1, s.leftZ2, s.rightZ1, s.rightZ2,
       s.computedCutoff, s.baseCutoff, s.alphaDivisor, s.inverseSampleRate);
}

// The section design after the Audio EQ Cookbook: lowpass, bandpass (0 dB peak) or
// highpass from a normalised cutoff, Q and the sample rate, for a float or a vector of them.
namespace FilterStep
{
    enum Type : int { lowpass = 0, bandpass, highpass };

    // The normalised cutoff maps linearly onto Hz, with a floor; Q is the resonance times
    // qPerResonance, but never below 1; the bandpass keeps its Q within bounds.
    inline constexpr float maximumCutoffHz = 5000.0f, minimumCutoffHz = 10.0f;
    inline constexpr float qPerResonance = 50.0f;
    inline constexpr float lowestBandpassQ = 0.00001f, highestBandpassQ = 1000.0f;

    // Above the Nyquist frequency the sections become unstable. Only host cutoff values
    // far beyond the editor's range, or sample rates below 10 kHz, get there.
    inline constexpr float highestW = 0.98f * 3.1415927f;

    inline constexpr float twoPi = 6.2831855f;

    // Samples whose coefficients are computed ahead of the samples themselves.
    inline constexpr int aheadSamples = 64;

    // The section's angle in radians per sample for a normalised cutoff.
    template <typename F>
    QUENBY_LANE_INLINE F angleFor (F cutoff, F inverseSampleRate) noexcept
    {
        auto f = maximumCutoffHz * cutoff;
        f = Lanes::select (f > minimumCutoffHz, f, F {} + minimumCutoffHz);
        auto w = twoPi * f * inverseSampleRate;
        return Lanes::select (w <= highestW, w, F {} + highestW);
    }

    // What the sine of the angle is divided by to give alpha: twice Q, with the
    // bandpass's Q kept within its bounds.
    QUENBY_LANE_INLINE float alphaDivisorFor (int type, float q, float twiceQ) noexcept
    {
        if (type != bandpass)
            return twiceQ;

        const auto limitedQ = q < lowestBandpassQ ? lowestBandpassQ : (highestBandpassQ < q ? highestBandpassQ : q);
        return 2.0f * limitedQ;
    }

    // The coefficients from the angle's cosine and sine; an unknown type leaves them as they are.
    template <typename F>
    QUENBY_LANE_INLINE void section (int type, F cs, F sn, F alphaDivisor, F& b0, F& b1, F& b2, F& a1, F& a2) noexcept
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
                b1 = F {};
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

    // The coefficients of a block's samples ahead of them (b0, b1, b2, a1, a2), when the cutoff moves.
    template <typename S>
    struct Ahead
    {
        Lanes::Float<S> coefficients[aheadSamples][5];
    };

    // The coefficients of the next count samples (at most aheadSamples), into ahead:
    // cutoffAt (k) is sample k's normalised cutoff, in double precision; where its float
    // differs from the one computed last, the coefficients are computed anew. Type, Q and
    // rate were brought up to date at the block start. The library's single-precision
    // cosine and sine are called lane by lane in a loop of their own, with nothing else
    // held in registers.
    template <typename S, typename CutoffAt>
    QUENBY_LANE_INLINE void prepareAhead (FilterState<S>& f, int type, Ahead<S>& ahead, int count, CutoffAt&& cutoffAt) noexcept
    {
        using namespace Lanes;
        constexpr int n = width<S>;
        alignas (64) float angles[aheadSamples][n], cosines[aheadSamples][n], sines[aheadSamples][n];
        FloatMask<S> moved[aheadSamples];

        for (int k = 0; k < count; ++k)
        {
            const auto cutoff = toFloat (cutoffAt (k));
            moved[k] = cutoff != f.computedCutoff;
            f.computedCutoff = select (moved[k], cutoff, f.computedCutoff);
            const auto angle = angleFor (cutoff, f.inverseSampleRate);

            for (int j = 0; j < n; ++j)
                angles[k][j] = lane (angle, j);
        }

        for (int k = 0; k < count; ++k)
            for (int j = 0; j < n; ++j)
                cosines[k][j] = std::cos (angles[k][j]), sines[k][j] = std::sin (angles[k][j]);

        for (int k = 0; k < count; ++k)
        {
            Float<S>* current[] = { &f.b0, &f.b1, &f.b2, &f.a1, &f.a2 };

            if (any (moved[k]))
            {
                Float<S> cs, sn, c[] = { f.b0, f.b1, f.b2, f.a1, f.a2 };

                for (int j = 0; j < n; ++j)
                    setLane (cs, j, cosines[k][j]), setLane (sn, j, sines[k][j]);

                section (type, cs, sn, f.alphaDivisor, c[0], c[1], c[2], c[3], c[4]);

                for (int m = 0; m < 5; ++m)
                    *current[m] = select (moved[k], c[m], *current[m]);
            }

            for (int m = 0; m < 5; ++m)
                ahead.coefficients[k][m] = *current[m];
        }
    }

    // One sample of both channels in transposed direct form II.
    template <typename S>
    QUENBY_LANE_INLINE void process (FilterState<S>& f, Lanes::Float<S>& left, Lanes::Float<S>& right) noexcept
    {
        const auto y = left * f.b0 + f.leftZ1;
        f.leftZ1 = left * f.b1 - y * f.a1 + f.leftZ2;
        f.leftZ2 = left * f.b2 - y * f.a2;
        left = y;

        const auto yr = right * f.b0 + f.rightZ1;
        f.rightZ1 = right * f.b1 - yr * f.a1 + f.rightZ2;
        f.rightZ2 = right * f.b2 - yr * f.a2;
        right = yr;
    }

    // The same with sample k's coefficients from those computed ahead.
    template <typename S>
    QUENBY_LANE_INLINE void processAhead (FilterState<S>& f, const Ahead<S>& ahead, int k, Lanes::Float<S>& left, Lanes::Float<S>& right) noexcept
    {
        const auto* c = ahead.coefficients[k];
        f.b0 = c[0], f.b1 = c[1], f.b2 = c[2], f.a1 = c[3], f.a2 = c[4];
        process (f, left, right);
    }

    // The coefficients for one cutoff now, for one filter.
    QUENBY_LANE_INLINE void design (FilterState<double>& f, int type, float cutoff, float alphaDivisor) noexcept
    {
        f.computedCutoff = cutoff;
        const auto w = angleFor (cutoff, f.inverseSampleRate);
        section (type, std::cos (w), std::sin (w), alphaDivisor, f.b0, f.b1, f.b2, f.a1, f.a2);
    }
}
